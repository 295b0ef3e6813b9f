// The source-over arithmetic shared by the software fills, blits and stretches
// of memory images, on 0xAARRGGBB words that are not premultiplied. Each
// formula is a template over the lane type of PixelLanes: one pixel or eight.
// Red and blue are computed together in the 0x00FF00FF lanes of one word and
// green in another; no lane can carry into the next, so every result is the
// exact per-channel value.
#pragma once

#include <array>
#include <cstdint>

#include "graphics/image/PixelLanes.h"
#include "graphics/image/SaturationTable.h"

namespace Tandry::PixelBlend {

using PixelLanes::U32x8;

// x / 255 rounded down, for x the product of two values 0..255.
template <class V>
TANDRY_LANE_INLINE V Div255(const V& x)
{
    return (x + (x >> 8) + 1) >> 8;
}

// The alpha of a colour of alpha a (1..255) laid over a pixel of alpha da.
template <class V>
TANDRY_LANE_INLINE V OverAlpha(const V& da, const V& a)
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

// The share a * 255 / newA (0..255) of a colour of alpha a in a result of
// alpha newA >= a. Lanes with a = 0 give 0.
TANDRY_LANE_INLINE uint32_t SourceShare(uint32_t a, uint32_t newA)
{
    return (a * kShareReciprocal[newA]) >> 16;
}

// Over an opaque pixel (newA = 255) the share is a, over a transparent one
// (newA = a) it is 255; only other pixels need the division.
TANDRY_LANE_INLINE U32x8 SourceShare(const U32x8& a, const U32x8& newA)
{
    using namespace PixelLanes;
    const U32x8 opaque = IsEqual(newA, Splat(255));
    const U32x8 bare = IsEqual(newA, a);
    if (AllZero(~(opaque | bare)))
        return Select(opaque, a, Splat(255));
    return Quotient(a * 255, newA | (IsZero(newA) & 1));
}

// Each colour channel (d * (256 - l) + s * l) >> 8; the alpha byte is 0.
// SplitBlue: blue's two products are rounded down separately and then added,
// as the blits do it. Red and blue are multiplied in the two halves of one
// word, green and alpha in those of another.
template <bool SplitBlue, class V>
TANDRY_LANE_INLINE V Mix(const V& d, const V& s, const V& l)
{
    using PixelLanes::MulHalves;
    const V k = 256 - l;
    const V x = MulHalves(d & 0xFF00FF, k);
    const V y = MulHalves(s & 0xFF00FF, l);
    const V ga = MulHalves((d >> 8) & 0xFF00FF, k) + MulHalves((s >> 8) & 0xFF00FF, l);
    const V g = ga & 0xFF00;
    if constexpr (SplitBlue)
        return (((x + y) >> 8) & 0xFF0000) | (((x & 0xFFFF) >> 8) + ((y & 0xFFFF) >> 8)) | g;
    else
        return (((x + y) >> 8) & 0xFF00FF) | g;
}

template <class V>
TANDRY_LANE_INLINE V MixSummed(const V& d, const V& s, const V& l)
{
    return Mix<false, V>(d, s, l);
}

template <class V>
TANDRY_LANE_INLINE V MixSplitBlue(const V& d, const V& s, const V& l)
{
    return Mix<true, V>(d, s, l);
}

// The fills' source-over of colour rgb at alpha a (1..255) onto pixel d.
template <class V>
TANDRY_LANE_INLINE V FillOver(const V& d, const V& rgb, const V& a)
{
    const V newA = OverAlpha(d >> 24, a);
    return newA << 24 | MixSummed(d, rgb, SourceShare(a, newA));
}

// The white path of the blits: word s at its own alpha onto d; alpha 0 leaves d.
template <class V>
TANDRY_LANE_INLINE V BlitWhite(const V& d, const V& s)
{
    const V a = s >> 24;
    const V newA = OverAlpha(d >> 24, a);
    return PixelLanes::Select(PixelLanes::IsZero(a), d, newA << 24 | MixSplitBlue(d, s, SourceShare(a, newA)));
}

// Over eight opaque pixels the result alpha is 255 and the share the source
// alpha, which spares the alpha arithmetic.
TANDRY_LANE_INLINE U32x8 BlitWhite(const U32x8& d, const U32x8& s)
{
    using namespace PixelLanes;
    if (!AllZero(~IsEqual(d >> 24, Splat(255))))
        return BlitWhite<U32x8>(d, s);
    const U32x8 a = s >> 24;
    return Select(IsZero(a), d, 0xFF000000u | MixSplitBlue(d, s, a));
}

// Source word s at its own alpha onto an opaque destination: the result is opaque.
template <class V>
TANDRY_LANE_INLINE V BlitOntoOpaque(const V& d, const V& s)
{
    return 0xFF000000u | MixSplitBlue(d, s, s >> 24);
}

// Each colour channel becomes table[d + add], where table is the 512-entry
// saturation table; the destination alpha stays.
TANDRY_LANE_INLINE uint32_t AddSaturated(uint32_t d, uint32_t addRed, uint32_t addGreen, uint32_t addBlue,
                                         const Saturation& s)
{
    return (d & 0xFF000000u) | uint32_t{s.table[((d >> 16) & 255) + addRed]} << 16
        | uint32_t{s.table[((d >> 8) & 255) + addGreen]} << 8 | s.table[(d & 255) + addBlue];
}

TANDRY_LANE_INLINE U32x8 AddSaturated(const U32x8& d, const U32x8& addRed, const U32x8& addGreen,
                                      const U32x8& addBlue, const Saturation& s)
{
    if (!s.plain) {
        U32x8 out;
        for (int i = 0; i < PixelLanes::kLanes; ++i)
            out[i] = AddSaturated(d[i], addRed[i], addGreen[i], addBlue[i], s);
        return out;
    }
    // Each amount is at most 255, so the three fit the bytes of one word.
    return PixelLanes::AddBytesSaturated(d, addRed << 16 | addGreen << 8 | addBlue);
}

} // namespace Tandry::PixelBlend
