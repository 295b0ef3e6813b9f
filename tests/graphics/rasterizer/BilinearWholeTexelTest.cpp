// The bilinear routines where every sample sits on a texel position: the
// one-texel sample against the model of the four-texel filter, and whole
// quads moved and stepped by whole texels (over the texture's edges too)
// against the reference rasteriser, next to positions just off the texels.
#include "graphics/rasterizer/BilinearKind.h"
#include "graphics/rasterizer/PixelFormats.h"
#include "graphics/rasterizer/RasterizeTriangle.h"
#include "graphics/rasterizer/SampleBilinear.h"
#include "graphics/rasterizer/WholeTexelSpan.h"

#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/RasterTestInputs.h"
#include "graphics/rasterizer/ReferenceRasterizer.h"
#include "graphics/rasterizer/ReferenceTexturing.h"
#include "graphics/rasterizer/TexturedFixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace Tandry;
using namespace Tandry::Testing;

TEST(BilinearWholeTexel, PositionsThatReadOneTexel)
{
    const struct {
        int32_t su;
        int32_t sv;
        bool whole;
    } cases[] = {
        {0, 0, true},           {0x30001, 0x20000, true}, {-0x10000, -0x1FFFF, true}, {0x7FFF0001, 0, true},
        {2, 0, false},          {0, 2, false},            {0x8000, 0, false},         {0, 0xFFFF, false},
        {-1, 0, false},         {0x10000, -0x8000, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OnWholeTexel(c.su, c.sv), c.whole) << std::hex << c.su << "," << c.sv;
}

// Every texel alpha, every position from two texels before the texture to
// two past its end on both axes, with fractions 0 and 1: the one texel read
// gives the filter's word, at the right and bottom edges (where the filter
// runs into the next row or past the texels) as well as inside.
TEST(BilinearWholeTexel, OneTexelIsTheFilter)
{
    const uint32_t seed = 4001;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    RasterTestInputs in(seed);
    const int sizes[][2] = {{16, 16}, {1, 1}, {3, 5}, {17, 1}, {0, 0}};
    for (const auto& size : sizes) {
        TestTexture texture(size[0], size[1]);
        for (int i = 0; i < size[0] * size[1]; ++i) {
            const auto colour = static_cast<uint32_t>(in.Random()()) & 0xFFFFFF;
            texture.Texels()[i] = static_cast<uint32_t>(i & 0xFF) << 24 | colour;
        }
        const RasterTexture& record = texture.Record();
        for (int row = -2; row < size[1] + 2; ++row)
            for (int column = -2; column < size[0] + 2; ++column)
                for (int32_t fraction : {0, 0x10001, 1, 0x10000}) {
                    const int32_t su = column * 65536 + (fraction & 0xFFFF);
                    const int32_t sv = row * 65536 + (fraction >> 16);
                    ASSERT_EQ(SampleWholeTexel(record, BaseTexelIndex(record, su, sv)),
                              ReferenceSampleBilinear(record, su, sv))
                        << size[0] << "x" << size[1] << " at " << column << "," << row << std::hex << " fraction "
                        << fraction;
                }
    }
}

// One quad as two triangles over the pixels of `area`, sampling at
// (u0, v0) + x (du, dv) + y (eu, ev) from the area's top-left pixel.
void DrawMappedRect(TriangleRoutine routine, RasterCanvas& canvas, const RasterTexture& texture,
                    const RasterColor& color, const Rect& clip, const Rect& area, const int32_t map[6],
                    const uint32_t corners[4], bool model, int index)
{
    const auto corner = [&](int i) {
        const int dx = (i & 1) != 0 ? area.width : 0;
        const int dy = (i & 2) != 0 ? area.height : 0;
        const uint32_t argb = corners[i];
        return RasterVertex{(area.x + dx) * 65536,
                            (area.y + dy) * 65536,
                            static_cast<int32_t>((argb >> 24) << 16),
                            static_cast<int32_t>(((argb >> 16) & 0xFF) << 16),
                            static_cast<int32_t>(((argb >> 8) & 0xFF) << 16),
                            static_cast<int32_t>((argb & 0xFF) << 16),
                            map[0] + dx * map[2] + dy * map[4],
                            map[1] + dx * map[3] + dy * map[5]};
    };
    const RasterVertex first[3] = {corner(0), corner(1), corner(2)};
    const RasterVertex second[3] = {corner(1), corner(3), corner(2)};
    for (const RasterVertex* v : {first, second}) {
        if (model)
            ReferenceTriangle(v, canvas.Bytes(), canvas.Pitch(), canvas.Format(), FeaturesOfIndex(index), color,
                              clip, texture);
        else
            routine(v, canvas.Origin(), canvas.Pitch(), &texture, &color, &clip);
    }
}

// Quads whose texture steps are whole texels (untransformed, moved, turned
// by quarter turns, mirrored, doubled) and samples on texel positions or
// just off them, reaching over every edge of textures of awkward sizes, in
// every bilinear routine: each picture is the model's.
TEST(BilinearWholeTexel, QuadsMatchModel)
{
    const uint32_t seed = 4002;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    RasterTestInputs in(seed);
    const int32_t offFraction[] = {0, 1, 0, 1, 2, 0x100, 0x8000, 0xFFFF};
    const int32_t steps[] = {0x10000, 0x10000, 0, 0, -0x10000, 0x20000, 0x18000};
    for (int group = 0; group < 4; ++group)
        for (int kind : {25, 27, 29, 31}) {
            const int index = group * 32 + kind;
            const int32_t format = FormatOfIndex(index);
            for (int round = 0; round < 60; ++round) {
                const int width = in.Int(1, 24);
                const int height = in.Int(1, 24);
                TestTexture texture(width, height);
                for (int i = 0; i < width * height; ++i)
                    texture.Texels()[i] = in.Texel();
                // Mostly powers of two, whose gradients come out exact.
                const Rect area{in.Int(-4, 20), in.Int(-4, 20), 1 << in.Int(0, 5), 1 << in.Int(0, 5)};
                int32_t map[6];
                for (int axis = 0; axis < 2; ++axis) {
                    const int32_t fraction = offFraction[in.Int(0, 7)];
                    map[axis] = in.Int(-6, (axis == 0 ? width : height) + 3) * 65536 + 0x8000 + fraction;
                }
                // Either the identity, a quarter turn or a random mix.
                switch (in.Int(0, 2)) {
                case 0: map[2] = 0x10000, map[3] = 0, map[4] = 0, map[5] = 0x10000; break;
                case 1: map[2] = 0, map[3] = 0x10000, map[4] = -0x10000, map[5] = 0; break;
                default:
                    for (int i = 2; i < 6; ++i)
                        map[i] = steps[in.Int(0, 6)];
                }
                uint32_t corners[4];
                const uint32_t shared = in.Texel();
                for (uint32_t& c : corners)
                    c = in.Int(0, 1) == 0 ? shared : in.Texel();
                const RasterColor color = in.Color();
                const Rect clip = in.Int(0, 1) == 0 ? Rect{0, 0, 40, 36} : in.Clip(40, 36);
                RasterCanvas actual(format, 40, 36);
                actual.FillRandom(in.Random());
                RasterCanvas expected = actual;
                DrawMappedRect(gTriangleRoutines[index], actual, texture.Record(), color, clip, area, map, corners,
                               false, index);
                DrawMappedRect(nullptr, expected, texture.Record(), color, clip, area, map, corners, true, index);
                ASSERT_TRUE(actual == expected) << "index " << index << " round " << round << " texture " << width
                                                << "x" << height << std::hex << " at " << map[0] << "," << map[1]
                                                << " steps " << map[2] << "," << map[3] << "," << map[4] << ","
                                                << map[5];
            }
        }
}

#if defined(__SSE2__)

// Four lanes of texels on texel positions against the untinted step, one
// pixel at a time: every texel alpha in every lane, beside lanes that skip,
// store opaque or blend, over opaque and transparent destinations.
template <class F>
void CompareWholeTexels(uint32_t seed)
{
    SCOPED_TRACE(testing::Message() << "seed " << seed << " format " << std::hex << F::kCode);
    RasterTestInputs in(seed);
    using Kind = BilinearKind<F, NoTint>;
    using Pixel = typename F::Pixel;
    const RasterColor color;
    for (int round = 0; round < 256 * 40; ++round) {
        uint32_t texels[4];
        Pixel before[4];
        for (int l = 0; l < 4; ++l) {
            texels[l] = in.Texel();
            before[l] = static_cast<Pixel>(in.Int(0, 1) == 0 ? in.Random()() : in.Random()() | 0xFF000000);
        }
        const auto colour = static_cast<uint32_t>(in.Random()()) & 0xFFFFFF;
        texels[round % 4] = static_cast<uint32_t>(round / 40) << 24 | colour;
        Pixel expected[4];
        for (int l = 0; l < 4; ++l) {
            const RasterTexture texture{&texels[l], 16, 0, 0, 1, 1, 1};
            const typename Kind::State state(&texture, &color);
            expected[l] = before[l];
            Kind::Step(reinterpret_cast<uint8_t*>(&expected[l]), {0, 0}, state);
        }
        Pixel actual[4] = {before[0], before[1], before[2], before[3]};
        Span4::WholeTexels<F>(reinterpret_cast<uint8_t*>(actual),
                              _mm_loadu_si128(reinterpret_cast<const __m128i*>(texels)));
        for (int l = 0; l < 4; ++l)
            ASSERT_EQ(actual[l], expected[l]) << "round " << round << " lane " << l << std::hex << " texel "
                                              << texels[l] << " destination " << before[l];
    }
}

TEST(BilinearWholeTexel, Groups8888MatchTheStep) { CompareWholeTexels<Format8888>(4011); }
TEST(BilinearWholeTexel, Groups888MatchTheStep) { CompareWholeTexels<Format888>(4012); }
TEST(BilinearWholeTexel, Groups565MatchTheStep) { CompareWholeTexels<Format565>(4013); }
TEST(BilinearWholeTexel, Groups555MatchTheStep) { CompareWholeTexels<Format555>(4014); }

#endif

} // namespace
