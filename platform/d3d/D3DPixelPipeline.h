// The per-pixel arithmetic of the Direct3D stand-in, in integers: the texture
// stages (select, modulate, dot product, with complemented and
// alpha-replicated arguments), the specular sum and the frame-buffer blend.
// The device checks the states once per draw (Check) and then runs Shade and
// Blend for every covered pixel. Colours are 0xAARRGGBB.
#pragma once

#include "platform/dx/HResult.h"

#include <array>
#include <cstdint>

namespace Platform {

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

    // The colour the stages make of a pixel's diffuse and specular colours and
    // the texture colours of the stages in use.
    uint32_t Shade(uint32_t diffuse, uint32_t specular, const uint32_t* textures) const;
    // The blend of a shaded colour over the target's colour (whose alpha counts as 255).
    uint32_t Blend(uint32_t source, uint32_t dest) const;

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
