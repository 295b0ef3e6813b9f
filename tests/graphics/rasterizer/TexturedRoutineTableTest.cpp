// The textured entries of the routine table: which routine each holds, and
// every one of the 128 entries against the reference model on random
// textured triangles.
#include "graphics/rasterizer/TexturedRoutineTable.h"

#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/RasterTestInputs.h"
#include "graphics/rasterizer/RasterizeTriangle.h"
#include "graphics/rasterizer/ReferenceRasterizer.h"
#include "graphics/rasterizer/TexturedFixtures.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace Tandry;
using namespace Tandry::Testing;

TEST(TexturedRoutineTable, Entries)
{
    // By low bits 16 .. 31; the never produced 17, 19, 21 and 23 filter.
    const std::vector<TriangleRoutine> groups[4] = {
        {&TexTri8888, &TexTri8888Bilinear, &TexTri8888Mod, &TexTri8888BilinearMod, &TexTri8888Vc,
         &TexTri8888BilinearVc, &TexTri8888VcMod, &TexTri8888BilinearVcMod, &TexTri8888Alpha, &TexTri8888Bilinear,
         &TexTri8888AlphaMod, &TexTri8888BilinearMod, &TexTri8888AlphaVc, &TexTri8888BilinearVc,
         &TexTri8888AlphaVcMod, &TexTri8888BilinearVcMod},
        {&TexTri8888, &TexTri888Bilinear, &TexTri888Mod, &TexTri888BilinearMod, &TexTri888Vc,
         &TexTri888BilinearVc, &TexTri888VcMod, &TexTri888BilinearVcMod, &TexTri888Alpha, &TexTri888Bilinear,
         &TexTri888AlphaMod, &TexTri888BilinearMod, &TexTri888AlphaVc, &TexTri888BilinearVc, &TexTri888AlphaVcMod,
         &TexTri888BilinearVcMod},
        {&TexTri565, &TexTri565Bilinear, &TexTri565Mod, &TexTri565BilinearMod, &TexTri565Vc, &TexTri565BilinearVc,
         &TexTri565VcMod, &TexTri565BilinearVcMod, &TexTri565Alpha, &TexTri565Bilinear, &TexTri565AlphaMod,
         &TexTri565BilinearMod, &TexTri565AlphaVc, &TexTri565BilinearVc, &TexTri565AlphaVcMod,
         &TexTri565BilinearVcMod},
        {&TexTri555, &TexTri555Bilinear, &TexTri555Mod, &TexTri555BilinearMod, &TexTri555Vc, &TexTri555BilinearVc,
         &TexTri555VcMod, &TexTri555BilinearVcMod, &TexTri555Alpha, &TexTri555Bilinear, &TexTri555AlphaMod,
         &TexTri555BilinearMod, &TexTri555AlphaVc, &TexTri555BilinearVc, &TexTri555AlphaVcMod,
         &TexTri555BilinearVcMod},
    };
    for (int group = 0; group < 4; ++group)
        for (int low = 16; low < 32; ++low)
            EXPECT_EQ(gTriangleRoutines[group * 32 + low], groups[group][low - 16]) << group * 32 + low;
}

// Texel values around the thresholds the routines turn on, colours random.
uint32_t RandomTexel(RasterTestInputs& in)
{
    static constexpr uint32_t kAlphas[] = {0, 8, 9, 128, 239, 240, 241, 255};
    const auto colour = static_cast<uint32_t>(in.Random()()) & 0xFFFFFF;
    return in.Int(0, 4) == 0 ? colour | static_cast<uint32_t>(in.Random()()) << 24
                             : colour | kAlphas[in.Int(0, 7)] << 24;
}

RasterColor RandomColor(RasterTestInputs& in)
{
    static constexpr int32_t kAlphas[] = {0, 1, 240, 241, 255};
    switch (in.Int(0, 3)) {
    case 0: return {};
    case 1: return in.Color();
    default: return {kAlphas[in.Int(0, 4)], in.Channel(), in.Channel(), in.Channel()};
    }
}

// Texture positions around and beyond the texture, now and then anywhere.
void RandomTexturePositions(RasterTestInputs& in, RasterVertex (&v)[3], const RasterTexture& texture)
{
    for (RasterVertex& c : v) {
        c.u = in.Int(-texture.width * 65536 - 0x20000, 2 * texture.width * 65536 + 0x20000);
        c.v = in.Int(-texture.height * 65536 - 0x20000, 2 * texture.height * 65536 + 0x20000);
        if (in.Int(0, 15) == 0)
            c.u = static_cast<int32_t>(in.Random()());
        if (in.Int(0, 15) == 0)
            c.v = static_cast<int32_t>(in.Random()());
    }
}

void CompareWithModel(int group, uint32_t seed)
{
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    RasterTestInputs in(seed);
    const int sizes[][2] = {{1, 1}, {2, 2}, {16, 16}, {1, 12}, {300, 2}, {0, 0}, {256, 256}};
    for (const auto& size : sizes) {
        TestTexture texture(size[0], size[1]);
        for (int i = 0; i < size[0] * size[1]; ++i)
            texture.Texels()[i] = RandomTexel(in);
        for (int low = 0; low < 32; ++low) {
            const int index = group * 32 + low;
            const int32_t format = FormatOfIndex(index);
            for (int round = 0; round < 12; ++round) {
                RasterCanvas actual(format, 48, 40);
                actual.FillRandom(in.Random());
                RasterCanvas expected = actual;
                RasterVertex v[3];
                in.Triangle(v, -12, 60, -12, 52);
                RandomTexturePositions(in, v, texture.Record());
                const RasterColor color = RandomColor(in);
                const Rect clip = in.Clip(48, 40);
                gTriangleRoutines[index](v, actual.Origin(), actual.Pitch(), &texture.Record(), &color, &clip);
                ReferenceTriangle(v, expected.Bytes(), expected.Pitch(), format, FeaturesOfIndex(index), color,
                                  clip, texture.Record());
                ASSERT_TRUE(actual == expected)
                    << "index " << index << " texture " << size[0] << "x" << size[1] << " round " << round;
            }
        }
    }
}

TEST(TexturedRoutineTable, Group8888MatchesModel) { CompareWithModel(0, 18888); }
TEST(TexturedRoutineTable, Group888MatchesModel) { CompareWithModel(1, 1888); }
TEST(TexturedRoutineTable, Group565MatchesModel) { CompareWithModel(2, 1565); }
TEST(TexturedRoutineTable, Group555MatchesModel) { CompareWithModel(3, 1555); }

// A colour alpha or vertex alpha of 0 blends with W = 0; over a 0x8888 pixel
// of alpha 0 that would divide by zero, and the pixel is left as it was.
TEST(TexturedRoutineTable, FadedSpriteOverTransparentPixels)
{
    const RasterColor fadedColor{0, 255, 255, 255};
    const RasterColor white;
    for (int low = 16; low < 32; ++low) {
        const bool vertexColors = (low & 4) != 0;
        const bool modulate = (low & 2) != 0;
        if (!vertexColors && !modulate)
            continue;
        for (uint32_t background : {0x00000000u, 0x00ABCDEFu}) {
            if (modulate) {
                EXPECT_EQ(SquarePixel(gTriangleRoutines[low], 0x8888, 0xFFFFFFFF, background, fadedColor),
                          background)
                    << low;
            }
            if (vertexColors) {
                EXPECT_EQ(SquarePixel(gTriangleRoutines[low], 0x8888, 0xFFFFFFFF, background, white, 0x00FFFFFF),
                          background)
                    << low;
            }
        }
    }
}

} // namespace
