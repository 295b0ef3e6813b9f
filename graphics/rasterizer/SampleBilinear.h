// The bilinear filter of every bilinear triangle routine: the 2 x 2 texels
// around a sample position, weighted by area and by their own alpha, as one
// premultiplied ARGB word. Texels outside the texture count as transparent
// black, so the filtered alpha falls off over the outer half texel.
#pragma once

#include "graphics/rasterizer/RasterTexture.h"
#include "graphics/rasterizer/TexelFetch.h"

#include <cstdint>

namespace Tandry {

// The base texel's index, as the filter forms it: the row and column above
// and left of the texture are -1, not 65535.
inline uint32_t BaseTexelIndex(const RasterTexture& texture, int32_t su, int32_t sv)
{
    return static_cast<uint32_t>(sv >> 16) * static_cast<uint32_t>(texture.width) + static_cast<uint32_t>(su >> 16);
}

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
    const auto width = static_cast<uint32_t>(texture.width);
    const uint32_t n = BaseTexelIndex(texture, su, sv);

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

// Whether a sample position is one where the filter reads a single texel: a
// fraction of 0 or 1 becomes 1 / 65536, which leaves the right and lower
// neighbours an area weight of 0 and the base texel 0xFFFE, whatever lies
// beyond the texture's edges.
constexpr bool OnWholeTexel(int32_t su, int32_t sv)
{
    return ((static_cast<uint32_t>(su) | static_cast<uint32_t>(sv)) & 0xFFFE) == 0;
}

// The filtered word at such a position: the base texel's alpha A weighted
// (0xFFFE * A) >> 16, which is A - 1 (0 for 0), and each channel multiplied
// by that weight and shifted down 8, as the four-texel sum gives it.
inline uint32_t SampleWholeTexel(const RasterTexture& texture, uint32_t index)
{
    const uint32_t t = ReadTexel(texture, index);
    const uint32_t a = (0xFFFE * (t >> 24)) >> 16;
    return a << 24 | ((((t & 0xFF00FF) * a) >> 8) & 0xFF00FF) | ((((t & 0xFF00) * a) >> 8) & 0xFF00);
}

} // namespace Tandry
