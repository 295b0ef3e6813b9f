// The four-pixel path of the point-sampled routines against their pixel
// step, group by group: random texels, destinations and tint factors,
// strays up to 65535 included, every format, with and without texel alpha.
#include "graphics/rasterizer/PointSampledSpan.h"

#include "graphics/rasterizer/PointSampledKind.h"
#include "graphics/rasterizer/RasterTestInputs.h"

#include <gtest/gtest.h>

#include <array>

#if defined(__SSE2__)

namespace {

using namespace Tandry;
using namespace Tandry::Testing;

// A factor as the frame hands it over: mostly a channel, now and then a
// stray interpolant read as up to 65535.
uint32_t Factor(RasterTestInputs& in)
{
    switch (in.Int(0, 3)) {
    case 0: return static_cast<uint32_t>(in.Int(0, 65535));
    case 1: return 255;
    default: return static_cast<uint32_t>(in.Channel());
    }
}

template <class F, bool kTexelAlpha, class Tint>
void CompareGroups(uint32_t seed)
{
    SCOPED_TRACE(testing::Message() << "seed " << seed << " format " << std::hex << F::kCode);
    RasterTestInputs in(seed);
    using Kind = PointSampledKind<F, kTexelAlpha, Tint>;
    using Pixel = typename F::Pixel;
    for (int round = 0; round < 20000; ++round) {
        uint32_t texels[4];
        Pixel before[4];
        uint32_t factors[4][4];
        const RasterColor color = in.Color();
        for (int l = 0; l < 4; ++l) {
            texels[l] = static_cast<uint32_t>(in.Random()());
            if (in.Int(0, 3) == 0)
                texels[l] = (texels[l] & 0xFFFFFF) | static_cast<uint32_t>(in.Channel()) << 24;
            before[l] = static_cast<Pixel>(in.Int(0, 1) == 0 ? in.Random()() : in.Random()() | 0xFF000000);
            for (uint32_t& f : factors[l])
                f = Factor(in);
        }
        // The step, one texture of one texel per lane.
        Pixel expected[4];
        for (int l = 0; l < 4; ++l) {
            const RasterTexture texture{&texels[l], 16, 0, 0, 1, 1, 1};
            const typename Kind::State state(&texture, &color);
            typename Kind::Values q{};
            for (size_t i = 0; i + 2 < q.size(); ++i)
                q[i] = static_cast<int32_t>(factors[l][i] << 16);
            q[q.size() - 2] = 0x8000;
            q[q.size() - 1] = 0x8000;
            expected[l] = before[l];
            Kind::Step(reinterpret_cast<uint8_t*>(&expected[l]), q, state);
        }
        // The same four lanes at once.
        const RasterTexture texture{texels, 16, 0, 0, 1, 1, 1};
        const typename Kind::State state(&texture, &color);
        if (!Span4::Fits(state))
            continue;
        const __m128i texel = _mm_loadu_si128(reinterpret_cast<const __m128i*>(texels));
        const auto lanes = [&](int c) {
            return _mm_set_epi32(static_cast<int>(factors[3][c]), static_cast<int>(factors[2][c]),
                                 static_cast<int>(factors[1][c]), static_cast<int>(factors[0][c]));
        };
        __m128i fa = Span4::Splat(state.constant.alpha);
        __m128i fr = Span4::Splat(state.constant.red);
        __m128i fg = Span4::Splat(state.constant.green);
        __m128i fb = Span4::Splat(state.constant.blue);
        if constexpr (Kind::kInterpolants.size() == 6) {
            fa = lanes(0);
            fr = lanes(1);
            fg = lanes(2);
            fb = lanes(3);
        }
        __m128i w = kTexelAlpha ? _mm_srli_epi32(texel, 24) : Span4::Splat(255);
        const __m128i skip = kTexelAlpha ? _mm_cmplt_epi32(w, Span4::Splat(9)) : _mm_setzero_si128();
        if (Tint::kTints)
            w = _mm_srli_epi32(Span4::MulWide(fa, w), 8);
        Pixel actual[4] = {before[0], before[1], before[2], before[3]};
        Span4::Pixels4<F>::template Draw<Tint::kTints>(reinterpret_cast<uint8_t*>(actual), texel, fr, fg, fb, w,
                                                       skip, _mm_cmpgt_epi32(w, Span4::Splat(239)));
        for (int l = 0; l < 4; ++l)
            ASSERT_EQ(actual[l], expected[l]) << "round " << round << " lane " << l << std::hex << " texel "
                                              << texels[l] << " destination " << before[l];
    }
}

template <class F>
void CompareFormat(uint32_t seed)
{
    CompareGroups<F, true, NoTint>(seed);
    CompareGroups<F, true, ConstantTint>(seed + 1);
    CompareGroups<F, true, VertexTint>(seed + 2);
    CompareGroups<F, false, ConstantTint>(seed + 3);
    CompareGroups<F, false, VertexTint>(seed + 4);
}

TEST(PointSampledSpan, Groups8888MatchTheStep) { CompareFormat<Format8888>(41); }
TEST(PointSampledSpan, Groups888MatchTheStep) { CompareFormat<Format888>(42); }
TEST(PointSampledSpan, Groups565MatchTheStep) { CompareFormat<Format565>(43); }
TEST(PointSampledSpan, Groups555MatchTheStep) { CompareFormat<Format555>(44); }

// An opaque destination takes the 0x8888 blend's shortcut, a transparent
// one the division; groups mixing both lanes and weights of 0 take the
// division too. Every weight and destination alpha, against the kernel.
TEST(PointSampledSpan, Blend8888EveryWeightAndAlpha)
{
    for (uint32_t w = 0; w < 240; ++w)
        for (uint32_t da = 0; da < 256; da += (da < 4 || da > 250) ? 1 : 7) {
            const uint32_t destinations[4] = {da << 24 | 0x00FF80, da << 24 | 0x7F0001, 0xFF123456, da << 24 | 0xFEFDFC};
            const uint32_t p = w == 0 ? 0 : w - 1;
            __m128i lowP = _mm_set1_epi16(static_cast<short>(p));
            const __m128i weight = Span4::Splat(w);
            const __m128i quads = _mm_set1_epi16(static_cast<short>(w));
            const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(destinations));
            uint32_t out[4];
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                             Span4::Pixels4<Format8888>::Blend(d, lowP, lowP, quads, quads, weight));
            for (int l = 0; l < 4; ++l)
                ASSERT_EQ(out[l], BlendOver8888(destinations[l], p, p, p, w)) << w << " " << da << " lane " << l;
        }
}

} // namespace

#endif
