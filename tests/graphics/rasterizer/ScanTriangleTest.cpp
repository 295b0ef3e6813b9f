// Which pixels a triangle covers: the fill rule, the halves, the split and
// the addressing of the frame, seen through the vertex-coloured routines.
#include "graphics/rasterizer/ScanTriangle.h"

#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/RasterizePolygon.h"
#include "graphics/rasterizer/ReferenceRasterizer.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

using namespace Tandry;
using Testing::RasterCanvas;
using Pixels = std::set<std::pair<int, int>>;

constexpr uint32_t kOpaqueWhite = 0xFFFFFFFF;
constexpr uint32_t kHalfWhite = 0x80FFFFFF;
constexpr uint32_t kBlack = 0xFF000000;
// White at alpha 128 over black, once and twice (0x888: 127, then 63 + 127).
constexpr uint32_t kOnce = 0xFF7F7F7F;
constexpr uint32_t kTwice = 0xFFBEBEBE;

void Draw(RasterCanvas& canvas, std::vector<std::pair<float, float>> points, uint32_t color, const Rect& clip)
{
    std::vector<TriVertex> vertices;
    for (const auto& [x, y] : points)
        vertices.push_back({x, y, 0, 0, color});
    RasterizePolygon(vertices.data(), static_cast<int>(vertices.size()), nullptr, &Color::White, &clip,
                     canvas.Origin(), canvas.Pitch(), canvas.Format(), false, true);
}

Pixels Covered(const RasterCanvas& canvas, uint32_t background)
{
    Pixels covered;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            if (canvas.At(x, y) != background)
                covered.insert({x, y});
    return covered;
}

Pixels CoverageOf(std::vector<std::pair<float, float>> points)
{
    RasterCanvas canvas(0x888, 32, 32);
    canvas.Fill(kBlack);
    Draw(canvas, std::move(points), kOpaqueWhite, {0, 0, 32, 32});
    return Covered(canvas, kBlack);
}

// Rows given as (y, first x, last x).
Pixels Rows(std::initializer_list<std::tuple<int, int, int>> rows)
{
    Pixels pixels;
    for (const auto& [y, first, last] : rows)
        for (int x = first; x <= last; ++x)
            pixels.insert({x, y});
    return pixels;
}

TEST(ScanTriangle, Coverage)
{
    struct Case {
        const char* name;
        std::vector<std::pair<float, float>> points;
        Pixels expected;
    };
    const Case cases[] = {
        {"upper left half of a square",
         {{0, 0}, {10, 0}, {0, 10}},
         Rows({{0, 0, 9}, {1, 0, 8}, {2, 0, 7}, {3, 0, 6}, {4, 0, 5}, {5, 0, 4}, {6, 0, 3}, {7, 0, 2}, {8, 0, 1},
               {9, 0, 0}})},
        // (2, 2) and (3, 1) lie on the right edge and stay undrawn.
        {"centres on the edges", {{0.5f, 0.5f}, {3.5f, 0.5f}, {0.5f, 3.5f}}, {{1, 1}, {2, 1}, {1, 2}}},
        {"no row centre between", {{0, 1.2f}, {10, 1.5f}, {3, 1.9f}}, {}},
        {"collinear", {{1, 1}, {5, 5}, {9, 9}}, {}},
        {"collinear horizontal", {{1, 3}, {5, 3}, {9, 3}}, {}},
        {"flat top",
         {{2, 2}, {8, 2}, {5, 8}},
         Rows({{2, 2, 7}, {3, 3, 7}, {4, 3, 6}, {5, 4, 6}, {6, 4, 5}, {7, 5, 5}})},
        {"flat bottom",
         {{5, 2}, {2, 8}, {8, 8}},
         Rows({{3, 5, 5}, {4, 4, 5}, {5, 4, 6}, {6, 3, 6}, {7, 3, 7}})},
        // Both halves, the long edge on the right, then the same mirrored.
        // Row 1 meets the triangle in its top vertex only.
        {"long edge right", {{4, 1}, {1, 5}, {9, 9}}, Rows({{2, 4, 4}, {3, 3, 5}, {4, 2, 5}, {5, 1, 6}, {6, 3, 7},
                                                            {7, 5, 7}, {8, 7, 8}})},
        {"long edge left", {{5, 1}, {8, 5}, {0, 9}}, Rows({{2, 5, 5}, {3, 4, 6}, {4, 4, 7}, {5, 3, 7}, {6, 2, 5},
                                                           {7, 2, 3}, {8, 1, 1}})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CoverageOf(c.points), c.expected) << c.name;
}

// Two triangles sharing a diagonal fill the square, each pixel once.
TEST(ScanTriangle, SharedEdgeIsDrawnOnce)
{
    RasterCanvas canvas(0x888, 16, 16);
    canvas.Fill(kBlack);
    Draw(canvas, {{0, 0}, {10, 0}, {0, 10}}, kHalfWhite, {0, 0, 16, 16});
    EXPECT_EQ(Covered(canvas, kBlack).size(), 55u);
    Draw(canvas, {{10, 0}, {10, 10}, {0, 10}}, kHalfWhite, {0, 0, 16, 16});
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(canvas.At(x, y), x < 10 && y < 10 ? kOnce : kBlack) << x << "," << y;
}

// The tests of single coverage above rely on a pixel drawn twice looking
// different from one drawn once.
TEST(ScanTriangle, OverlapIsDrawnTwice)
{
    RasterCanvas canvas(0x888, 16, 16);
    canvas.Fill(kBlack);
    Draw(canvas, {{0, 0}, {10, 0}, {0, 10}, {10, 10}}, kHalfWhite, {0, 0, 16, 16});
    Draw(canvas, {{0, 0}, {10, 0}, {0, 10}, {10, 10}}, kHalfWhite, {0, 0, 16, 16});
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(canvas.At(x, y), x < 10 && y < 10 ? kTwice : kBlack) << x << "," << y;
}

TEST(ScanTriangle, QuadStripCoversItsPixelsOnce)
{
    RasterCanvas canvas(0x888, 24, 24);
    canvas.Fill(kBlack);
    Draw(canvas, {{7.5f, 18.5f}, {11.5f, 18.5f}, {7.5f, 20.5f}, {11.5f, 20.5f}}, kHalfWhite, {0, 0, 24, 24});
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            const bool inside = x >= 8 && x <= 11 && (y == 19 || y == 20);
            EXPECT_EQ(canvas.At(x, y), inside ? kOnce : kBlack) << x << "," << y;
        }
}

TEST(ScanTriangle, ClipLastColumnAndRowStayUnwritten)
{
    RasterCanvas canvas(0x888, 16, 16);
    canvas.Fill(kBlack);
    const RasterCanvas before = canvas;
    Draw(canvas, {{-5, -5}, {40, -5}, {-5, 40}}, kOpaqueWhite, {0, 0, 10, 10});
    EXPECT_FALSE(canvas.ChangedOutside(before, {0, 0, 9, 9}));
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(canvas.At(x, y), kOpaqueWhite) << x << "," << y;
}

// A pitch that is not a whole number of pixels is cut down to one.
TEST(ScanTriangle, RowStepIgnoresPitchRemainder)
{
    struct Case {
        int32_t format;
        int pixelSize;
        int extra;
    };
    const Case cases[] = {{0x8888, 4, 3}, {0x888, 4, 2}, {0x565, 2, 1}, {0x555, 2, 1}};
    constexpr int kWidth = 8;
    for (const Case& c : cases) {
        const int rowBytes = kWidth * c.pixelSize;
        std::vector<uint8_t> bytes(static_cast<size_t>(rowBytes * 6), 0);
        const std::vector<TriVertex> square = {{-1, -1, 0, 0, kOpaqueWhite}, {20, -1, 0, 0, kOpaqueWhite},
                                               {-1, 20, 0, 0, kOpaqueWhite}, {20, 20, 0, 0, kOpaqueWhite}};
        const Rect clip{0, 0, kWidth, 3};
        RasterizePolygon(square.data(), 4, nullptr, &Color::White, &clip, bytes.data(), rowBytes + c.extra, c.format,
                         false, true);
        // Rows 0 and 1 (row 2 is the clip's last) fill the first 2 * rowBytes
        // bytes but the clip's last column.
        for (int i = 0; i < rowBytes * 6; ++i) {
            const bool written = i < 2 * rowBytes && (i % rowBytes) < rowBytes - c.pixelSize;
            EXPECT_EQ(bytes[i] != 0, written) << std::hex << c.format << std::dec << " byte " << i;
        }
    }
}

// The lower edge runs 294.67 pixels across 0.0086 rows, beyond what a 16.16
// slope can hold. Through the slope, row 29 would start 254 pixels before
// the row; worked out from the edge's end points it holds what the triangle
// covers there. The rows above use slopes that fit and stay as the set-up
// arithmetic gives them, which the model follows.
TEST(ScanTriangle, EdgeTooFlatForASlope)
{
    const std::vector<std::pair<float, float>> points = {
        {65.23274230957031f, 19.582260131835938f},
        {309.54791259765625f, 29.000045776367188f},
        {14.876495361328125f, 28.991424560546875f}};
    const Rect clip{0, 0, 320, 40};
    RasterCanvas canvas(0x888, 320, 40);
    canvas.Fill(kBlack);
    const RasterCanvas before = canvas;
    Draw(canvas, points, kOpaqueWhite, clip);
    EXPECT_FALSE(canvas.ChangedOutside(before, clip));

    Pixels row29;
    for (const auto& [x, y] : Covered(canvas, kBlack))
        if (y == 29)
            row29.insert({x, y});
    EXPECT_EQ(row29, (Pixels{{308, 29}, {309, 29}}));

    RasterCanvas model = before;
    RasterVertex v[3];
    for (int i = 0; i < 3; ++i)
        v[i] = {static_cast<int32_t>(points[i].first * 65536), static_cast<int32_t>(points[i].second * 65536),
                255 << 16, 255 << 16, 255 << 16, 255 << 16, 0, 0};
    Testing::ReferenceTriangle(v, model.Bytes(), model.Pitch(), 0x888, Testing::FeaturesOfIndex(36), {}, clip);
    EXPECT_TRUE(canvas == model);
    // Rows 20 and 28 span 62.997..76.07 and 20.18..283.60.
    const std::pair<int, int> drawn[] = {{63, 20}, {76, 20}, {21, 28}, {283, 28}};
    const std::pair<int, int> undrawn[] = {{62, 20}, {77, 20}, {20, 28}, {284, 28}};
    for (const auto& [x, y] : drawn)
        EXPECT_EQ(canvas.At(x, y), kOpaqueWhite) << x << "," << y;
    for (const auto& [x, y] : undrawn)
        EXPECT_EQ(canvas.At(x, y), kBlack) << x << "," << y;
}

} // namespace
