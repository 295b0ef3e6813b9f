// The four-pixel path of the bilinear routines against their one-pixel
// step: the filter's lanes against the filter at positions over every edge
// of awkward textures (every texel alpha in every lane and corner, four
// lanes and, where the processor has AVX2, eight), the
// drawing of filtered words against the scalar store and blend for every
// blend input the filter can give, and whole spans of every bilinear kind,
// tinted by colour and by strayed vertex colours, against the step.
#include "graphics/rasterizer/BilinearKind.h"
#include "graphics/rasterizer/BilinearSpan.h"
#include "graphics/rasterizer/BilinearSpanAvx2.h"
#include "graphics/rasterizer/FilteredSpan.h"
#include "graphics/rasterizer/PixelFormats.h"
#include "graphics/rasterizer/SampleBilinear.h"

#include "graphics/rasterizer/RasterTestInputs.h"
#include "graphics/rasterizer/TexturedFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#if defined(__SSE2__)

namespace {

using namespace Tandry;
using namespace Tandry::Testing;

// Fractions where the odd-fraction rule, the weights and the edges turn.
int32_t Fraction(RasterTestInputs& in)
{
    const int32_t edges[] = {0, 1, 2, 3, 0x7FFF, 0x8000, 0x8001, 0xFFFE, 0xFFFF};
    return in.Int(0, 2) == 0 ? in.Int(0, 0xFFFF) : edges[in.Int(0, 8)];
}

// A sample position from two texels before the texture to two past it.
int32_t Near(RasterTestInputs& in, int size)
{
    return in.Int(-2, size + 1) * 65536 + Fraction(in);
}

// Eight positions: each half through the four lanes, and all eight through
// the AVX2 lanes where the processor has them.
void ExpectFilterLanes(const RasterTexture& texture, const int32_t su[8], const int32_t sv[8])
{
    const Span4::BilinearSampler sample(texture);
    uint32_t actual[8];
    for (int half = 0; half < 8; half += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(actual + half),
                         sample(_mm_loadu_si128(reinterpret_cast<const __m128i*>(su + half)),
                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(sv + half))));
    for (int l = 0; l < 8; ++l)
        ASSERT_EQ(actual[l], SampleBilinear(texture, su[l], sv[l]))
            << texture.width << "x" << texture.height << " lane " << l << std::hex << " at " << su[l] << ","
            << sv[l];
#if defined(__x86_64__)
    if (!Span8::HasAvx2())
        return;
    Span8::FilterInto(texture, su, sv, actual);
    for (int l = 0; l < 8; ++l)
        ASSERT_EQ(actual[l], SampleBilinear(texture, su[l], sv[l]))
            << "eight lanes, " << texture.width << "x" << texture.height << " lane " << l << std::hex << " at "
            << su[l] << "," << sv[l];
#endif
}

// Positions inside, on and past every edge, and now and then anywhere in
// 16.16 (rows far above the texture wrap the index round): each lane's word
// is the filter's, whether the group reads pairs or single texels.
TEST(BilinearSpan, FilterLanesAreTheFilter)
{
    const uint32_t seed = 4101;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    RasterTestInputs in(seed);
    const int sizes[][2] = {{16, 16}, {1, 1}, {2, 2}, {3, 5}, {17, 1}, {1, 9}, {300, 3}};
    for (const auto& size : sizes) {
        TestTexture texture(size[0], size[1]);
        for (int i = 0; i < size[0] * size[1]; ++i)
            texture.Texels()[i] = in.Texel();
        for (int round = 0; round < 5000; ++round) {
            int32_t su[8];
            int32_t sv[8];
            // Mostly groups of one span: the same row, neighbouring columns.
            const bool row = in.Int(0, 1) == 0;
            for (int l = 0; l < 8; ++l) {
                su[l] = row && l > 0 ? su[0] + l * 65536 : Near(in, size[0]);
                sv[l] = row && l > 0 ? sv[0] : Near(in, size[1]);
                if (in.Int(0, 15) == 0)
                    su[l] = static_cast<int32_t>(in.Random()());
                if (in.Int(0, 15) == 0)
                    sv[l] = static_cast<int32_t>(in.Random()());
            }
            ExpectFilterLanes(texture.Record(), su, sv);
        }
    }
}

// A texture 32767 wide, the widest the lanes take: the row above it and the
// columns at the 16.16 limit wrap the 32-bit index back into the texels,
// and the lanes must land where the filter does.
TEST(BilinearSpan, FilterLanesWrapTheIndexAsTheFilter)
{
    const uint32_t seed = 4102;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    RasterTestInputs in(seed);
    TestTexture texture(32767, 2);
    for (int i = 0; i < 32767 * 2; ++i)
        texture.Texels()[i] = in.Texel();
    for (int round = 0; round < 4000; ++round) {
        int32_t su[8];
        int32_t sv[8];
        for (int l = 0; l < 8; ++l) {
            su[l] = in.Int(32760, 32767) * 65536 + Fraction(in);
            if (in.Int(0, 3) == 0)
                su[l] = in.Int(-32768, -32760) * 65536 + Fraction(in);
            sv[l] = in.Int(-2, 2) * 65536 + Fraction(in);
        }
        ExpectFilterLanes(texture.Record(), su, sv);
    }
}

// Every alpha of every one of the four texels each lane weighs, in every
// lane, the other texels random, at random fractions.
TEST(BilinearSpan, FilterLanesEveryTexelAlpha)
{
    const uint32_t seed = 4103;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    RasterTestInputs in(seed);
    TestTexture texture(8, 4);
    for (uint32_t alpha = 0; alpha < 256; ++alpha)
        for (int lane = 0; lane < 8; ++lane)
            for (int corner = 0; corner < 4; ++corner) {
                for (int i = 0; i < 32; ++i)
                    texture.Texels()[i] = in.Texel();
                // Lane l weighs the square at (2 (l & 3), 2 (l >> 2)).
                const int x = 2 * (lane & 3) + (corner & 1);
                const int y = 2 * (lane >> 2) + (corner >> 1);
                texture.Set(x, y, alpha << 24 | (texture.At(x, y) & 0xFFFFFF));
                int32_t su[8];
                int32_t sv[8];
                for (int l = 0; l < 8; ++l) {
                    su[l] = 2 * (l & 3) * 65536 + Fraction(in);
                    sv[l] = 2 * (l >> 2) * 65536 + Fraction(in);
                }
                ExpectFilterLanes(texture.Record(), su, sv);
            }
}

// Every weight and every channel value a filtered blend can have (a channel
// is at most 255 w / 256), over destinations of every kind of alpha, beside
// lanes that skip or are stored opaque: the lanes draw what the scalar store
// and blend draw.
template <class F>
void CompareFilteredDrawing(uint32_t seed)
{
    SCOPED_TRACE(testing::Message() << "seed " << seed << " format " << std::hex << F::kCode);
    RasterTestInputs in(seed);
    using Pixel = typename F::Pixel;
    const uint32_t destinationAlphas[] = {0, 1, 127, 254, 255};
    for (uint32_t weight = 0; weight < 240; ++weight)
        for (uint32_t p = 0; p <= 255 * weight / 256; ++p) {
            uint32_t word[4];
            uint32_t w[4];
            uint32_t skip[4];
            Pixel before[4];
            for (int l = 0; l < 4; ++l) {
                const auto channel = [&] { return static_cast<uint32_t>(in.Int(0, static_cast<int>(255 * weight / 256))); };
                uint32_t c[3] = {channel(), channel(), channel()};
                c[l % 3] = p;
                if (l == 3)
                    c[0] = c[1] = c[2] = p;
                word[l] = static_cast<uint32_t>(in.Int(0, 255)) << 24 | c[0] << 16 | c[1] << 8 | c[2];
                w[l] = weight;
                skip[l] = 0;
                switch (in.Int(0, 9)) {
                case 0: skip[l] = 0xFFFFFFFF; break;
                case 1: w[l] = static_cast<uint32_t>(in.Int(240, 65535)); break;
                default: break;
                }
                const uint32_t alpha = in.Int(0, 1) == 0 ? destinationAlphas[in.Int(0, 4)] : in.Int(0, 255);
                before[l] = static_cast<Pixel>((static_cast<uint32_t>(in.Random()()) & 0xFFFFFF) | alpha << 24);
            }
            Pixel expected[4] = {before[0], before[1], before[2], before[3]};
            for (int l = 0; l < 4; ++l)
                if (skip[l] == 0)
                    PutFiltered<F>(reinterpret_cast<uint8_t*>(&expected[l]), (word[l] >> 16) & 0xFF,
                                   (word[l] >> 8) & 0xFF, word[l] & 0xFF, w[l]);
            Pixel actual[4] = {before[0], before[1], before[2], before[3]};
            const auto load = [](const uint32_t* x) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(x)); };
            Span4::DrawFiltered<F>(reinterpret_cast<uint8_t*>(actual), load(word), load(w), load(skip));
            for (int l = 0; l < 4; ++l)
                ASSERT_EQ(actual[l], expected[l]) << "weight " << weight << " lane " << l << std::hex << " word "
                                                  << word[l] << " w " << w[l] << " destination " << before[l];
        }
}

TEST(BilinearSpan, Drawing8888MatchesTheStep) { CompareFilteredDrawing<Format8888>(4111); }
TEST(BilinearSpan, Drawing888MatchesTheStep) { CompareFilteredDrawing<Format888>(4112); }
TEST(BilinearSpan, Drawing565MatchesTheStep) { CompareFilteredDrawing<Format565>(4113); }
TEST(BilinearSpan, Drawing555MatchesTheStep) { CompareFilteredDrawing<Format555>(4114); }

// An interpolated tint as the frame walks it: mostly a channel with a
// fraction, now and then one that strayed up to 65535.
int32_t TintValue(RasterTestInputs& in)
{
    const auto whole = static_cast<uint32_t>(in.Int(0, 7) == 0 ? in.Int(256, 65535) : in.Channel());
    return static_cast<int32_t>(whole << 16 | static_cast<uint32_t>(in.Int(0, 0xFFFF)));
}

// Spans of every bilinear kind drawn by DrawSpan and by the step pixel by
// pixel: samples on texel positions or off them, stepping one texel along
// the row, by whole texels any way, or by fractions as a turned quad does,
// over every edge of the texture; drawing colours in and out of 0..255;
// vertex colours that stray.
template <class F, class Tint>
void CompareSpans(uint32_t seed)
{
    SCOPED_TRACE(testing::Message() << "seed " << seed << " format " << std::hex << F::kCode);
    RasterTestInputs in(seed);
    using Kind = BilinearKind<F, Tint>;
    using Pixel = typename F::Pixel;
    using Values = typename Kind::Values;
    constexpr size_t kU = Kind::kU;
    const int sizes[][2] = {{16, 16}, {1, 1}, {2, 3}, {5, 4}, {24, 1}, {1, 24}, {37, 9}};
    const int32_t turned[] = {0xDDB3, -0x8000, 0x8000, 0x10001, -0xFFFF, 0x1, 0x18000};
    for (int round = 0; round < 3000; ++round) {
        const auto& size = sizes[in.Int(0, 6)];
        TestTexture texture(size[0], size[1]);
        for (int i = 0; i < size[0] * size[1]; ++i)
            texture.Texels()[i] = in.Texel();
        RasterColor color = in.Color();
        if (in.Int(0, 9) == 0)
            color.red = in.Int(256, 70000);
        Values q{};
        Values step{};
        for (size_t i = 0; i < kU; ++i) {
            q[i] = TintValue(in);
            step[i] = in.Int(-0x30000, 0x30000);
        }
        const bool onTexels = in.Int(0, 1) == 0;
        q[kU] = in.Int(-3, size[0] + 1) * 65536 + (onTexels ? in.Int(0, 1) : Fraction(in));
        q[kU + 1] = in.Int(-3, size[1] + 1) * 65536 + (onTexels ? in.Int(0, 1) : Fraction(in));
        // Now and then the columns reach the 16.16 limit on the row far above
        // whose wrapped index lands inside the texels: past the limit the
        // column turns to -32768 and the reads leave the texture.
        if (in.Int(0, 7) == 0) {
            q[kU] = static_cast<int32_t>(static_cast<uint32_t>(32767 - in.Int(0, 6)) << 16) + (onTexels ? in.Int(0, 1) : Fraction(in));
            q[kU + 1] = -(32764 / size[0]) * 65536 + (onTexels ? in.Int(0, 1) : Fraction(in));
        }
        switch (in.Int(0, 3)) {
        case 0: step[kU] = 0x10000, step[kU + 1] = 0; break;
        case 1:
            step[kU] = in.Int(-2, 2) * 65536;
            step[kU + 1] = in.Int(-2, 2) * 65536;
            break;
        case 2:
            step[kU] = turned[in.Int(0, 6)];
            step[kU + 1] = turned[in.Int(0, 6)];
            break;
        default:
            step[kU] = in.Int(-0x20000, 0x20000);
            step[kU + 1] = in.Int(-0x20000, 0x20000);
        }
        const int n = in.Int(0, 37);
        std::vector<Pixel> before(40);
        for (Pixel& p : before)
            p = static_cast<Pixel>(in.Int(0, 1) == 0 ? in.Random()() : in.Random()() | 0xFF000000);
        const typename Kind::State state(&texture.Record(), &color);

        std::vector<Pixel> expected = before;
        Values walk = q;
        for (int x = 0; x < n; ++x) {
            Kind::Step(reinterpret_cast<uint8_t*>(&expected[static_cast<size_t>(x)]), walk, state);
            for (size_t i = 0; i < walk.size(); ++i)
                walk[i] = Fixed::Add(walk[i], step[i]);
        }
        // DrawSpan as the routines call it, then each lane path on its own
        // from the span's start, the rest of the span by DrawSpan.
        for (int path = 0; path < 3; ++path) {
            const bool fits = Span4::FitsBilinear(state);
            std::vector<Pixel> actual = before;
            auto* at = reinterpret_cast<uint8_t*>(actual.data());
            Values lanes = q;
            int64_t left = n;
            if (path == 1 && fits)
                Span4::Bilinear<F>(at, lanes, step, left, state);
#if defined(__x86_64__)
            if (path == 2 && fits && Span8::HasAvx2())
                Span8::Bilinear<F>(at, lanes, step, left, state);
#endif
            Kind::DrawSpan(at, lanes, step, left, state);
            for (size_t x = 0; x < actual.size(); ++x)
                ASSERT_EQ(actual[x], expected[x])
                    << "path " << path << " round " << round << " pixel " << x << " of " << n << " texture "
                    << size[0] << "x" << size[1] << std::hex << " at " << q[kU] << "," << q[kU + 1] << " steps "
                    << step[kU] << "," << step[kU + 1];
        }
    }
}

// An untransformed row of untinted texels drawn by DrawSpan and by the step:
// every texel alpha in every lane of a group whose other lanes are full, or
// empty, and groups of four full texels with every channel value, over
// destinations opaque and not, starting on and one 16.16 unit past the texel.
template <class F>
void CompareWholeTexelRows(uint32_t seed)
{
    SCOPED_TRACE(testing::Message() << "format " << std::hex << F::kCode);
    RasterTestInputs in(seed);
    using Kind = BilinearKind<F, NoTint>;
    using Pixel = typename F::Pixel;
    std::vector<uint32_t> texels;
    for (uint32_t others : {0xFFu, 0u})
        for (int lane = 0; lane < 4; ++lane)
            for (uint32_t alpha = 0; alpha < 256; ++alpha)
                for (int l = 0; l < 4; ++l)
                    texels.push_back((l == lane ? alpha : others) << 24 | (in.Random()() & 0xFFFFFF));
    for (uint32_t c = 0; c < 256; ++c)
        for (int l = 0; l < 4; ++l)
            texels.push_back(0xFF000000 | c << 16 | (255 - c) << 8 | ((c * 7 + static_cast<uint32_t>(l)) & 0xFF));
    const auto width = static_cast<int>(texels.size());
    TestTexture texture(width, 2);
    for (int row = 0; row < 2; ++row)
        std::copy(texels.begin(), texels.end(), texture.Texels() + static_cast<ptrdiff_t>(row) * width);
    const RasterColor white{255, 255, 255, 255};
    const typename Kind::State state(&texture.Record(), &white);
    for (bool opaqueBelow : {true, false})
        for (int32_t fraction : {0, 1}) {
            std::vector<Pixel> before(texels.size());
            for (Pixel& p : before)
                p = static_cast<Pixel>(opaqueBelow ? in.Random()() | 0xFF000000 : in.Random()());
            const typename Kind::Values q{fraction, 65536 + fraction};
            const typename Kind::Values step{0x10000, 0};
            std::vector<Pixel> expected = before;
            typename Kind::Values walk = q;
            for (size_t x = 0; x < expected.size(); ++x) {
                Kind::Step(reinterpret_cast<uint8_t*>(&expected[x]), walk, state);
                walk[0] = Fixed::Add(walk[0], step[0]);
            }
            std::vector<Pixel> actual = before;
            typename Kind::Values lanes = q;
            Kind::DrawSpan(reinterpret_cast<uint8_t*>(actual.data()), lanes, step, width, state);
            for (size_t x = 0; x < actual.size(); ++x)
                ASSERT_EQ(actual[x], expected[x]) << "pixel " << x << " texel " << std::hex << texels[x]
                                                  << " fraction " << fraction << " opaque below " << opaqueBelow;
        }
}

TEST(BilinearSpan, WholeTexelRows8888MatchTheStep) { CompareWholeTexelRows<Format8888>(4141); }
TEST(BilinearSpan, WholeTexelRows888MatchTheStep) { CompareWholeTexelRows<Format888>(4142); }
TEST(BilinearSpan, WholeTexelRows565MatchTheStep) { CompareWholeTexelRows<Format565>(4143); }
TEST(BilinearSpan, WholeTexelRows555MatchTheStep) { CompareWholeTexelRows<Format555>(4144); }

TEST(BilinearSpan, Spans8888MatchTheStep) { CompareSpans<Format8888, NoTint>(4121); }
TEST(BilinearSpan, Spans888MatchTheStep) { CompareSpans<Format888, NoTint>(4122); }
TEST(BilinearSpan, Spans565MatchTheStep) { CompareSpans<Format565, NoTint>(4123); }
TEST(BilinearSpan, Spans555MatchTheStep) { CompareSpans<Format555, NoTint>(4124); }
TEST(BilinearSpan, ColourTinted8888MatchTheStep) { CompareSpans<Format8888, ConstantTint>(4125); }
TEST(BilinearSpan, ColourTinted888MatchTheStep) { CompareSpans<Format888, ConstantTint>(4126); }
TEST(BilinearSpan, ColourTinted565MatchTheStep) { CompareSpans<Format565, ConstantTint>(4127); }
TEST(BilinearSpan, ColourTinted555MatchTheStep) { CompareSpans<Format555, ConstantTint>(4128); }
TEST(BilinearSpan, VertexTinted8888MatchTheStep) { CompareSpans<Format8888, VertexTint>(4129); }
TEST(BilinearSpan, VertexTinted888MatchTheStep) { CompareSpans<Format888, VertexTint>(4130); }
TEST(BilinearSpan, VertexTinted565MatchTheStep) { CompareSpans<Format565, VertexTint>(4131); }
TEST(BilinearSpan, VertexTinted555MatchTheStep) { CompareSpans<Format555, VertexTint>(4132); }

} // namespace

#endif
