// The bilinear filter four sample positions at a time, with SSE2, for the
// bilinear routines' spans: the same base index, odd fractions, area and
// alpha weights and premultiplied sums as SampleBilinear, each lane's word
// exactly the one-pixel filter's. The texels of the 2 x 2 squares come as
// pairs from the rows where all four lie inside the texture.
#pragma once

#if defined(__SSE2__)

#include "graphics/rasterizer/FilteredSpan.h"
#include "graphics/rasterizer/RasterTexture.h"
#include "graphics/rasterizer/TexelFetch.h"

#include <cstdint>

namespace Tandry::Span4 {

// Whether the lanes can take this call: what the point-sampled lanes need,
// and a width that is a positive signed 16-bit number for the row product.
template <class Tint>
bool FitsBilinear(const TexturedState<Tint>& state)
{
    return Fits(state) && state.texture.width < 32768;
}

// BaseTexelIndex in four lanes: the signed row (sv >> 16, within 16 bits)
// times the width in 32 bits with wrap-around, from its two 16-bit halves,
// plus the signed column.
inline V BaseTexelIndex4(V su, V sv, V width)
{
    const V row = _mm_srli_epi32(sv, 16);
    const V product = _mm_or_si128(_mm_mullo_epi16(row, width), _mm_slli_epi32(_mm_mulhi_epi16(row, width), 16));
    return _mm_add_epi32(product, _mm_srai_epi32(su, 16));
}

// The four-texel filter at four positions; the texture must have texels
// and a width that FitsBilinear takes.
class BilinearSampler {
public:
    explicit BilinearSampler(const RasterTexture& texture)
        : mTexture(texture),
          mWidth(Splat(static_cast<uint32_t>(texture.width))),
          mPairEnd(Splat(static_cast<uint32_t>(texture.count) - 1))
    {
    }

    V operator()(V su, V sv) const
    {
        const V n = BaseTexelIndex4(su, sv, mWidth);
        const V below = _mm_add_epi32(n, mWidth);
        V t00;
        V t10;
        V t01;
        V t11;
        alignas(16) uint32_t top[4];
        alignas(16) uint32_t bottom[4];
        _mm_store_si128(reinterpret_cast<V*>(top), n);
        _mm_store_si128(reinterpret_cast<V*>(bottom), below);
        // Both pairs of every square inside the texels: each pair is one
        // load (the index is linear, so a pair at a row's end runs into the
        // next row, as the filter reads it). Elsewhere each texel is read,
        // or counted as 0, on its own.
        const V inside = _mm_and_si128(LessUnsigned(n, mPairEnd), LessUnsigned(below, mPairEnd));
        if (_mm_movemask_epi8(inside) == 0xFFFF) {
            Pairs(top, t00, t10);
            Pairs(bottom, t01, t11);
        } else {
            t00 = Texels(top, 0);
            t10 = Texels(top, 1);
            t01 = Texels(bottom, 0);
            t11 = Texels(bottom, 1);
        }
        const V fu = _mm_add_epi32(_mm_and_si128(su, Splat(0xFFFE)), Splat(1));
        const V fv = _mm_add_epi32(_mm_and_si128(sv, Splat(0xFFFE)), Splat(1));
        const V gu = _mm_sub_epi32(Splat(0x10000), fu);
        const V gv = _mm_sub_epi32(Splat(0x10000), fv);
        // Every factor is below 65536 in the lane's low half, the high half
        // 0, so one high-half multiply is (x * y) >> 16.
        V alpha = _mm_setzero_si128();
        V redBlue = _mm_setzero_si128();
        V green = _mm_setzero_si128();
        const auto add = [&](V t, V area) {
            const V a = _mm_mulhi_epu16(area, _mm_srli_epi32(t, 24));
            alpha = _mm_add_epi32(alpha, a);
            // With the weights summing to at most 254 no channel's sum leaves its 16 bits.
            redBlue = _mm_add_epi16(redBlue,
                                    _mm_mullo_epi16(_mm_and_si128(t, Splat(0xFF00FF)), _mm_or_si128(a, _mm_slli_epi32(a, 16))));
            green = _mm_add_epi16(green, _mm_mullo_epi16(Byte(t, 8), a));
        };
        add(t00, _mm_mulhi_epu16(gu, gv));
        add(t10, _mm_mulhi_epu16(fu, gv));
        add(t01, _mm_mulhi_epu16(gu, fv));
        add(t11, _mm_mulhi_epu16(fu, fv));
        return _mm_or_si128(_mm_slli_epi32(alpha, 24),
                            _mm_or_si128(_mm_and_si128(_mm_srli_epi32(redBlue, 8), Splat(0xFF00FF)),
                                         _mm_and_si128(green, Splat(0xFF00))));
    }

private:
    // The texels at index[l] and index[l] + 1 of each lane l.
    void Pairs(const uint32_t* index, V& left, V& right) const
    {
        const uint32_t* bits = mTexture.bits;
        const auto pair = [&](int l) { return _mm_loadl_epi64(reinterpret_cast<const V*>(bits + index[l])); };
        const V low = _mm_unpacklo_epi32(pair(0), pair(1));
        const V high = _mm_unpacklo_epi32(pair(2), pair(3));
        left = _mm_unpacklo_epi64(low, high);
        right = _mm_unpackhi_epi64(low, high);
    }

    V Texels(const uint32_t* index, uint32_t offset) const
    {
        const auto read = [&](int l) { return static_cast<int>(ReadTexel(mTexture, index[l] + offset)); };
        return _mm_set_epi32(read(3), read(2), read(1), read(0));
    }

    const RasterTexture& mTexture;
    V mWidth;
    V mPairEnd;
};

// Draws the span's pixels four at a time through the filter and leaves
// fewer than four, with at, q and n moved on past the pixels drawn.
template <class F, class Tint, class Values>
void Bilinear(uint8_t*& at, Values& q, const Values& step, int64_t& n, const TexturedState<Tint>& state)
{
    BilinearSampler sample(state.texture);
    ShadeGroups<F>(at, q, step, n, state, sample);
}

} // namespace Tandry::Span4

#endif
