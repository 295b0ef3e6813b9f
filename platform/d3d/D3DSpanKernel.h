// Specialised pixel loops of the Direct3D stand-in for the draws the game makes
// most: at most one stage that selects or modulates the texture and the diffuse
// colour, no specular, the usual blend pairs, 32-bit and R5G6B5 targets.
// D3DPrimitiveDrawer picks one per draw (Choose) and keeps its general loop for
// everything else; every loop gives the general loop's pixels bit for bit.
#pragma once

#include "platform/d3d/D3DPixelLayout.h"
#include "platform/d3d/D3DPixelPipeline.h"
#include "platform/d3d/D3DRasterizer.h"
#include "platform/d3d/D3DTextureSampler.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace Platform {

struct D3DRenderTarget {
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    D3DPixelLayout layout;
    RECT viewport{}; // the pixels that may change
};

// An interpolated colour channel rounded to the nearest value and held in
// 0..255; not a number gives 0.
inline uint32_t D3DToChannel(double value)
{
    if (!(value > 0.0))
        return 0;
    if (value >= 255.0)
        return 255;
    return static_cast<uint32_t>(value + 0.5);
}

// The four channels from attributes[first] (blue) to attributes[first + 3] (alpha) as 0xAARRGGBB.
inline uint32_t D3DColourOf(const std::array<double, kD3DAttributes>& attributes, int first)
{
    return D3DToChannel(attributes[first]) | (D3DToChannel(attributes[first + 1]) << 8) |
           (D3DToChannel(attributes[first + 2]) << 16) | (D3DToChannel(attributes[first + 3]) << 24);
}

class D3DSpanKernel {
public:
    // What a chosen loop reads besides the spans and the plane.
    struct Context {
        D3DRenderTarget target;
        const D3DPixelPipeline* pipeline = nullptr;
        const D3DTextureSampler* sampler = nullptr; // null: the stage reads white
        // Channels where the texture, respectively the diffuse colour, counts
        // as 255, so that one modulation gives every select and modulate.
        uint32_t textureWhite = 0;
        uint32_t diffuseWhite = 0;
        bool avx2 = false; // whether texel runs into 32-bit targets may use AVX2
    };
    using Loop = void (*)(const Context&, const std::vector<D3DSpan>&, const D3DAttributePlane&);

    // A loop for the draw's states, target and texture, or none when the
    // general loop must run. `sampler` must outlive the kernel. With
    // `wideLanes` the loops use AVX2 where the processor has it.
    static std::optional<D3DSpanKernel> Choose(const D3DRenderTarget& target, const D3DPixelPipeline& pipeline,
                                               const std::vector<std::optional<D3DTextureSampler>>& samplers,
                                               bool wideLanes = true);

    // Shades and writes the spans of one triangle, with the filter its sampler chose for it.
    void Draw(const std::vector<D3DSpan>& spans, const D3DAttributePlane& plane) const
    {
        const bool linear = mContext.sampler != nullptr && mContext.sampler->Linear();
        (linear ? mLinear : mPoint)(mContext, spans, plane);
    }

private:
    Context mContext;
    Loop mPoint = nullptr;
    Loop mLinear = nullptr;
};

} // namespace Platform
