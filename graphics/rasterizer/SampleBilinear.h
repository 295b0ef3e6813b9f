// The bilinear filter of every bilinear triangle routine: the 2 x 2 texels
// around a sample position, weighted by area and by their own alpha, as one
// premultiplied ARGB word. Texels outside the texture count as transparent
// black, so the filtered alpha falls off over the outer half texel.
#pragma once

#include "graphics/rasterizer/RasterTexture.h"
#include "graphics/rasterizer/TexelFetch.h"

#include <cstdint>

namespace Tandry {

// su, sv: the sample position in 16.16 texels, whole numbers on texel
// centres. The result's alpha is 0..254 and its colour already carries that
// alpha (each channel at most 253).
inline uint32_t SampleBilinear(const RasterTexture& texture, int32_t su, int32_t sv)
{
    const auto u = static_cast<uint32_t>(su);
    const auto v = static_cast<uint32_t>(sv);
    // The floor is the value with its fraction cleared, for negative values
    // too; the fraction is made odd so neither it nor its complement is ever
    // 0 or a whole unit, which keeps every weight product inside 32 bits.
    const uint32_t fu = (u & 0xFFFE) + 1;
    const uint32_t fv = (v & 0xFFFE) + 1;
    // The row and column above and left of the texture are -1, not 65535.
    const auto width = static_cast<uint32_t>(texture.width);
    const uint32_t n = static_cast<uint32_t>(sv >> 16) * width + static_cast<uint32_t>(su >> 16);

    const uint32_t t00 = ReadTexel(texture, n);
    const uint32_t t10 = ReadTexel(texture, n + 1);
    const uint32_t t01 = ReadTexel(texture, n + width);
    const uint32_t t11 = ReadTexel(texture, n + width + 1);

    const uint32_t a00 = ((((0x10000 - fu) * (0x10000 - fv)) >> 16) * (t00 >> 24)) >> 16;
    const uint32_t a10 = (((fu * (0x10000 - fv)) >> 16) * (t10 >> 24)) >> 16;
    const uint32_t a01 = ((((0x10000 - fu) * fv) >> 16) * (t01 >> 24)) >> 16;
    const uint32_t a11 = (((fu * fv) >> 16) * (t11 >> 24)) >> 16;

    // Red and blue share one multiply per texel: with the four alpha weights
    // summing to at most 254, neither channel's sum leaves its 16-bit half.
    const uint32_t redBlue = (t00 & 0xFF00FF) * a00 + (t10 & 0xFF00FF) * a10 + (t01 & 0xFF00FF) * a01 +
                             (t11 & 0xFF00FF) * a11;
    const uint32_t green = (t00 & 0xFF00) * a00 + (t10 & 0xFF00) * a10 + (t01 & 0xFF00) * a01 + (t11 & 0xFF00) * a11;
    return (a00 + a10 + a01 + a11) << 24 | ((redBlue >> 8) & 0xFF00FF) | ((green >> 8) & 0xFF00);
}

} // namespace Tandry
