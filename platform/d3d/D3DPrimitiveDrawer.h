// One DrawPrimitive of the Direct3D stand-in's device, after its states were
// checked: it reads the vertices of the format, assembles points, lines and
// triangles (with culling), covers them with D3DRasterizer and runs every
// covered pixel through the texture samplers and D3DPixelPipeline into the
// render target's memory. It reports the rectangle it changed.
#pragma once

#include "platform/d3d/D3DPixelPipeline.h"
#include "platform/d3d/D3DRasterizer.h"
#include "platform/d3d/D3DSpanKernel.h"
#include "platform/d3d/D3DTextureSampler.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace Platform {

// Where the fields of a vertex of a format lie; stride 0 for a format the device refuses.
struct D3DVertexLayout {
    uint32_t stride = 0;
    int32_t diffuse = -1; // byte offsets, -1 when absent
    int32_t specular = -1;
    int32_t texture = -1;

    // D3DFVF_XYZRHW with any of D3DFVF_DIFFUSE, D3DFVF_SPECULAR and D3DFVF_TEX1.
    static D3DVertexLayout Of(uint32_t vertexFormat);
};

class D3DPrimitiveDrawer {
public:
    // `samplers` has one entry per stage in use; empty for a stage without a
    // texture. Triangles use a specialised span loop when one fits the draw,
    // unless `specialised` is false, and its widest vector code the processor
    // has, unless `wideLanes` is false (the tests compare them all).
    D3DPrimitiveDrawer(const D3DRenderTarget& target, const D3DPixelPipeline& pipeline,
                       std::vector<std::optional<D3DTextureSampler>> samplers, uint32_t cullMode,
                       bool specialised = true, bool wideLanes = true);

    // Draws `count` vertices as primitives of `type` (checked by the caller);
    // an incomplete last primitive is dropped.
    void Draw(uint32_t type, const D3DVertexLayout& layout, const uint8_t* vertices, uint32_t count);

    // Whether triangles go through a specialised span loop.
    bool Specialised() const { return mKernel.has_value(); }
    // The pixels changed so far; empty when none.
    RECT Changed() const { return mChanged; }

private:
    D3DRasterVertex ReadVertex(const D3DVertexLayout& layout, const uint8_t* vertices, uint32_t index) const;
    void DrawTriangle(const D3DRasterVertex& a, const D3DRasterVertex& b, const D3DRasterVertex& c);
    void DrawSegment(const D3DRasterVertex& a, const D3DRasterVertex& b);
    void DrawPoint(const D3DRasterVertex& a);
    // Shades and writes one pixel from its interpolated attributes.
    void WritePixel(int32_t x, int32_t y, const std::array<double, kD3DAttributes>& attributes);
    void Touch(int32_t left, int32_t top, int32_t right, int32_t bottom);

    D3DRenderTarget mTarget;
    const D3DPixelPipeline& mPipeline;
    std::vector<std::optional<D3DTextureSampler>> mSamplers;
    std::optional<D3DSpanKernel> mKernel; // reads mSamplers
    uint32_t mCullMode;
    D3DRasterizer mRasterizer;
    std::vector<D3DSpan> mSpans;
    std::vector<D3DLinePixel> mLinePixels;
    RECT mChanged{};
};

} // namespace Platform
