// Four pixels at a time for the untinted bilinear routines along a span
// whose samples sit on texel positions one texel apart (an untransformed or
// integer-moved quad): there the filter reads one texel per pixel, so the
// texels come four at a time straight from the row and each lane gets the
// filter's word and the pixel step's skip, opaque store or blend, exactly.
#pragma once

#if defined(__SSE2__)

#include "graphics/rasterizer/PointSampledSpan.h"
#include "graphics/rasterizer/SampleBilinear.h"
#include "graphics/rasterizer/TextureTint.h"

#include <cstdint>

namespace Tandry::Span4 {

// Four texels as the bilinear step draws them on texel positions: the
// filtered alpha a is the texel's alpha less 1 (0 stays 0), every channel
// becomes (c * a) >> 8; a of 8 or less is skipped, from 240 stored opaque.
template <class F>
void WholeTexels(uint8_t* at, V texel)
{
    const V a = _mm_subs_epu16(_mm_srli_epi32(texel, 24), Splat(1));
    const V skip = _mm_cmplt_epi32(a, Splat(9));
    const V opaque = _mm_cmpgt_epi32(a, Splat(239));
    const int skipped = _mm_movemask_ps(_mm_castsi128_ps(skip));
    const int opaqued = _mm_movemask_ps(_mm_castsi128_ps(opaque));
    if (skipped == 0xF)
        return;
    // Lanes that do not blend get weight 1, as in the point-sampled groups.
    const V blendWeight = (skipped | opaqued) != 0 ? Select(_mm_or_si128(skip, opaque), Splat(1), a) : a;
    if constexpr (sizeof(typename F::Pixel) == 4) {
        const V zero = _mm_setzero_si128();
        const auto spread = [](V w, V& low, V& high) {
            const V pairs = _mm_packs_epi32(w, w);
            const V quads = _mm_unpacklo_epi16(pairs, pairs);
            low = _mm_unpacklo_epi32(quads, quads);
            high = _mm_unpackhi_epi32(quads, quads);
        };
        V aLow;
        V aHigh;
        spread(a, aLow, aHigh);
        // Each channel held as c << 8, so the high half of the product is (c * a) >> 8.
        const V pLow = _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, texel), aLow);
        const V pHigh = _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, texel), aHigh);
        const V solid = _mm_or_si128(_mm_packus_epi16(pLow, pHigh), Splat(0xFF000000));
        if (skipped == 0 && opaqued == 0xF) {
            Pixels4<F>::Store(at, solid);
            return;
        }
        const V d = Pixels4<F>::Load(at);
        V wLow;
        V wHigh;
        spread(blendWeight, wLow, wHigh);
        V out = Pixels4<F>::Blend(d, pLow, pHigh, wLow, wHigh, blendWeight);
        if (opaqued != 0)
            out = Select(opaque, solid, out);
        if (skipped != 0)
            out = Select(skip, d, out);
        Pixels4<F>::Store(at, out);
    } else {
        const V r = _mm_srli_epi32(MulSmall(Byte(texel, 16), a), 8);
        const V g = _mm_srli_epi32(MulSmall(Byte(texel, 8), a), 8);
        const V b = _mm_srli_epi32(MulSmall(Byte(texel, 0), a), 8);
        const V solid = Pixels4<F>::Pack(r, g, b);
        if (skipped == 0 && opaqued == 0xF) {
            Pixels4<F>::Store(at, solid);
            return;
        }
        const V d = Pixels4<F>::Load(at);
        V out = Pixels4<F>::Blend(d, r, g, b, blendWeight);
        if (opaqued != 0)
            out = Select(opaque, solid, out);
        if (skipped != 0)
            out = Select(skip, d, out);
        Pixels4<F>::Store(at, out);
    }
}

// Draws the span's pixels four at a time while u stays clear of the 16.16
// limit (beyond it the column would jump) and leaves fewer than four, with
// at, q and n moved on past the pixels drawn. The caller has checked that
// u steps by one texel, v not at all, and both sit on texel positions.
template <class F, class Values>
void WholeTexelRow(uint8_t*& spanAt, Values& q, int64_t& spanCount, const RasterTexture& texture)
{
    constexpr size_t kU = Values().size() - 2;
    // Pixels whose u is still below 2^31: the column of each is the first's plus its place.
    const int64_t room = ((int64_t{INT32_MAX} - q[kU]) >> 16) + 1;
    int64_t n = spanCount < room ? spanCount : room;
    uint8_t* at = spanAt;
    const uint32_t first = BaseTexelIndex(texture, q[kU], q[kU + 1]);
    const auto count = static_cast<uint32_t>(texture.count);
    const uint32_t* bits = texture.bits;
    uint32_t index = first;
    for (; n >= 4; n -= 4) {
        V texel;
        // Four texels in a row inside the texture are one load; elsewhere
        // each is read (or counted as 0) on its own, as the filter reads it.
        if (count >= 4 && index <= count - 4)
            texel = _mm_loadu_si128(reinterpret_cast<const V*>(bits + index));
        else
            texel = _mm_set_epi32(static_cast<int>(ReadTexel(texture, index + 3)),
                                  static_cast<int>(ReadTexel(texture, index + 2)),
                                  static_cast<int>(ReadTexel(texture, index + 1)),
                                  static_cast<int>(ReadTexel(texture, index)));
        WholeTexels<F>(at, texel);
        at += 4 * sizeof(typename F::Pixel);
        index += 4;
    }
    const uint32_t drawn = index - first;
    q[kU] = static_cast<int32_t>(static_cast<uint32_t>(q[kU]) + (drawn << 16));
    spanCount -= drawn;
    spanAt = at;
}

} // namespace Tandry::Span4

#endif
