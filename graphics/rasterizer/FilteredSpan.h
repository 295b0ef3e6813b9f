// Four pixels at a time for the bilinear routines, after the filter: the
// skip of filtered alpha 8 or less, the tint, and the opaque store or blend
// of the pixel step, lane by lane in integers. A sampler (the four-texel
// filter, or the one texel read on texel positions) gives each group's four
// filtered words; ShadeGroups walks the span with it.
#pragma once

#if defined(__SSE2__)

#include "graphics/rasterizer/FilteredPixel.h"
#include "graphics/rasterizer/PointSampledSpan.h"
#include "graphics/rasterizer/TextureTint.h"

#include <cstddef>
#include <cstdint>

namespace Tandry::Span4 {

// Stores a group's blended lanes, with its opaque lanes solid and its
// skipped lanes as the destination d was.
template <class F>
void StoreBlended(uint8_t* at, V out, V solid, V d, V opaque, V skip, int opaqued, int skipped)
{
    if (opaqued != 0)
        out = Select(opaque, solid, out);
    if (skipped != 0)
        out = Select(skip, d, out);
    Pixels4<F>::Store(at, out);
}

// Draws four pixels whose colour bytes hold the step's r, g and b (what an
// opaque pixel is packed from and what a blend adds) and whose weights are
// w: skipped lanes stay as they are, lanes of w from 240 are stored opaque,
// the rest blended. The blend kernels are the point-sampled groups', exact
// where each channel is at most 255 w / 256, as every point-sampled blend's is.
template <class F>
void DrawFiltered(uint8_t* at, V word, V w, V skip)
{
    const V opaque = _mm_cmpgt_epi32(w, Splat(239));
    const int skipped = _mm_movemask_ps(_mm_castsi128_ps(skip));
    const int opaqued = _mm_movemask_ps(_mm_castsi128_ps(opaque));
    if (skipped == 0xF)
        return;
    // Lanes that do not blend get weight 1, as in the point-sampled groups.
    const V blendWeight = (skipped | opaqued) != 0 ? Select(_mm_or_si128(skip, opaque), Splat(1), w) : w;
    if constexpr (sizeof(typename F::Pixel) == 4) {
        const V solid = _mm_or_si128(word, Splat(0xFF000000));
        if (skipped == 0 && opaqued == 0xF) {
            Pixels4<F>::Store(at, solid);
            return;
        }
        const V d = Pixels4<F>::Load(at);
        const V zero = _mm_setzero_si128();
        const V pairs = _mm_packs_epi32(blendWeight, blendWeight);
        const V quads = _mm_unpacklo_epi16(pairs, pairs);
        const V out =
            Pixels4<F>::Blend(d, _mm_unpacklo_epi8(word, zero), _mm_unpackhi_epi8(word, zero),
                              _mm_unpacklo_epi32(quads, quads), _mm_unpackhi_epi32(quads, quads), blendWeight);
        StoreBlended<F>(at, out, solid, d, opaque, skip, opaqued, skipped);
    } else {
        const V r = Byte(word, 16);
        const V g = Byte(word, 8);
        const V b = Byte(word, 0);
        const V solid = Pixels4<F>::Pack(r, g, b);
        if (skipped == 0 && opaqued == 0xF) {
            Pixels4<F>::Store(at, solid);
            return;
        }
        const V d = Pixels4<F>::Load(at);
        const V out = Pixels4<F>::Blend(d, r, g, b, blendWeight);
        StoreBlended<F>(at, out, solid, d, opaque, skip, opaqued, skipped);
    }
}

// What four filtered words become at the pixels: the untinted weight is the
// filtered alpha; a tint multiplies each channel by its factor and by its
// alpha, and the filtered alpha by its alpha, as the step does. A tint can
// give a channel above 255 w / 256, outside the blend kernels' exact range;
// such groups are drawn pixel by pixel.
template <class F, class Tint, size_t kCount>
void Shade4(uint8_t* at, V word, const V* lane, const TintFactors& k)
{
    const V coverage = _mm_srli_epi32(word, 24);
    const V skip = _mm_cmplt_epi32(coverage, Splat(9));
    if (_mm_movemask_ps(_mm_castsi128_ps(skip)) == 0xF)
        return;
    if constexpr (!Tint::kTints) {
        DrawFiltered<F>(at, word, coverage, skip);
    } else {
        V fa = Splat(k.alpha);
        V fr = Splat(k.red);
        V fg = Splat(k.green);
        V fb = Splat(k.blue);
        if constexpr (kCount == 6) {
            fa = _mm_srli_epi32(lane[0], 16);
            fr = _mm_srli_epi32(lane[1], 16);
            fg = _mm_srli_epi32(lane[2], 16);
            fb = _mm_srli_epi32(lane[3], 16);
        }
        // Constant factors are below 256 (see Fits), so their products keep
        // to 16 bits; interpolated ones run up to 65535 and keep 8 bits.
        const auto scale = [](V x, V factor) {
            if constexpr (Tint::kMask == 0xFF)
                return _mm_and_si128(_mm_srli_epi32(MulWide(x, factor), 8), Splat(0xFF));
            else
                return _mm_srli_epi32(MulSmall(x, factor), 8);
        };
        const V r = scale(scale(Byte(word, 16), fr), fa);
        const V g = scale(scale(Byte(word, 8), fg), fa);
        const V b = scale(scale(Byte(word, 0), fb), fa);
        const V w =
            _mm_srli_epi32(Tint::kMask == 0xFF ? MulWide(fa, coverage) : MulSmall(fa, coverage), 8);
        const V blends = _mm_andnot_si128(_mm_or_si128(skip, _mm_cmpgt_epi32(w, Splat(239))), Splat(0xFFFFFFFF));
        // Blending lanes have w below 240, so 255 w keeps to 16 bits.
        const V most = _mm_max_epi16(_mm_max_epi16(r, g), b);
        const V outside = _mm_and_si128(_mm_cmpgt_epi32(_mm_slli_epi32(most, 8), MulSmall(w, Splat(255))), blends);
        if (_mm_movemask_epi8(outside) == 0) {
            DrawFiltered<F>(at, _mm_or_si128(_mm_slli_epi32(r, 16), _mm_or_si128(_mm_slli_epi32(g, 8), b)), w,
                            skip);
            return;
        }
        alignas(16) uint32_t lanes[5][4];
        _mm_store_si128(reinterpret_cast<V*>(lanes[0]), r);
        _mm_store_si128(reinterpret_cast<V*>(lanes[1]), g);
        _mm_store_si128(reinterpret_cast<V*>(lanes[2]), b);
        _mm_store_si128(reinterpret_cast<V*>(lanes[3]), w);
        _mm_store_si128(reinterpret_cast<V*>(lanes[4]), skip);
        for (size_t l = 0; l < 4; ++l)
            if (lanes[4][l] == 0)
                PutFiltered<F>(at + l * sizeof(typename F::Pixel), lanes[0][l], lanes[1][l], lanes[2][l],
                               lanes[3][l]);
    }
}

// Draws the span's pixels four at a time with the sampler's words and
// leaves fewer than four, with at, q and n moved on past the pixels drawn.
// sample(u, v) gets the four sample positions, as BeginSpan left them.
template <class F, class Tint, class Values, class Sampler>
void ShadeGroups(uint8_t*& spanAt, Values& q, const Values& step, int64_t& spanCount,
                 const TexturedState<Tint>& state, Sampler& sample)
{
    // Locals, so the stores through the pixel pointer cannot alias them.
    uint8_t* at = spanAt;
    int64_t n = spanCount;
    constexpr size_t kCount = Values().size();
    constexpr size_t kU = kCount - 2;
    SpanLanes<kCount> walk(q, step);
    const TintFactors k = state.constant;
    for (; n >= 4; n -= 4) {
        Shade4<F, Tint, kCount>(at, sample(walk.value[kU], walk.value[kU + 1]), walk.value, k);
        at += 4 * sizeof(typename F::Pixel);
        walk.Advance();
    }
    walk.WriteBack(q);
    spanAt = at;
    spanCount = n;
}

} // namespace Tandry::Span4

#endif
