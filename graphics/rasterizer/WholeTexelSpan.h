// Four pixels at a time for the bilinear routines along a span whose
// samples sit on texel positions and step by whole texels (an untransformed,
// integer-moved, quarter-turned or mirrored quad): there the filter reads one
// texel per pixel, so each lane reads that texel and gets the filter's word,
// then the pixel step's tint, skip, opaque store or blend, exactly.
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

// Four untinted pixels from their texels on texel positions.
template <class F>
void WholeTexels(uint8_t* at, V texel)
{
    Shade4<F, NoTint, 2>(at, WholeTexelWords(texel), nullptr, TintFactors{});
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

// Draws the span's pixels four at a time through one texel each and leaves
// fewer than four, with at, q and n moved on past the pixels drawn. The
// caller has checked that the samples sit on texel positions and step by
// whole texels.
template <class F, class Tint, class Values>
void WholeTexelSpan(uint8_t*& at, Values& q, const Values& step, int64_t& n, const TexturedState<Tint>& state)
{
    constexpr size_t kU = Values().size() - 2;
    if (step[kU] == 0x10000 && step[kU + 1] == 0) {
        WholeTexelSampler<true> sample(state.texture);
        ShadeGroups<F>(at, q, step, n, state, sample);
    } else {
        WholeTexelSampler<false> sample(state.texture);
        ShadeGroups<F>(at, q, step, n, state, sample);
    }
}

} // namespace Tandry::Span4

#endif
