#include "platform/d3d/D3DPrimitiveDrawer.h"

#include "platform/d3d/D3DConstants.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Platform {
namespace {

constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;

float ReadFloat(const uint8_t* bytes)
{
    float value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

uint32_t ReadWord(const uint8_t* bytes)
{
    uint32_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

void SetColour(std::array<double, kD3DAttributes>& attributes, int first, uint32_t colour)
{
    for (int i = 0; i < 4; ++i)
        attributes[first + i] = double((colour >> (8 * i)) & 0xFF);
}

} // namespace

D3DVertexLayout D3DVertexLayout::Of(uint32_t vertexFormat)
{
    D3DVertexLayout layout;
    constexpr uint32_t known = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;
    if ((vertexFormat & ~known) != 0 || (vertexFormat & D3DFVF_XYZRHW) == 0)
        return layout;
    uint32_t offset = 16; // x, y, z, rhw
    if (vertexFormat & D3DFVF_DIFFUSE) {
        layout.diffuse = static_cast<int32_t>(offset);
        offset += 4;
    }
    if (vertexFormat & D3DFVF_SPECULAR) {
        layout.specular = static_cast<int32_t>(offset);
        offset += 4;
    }
    if (vertexFormat & D3DFVF_TEX1) {
        layout.texture = static_cast<int32_t>(offset);
        offset += 8;
    }
    layout.stride = offset;
    return layout;
}

D3DPrimitiveDrawer::D3DPrimitiveDrawer(const D3DRenderTarget& target, const D3DPixelPipeline& pipeline,
                                       std::vector<std::optional<D3DTextureSampler>> samplers, uint32_t cullMode,
                                       bool specialised, bool wideLanes)
    : mTarget(target),
      mPipeline(pipeline),
      mSamplers(std::move(samplers)),
      mCullMode(cullMode),
      mRasterizer(target.viewport)
{
    if (specialised)
        mKernel = D3DSpanKernel::Choose(mTarget, mPipeline, mSamplers, wideLanes);
}

D3DRasterVertex D3DPrimitiveDrawer::ReadVertex(const D3DVertexLayout& layout, const uint8_t* vertices,
                                               uint32_t index) const
{
    const uint8_t* vertex = vertices + size_t{index} * layout.stride;
    D3DRasterVertex v;
    v.x = ReadFloat(vertex);
    v.y = ReadFloat(vertex + 4);
    // Every caller sends rhw 1, so there is no perspective to correct.
    SetColour(v.attributes, 0, layout.diffuse >= 0 ? ReadWord(vertex + layout.diffuse) : kOpaqueWhite);
    SetColour(v.attributes, kD3DSpecular, layout.specular >= 0 ? ReadWord(vertex + layout.specular) : 0u);
    if (layout.texture >= 0) {
        v.attributes[kD3DTexU] = ReadFloat(vertex + layout.texture);
        v.attributes[kD3DTexV] = ReadFloat(vertex + layout.texture + 4);
    }
    return v;
}

void D3DPrimitiveDrawer::Draw(uint32_t type, const D3DVertexLayout& layout, const uint8_t* vertices, uint32_t count)
{
    const auto at = [&](uint32_t index) { return ReadVertex(layout, vertices, index); };
    switch (type) {
    case D3DPT_POINTLIST:
        for (uint32_t i = 0; i < count; ++i)
            DrawPoint(at(i));
        break;
    case D3DPT_LINELIST:
        for (uint32_t i = 0; i + 1 < count; i += 2)
            DrawSegment(at(i), at(i + 1));
        break;
    case D3DPT_LINESTRIP:
        for (uint32_t i = 0; i + 1 < count; ++i)
            DrawSegment(at(i), at(i + 1));
        break;
    case D3DPT_TRIANGLELIST:
        for (uint32_t i = 0; i + 2 < count; i += 3)
            DrawTriangle(at(i), at(i + 1), at(i + 2));
        break;
    case D3DPT_TRIANGLESTRIP:
        for (uint32_t i = 0; i + 2 < count; ++i) {
            // Every second triangle of a strip runs the other way round.
            if (i % 2 == 0)
                DrawTriangle(at(i), at(i + 1), at(i + 2));
            else
                DrawTriangle(at(i + 1), at(i), at(i + 2));
        }
        break;
    case D3DPT_TRIANGLEFAN: {
        const D3DRasterVertex centre = count > 0 ? at(0) : D3DRasterVertex{};
        for (uint32_t i = 1; i + 1 < count; ++i)
            DrawTriangle(centre, at(i), at(i + 1));
        break;
    }
    default: break;
    }
}

void D3DPrimitiveDrawer::DrawTriangle(const D3DRasterVertex& a, const D3DRasterVertex& b, const D3DRasterVertex& c)
{
    // Positive: clockwise on the screen.
    const double winding = D3DRasterizer::Winding(a, b, c);
    if (winding == 0.0 || (mCullMode == D3DCULL_CW && winding > 0.0) || (mCullMode == D3DCULL_CCW && winding < 0.0))
        return;
    mSpans.clear();
    D3DAttributePlane plane;
    if (!mRasterizer.Triangle(a, b, c, mSpans, plane))
        return;
    for (std::optional<D3DTextureSampler>& sampler : mSamplers) {
        if (!sampler)
            continue;
        // Texels per pixel: the area one pixel covers in the texture.
        const double w = sampler->Width();
        const double h = sampler->Height();
        const double texels = std::fabs(plane.dx[kD3DTexU] * w * plane.dy[kD3DTexV] * h -
                                        plane.dy[kD3DTexU] * w * plane.dx[kD3DTexV] * h);
        sampler->ChooseFilter(texels > 1.0);
    }
    if (mKernel) {
        mKernel->Draw(mSpans, plane);
        for (const D3DSpan& span : mSpans)
            Touch(span.left, span.y, span.right, span.y + 1);
        return;
    }
    std::array<double, kD3DAttributes> attributes;
    for (const D3DSpan& span : mSpans) {
        const double dy = double(span.y) - plane.originY;
        const double dx = double(span.left) - plane.originX;
        for (int k = 0; k < kD3DAttributes; ++k)
            attributes[k] = plane.base[k] + plane.dx[k] * dx + plane.dy[k] * dy;
        for (int32_t x = span.left; x < span.right; ++x) {
            WritePixel(x, span.y, attributes);
            for (int k = 0; k < kD3DAttributes; ++k)
                attributes[k] += plane.dx[k];
        }
        Touch(span.left, span.y, span.right, span.y + 1);
    }
}

void D3DPrimitiveDrawer::DrawSegment(const D3DRasterVertex& a, const D3DRasterVertex& b)
{
    mLinePixels.clear();
    mRasterizer.Segment(a, b, mLinePixels);
    for (std::optional<D3DTextureSampler>& sampler : mSamplers)
        if (sampler)
            sampler->ChooseFilter(false);
    std::array<double, kD3DAttributes> attributes;
    for (const D3DLinePixel& pixel : mLinePixels) {
        for (int k = 0; k < kD3DAttributes; ++k)
            attributes[k] = a.attributes[k] + pixel.t * (b.attributes[k] - a.attributes[k]);
        WritePixel(pixel.x, pixel.y, attributes);
        Touch(pixel.x, pixel.y, pixel.x + 1, pixel.y + 1);
    }
}

void D3DPrimitiveDrawer::DrawPoint(const D3DRasterVertex& a)
{
    int32_t x = 0;
    int32_t y = 0;
    if (!mRasterizer.Point(a, x, y))
        return;
    for (std::optional<D3DTextureSampler>& sampler : mSamplers)
        if (sampler)
            sampler->ChooseFilter(false);
    WritePixel(x, y, a.attributes);
    Touch(x, y, x + 1, y + 1);
}

void D3DPrimitiveDrawer::WritePixel(int32_t x, int32_t y, const std::array<double, kD3DAttributes>& attributes)
{
    uint32_t textures[D3DPixelPipeline::kStages];
    for (size_t s = 0; s < mSamplers.size(); ++s)
        textures[s] = mSamplers[s] ? mSamplers[s]->Sample(attributes[kD3DTexU], attributes[kD3DTexV]) : kOpaqueWhite;
    const uint32_t specular = mPipeline.UsesSpecular() ? D3DColourOf(attributes, kD3DSpecular) : 0u;
    const uint32_t colour = mPipeline.Shade(D3DColourOf(attributes, 0), specular, textures);
    uint8_t* pixel = mTarget.pixels + int64_t{y} * mTarget.pitch + int64_t{x} * mTarget.layout.Bytes();
    uint32_t result = colour;
    if (mPipeline.Blends())
        result = mPipeline.Blend(colour, mTarget.layout.Decode(mTarget.layout.Load(pixel)));
    mTarget.layout.Store(pixel, mTarget.layout.Encode(result));
}

void D3DPrimitiveDrawer::Touch(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (mChanged.right <= mChanged.left || mChanged.bottom <= mChanged.top) {
        mChanged = RECT{left, top, right, bottom};
        return;
    }
    mChanged.left = std::min(mChanged.left, left);
    mChanged.top = std::min(mChanged.top, top);
    mChanged.right = std::max(mChanged.right, right);
    mChanged.bottom = std::max(mChanged.bottom, bottom);
}

} // namespace Platform
