#include "graphics/rasterizer/rasterizer.h"

#include "graphics/rasterizer/FrontEndFixtures.h"
#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"
#include "graphics/types/TriVertex.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace Tandry;
using namespace Tandry::Testing;

void DrawList(RasterCanvas& canvas, Image* texture, const std::vector<TriVertex>& vertices, float tx = 0,
              float ty = 0, const Color& color = Color::White, bool linear = false)
{
    const Rect clip{0, 0, canvas.Width(), canvas.Height()};
    RasterizeTriangleList(texture, vertices.data(), static_cast<int>(vertices.size() / 3), &clip, &color,
                          canvas.Origin(), canvas.Pitch(), canvas.Format(), tx, ty, linear);
}

// Without a texture only vertex colours draw. A zero colour next to a
// non-zero one is transparent black, so only the part near the blue vertex
// shows.
TEST(RasterizeTriangleList, UntexturedByVertexColours)
{
    RasterCanvas canvas(0x8888, 32, 32);
    canvas.Fill(0xFF000000);
    const RasterCanvas before = canvas;
    DrawList(canvas, nullptr, {{2, 2, 0, 0, 0}, {30, 2, 0, 0, 0}, {2, 30, 0, 0, 0}});
    EXPECT_TRUE(canvas == before);

    DrawList(canvas, nullptr, {{2, 2, 0, 0, 0}, {30, 2, 0, 0, 0}, {2, 30, 0, 0, 0xFF0000FF}});
    EXPECT_EQ(canvas.At(3, 3), 0xFF000000u);
    EXPECT_EQ(canvas.At(27, 3), 0xFF000000u);
    const uint32_t nearBlue = canvas.At(3, 27);
    EXPECT_EQ(nearBlue & 0xFFFFFF00, 0xFF000000u) << std::hex << nearBlue;
    EXPECT_GT(nearBlue & 0xFF, 0xC0u) << std::hex << nearBlue;
}

// A texture that is not a memory image is no texture: the vertex colours
// still draw, exactly as without one.
TEST(RasterizeTriangleList, NotAMemoryImageDrawsUntextured)
{
    Image notMemory;
    const std::vector<TriVertex> triangle = {{2, 2, 0, 0, 0xFFFF0000}, {30, 2, 1, 0, 0x8000FF00},
                                             {2, 30, 0, 1, 0xFF0000FF}};
    RasterCanvas untextured(0x888, 32, 32);
    untextured.Fill(0xFF202020);
    RasterCanvas other = untextured;
    DrawList(untextured, nullptr, triangle);
    DrawList(other, &notMemory, triangle);
    EXPECT_TRUE(untextured == other);
    EXPECT_NE(other.At(3, 3), 0xFF202020u);
}

// The vertex-colour flag is decided per triangle, and every vertex moves by
// (tx, ty) in single precision.
TEST(RasterizeTriangleList, EachTriangleOnItsOwn)
{
    auto image = FilledImage(4, 4, 0xFF808080);
    RasterCanvas canvas(0x8888, 32, 32);
    canvas.Fill(0);
    DrawList(canvas, image.get(),
             {{0, 0, 0, 0, 0}, {8, 0, 1, 0, 0}, {0, 8, 0, 1, 0}, {0, 0, 0, 0, 0xFFFF0000},
              {8, 0, 1, 0, 0xFFFF0000}, {0, 8, 0, 1, 0xFFFF0000}},
             0, 0);
    // Drawn twice: first plain, then tinted red over it.
    EXPECT_EQ(canvas.At(1, 1), 0xFF7F0000u);

    // Any non-zero word turns vertex colours on, here all of alpha 0: every
    // pixel blends with weight 0 instead of showing the texel (an opaque
    // 0x8888 pixel loses one step of alpha).
    canvas.Fill(0xFF404040);
    DrawList(canvas, image.get(), {{0, 0, 0, 0, 0}, {8, 0, 1, 0, 0}, {0, 8, 0, 1, 0x00000001}});
    EXPECT_EQ(canvas.At(1, 1), 0xFE3F3F3Fu);

    canvas.Fill(0);
    DrawList(canvas, image.get(), {{0, 0, 0, 0, 0}, {8, 0, 1, 0, 0}, {0, 8, 0, 1, 0}}, 10.5f, 20.5f);
    EXPECT_EQ(canvas.At(10, 20), 0u);
    EXPECT_EQ(canvas.At(11, 21), 0xFF808080u);
    EXPECT_EQ(canvas.At(17, 21), 0xFF808080u);
    EXPECT_EQ(canvas.At(18, 21), 0u);
}

TEST(RasterizeTriangleList, NoTriangles)
{
    RasterCanvas canvas(0x8888, 8, 8);
    canvas.Fill(0x12345678);
    const RasterCanvas before = canvas;
    const Rect clip{0, 0, 8, 8};
    for (int count : {0, -1, -1000})
        RasterizeTriangleList(nullptr, nullptr, count, &clip, &Color::White, canvas.Origin(), canvas.Pitch(),
                              0x8888, 0, 0, false);
    EXPECT_TRUE(canvas == before);
}

} // namespace
