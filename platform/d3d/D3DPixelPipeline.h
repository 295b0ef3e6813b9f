// The per-pixel arithmetic of the Direct3D stand-in, in integers: the texture
// stages (select, modulate, dot product, with complemented and
// alpha-replicated arguments), the specular sum and the frame-buffer blend.
// The device checks the states once per draw (Check) and then runs Shade and
// Blend for every covered pixel. Colours are 0xAARRGGBB.
#pragma once

#include "platform/d3d/D3DConstants.h"
#include "platform/dx/HResult.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace Platform {

// Channel `index` (0 blue .. 3 alpha) of 0xAARRGGBB.
inline uint32_t D3DChannelOf(uint32_t colour, int index) { return (colour >> (8 * index)) & 0xFF; }

inline uint32_t D3DModulate(uint32_t a, uint32_t b) { return (a * b + 127) / 255; }

// A blend factor for one channel; the target has no alpha, so it counts as 255.
inline uint32_t D3DBlendFactor(uint32_t factor, uint32_t source, uint32_t dest, int channel)
{
    switch (factor) {
    case D3DBLEND_ZERO: return 0;
    case D3DBLEND_ONE: return 255;
    case D3DBLEND_SRCCOLOR: return D3DChannelOf(source, channel);
    case D3DBLEND_INVSRCCOLOR: return 255 - D3DChannelOf(source, channel);
    case D3DBLEND_SRCALPHA: return source >> 24;
    case D3DBLEND_INVSRCALPHA: return 255 - (source >> 24);
    case D3DBLEND_DESTCOLOR: return D3DChannelOf(dest, channel);
    case D3DBLEND_INVDESTCOLOR: return 255 - D3DChannelOf(dest, channel);
    case D3DBLEND_DESTALPHA: return 255;
    default: return 0; // D3DBLEND_INVDESTALPHA
    }
}

// min(255, (s * Fs + d * Fd + 127) / 255) in each colour channel; the source's alpha stays.
// Inline, so that the span loops' constant factors fold away.
inline uint32_t D3DBlendColours(uint32_t source, uint32_t dest, uint32_t sourceFactor, uint32_t destFactor)
{
    uint32_t result = 0;
    for (int i = 0; i < 3; ++i) {
        const uint32_t value = (D3DChannelOf(source, i) * D3DBlendFactor(sourceFactor, source, dest, i) +
                                D3DChannelOf(dest, i) * D3DBlendFactor(destFactor, source, dest, i) + 127) /
                               255;
        result |= std::min<uint32_t>(255, value) << (8 * i);
    }
    return result | (source & 0xFF000000u);
}

struct D3DStageOps {
    uint32_t colourOp = 0;
    uint32_t colourArg1 = 0;
    uint32_t colourArg2 = 0;
    uint32_t alphaOp = 0;
    uint32_t alphaArg1 = 0;
    uint32_t alphaArg2 = 0;
};

class D3DPixelPipeline {
public:
    static constexpr int kStages = 8;

    // The stages up to the first whose colour operation is DISABLE, and the
    // render states that act on pixels. The first unsupported operation,
    // argument or blend factor gives its failure code.
    HRESULT Set(const std::array<D3DStageOps, kStages>& stages, uint32_t textureFactor, bool specular,
                bool blend, uint32_t sourceBlend, uint32_t destBlend);

    // Stages in use: the draw samples the texture of each, white without one.
    int StageCount() const { return mStageCount; }
    // Whether Shade looks at the specular colour at all.
    bool UsesSpecular() const { return mSpecular || mSpecularArgument; }
    bool Blends() const { return mBlend; }
    uint32_t SourceBlend() const { return mSourceBlend; }
    uint32_t DestBlend() const { return mDestBlend; }
    // Stage `s` of those in use.
    const D3DStageOps& Stage(int s) const { return mStages[static_cast<size_t>(s)]; }

    // The colour the stages make of a pixel's diffuse and specular colours and
    // the texture colours of the stages in use.
    uint32_t Shade(uint32_t diffuse, uint32_t specular, const uint32_t* textures) const;
    // The blend of a shaded colour over the target's colour (whose alpha counts as 255).
    uint32_t Blend(uint32_t source, uint32_t dest) const
    {
        return mBlend ? D3DBlendColours(source, dest, mSourceBlend, mDestBlend) : source;
    }

private:
    std::array<D3DStageOps, kStages> mStages{};
    int mStageCount = 0;
    uint32_t mTextureFactor = 0;
    bool mSpecular = false;
    bool mSpecularArgument = false;
    bool mBlend = false;
    uint32_t mSourceBlend = 0;
    uint32_t mDestBlend = 0;
};

} // namespace Platform
