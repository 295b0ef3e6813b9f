// The source-over arithmetic shared by the software fills, blits and stretches
// of memory images, on 0xAARRGGBB words that are not premultiplied. Red and
// blue are computed together in the 0x00FF00FF lanes of one word and green in
// another; no lane can carry into the next, so every result is the exact
// per-channel value.
#pragma once

#include <array>
#include <cstdint>

namespace Tandry::PixelBlend {

// x / 255 rounded down, for 0 <= x <= 65535.
constexpr uint32_t Div255(uint32_t x)
{
    return (x * 0x8081u) >> 23;
}

// The alpha of a colour of alpha a (1..255) laid over a pixel of alpha da.
constexpr uint32_t OverAlpha(uint32_t da, uint32_t a)
{
    return da + Div255((255 - da) * a);
}

// ceil(255 * 65536 / n): (a * r) >> 16 is then a * 255 / n rounded down for
// every a <= n <= 255, without a division.
inline constexpr std::array<uint32_t, 256> kShareReciprocal = [] {
    std::array<uint32_t, 256> r{};
    for (uint32_t n = 1; n < 256; ++n)
        r[n] = (255u * 65536u + n - 1) / n;
    return r;
}();

// The share (0..255) of a colour of alpha a in a result of alpha newA >= a.
constexpr uint32_t SourceShare(uint32_t a, uint32_t newA)
{
    return (a * kShareReciprocal[newA]) >> 16;
}

// Each colour channel (d * (256 - l) + s * l) >> 8; the alpha byte is 0.
constexpr uint32_t MixSummed(uint32_t d, uint32_t s, uint32_t l)
{
    const uint32_t k = 256 - l;
    const uint32_t rb = (((d & 0xFF00FF) * k + (s & 0xFF00FF) * l) >> 8) & 0xFF00FF;
    const uint32_t g = (((d & 0xFF00) * k + (s & 0xFF00) * l) >> 8) & 0xFF00;
    return rb | g;
}

// As MixSummed for red and green; blue's two products are rounded down
// separately and then added, as the blits do it.
constexpr uint32_t MixSplitBlue(uint32_t d, uint32_t s, uint32_t l)
{
    const uint32_t k = 256 - l;
    const uint32_t x = (d & 0xFF00FF) * k;
    const uint32_t y = (s & 0xFF00FF) * l;
    const uint32_t r = (((x & 0xFFFF0000) + (y & 0xFFFF0000)) >> 8) & 0xFF0000;
    const uint32_t b = ((x & 0xFFFF) >> 8) + ((y & 0xFFFF) >> 8);
    const uint32_t g = (((d & 0xFF00) * k + (s & 0xFF00) * l) >> 8) & 0xFF00;
    return r | g | b;
}

// The fills' source-over of colour rgb at alpha a (1..255) onto pixel d.
constexpr uint32_t FillOver(uint32_t d, uint32_t rgb, uint32_t a)
{
    const uint32_t newA = OverAlpha(d >> 24, a);
    return newA << 24 | MixSummed(d, rgb, SourceShare(a, newA));
}

// The blits' source-over of the colour of word s at alpha a (1..255) onto d.
constexpr uint32_t BlitOver(uint32_t d, uint32_t s, uint32_t a)
{
    const uint32_t newA = OverAlpha(d >> 24, a);
    return newA << 24 | MixSplitBlue(d, s, SourceShare(a, newA));
}

// The white path of the blits: word s at its own alpha; alpha 0 leaves d.
constexpr uint32_t BlitWhite(uint32_t d, uint32_t s)
{
    const uint32_t a = s >> 24;
    return a == 0 ? d : BlitOver(d, s, a);
}

// Source word s at its own alpha onto an opaque destination: the result is opaque.
constexpr uint32_t BlitOntoOpaque(uint32_t d, uint32_t s)
{
    return 0xFF000000u | MixSplitBlue(d, s, s >> 24);
}

// Each colour channel becomes table[d + add], where table is the 512-entry
// saturation table; the destination alpha stays.
inline uint32_t AddSaturated(uint32_t d, uint32_t addRed, uint32_t addGreen, uint32_t addBlue, const uint8_t* table)
{
    return (d & 0xFF000000u) | uint32_t{table[((d >> 16) & 255) + addRed]} << 16
        | uint32_t{table[((d >> 8) & 255) + addGreen]} << 8 | table[(d & 255) + addBlue];
}

} // namespace Tandry::PixelBlend
