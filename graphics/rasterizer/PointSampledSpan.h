// Four pixels at a time for the point-sampled routines that blend, with
// SSE2 (every x86-64 processor has it): the same texel fetch, tint, weight,
// opaque packing and blend as the routine's pixel step, lane by lane in
// integers, each pixel's result exactly the step's. The 0x8888 blend divides
// through a single-precision reciprocal, exact for the quotients a
// point-sampled blend produces (see there).
#pragma once

#if defined(__SSE2__)

#include "graphics/rasterizer/PixelFormats.h"
#include "graphics/rasterizer/TextureTint.h"

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>

namespace Tandry::Span4 {

using V = __m128i;

inline V Splat(uint32_t x) { return _mm_set1_epi32(static_cast<int>(x)); }
inline V Byte(V x, int shift) { return _mm_and_si128(_mm_srli_epi32(x, shift), Splat(0xFF)); }
// Lanes below 65536 whose product is below 65536 too (else its low 16 bits).
inline V MulSmall(V x, V y) { return _mm_mullo_epi16(x, y); }
// The whole product of two lanes below 65536.
inline V MulWide(V x, V y) { return _mm_or_si128(_mm_mullo_epi16(x, y), _mm_slli_epi32(_mm_mulhi_epu16(x, y), 16)); }
inline V LessUnsigned(V a, V b)
{
    const V bias = Splat(0x80000000);
    return _mm_cmplt_epi32(_mm_xor_si128(a, bias), _mm_xor_si128(b, bias));
}
inline V Select(V mask, V yes, V no) { return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no)); }

// What four pixels become, given their texels, the tint's factors (one
// 32-bit lane per pixel), the weights W and the lanes that are skipped or
// written opaque. A lane's result is the pixel step's; the destination is
// read only when some lane blends.
template <class F>
struct Pixels4;

// 0x8888 and 0x888 work on the channels as 16-bit values, two pixels to a
// register, each channel c held as c << 8 so that one high-half multiply
// gives (c * x) >> 8; every product there stays below 2^24.
template <class F>
struct Wide4 {
    static V Load(const uint8_t* at) { return _mm_loadu_si128(reinterpret_cast<const V*>(at)); }
    static void Store(uint8_t* at, V pixels) { _mm_storeu_si128(reinterpret_cast<V*>(at), pixels); }

    template <bool kTints>
    static void Draw(uint8_t* at, V texel, V fr, V fg, V fb, V w, V skip, V opaque)
    {
        const V zero = _mm_setzero_si128();
        V low;
        V high;
        if constexpr (kTints) {
            // Bits 8 to 15 of each product: the tinted channel's low byte.
            const V greenBlue = _mm_or_si128(_mm_slli_epi32(fg, 16), fb);
            const V byte = _mm_set1_epi16(static_cast<short>(0xFF00));
            low = _mm_and_si128(_mm_mullo_epi16(_mm_unpacklo_epi8(texel, zero), _mm_unpacklo_epi32(greenBlue, fr)),
                                byte);
            high = _mm_and_si128(_mm_mullo_epi16(_mm_unpackhi_epi8(texel, zero), _mm_unpackhi_epi32(greenBlue, fr)),
                                 byte);
        } else {
            low = _mm_unpacklo_epi8(zero, texel);
            high = _mm_unpackhi_epi8(zero, texel);
        }
        const auto solid = [&] {
            if constexpr (kTints)
                return _mm_or_si128(_mm_packus_epi16(_mm_srli_epi16(low, 8), _mm_srli_epi16(high, 8)),
                                    Splat(0xFF000000));
            else
                return _mm_or_si128(texel, Splat(0xFF000000));
        };
        const int skipped = _mm_movemask_ps(_mm_castsi128_ps(skip));
        const int opaqued = _mm_movemask_ps(_mm_castsi128_ps(opaque));
        if (skipped == 0xF)
            return;
        if (skipped == 0 && opaqued == 0xF) {
            Store(at, solid());
            return;
        }
        const V d = Load(at);
        // Lanes that do not blend get weight 1: it keeps an opaque
        // destination's divisor at 256 in every lane.
        V weight = w;
        if ((skipped | opaqued) != 0)
            weight = Select(_mm_or_si128(skip, opaque), Splat(1), w);
        const V pairs = _mm_packs_epi32(weight, weight);
        const V quads = _mm_unpacklo_epi16(pairs, pairs);
        const V wLow = _mm_unpacklo_epi32(quads, quads);
        const V wHigh = _mm_unpackhi_epi32(quads, quads);
        V out = Pixels4<F>::Blend(d, _mm_mulhi_epu16(low, wLow), _mm_mulhi_epu16(high, wHigh), wLow, wHigh, weight);
        if (opaqued != 0)
            out = Select(opaque, solid(), out);
        if (skipped != 0)
            out = Select(skip, d, out);
        Store(at, out);
    }
};

template <>
struct Pixels4<Format8888> : Wide4<Format8888> {
    static V Blend(V d, V pLow, V pHigh, V wLow, V wHigh, V w)
    {
        const V zero = _mm_setzero_si128();
        const V da = _mm_srli_epi32(d, 24);
        // Over opaque pixels with W from 1 the divisor is 256: the channel is
        // ((d * 255 >> 8) * (256 - W) >> 8) + p, with no sum above 16 bits,
        // and d * 255 >> 8 is d - 1 but for 0.
        const V opaqueUnder = _mm_cmpeq_epi32(_mm_or_si128(da, _mm_cmpeq_epi32(w, zero)), Splat(255));
        if (_mm_movemask_epi8(opaqueUnder) == 0xFFFF) {
            const V unit = _mm_set1_epi16(256);
            const auto half = [&](V dc, V pc, V wc) {
                return _mm_add_epi16(_mm_mulhi_epu16(_mm_subs_epu16(dc, unit), _mm_sub_epi16(unit, wc)), pc);
            };
            return _mm_or_si128(_mm_packus_epi16(half(_mm_unpacklo_epi8(zero, d), pLow, wLow),
                                                 half(_mm_unpackhi_epi8(zero, d), pHigh, wHigh)),
                                Splat(0xFF000000));
        }
        const V p = _mm_packus_epi16(pLow, pHigh);
        const V pr = Byte(p, 16);
        const V pg = Byte(p, 8);
        const V pb = Byte(p, 0);
        const V f = _mm_sub_epi32(Splat(256), w);
        const V g = _mm_sub_epi32(Splat(256), _mm_srli_epi32(MulWide(_mm_sub_epi32(Splat(256), da), f), 8));
        // The quotients stay at most 256 and the fractions below them at
        // least 1/256 short of the next integer; a product with the rounded
        // reciprocal is within 2^-14 of the quotient, and the bias of 2^-10
        // lifts exact quotients over their integer without reaching the next.
        const __m128 reciprocal = _mm_div_ps(_mm_set1_ps(1.0f), _mm_cvtepi32_ps(g));
        const __m128 bias = _mm_set1_ps(1.0f / 1024);
        const auto channel = [&](V dc, V pc) {
            const V n = _mm_add_epi32(MulSmall(_mm_srli_epi32(MulSmall(dc, da), 8), f), _mm_slli_epi32(pc, 8));
            const V q = _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(_mm_cvtepi32_ps(n), reciprocal), bias));
            return _mm_and_si128(q, Splat(0xFF));
        };
        const V out = _mm_or_si128(
            _mm_slli_epi32(_mm_sub_epi32(g, Splat(1)), 24),
            _mm_or_si128(_mm_slli_epi32(channel(Byte(d, 16), pr), 16),
                         _mm_or_si128(_mm_slli_epi32(channel(Byte(d, 8), pg), 8), channel(Byte(d, 0), pb))));
        // Nothing drawn over nothing: the one case that would divide by 0.
        return Select(_mm_cmpeq_epi32(g, zero), d, out);
    }
};

template <>
struct Pixels4<Format888> : Wide4<Format888> {
    static V Blend(V d, V pLow, V pHigh, V wLow, V wHigh, V)
    {
        const V zero = _mm_setzero_si128();
        const auto half = [&](V dc, V pc, V wc) {
            return _mm_add_epi16(_mm_mulhi_epu16(dc, _mm_sub_epi16(_mm_set1_epi16(255), wc)), pc);
        };
        return _mm_or_si128(_mm_packus_epi16(half(_mm_unpacklo_epi8(zero, d), pLow, wLow),
                                             half(_mm_unpackhi_epi8(zero, d), pHigh, wHigh)),
                            Splat(0xFF000000));
    }
};

// The 16-bit formats work on one 32-bit lane per pixel.
template <int32_t Code, int RedShift, int GreenDrop, Blend16 Kernel>
struct Pixels4<Format16<Code, RedShift, GreenDrop, Kernel>> {
    static constexpr int kGreenBits = 8 - GreenDrop;

    static V Load(const uint8_t* at)
    {
        return _mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const V*>(at)), _mm_setzero_si128());
    }
    static void Store(uint8_t* at, V pixels)
    {
        // Sign-extending the low halves lets the saturating pack keep every bit.
        const V halves = _mm_srai_epi32(_mm_slli_epi32(pixels, 16), 16);
        _mm_storel_epi64(reinterpret_cast<V*>(at), _mm_packs_epi32(halves, halves));
    }
    static V Pack(V r, V g, V b)
    {
        return _mm_or_si128(_mm_slli_epi32(_mm_srli_epi32(r, 3), RedShift),
                            _mm_or_si128(_mm_slli_epi32(_mm_srli_epi32(g, GreenDrop), 5), _mm_srli_epi32(b, 3)));
    }
    static V Blend(V d, V pr, V pg, V pb, V w)
    {
        const V k = _mm_srli_epi32(_mm_sub_epi32(Splat(255), w), 3);
        const auto field = [&](int shift, uint32_t mask) {
            const V value = _mm_and_si128(_mm_srli_epi32(d, shift), Splat(mask));
            return _mm_slli_epi32(_mm_srli_epi32(MulSmall(value, k), 5), shift);
        };
        const V scaled = _mm_or_si128(field(RedShift, 31),
                                      _mm_or_si128(field(5, (1u << kGreenBits) - 1), field(0, 31)));
        return _mm_and_si128(_mm_add_epi32(scaled, Pack(pr, pg, pb)), Splat(0xFFFF));
    }

    template <bool kTints>
    static void Draw(uint8_t* at, V texel, V fr, V fg, V fb, V w, V skip, V opaque)
    {
        V r = Byte(texel, 16);
        V g = Byte(texel, 8);
        V b = Byte(texel, 0);
        if constexpr (kTints) {
            r = _mm_srli_epi32(MulSmall(r, fr), 8);
            g = _mm_srli_epi32(MulSmall(g, fg), 8);
            b = _mm_srli_epi32(MulSmall(b, fb), 8);
        }
        const int skipped = _mm_movemask_ps(_mm_castsi128_ps(skip));
        const int opaqued = _mm_movemask_ps(_mm_castsi128_ps(opaque));
        if (skipped == 0xF)
            return;
        if (skipped == 0 && opaqued == 0xF) {
            Store(at, Pack(r, g, b));
            return;
        }
        const V d = Load(at);
        V out = Blend(d, _mm_srli_epi32(MulSmall(r, w), 8), _mm_srli_epi32(MulSmall(g, w), 8),
                      _mm_srli_epi32(MulSmall(b, w), 8), w);
        if (opaqued != 0)
            out = Select(opaque, Pack(r, g, b), out);
        if (skipped != 0)
            out = Select(skip, d, out);
        Store(at, out);
    }
};

// A span's interpolants at four pixels in a row, one lane each, with the
// wrap-around sums of the one-pixel walk; Advance moves on `pixels`.
template <size_t kCount>
struct SpanLanes {
    template <class Values>
    SpanLanes(const Values& q, const Values& step, uint32_t pixels = 4)
    {
        for (size_t i = 0; i < kCount; ++i) {
            const auto start = static_cast<uint32_t>(q[i]);
            const auto delta = static_cast<uint32_t>(step[i]);
            value[i] = _mm_set_epi32(static_cast<int>(start + 3 * delta), static_cast<int>(start + 2 * delta),
                                     static_cast<int>(start + delta), static_cast<int>(start));
            stride[i] = Splat(pixels * delta);
        }
    }
    void Advance()
    {
        for (size_t i = 0; i < kCount; ++i)
            value[i] = _mm_add_epi32(value[i], stride[i]);
    }
    // The first lane's values: where the one-pixel walk goes on.
    template <class Values>
    void WriteBack(Values& q) const
    {
        for (size_t i = 0; i < kCount; ++i)
            q[i] = _mm_cvtsi128_si32(value[i]);
    }

    V value[kCount];
    V stride[kCount];
};

// Whether the lanes can take this call's texture and colour: the index
// product needs a width below 65536, the clamped read a texel to fall back
// on, and the 16-bit products colour channels of 0 to 255.
template <class Tint>
bool Fits(const TexturedState<Tint>& state)
{
    const TintFactors& k = state.constant;
    return state.texture.count != 0 && static_cast<uint32_t>(state.texture.width) < 65536 && k.alpha < 256 &&
           k.red < 256 && k.green < 256 && k.blue < 256;
}

// Draws the span's pixels four at a time and leaves fewer than four, with
// at, q and n moved on past the pixels drawn.
template <class F, bool kTexelAlpha, class Tint, class Values>
void PointSampled(uint8_t*& spanAt, Values& q, const Values& step, int64_t& spanCount,
                  const TexturedState<Tint>& state)
{
    // Locals, so the stores through the pixel pointer cannot alias them.
    uint8_t* at = spanAt;
    int64_t n = spanCount;
    using Pixel = typename F::Pixel;
    constexpr size_t kCount = Values().size();
    constexpr size_t kU = kCount - 2;
    SpanLanes<kCount> walk(q, step);
    const V* lane = walk.value;
    const V width = Splat(static_cast<uint32_t>(state.texture.width));
    const V count = Splat(static_cast<uint32_t>(state.texture.count));
    const uint32_t* bits = state.texture.bits;
    const TintFactors& k = state.constant;
    alignas(16) uint32_t index[4];

    for (; n >= 4; n -= 4) {
        const V linear = _mm_add_epi32(MulWide(_mm_srli_epi32(lane[kU + 1], 16), width), _mm_srli_epi32(lane[kU], 16));
        const V inside = LessUnsigned(linear, count);
        _mm_store_si128(reinterpret_cast<V*>(index), _mm_and_si128(linear, inside));
        const V texel = _mm_and_si128(_mm_set_epi32(static_cast<int>(bits[index[3]]), static_cast<int>(bits[index[2]]),
                                                    static_cast<int>(bits[index[1]]), static_cast<int>(bits[index[0]])),
                                      inside);
        V w = Splat(255);
        V skip = _mm_setzero_si128();
        if constexpr (kTexelAlpha) {
            w = _mm_srli_epi32(texel, 24);
            skip = _mm_cmplt_epi32(w, Splat(9));
        }
        V fr = Splat(k.red);
        V fg = Splat(k.green);
        V fb = Splat(k.blue);
        if constexpr (Tint::kTints) {
            V fa = Splat(k.alpha);
            if constexpr (kCount == 6) {
                fa = _mm_srli_epi32(lane[0], 16);
                fr = _mm_srli_epi32(lane[1], 16);
                fg = _mm_srli_epi32(lane[2], 16);
                fb = _mm_srli_epi32(lane[3], 16);
            }
            w = _mm_srli_epi32(MulWide(fa, w), 8);
        }
        Pixels4<F>::template Draw<Tint::kTints>(at, texel, fr, fg, fb, w, skip, _mm_cmpgt_epi32(w, Splat(239)));
        at += 4 * sizeof(Pixel);
        walk.Advance();
    }
    walk.WriteBack(q);
    spanAt = at;
    spanCount = n;
}

} // namespace Tandry::Span4

#endif
