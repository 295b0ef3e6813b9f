// Four pixels at a time for the bilinear routines along a span whose
// samples sit on texel positions and step by whole texels (an untransformed,
// integer-moved, quarter-turned or mirrored quad): there the filter reads one
// texel per pixel, so each lane reads that texel and gets the filter's word,
// then the pixel step's tint, skip, opaque store or blend, exactly. An
// untinted row, the commonest (a sprite drawn where it stands), counts the
// index on by four and draws from the texels without forming the words.
#pragma once

#if defined(__SSE2__)

#include "graphics/rasterizer/BilinearSpan.h"
#include "graphics/rasterizer/FilteredSpan.h"
#include "graphics/rasterizer/RasterTexture.h"
#include "graphics/rasterizer/TexelFetch.h"

#include <cstdint>

namespace Tandry::Span4 {

// The filter's words for four texels on texel positions, as SampleWholeTexel
// forms them: the filtered alpha a is the texel's alpha less 1 (0 stays 0)
// and every channel becomes (c * a) >> 8.
inline V WholeTexelWords(V texel)
{
    const V a = _mm_subs_epu16(_mm_srli_epi32(texel, 24), Splat(1));
    const V redBlue = _mm_mullo_epi16(_mm_and_si128(texel, Splat(0xFF00FF)), _mm_or_si128(a, _mm_slli_epi32(a, 16)));
    const V green = MulSmall(Byte(texel, 8), a);
    return _mm_or_si128(_mm_slli_epi32(a, 24), _mm_or_si128(_mm_and_si128(_mm_srli_epi32(redBlue, 8), Splat(0xFF00FF)),
                                                            _mm_and_si128(green, Splat(0xFF00))));
}

// The one texel of each of four positions. Along a row stepping one texel in
// u and none in v, four texels in a row inside the texture are one load.
template <bool kRow>
class WholeTexelSampler {
public:
    explicit WholeTexelSampler(const RasterTexture& texture)
        : mTexture(texture), mWidth(Splat(static_cast<uint32_t>(texture.width)))
    {
    }

    V operator()(V su, V sv) const
    {
        const V n = BaseTexelIndex4(su, sv, mWidth);
        alignas(16) uint32_t index[4];
        _mm_store_si128(reinterpret_cast<V*>(index), n);
        const auto count = static_cast<uint32_t>(mTexture.count);
        // The columns are consecutive unless u crossed the 16.16 limit, which
        // turns the column from 32767 to -32768 in the middle of the group.
        if (kRow && index[3] - index[0] == 3 && count >= 4 && index[0] <= count - 4)
            return WholeTexelWords(_mm_loadu_si128(reinterpret_cast<const V*>(mTexture.bits + index[0])));
        const auto read = [&](int l) { return static_cast<int>(ReadTexel(mTexture, index[l])); };
        return WholeTexelWords(_mm_set_epi32(read(3), read(2), read(1), read(0)));
    }

private:
    const RasterTexture& mTexture;
    V mWidth;
};

// Four untinted pixels from their texels on texel positions, without the
// filtered words in between: each channel held as c << 8 in 16 bits, so one
// high-half multiply by the filtered alpha a gives the word's (c * a) >> 8.
// Groups of four full texels (a = 254 everywhere, all stored opaque) and of
// four skipped ones, the bulk of a sprite, cost a few instructions.
// Whether every texel's alpha is 255 (all stored opaque), and whether every
// one's is 9 or less (a filtered alpha of 8 or less: all skipped).
inline bool AllFull(V texel)
{
    const V fullAlpha = Splat(0xFF000000);
    return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(texel, fullAlpha), fullAlpha)) == 0xFFFF;
}

inline bool AllSkipped(V texel)
{
    const V rest = _mm_and_si128(_mm_subs_epu8(texel, Splat(0x09000000)), Splat(0xFF000000));
    return _mm_movemask_epi8(_mm_cmpeq_epi32(rest, _mm_setzero_si128())) == 0xFFFF;
}

// Four full texels of a 32-bit format, each channel times 254 / 256.
template <class F>
[[gnu::always_inline]] inline void FullTexels(uint8_t* at, V texel)
{
    const V zero = _mm_setzero_si128();
    const V full = _mm_set1_epi16(254);
    Pixels4<F>::Store(at, _mm_or_si128(_mm_packus_epi16(_mm_mulhi_epu16(_mm_unpacklo_epi8(zero, texel), full),
                                                        _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, texel), full)),
                                       Splat(0xFF000000)));
}

template <class F>
[[gnu::always_inline]] inline void WholeTexels(uint8_t* at, V texel)
{
    const V fullAlpha = Splat(0xFF000000);
    const V zero = _mm_setzero_si128();
    if constexpr (sizeof(typename F::Pixel) == 4) {
        if (AllFull(texel)) {
            FullTexels<F>(at, texel);
            return;
        }
    }
    const V a = _mm_subs_epu16(_mm_srli_epi32(texel, 24), Splat(1));
    const V skip = _mm_cmplt_epi32(a, Splat(9));
    const int skipped = _mm_movemask_ps(_mm_castsi128_ps(skip));
    if (skipped == 0xF)
        return;
    if constexpr (sizeof(typename F::Pixel) == 4) {
        const V opaque = _mm_cmpgt_epi32(a, Splat(239));
        const int opaqued = _mm_movemask_ps(_mm_castsi128_ps(opaque));
        const auto spread = [](V w, V& low, V& high) {
            const V pairs = _mm_packs_epi32(w, w);
            const V quads = _mm_unpacklo_epi16(pairs, pairs);
            low = _mm_unpacklo_epi32(quads, quads);
            high = _mm_unpackhi_epi32(quads, quads);
        };
        V aLow;
        V aHigh;
        spread(a, aLow, aHigh);
        const V pLow = _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, texel), aLow);
        const V pHigh = _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, texel), aHigh);
        const V solid = _mm_or_si128(_mm_packus_epi16(pLow, pHigh), fullAlpha);
        if (skipped == 0 && opaqued == 0xF) {
            Pixels4<F>::Store(at, solid);
            return;
        }
        const V d = Pixels4<F>::Load(at);
        // The edge of a shape: each lane either skipped or stored opaque.
        if ((skipped | opaqued) == 0xF) {
            Pixels4<F>::Store(at, Select(skip, d, solid));
            return;
        }
        // Lanes that do not blend get weight 1, as in the point-sampled groups.
        const V blendWeight = (skipped | opaqued) != 0 ? Select(_mm_or_si128(skip, opaque), Splat(1), a) : a;
        V wLow;
        V wHigh;
        spread(blendWeight, wLow, wHigh);
        StoreBlended<F>(at, Pixels4<F>::Blend(d, pLow, pHigh, wLow, wHigh, blendWeight), solid, d, opaque, skip,
                        opaqued, skipped);
    } else {
        const auto channel = [&](int shift) { return _mm_srli_epi32(MulSmall(Byte(texel, shift), a), 8); };
        const V word = _mm_or_si128(_mm_slli_epi32(channel(16), 16),
                                    _mm_or_si128(_mm_slli_epi32(channel(8), 8), channel(0)));
        DrawFiltered<F>(at, word, a, skip);
    }
}

// The untinted span stepping one texel along a row: the texels' index goes
// up by four per group (no lanes to walk), while u stays clear of the 16.16
// limit, beyond which the column would jump; what is left goes on through
// the lanes.
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
    constexpr size_t kGroup = 4 * sizeof(typename F::Pixel);
    // Inside the texture, eight texels at a time: the runs of full and of
    // skipped texels that make up most of a sprite take one test per eight.
    for (; n >= 8 && count >= 8 && index <= count - 8; n -= 8) {
        const V low = _mm_loadu_si128(reinterpret_cast<const V*>(bits + index));
        const V high = _mm_loadu_si128(reinterpret_cast<const V*>(bits + index + 4));
        if constexpr (sizeof(typename F::Pixel) == 4) {
            if (AllFull(_mm_and_si128(low, high))) {
                FullTexels<F>(at, low);
                FullTexels<F>(at + kGroup, high);
                at += 2 * kGroup;
                index += 8;
                continue;
            }
        }
        if (!AllSkipped(_mm_max_epu8(low, high))) {
            WholeTexels<F>(at, low);
            WholeTexels<F>(at + kGroup, high);
        }
        at += 2 * kGroup;
        index += 8;
    }
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
        at += kGroup;
        index += 4;
    }
    const uint32_t drawn = index - first;
    q[kU] = static_cast<int32_t>(static_cast<uint32_t>(q[kU]) + (drawn << 16));
    spanCount -= drawn;
    spanAt = at;
}

// Draws the span's pixels four at a time through one texel each and leaves
// fewer than four, with at, q and n moved on past the pixels drawn. The
// caller has checked that the samples sit on texel positions and step by
// whole texels.
template <class F, class Tint, class Values>
void WholeTexelSpan(uint8_t*& at, Values& q, const Values& step, int64_t& n, const TexturedState<Tint>& state)
{
    constexpr size_t kU = Values().size() - 2;
    if (step[kU] == 0x10000 && step[kU + 1] == 0) {
        if constexpr (!Tint::kTints) {
            WholeTexelRow<F>(at, q, n, state.texture);
            // Short of a group: the rest is the one-pixel step's.
            if (n < 4)
                return;
        }
        WholeTexelSampler<true> sample(state.texture);
        ShadeGroups<F>(at, q, step, n, state, sample);
    } else {
        WholeTexelSampler<false> sample(state.texture);
        ShadeGroups<F>(at, q, step, n, state, sample);
    }
}

} // namespace Tandry::Span4

#endif
