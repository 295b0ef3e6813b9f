#include "graphics/rasterizer/VertexColorRoutines.h"

#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/RasterVertex.h"
#include "graphics/rasterizer/RasterizePolygon.h"
#include "graphics/rasterizer/RasterizeTriangle.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

namespace {

using namespace Tandry;
using Testing::RasterCanvas;

RasterVertex Corner(int x, int y, uint32_t argb)
{
    return {x << 16,
            y << 16,
            static_cast<int32_t>((argb >> 24) << 16),
            static_cast<int32_t>(((argb >> 16) & 0xFF) << 16),
            static_cast<int32_t>(((argb >> 8) & 0xFF) << 16),
            static_cast<int32_t>((argb & 0xFF) << 16),
            0,
            0};
}

// Draws a one-colour triangle over (1, 1)-(9, 9) and returns pixel (2, 2),
// checking that a pixel outside it kept the background.
uint32_t Pixel(TriangleRoutine routine, int32_t format, uint32_t argb, uint32_t background,
               const RasterColor& color = {})
{
    RasterCanvas canvas(format, 12, 12);
    canvas.Fill(background);
    const RasterVertex v[3] = {Corner(1, 1, argb), Corner(9, 1, argb), Corner(1, 9, argb)};
    const Rect clip{0, 0, 12, 12};
    routine(v, canvas.Origin(), canvas.Pitch(), nullptr, &color, &clip);
    EXPECT_EQ(canvas.At(8, 8), background);
    return canvas.At(2, 2);
}

TEST(VertexColorRoutines, Pixels)
{
    struct Case {
        const char* name;
        TriangleRoutine routine;
        int32_t format;
        uint32_t argb;
        uint32_t background;
        uint32_t expected;
    };
    const Case cases[] = {
        {"8888 opaque white", &Tri8888Vc, 0x8888, 0xFFFFFFFF, 0, 0xFFFFFFFF},
        // A blend over an opaque pixel keeps its alpha.
        {"8888 half over opaque", &Tri8888Vc, 0x8888, 0x80FFFFFF, 0xFF123456, 0xFF8798A9},
        {"565 opaque", &Tri565Vc, 0x565, 0xFFFF8008, 0, 0xFC01},
        {"555 opaque", &Tri555Vc, 0x555, 0xFFFF8008, 0, 0x7E01},
        // Alpha 241 and up writes, 9 to 240 blends with W = alpha, 8 and less
        // leaves the pixel alone (a W = 8 blend would show in each case).
        {"888 alpha 241", &Tri888Vc, 0x888, 0xF1FFFFFF, 0, 0xFFFFFFFF},
        {"888 alpha 240", &Tri888Vc, 0x888, 0xF0FFFFFF, 0, 0xFFEFEFEF},
        {"888 alpha 9", &Tri888Vc, 0x888, 0x09FFFFFF, 0, 0xFF080808},
        {"888 alpha 8", &Tri888Vc, 0x888, 0x08FFFFFF, 0, 0},
        {"8888 alpha 241", &Tri8888Vc, 0x8888, 0xF1FFFFFF, 0xFF000000, 0xFFFFFFFF},
        {"8888 alpha 240", &Tri8888Vc, 0x8888, 0xF0FFFFFF, 0xFF000000, 0xFFEFEFEF},
        {"8888 alpha 9", &Tri8888Vc, 0x8888, 0x09FFFFFF, 0xFF000000, 0xFF080808},
        {"8888 alpha 8", &Tri8888Vc, 0x8888, 0x08FFFFFF, 0xFF000000, 0xFF000000},
        {"565 alpha 241", &Tri565Vc, 0x565, 0xF1FFFFFF, 0, 0xFFFF},
        {"565 alpha 240", &Tri565Vc, 0x565, 0xF0FFFFFF, 0, 0xEF7D},
        {"565 alpha 9", &Tri565Vc, 0x565, 0x09FFFFFF, 0, 0x0841},
        {"565 alpha 8", &Tri565Vc, 0x565, 0x08FFFFFF, 0, 0},
        {"555 alpha 241", &Tri555Vc, 0x555, 0xF1FFFFFF, 0x8000, 0x7FFF},
        {"555 alpha 240", &Tri555Vc, 0x555, 0xF0FFFFFF, 0x8000, 0x77BD},
        {"555 alpha 9", &Tri555Vc, 0x555, 0x09FFFFFF, 0x8000, 0x0421},
        {"555 alpha 8", &Tri555Vc, 0x555, 0x08FFFFFF, 0x8000, 0x8000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Pixel(c.routine, c.format, c.argb, c.background), c.expected)
            << c.name << std::hex << " expected " << c.expected;
}

// The colour's alpha 128 makes the vertex alpha 127.5 and each channel
// 254 + 1/256: W = 127, p = 126 over opaque black.
TEST(VertexColorRoutines, ModulatedWeightAndColour)
{
    const RasterColor color{128, 255, 255, 255};
    EXPECT_EQ(Pixel(&Tri8888VcMod, 0x8888, 0xFFFFFFFF, 0xFF000000, color), 0xFF7E7E7Eu);
    EXPECT_EQ(Pixel(&Tri888VcMod, 0x888, 0xFFFFFFFF, 0xFF000000, color), 0xFF7E7E7Eu);
    // Opaque colours still darken a little: 255 * 255 / 256 is 254.
    EXPECT_EQ(Pixel(&Tri888VcMod, 0x888, 0xFFFFFFFF, 0, {255, 255, 255, 255}), 0xFFFEFEFEu);
}

// Every fan triangle of a clipped polygon gets the vertices as converted, so
// a shared vertex is modulated once and there is no colour step.
TEST(VertexColorRoutines, ModulatedFanLeavesItsVerticesAlone)
{
    static int changed;
    changed = 0;
    const TriangleCallee checking = [](bool textured, bool alpha, bool vertexColors, bool modulate,
                                       const RasterVertex* vertices, void* destination, int32_t pitch,
                                       const RasterTexture* texture, const RasterColor* color, int32_t format,
                                       bool bilinear, const Rect* clip) {
        const RasterVertex before[3] = {vertices[0], vertices[1], vertices[2]};
        RasterizeTriangle(textured, alpha, vertexColors, modulate, vertices, destination, pitch, texture, color,
                          format, bilinear, clip);
        for (int i = 0; i < 3; ++i)
            changed += vertices[i] == before[i] ? 0 : 1;
    };
    const Color color{200, 100, 50, 180};
    // Crosses the clip's corner: five vertices, three fan triangles.
    const TriVertex triangle[3] = {{4, 4, 0, 0, 0xFFC08040}, {36, 4, 0, 0, 0xFFC08040}, {4, 36, 0, 0, 0xFFC08040}};
    const Rect clip{0, 0, 29, 29};
    for (int32_t format : {0x8888, 0x888, 0x565, 0x555}) {
        RasterCanvas first(format, 32, 32);
        first.Fill(0);
        RasterCanvas second = first;
        RasterizePolygon(triangle, 3, nullptr, &color, &clip, first.Origin(), first.Pitch(), format, false, true,
                         checking);
        RasterizePolygon(triangle, 3, nullptr, &color, &clip, second.Origin(), second.Pitch(), format, false, true,
                         checking);
        EXPECT_EQ(changed, 0);
        EXPECT_TRUE(first == second) << std::hex << format;
        std::set<uint32_t> values;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (first.At(x, y) != 0)
                    values.insert(first.At(x, y));
        EXPECT_EQ(values.size(), 1u) << std::hex << format;
    }
}

TEST(VertexColorRoutines, UnknownFormatDrawsAs8888)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        RasterCanvas expected(0x8888, 40, 40);
        expected.FillRandom(random);
        RasterCanvas actual = expected;
        std::uniform_real_distribution<float> position(-10, 50);
        std::vector<TriVertex> polygon;
        for (int i = 0; i < 4; ++i)
            polygon.push_back({position(random), position(random), 0, 0, static_cast<uint32_t>(random())});
        const Rect clip{2, 3, 30, 33};
        const Color color{200, 100, 50, 180};
        RasterizePolygon(polygon.data(), 4, nullptr, &color, &clip, expected.Origin(), expected.Pitch(), 0x8888, false,
                         true);
        RasterizePolygon(polygon.data(), 4, nullptr, &color, &clip, actual.Origin(), actual.Pitch(), 0x1234, false,
                         true);
        EXPECT_TRUE(actual == expected) << "round " << round;
    }
}

TEST(VertexColorRoutines, WithoutVertexColoursNothingIsDrawn)
{
    RasterCanvas canvas(0x8888, 16, 16);
    canvas.Fill(0x12345678);
    const RasterCanvas before = canvas;
    const TriVertex triangle[3] = {{0, 0, 0, 0, 0xFFFFFFFF}, {15, 0, 0, 0, 0xFFFFFFFF}, {0, 15, 0, 0, 0xFFFFFFFF}};
    const Rect clip{0, 0, 16, 16};
    for (const Color& color : {Color::White, Color{1, 2, 3, 4}})
        RasterizePolygon(triangle, 3, nullptr, &color, &clip, canvas.Origin(), canvas.Pitch(), 0x8888, false, false);
    EXPECT_TRUE(canvas == before);
}

} // namespace
