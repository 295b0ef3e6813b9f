// The bilinear sample of the rotated blits, shared by memory images and the
// surface routine of display images: the four pixels around a 16.16 source
// position, their weights from odd fractions, and the weighted alphas with the
// channels summed over them. Written over PixelLanes, so one sample or eight.
#pragma once

#include <cstdint>

#include "graphics/image/PixelLanes.h"

namespace Tandry::BilinearSampling {

using PixelLanes::U32x8;

// The sum of the four weighted alphas of a sample, and each channel summed
// over the four pixels weighted by them.
template <class V>
struct Sample {
    V alpha;
    V red;
    V green;
    V blue;
};

template <class Words>
TANDRY_LANE_INLINE uint32_t Fetch(const Words& words, uint32_t at)
{
    return words[at];
}

template <class Words>
TANDRY_LANE_INLINE U32x8 Fetch(const Words& words, const U32x8& at)
{
    return U32x8{words[at[0]], words[at[1]], words[at[2]], words[at[3]],
                 words[at[4]], words[at[5]], words[at[6]], words[at[7]]};
}

template <class V>
TANDRY_LANE_INLINE void AddWeighted(Sample<V>& s, const V& p, const V& w, uint32_t alphaScale)
{
    V a = (w * (p >> 24)) >> 16;
    if (alphaScale != 256)
        a = (a * alphaScale) >> 8;
    s.alpha += a;
    s.red += ((p >> 16) & 255) * a;
    s.green += ((p >> 8) & 255) * a;
    s.blue += (p & 255) * a;
}

// The 2 x 2 neighbourhood at (u, v), relative to the source rectangle whose
// first pixel is word `origin`; the fractions are made odd, so no weight is
// ever a whole 65536. A colour alpha below 256 scales the weighted alphas.
template <class Words, class V>
TANDRY_LANE_INLINE Sample<V> Bilinear(const Words& words, uint32_t origin, uint32_t pitch, const V& u, const V& v,
                                      uint32_t alphaScale)
{
    const V at = origin + (v >> 16) * pitch + (u >> 16);
    const V fu = (u & 0xFFFE) + 1;
    const V fv = (v & 0xFFFE) + 1;
    Sample<V> s{V{}, V{}, V{}, V{}};
    AddWeighted(s, Fetch(words, at), ((65536 - fu) * (65536 - fv)) >> 16, alphaScale);
    AddWeighted(s, Fetch(words, at + 1), (fu * (65536 - fv)) >> 16, alphaScale);
    AddWeighted(s, Fetch(words, at + pitch), ((65536 - fu) * fv) >> 16, alphaScale);
    AddWeighted(s, Fetch(words, at + pitch + 1), (fu * fv) >> 16, alphaScale);
    return s;
}

} // namespace Tandry::BilinearSampling
