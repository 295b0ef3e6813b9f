// The bilinear filter eight sample positions at a time with AVX2, for the
// bilinear routines' spans on processors that have it (chosen when the
// routine runs): the same index, weights and sums as the four-lane filter
// and SampleBilinear, each lane's word exactly the one-pixel filter's. The
// words then go through the four-lane tint and drawing, half by half.
#pragma once

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))

#include "graphics/rasterizer/BilinearSpan.h"
#include "graphics/rasterizer/FilteredSpan.h"
#include "graphics/rasterizer/PointSampledSpan.h"
#include "graphics/rasterizer/RasterTexture.h"
#include "graphics/rasterizer/TexelFetch.h"

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#define TANDRY_AVX2 __attribute__((target("avx2")))

namespace Tandry::Span8 {

using W = __m256i;

inline bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

TANDRY_AVX2 inline W Splat(uint32_t x) { return _mm256_set1_epi32(static_cast<int>(x)); }
TANDRY_AVX2 inline W Byte(W x, int shift) { return _mm256_and_si256(_mm256_srli_epi32(x, shift), Splat(0xFF)); }
TANDRY_AVX2 inline W LessUnsigned(W a, W b)
{
    const W bias = Splat(0x80000000);
    return _mm256_cmpgt_epi32(_mm256_xor_si256(b, bias), _mm256_xor_si256(a, bias));
}

// The texels at index[l] and index[l] + 1 of each of eight lanes, all inside.
TANDRY_AVX2 inline void Pairs(const uint32_t* bits, const uint32_t* index, W& left, W& right)
{
    const auto pair = [bits, index](int l) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bits + index[l])); };
    const __m128i a = _mm_unpacklo_epi32(pair(0), pair(1));
    const __m128i b = _mm_unpacklo_epi32(pair(2), pair(3));
    const __m128i c = _mm_unpacklo_epi32(pair(4), pair(5));
    const __m128i d = _mm_unpacklo_epi32(pair(6), pair(7));
    left = _mm256_set_m128i(_mm_unpacklo_epi64(c, d), _mm_unpacklo_epi64(a, b));
    right = _mm256_set_m128i(_mm_unpackhi_epi64(c, d), _mm_unpackhi_epi64(a, b));
}

TANDRY_AVX2 inline W Texels(const RasterTexture& texture, const uint32_t* index, uint32_t offset)
{
    alignas(32) uint32_t t[8];
    for (int l = 0; l < 8; ++l)
        t[l] = ReadTexel(texture, index[l] + offset);
    return _mm256_load_si256(reinterpret_cast<const W*>(t));
}

// One texel's share of a lane's sums: its alpha weight from the area weight,
// and its channels times that weight.
TANDRY_AVX2 inline void AddTexel(W t, W area, W& alpha, W& redBlue, W& green)
{
    const W a = _mm256_mulhi_epu16(area, _mm256_srli_epi32(t, 24));
    alpha = _mm256_add_epi32(alpha, a);
    redBlue = _mm256_add_epi16(
        redBlue, _mm256_mullo_epi16(_mm256_and_si256(t, Splat(0xFF00FF)), _mm256_or_si256(a, _mm256_slli_epi32(a, 16))));
    green = _mm256_add_epi16(green, _mm256_mullo_epi16(Byte(t, 8), a));
}

// The four-texel filter at eight positions; the texture must be one that
// Span4::FitsBilinear takes. See Span4::BilinearSampler for the steps.
TANDRY_AVX2 inline W Filter(const RasterTexture& texture, W su, W sv)
{
    const W width = Splat(static_cast<uint32_t>(texture.width));
    const W pairEnd = Splat(static_cast<uint32_t>(texture.count) - 1);
    const W row = _mm256_srli_epi32(sv, 16);
    const W product =
        _mm256_or_si256(_mm256_mullo_epi16(row, width), _mm256_slli_epi32(_mm256_mulhi_epi16(row, width), 16));
    const W n = _mm256_add_epi32(product, _mm256_srai_epi32(su, 16));
    const W below = _mm256_add_epi32(n, width);
    alignas(32) uint32_t top[8];
    alignas(32) uint32_t bottom[8];
    _mm256_store_si256(reinterpret_cast<W*>(top), n);
    _mm256_store_si256(reinterpret_cast<W*>(bottom), below);
    W t00;
    W t10;
    W t01;
    W t11;
    const W inside = _mm256_and_si256(LessUnsigned(n, pairEnd), LessUnsigned(below, pairEnd));
    if (_mm256_movemask_epi8(inside) == -1) {
        Pairs(texture.bits, top, t00, t10);
        Pairs(texture.bits, bottom, t01, t11);
    } else {
        t00 = Texels(texture, top, 0);
        t10 = Texels(texture, top, 1);
        t01 = Texels(texture, bottom, 0);
        t11 = Texels(texture, bottom, 1);
    }
    const W fu = _mm256_add_epi32(_mm256_and_si256(su, Splat(0xFFFE)), Splat(1));
    const W fv = _mm256_add_epi32(_mm256_and_si256(sv, Splat(0xFFFE)), Splat(1));
    const W gu = _mm256_sub_epi32(Splat(0x10000), fu);
    const W gv = _mm256_sub_epi32(Splat(0x10000), fv);
    W alpha = _mm256_setzero_si256();
    W redBlue = _mm256_setzero_si256();
    W green = _mm256_setzero_si256();
    AddTexel(t00, _mm256_mulhi_epu16(gu, gv), alpha, redBlue, green);
    AddTexel(t10, _mm256_mulhi_epu16(fu, gv), alpha, redBlue, green);
    AddTexel(t01, _mm256_mulhi_epu16(gu, fv), alpha, redBlue, green);
    AddTexel(t11, _mm256_mulhi_epu16(fu, fv), alpha, redBlue, green);
    return _mm256_or_si256(_mm256_slli_epi32(alpha, 24),
                           _mm256_or_si256(_mm256_and_si256(_mm256_srli_epi32(redBlue, 8), Splat(0xFF00FF)),
                                           _mm256_and_si256(green, Splat(0xFF00))));
}

// The filter at eight positions given as two arrays of 16.16 values, into
// words: the form the tests compare lane by lane.
TANDRY_AVX2 inline void FilterInto(const RasterTexture& texture, const int32_t* su, const int32_t* sv, uint32_t* words)
{
    _mm256_storeu_si256(reinterpret_cast<W*>(words),
                        Filter(texture, _mm256_loadu_si256(reinterpret_cast<const W*>(su)),
                               _mm256_loadu_si256(reinterpret_cast<const W*>(sv))));
}

// Draws the span's pixels eight at a time through the filter and leaves
// fewer than eight, with at, q and n moved on past the pixels drawn. Call
// only where HasAvx2 and Span4::FitsBilinear hold.
template <class F, class Tint, class Values>
TANDRY_AVX2 void Bilinear(uint8_t*& spanAt, Values& q, const Values& step, int64_t& spanCount,
                          const TexturedState<Tint>& state)
{
    // Locals, so the stores through the pixel pointer cannot alias them.
    uint8_t* at = spanAt;
    int64_t n = spanCount;
    constexpr size_t kCount = Values().size();
    constexpr size_t kU = kCount - 2;
    constexpr size_t kPixel = sizeof(typename F::Pixel);
    // Two four-lane walks, the second four pixels on, each moving eight.
    Values second;
    for (size_t i = 0; i < kCount; ++i)
        second[i] = static_cast<int32_t>(static_cast<uint32_t>(q[i]) + 4 * static_cast<uint32_t>(step[i]));
    Span4::SpanLanes<kCount> low(q, step, 8);
    Span4::SpanLanes<kCount> high(second, step, 8);
    const RasterTexture texture = state.texture;
    const TintFactors k = state.constant;
    for (; n >= 8; n -= 8) {
        const W words = Filter(texture, _mm256_set_m128i(high.value[kU], low.value[kU]),
                               _mm256_set_m128i(high.value[kU + 1], low.value[kU + 1]));
        Span4::Shade4<F, Tint, kCount>(at, _mm256_castsi256_si128(words), low.value, k);
        Span4::Shade4<F, Tint, kCount>(at + 4 * kPixel, _mm256_extracti128_si256(words, 1), high.value, k);
        at += 8 * kPixel;
        low.Advance();
        high.Advance();
    }
    low.WriteBack(q);
    spanAt = at;
    spanCount = n;
}

} // namespace Tandry::Span8

#endif
