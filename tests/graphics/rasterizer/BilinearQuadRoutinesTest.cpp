// The bilinear quad routines against the reference model drawing the quad's
// two triangles one after the other: rectangles stepped by whole texels
// (where rows are drawn whole) over every edge of the texture, rectangles of
// any width and texture steps, turned and arbitrary quads, and strips whose
// triangles overlap, where the second must be drawn over the first.
#include "graphics/rasterizer/BilinearQuadRoutines.h"

#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/RasterTestInputs.h"
#include "graphics/rasterizer/ReferenceRasterizer.h"
#include "graphics/rasterizer/TexturedFixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace Tandry;
using namespace Tandry::Testing;

enum class Shape { WholeTexels, AnyRectangle, AnyQuad, Overlapping };

// The strip's four corners (top-left, top-right, bottom-left, bottom-right
// for a rectangle) of one random quad of the shape.
void Corners(RasterTestInputs& in, Shape shape, const RasterTexture& texture, RasterVertex (&corner)[4])
{
    const int32_t offFraction[] = {0, 0, 0, 1, 0xFFFF, 0x8000};
    switch (shape) {
    case Shape::WholeTexels:
    case Shape::AnyRectangle: {
        const bool whole = shape == Shape::WholeTexels;
        const int x = in.Int(-4, 30);
        const int y = in.Int(-4, 26);
        const int width = in.Int(1, 40);
        const int height = in.Int(1, 30);
        // Whole texels: the pixel centres on texel centres, stepped one
        // texel (or, turned or mirrored, along the other axis or backwards).
        int32_t map[6];
        for (int axis = 0; axis < 2; ++axis) {
            const int size = axis == 0 ? texture.width : texture.height;
            map[axis] = whole ? in.Int(-6, size + 3) * 65536 + 0x8000 + offFraction[in.Int(0, 5)]
                              : in.Position(-6, size + 3);
        }
        if (whole) {
            const int32_t steps[][4] = {{0x10000, 0, 0, 0x10000},
                                        {0x10000, 0, 0, 0x10000},
                                        {-0x10000, 0, 0, 0x10000},
                                        {0, 0x10000, -0x10000, 0},
                                        {0x20000, 0, 0, 0x10000}};
            const auto& s = steps[in.Int(0, 4)];
            for (int i = 0; i < 4; ++i)
                map[2 + i] = s[i];
        } else {
            for (int i = 2; i < 6; ++i)
                map[i] = in.Int(-0x18000, 0x18000);
        }
        const int32_t fx = whole ? 0 : in.Int(0, 0xFFFF);
        const int32_t fy = whole ? 0 : in.Int(0, 0xFFFF);
        for (int i = 0; i < 4; ++i) {
            const int dx = (i & 1) != 0 ? width : 0;
            const int dy = (i & 2) != 0 ? height : 0;
            corner[i] = {(x + dx) * 65536 + fx, (y + dy) * 65536 + fy, 0, 0, 0, 0,
                         map[0] + dx * map[2] + dy * map[4], map[1] + dx * map[3] + dy * map[5]};
        }
        break;
    }
    case Shape::AnyQuad:
    case Shape::Overlapping:
        for (RasterVertex& c : corner) {
            c = in.Vertex(-6, 46, -6, 38);
            c.u = in.Position(-3, texture.width + 3);
            c.v = in.Position(-3, texture.height + 3);
        }
        // Corner 3 next to corner 0: the strip's second triangle folds
        // back over most of the first.
        if (shape == Shape::Overlapping) {
            corner[3].x = corner[0].x + in.Int(-0x40000, 0x40000);
            corner[3].y = corner[0].y + in.Int(-0x40000, 0x40000);
        }
        break;
    }
}

TEST(BilinearQuadRoutines, QuadsMatchTheirTwoTrianglesInTheModel)
{
    const uint32_t seed = 4101;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    RasterTestInputs in(seed);
    for (int group = 0; group < 4; ++group)
        for (int kind : {25, 27}) {
            const int index = group * 32 + kind;
            const int32_t format = FormatOfIndex(index);
            const ReferenceFeatures features = FeaturesOfIndex(index);
            const QuadRoutine routine = BilinearQuadRoutine(format, features.modulate);
            for (Shape shape : {Shape::WholeTexels, Shape::AnyRectangle, Shape::AnyQuad, Shape::Overlapping})
                for (int round = 0; round < 40; ++round) {
                    const int width = in.Int(1, 24);
                    const int height = in.Int(1, 24);
                    TestTexture texture(width, height);
                    for (int i = 0; i < width * height; ++i)
                        texture.Texels()[i] = in.Texel();
                    RasterVertex corner[4];
                    Corners(in, shape, texture.Record(), corner);
                    const RasterVertex first[3] = {corner[0], corner[1], corner[2]};
                    const RasterVertex second[3] = {corner[1], corner[3], corner[2]};
                    const RasterColor color = in.Color();
                    const Rect clip = in.Int(0, 1) == 0 ? Rect{0, 0, 40, 36} : in.Clip(40, 36);
                    RasterCanvas actual(format, 40, 36);
                    actual.FillRandom(in.Random());
                    RasterCanvas expected = actual;
                    routine(first, second, actual.Origin(), actual.Pitch(), &texture.Record(), &color, &clip);
                    for (const RasterVertex* v : {first, second})
                        ReferenceTriangle(v, expected.Bytes(), expected.Pitch(), format, features, color, clip,
                                          texture.Record());
                    ASSERT_TRUE(actual == expected)
                        << "index " << index << " shape " << static_cast<int>(shape) << " round " << round
                        << " texture " << width << "x" << height << std::hex << " corner 0 at " << corner[0].x
                        << "," << corner[0].y << " uv " << corner[0].u << "," << corner[0].v;
                }
        }
}

// An untransformed quad over a texture whose runs of eight texels are all
// skipped or all full but one, that one of every alpha at every place in
// the run: runs tested eight at a time are drawn as the model draws them,
// on either side of alpha 9 (skipped or not) and 255.
TEST(BilinearQuadRoutines, RunsOfEightTexelsOfEveryAlpha)
{
    const uint32_t seed = 4102;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    RasterTestInputs in(seed);
    constexpr int kSide = 64;
    TestTexture texture(kSide, kSide);
    for (int run = 0; run < kSide * kSide / 8; ++run) {
        const auto alpha = static_cast<uint32_t>(run % 256);
        const uint32_t around = run < 256 ? 0u : 255u;
        for (int i = 0; i < 8; ++i) {
            const auto colour = static_cast<uint32_t>(in.Random()()) & 0xFFFFFF;
            texture.Texels()[run * 8 + i] = (i == run % 8 ? alpha : around) << 24 | colour;
        }
    }
    // Pixel (x, y) of the quad samples texel (x, y) on its centre.
    RasterVertex corner[4];
    for (int i = 0; i < 4; ++i) {
        const int32_t dx = (i & 1) != 0 ? kSide : 0;
        const int32_t dy = (i & 2) != 0 ? kSide : 0;
        corner[i] = {(3 + dx) * 65536, (2 + dy) * 65536, 0, 0, 0, 0, dx * 65536 + 0x8000, dy * 65536 + 0x8000};
    }
    const RasterVertex first[3] = {corner[0], corner[1], corner[2]};
    const RasterVertex second[3] = {corner[1], corner[3], corner[2]};
    const RasterColor color;
    const Rect clip{0, 0, kSide + 6, kSide + 4};
    for (int index : {25, 32 + 25, 64 + 25, 96 + 25}) {
        const int32_t format = FormatOfIndex(index);
        RasterCanvas actual(format, clip.width, clip.height);
        actual.FillRandom(in.Random());
        RasterCanvas expected = actual;
        BilinearQuadRoutine(format, false)(first, second, actual.Origin(), actual.Pitch(), &texture.Record(), &color,
                                           &clip);
        for (const RasterVertex* v : {first, second})
            ReferenceTriangle(v, expected.Bytes(), expected.Pitch(), format, FeaturesOfIndex(index), color, clip,
                              texture.Record());
        for (int y = 0; y < clip.height; ++y)
            for (int x = 0; x < clip.width; ++x)
                ASSERT_EQ(actual.At(x, y), expected.At(x, y))
                    << std::hex << "format " << format << std::dec << " at " << x << "," << y;
        EXPECT_TRUE(actual == expected) << std::hex << format;
    }
}

// An empty clip draws nothing, whatever the quad.
TEST(BilinearQuadRoutines, EmptyClipDrawsNothing)
{
    TestTexture texture(4, 4);
    const RasterVertex corner[4] = {{0, 0, 0, 0, 0, 0, 0, 0},
                                    {0x40000, 0, 0, 0, 0, 0, 0x40000, 0},
                                    {0, 0x40000, 0, 0, 0, 0, 0, 0x40000},
                                    {0x40000, 0x40000, 0, 0, 0, 0, 0x40000, 0x40000}};
    const RasterVertex first[3] = {corner[0], corner[1], corner[2]};
    const RasterVertex second[3] = {corner[1], corner[3], corner[2]};
    const RasterColor color;
    for (const Rect& clip : {Rect{0, 0, 0, 8}, Rect{0, 0, 8, 0}, Rect{0, 0, -3, 8}}) {
        RasterCanvas canvas(0x8888, 8, 8);
        const RasterCanvas before = canvas;
        BilinearQuadRoutine(0x8888, false)(first, second, canvas.Origin(), canvas.Pitch(), &texture.Record(),
                                          &color, &clip);
        EXPECT_TRUE(canvas == before) << clip.width << "x" << clip.height;
    }
}

} // namespace
