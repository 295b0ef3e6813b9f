// How a textured triangle routine colours its texels: not at all, by the
// constant drawing colour, or by the vertex colours interpolated to the
// pixel. A tint names the values the frame interpolates (u and v always
// last) and gives four factors per pixel; the per-call state holds the
// texture and, for the constant colour, the factors once.
#pragma once

#include "graphics/rasterizer/RasterColor.h"
#include "graphics/rasterizer/RasterTexture.h"
#include "graphics/rasterizer/RasterVertex.h"

#include <array>
#include <cstdint>

namespace Tandry {

struct TintFactors {
    uint32_t alpha = 0;
    uint32_t red = 0;
    uint32_t green = 0;
    uint32_t blue = 0;
};

struct NoTint {
    static constexpr bool kTints = false;
    static constexpr std::array<int32_t RasterVertex::*, 2> kInterpolants{&RasterVertex::u, &RasterVertex::v};
    static TintFactors Constant(const RasterColor*) { return {}; }
};

// The colour channels are taken as they come, as unsigned words: a colour
// outside 0..255 gives strange pixels, never an out-of-range access.
struct ConstantTint {
    static constexpr bool kTints = true;
    static constexpr uint32_t kMask = 0xFFFFFFFF;
    static constexpr std::array<int32_t RasterVertex::*, 2> kInterpolants = NoTint::kInterpolants;
    static TintFactors Constant(const RasterColor* color)
    {
        return {static_cast<uint32_t>(color->alpha), static_cast<uint32_t>(color->red),
                static_cast<uint32_t>(color->green), static_cast<uint32_t>(color->blue)};
    }
    template <class Values>
    static TintFactors At(const Values&, const TintFactors& constant)
    {
        return constant;
    }
};

// An interpolant that strays past its vertex values at an edge is read as
// an unsigned word, so its factor runs up to 65535; each tinted channel keeps
// its low 8 bits.
struct VertexTint {
    static constexpr bool kTints = true;
    static constexpr uint32_t kMask = 0xFF;
    static constexpr std::array<int32_t RasterVertex::*, 6> kInterpolants{
        &RasterVertex::alpha, &RasterVertex::red, &RasterVertex::green,
        &RasterVertex::blue,  &RasterVertex::u,   &RasterVertex::v};
    static TintFactors Constant(const RasterColor*) { return {}; }
    template <class Values>
    static TintFactors At(const Values& q, const TintFactors&)
    {
        return {static_cast<uint32_t>(q[0]) >> 16, static_cast<uint32_t>(q[1]) >> 16,
                static_cast<uint32_t>(q[2]) >> 16, static_cast<uint32_t>(q[3]) >> 16};
    }
};

// What a textured routine keeps for one call. The texture record is copied,
// so the pixel loop reads it from the routine's own frame.
template <class Tint>
struct TexturedState {
    TexturedState(const RasterTexture* t, const RasterColor* color) : texture(*t), constant(Tint::Constant(color)) {}

    RasterTexture texture;
    TintFactors constant;
};

} // namespace Tandry
