#include "graphics/rasterizer/RasterizeTriangle.h"

#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/RasterTestInputs.h"
#include "graphics/rasterizer/RasterTexture.h"
#include "graphics/rasterizer/RasterizePolygon.h"
#include "graphics/rasterizer/ReferenceRasterizer.h"
#include "graphics/rasterizer/VertexColorRoutines.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace Tandry;
using namespace Tandry::Testing;

TEST(RasterizeTriangle, IndexRule)
{
    struct Case {
        bool textured, alpha, vertexColors, modulate;
        int32_t format;
        bool bilinear;
        int32_t index;
    };
    const Case cases[] = {
        {false, false, false, false, 0x8888, false, 0},   {false, false, true, false, 0x8888, false, 4},
        {false, false, true, true, 0x888, false, 38},     {true, false, false, false, 0x8888, false, 16},
        {true, true, false, false, 0x8888, true, 25},     {true, true, true, true, 0x555, true, 127},
        {true, true, false, false, 0x565, false, 88},     {false, false, true, false, 0x1234, false, 4},
        {false, false, true, true, 0, false, 6},          {true, false, true, false, 0x565, false, 84},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TriangleRoutineIndex(c.textured, c.alpha, c.vertexColors, c.modulate, c.format, c.bilinear),
                  c.index);
}

TEST(RasterizeTriangle, UntexturedEntries)
{
    const TriangleRoutine plain[] = {&Tri8888Vc, &Tri888Vc, &Tri565Vc, &Tri555Vc};
    const TriangleRoutine modulated[] = {&Tri8888VcMod, &Tri888VcMod, &Tri565VcMod, &Tri555VcMod};
    for (int group = 0; group < 4; ++group)
        for (int low = 0; low < 16; ++low) {
            // The alpha and bilinear bits make no difference without a texture.
            const int kind = low & 6;
            const TriangleRoutine expected = kind == 4   ? plain[group]
                                             : kind == 6 ? modulated[group]
                                                         : &EmptyTriangleRoutine;
            EXPECT_EQ(gTriangleRoutines[group * 32 + low], expected) << group * 32 + low;
        }
}

// Every table entry against the model, pixel for pixel, on random triangles
// that may reach past the clip, over random destination contents.
void CompareWithModel(int group, uint32_t seed)
{
    RasterTestInputs in(seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    const RasterTexture texture;
    for (int low = 0; low < 32; ++low) {
        const int index = group * 32 + low;
        const int32_t format = FormatOfIndex(index);
        for (int round = 0; round < 40; ++round) {
            RasterCanvas actual(format, 48, 40);
            actual.FillRandom(in.Random());
            RasterCanvas expected = actual;
            RasterVertex v[3];
            in.Triangle(v, -12, 60, -12, 52);
            const RasterColor color = in.Color();
            const Rect clip = in.Clip(48, 40);
            gTriangleRoutines[index](v, actual.Origin(), actual.Pitch(), &texture, &color, &clip);
            ReferenceTriangle(v, expected.Bytes(), expected.Pitch(), format, FeaturesOfIndex(index), color, clip);
            ASSERT_TRUE(actual == expected) << "index " << index << " round " << round;
        }
    }
}

TEST(RasterizeTriangle, Group8888MatchesModel) { CompareWithModel(0, 8888); }
TEST(RasterizeTriangle, Group888MatchesModel) { CompareWithModel(1, 888); }
TEST(RasterizeTriangle, Group565MatchesModel) { CompareWithModel(2, 565); }
TEST(RasterizeTriangle, Group555MatchesModel) { CompareWithModel(3, 555); }

// The fan triangles of clipped polygons, drawn by the table and by the model.
TEST(RasterizeTriangle, ClippedPolygonsMatchModel)
{
    static RasterCanvas* model;
    const TriangleCallee both = [](bool textured, bool alpha, bool vertexColors, bool modulate,
                                   const RasterVertex* vertices, void* destination, int32_t pitch,
                                   const RasterTexture* texture, const RasterColor* color, int32_t format,
                                   bool bilinear, const Rect* clip) {
        RasterizeTriangle(textured, alpha, vertexColors, modulate, vertices, destination, pitch, texture, color,
                          format, bilinear, clip);
        const int index = TriangleRoutineIndex(textured, alpha, vertexColors, modulate, format, bilinear);
        ReferenceTriangle(vertices, model->Bytes(), pitch, FormatOfIndex(index), FeaturesOfIndex(index), *color,
                          *clip);
    };
    const uint32_t seed = 2024;
    RasterTestInputs in(seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    for (int32_t format : {0x8888, 0x888, 0x565, 0x555})
        for (int round = 0; round < 100; ++round) {
            RasterCanvas actual(format, 48, 40);
            actual.FillRandom(in.Random());
            RasterCanvas expected = actual;
            model = &expected;
            std::vector<TriVertex> polygon(static_cast<size_t>(in.Int(3, 5)));
            for (TriVertex& v : polygon) {
                const RasterVertex r = in.Vertex(-30, 80, -30, 70);
                v = {r.x / 65536.0f, r.y / 65536.0f, 0, 0,
                     static_cast<uint32_t>(r.alpha << 8 | r.red | r.green >> 8 | r.blue >> 16)};
            }
            const RasterColor c = in.Color();
            const Color color{c.red, c.green, c.blue, c.alpha};
            const Rect clip = in.Clip(48, 40);
            RasterizePolygon(polygon.data(), static_cast<int>(polygon.size()), nullptr, &color, &clip,
                             actual.Origin(), actual.Pitch(), format, false, true, both);
            ASSERT_TRUE(actual == expected) << std::hex << "format " << format << std::dec << " round " << round;
        }
}

} // namespace
