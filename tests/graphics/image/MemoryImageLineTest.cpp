// DrawLine and DrawLineAA of memory images: the walks, the plots, the
// straight-line shortcut and the guards at the edges of the picture.
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/image/MemoryImage.h"
#include "graphics/image/SoftwareDrawTest.h"
#include "graphics/types/Color.h"

namespace {

using Tandry::Color;
using TandryTest::Argb;
using Points = std::set<std::pair<int, int>>;

class MemoryImageLineTest : public TandryTest::SoftwareDrawTest {
protected:
    // The pixels a line changed on a transparent black picture.
    Points Plotted(double x1, double y1, double x2, double y2, int mode, bool aa = false)
    {
        auto image = Filled(16, 16, 0);
        if (aa)
            image->DrawLineAA(x1, y1, x2, y2, Color::White, mode);
        else
            image->DrawLine(x1, y1, x2, y2, Color::White, mode);
        Points out;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                if (At(*image, x, y) != 0)
                    out.insert({x, y});
            }
        }
        return out;
    }
};

Points Row(int y, int x0, int x1)
{
    Points out;
    for (int x = x0; x <= x1; ++x)
        out.insert({x, y});
    return out;
}

TEST_F(MemoryImageLineTest, WalksStopAtTheBoxOfTheEndPoints)
{
    EXPECT_EQ(Plotted(0.0, 0.0, 10.0, 0.5, 0), Row(0, 0, 10));
    // The step to row 1 at x 10 would leave the box (maxY = 0.9): the line stops.
    EXPECT_EQ(Plotted(0.0, 0.0, 10.0, 0.9, 0), Row(0, 0, 9));
    EXPECT_EQ(Plotted(10.0, 0.9, 0.0, 0.0, 0), Row(0, 0, 9));
}

TEST_F(MemoryImageLineTest, TheNormalWalkStartsWithTheSubPixelPosition)
{
    EXPECT_EQ(Plotted(0.0, 0.9, 6.0, 2.9, 0), (Points{{0, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 2}, {5, 2}, {6, 2}}));
    EXPECT_EQ(Plotted(0.0, 0.9, 6.0, 2.9, 1), (Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}, {6, 2}}));
}

TEST_F(MemoryImageLineTest, EqualDeltasWalkYMajor)
{
    const Points diagonal{{0, 0}, {1, 1}, {2, 2}, {3, 3}};
    EXPECT_EQ(Plotted(0, 0, 3, 3, 0), diagonal);
    EXPECT_EQ(Plotted(3, 3, 0, 0, 0), diagonal);
    EXPECT_EQ(Plotted(3, 0, 0, 3, 0), (Points{{3, 0}, {2, 1}, {1, 2}, {0, 3}}));
}

struct PlotCase {
    Color color;
    int mode;
    uint32_t before;
    uint32_t after;
};

TEST_F(MemoryImageLineTest, DiagonalPlots)
{
    const PlotCase cases[] = {
        {Color(255, 255, 255), 0, Argb(1, 2, 3, 0), Argb(254, 254, 254, 255)},
        {Color(255, 0, 0, 128), 0, Argb(0, 0, 255, 255), Argb(127, 0, 127, 255)},
        {Color(0, 255, 0, 128), 1, Argb(200, 200, 200, 77), Argb(200, 255, 200, 255)},
        {Color(0, 255, 0, 128), 2, Argb(200, 200, 200, 77), Argb(200, 200, 200, 77)},
        // Alpha 0 keeps the colour but makes the pixel opaque.
        {Color(90, 90, 90, 0), 0, Argb(10, 20, 30, 40), Argb(10, 20, 30, 255)},
        // Clamped: (300, -5, 128, 300) is opaque (255, 0, 128).
        {Color(300, -5, 128, 300), 0, Argb(1, 2, 3, 4), Argb(254, 0, 127, 255)},
        {Color(300, -5, 600, 300), 1, Argb(100, 100, 100, 9), Argb(255, 100, 255, 255)},
    };
    for (const PlotCase& c : cases) {
        auto image = Filled(4, 4, c.before);
        image->DrawLine(0.0, 0.0, 3.0, 3.0, c.color, c.mode);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(At(*image, i, i), c.after) << "mode " << c.mode << " pixel " << i;
        EXPECT_EQ(At(*image, 1, 0), c.before);
    }
}

TEST_F(MemoryImageLineTest, StraightLinesAreFilledNormallyInEveryMode)
{
    for (int mode : {0, 1, 2}) {
        for (bool aa : {false, true}) {
            auto image = Filled(8, 8, Argb(0, 0, 255, 255));
            if (aa)
                image->DrawLineAA(5.7, 2.0, 1.2, 2.0, Color(255, 0, 0, 128), mode);
            else
                image->DrawLine(5.7, 2.0, 1.2, 2.0, Color(255, 0, 0, 128), mode);
            for (int x = 0; x < 8; ++x) {
                const bool on = x >= 1 && x <= 5;
                EXPECT_EQ(At(*image, x, 2), on ? Argb(127, 0, 127, 255) : Argb(0, 0, 255, 255)) << mode << aa << x;
            }
            image->DrawLine(3.0, 6.5, 3.0, 4.2, Color(255, 255, 255), mode);
            EXPECT_EQ(At(*image, 3, 3), Argb(0, 0, 255, 255));
            for (int y = 4; y <= 6; ++y)
                EXPECT_EQ(At(*image, 3, y), 0xFFFFFFFFu);
        }
    }
}

TEST_F(MemoryImageLineTest, AntiAliasedCoverageOfEachStep)
{
    auto image = Filled(8, 6, Argb(0, 0, 0, 255));
    image->DrawLineAA(1.0, 1.0, 5.0, 3.0, Color::White, 0);
    // Coverages 255, 127, 128, 255, 0, 127, 128, 127.
    const std::vector<std::pair<std::pair<int, int>, uint32_t>> expected = {
        {{1, 1}, 254}, {{2, 1}, 126}, {{2, 2}, 127}, {{3, 2}, 254},
        {{4, 2}, 126}, {{4, 3}, 127}, {{5, 3}, 126},
    };
    Points touched;
    for (const auto& [at, v] : expected) {
        EXPECT_EQ(At(*image, at.first, at.second), Argb(v, v, v, 255)) << at.first << "," << at.second;
        touched.insert(at);
    }
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (!touched.count({x, y})) {
                EXPECT_EQ(At(*image, x, y), Argb(0, 0, 0, 255)) << x << "," << y;
            }
        }
    }
}

TEST_F(MemoryImageLineTest, AntiAliasedFirstPixelTakesTheSubPixelError)
{
    auto image = Filled(12, 6, Argb(0, 0, 0, 255));
    image->DrawLineAA(0.5, 0.5, 10.5, 3.5, Color::White, 0);
    // e = 0.25 * 65536: coverage 255 - 64 = 191, blended at a = 191.
    EXPECT_EQ(At(*image, 0, 0), Argb(190, 190, 190, 255));
}

TEST_F(MemoryImageLineTest, AntiAliasedNegativeSlopeStepsDownOnce)
{
    // y from 3.9 to 3.1 in one row: e falls below zero at the first step, which
    // the unsigned test takes as a step; the walk continues on row 4, while the
    // end point is plotted on its own row.
    auto image = Filled(10, 8, 0);
    image->DrawLineAA(1.0, 3.9, 6.0, 3.1, Color::White, 0);
    EXPECT_NE(At(*image, 1, 3), 0u);
    for (int x = 2; x <= 5; ++x) {
        EXPECT_NE(At(*image, x, 4), 0u) << x;
        EXPECT_EQ(At(*image, x, 3), 0u) << x;
    }
    EXPECT_NE(At(*image, 6, 3), 0u);

    // The y-major twin moves one column to the right.
    auto tall = Filled(8, 10, 0);
    tall->DrawLineAA(3.9, 1.0, 3.1, 6.0, Color::White, 0);
    EXPECT_NE(At(*tall, 3, 1), 0u);
    for (int y = 2; y <= 5; ++y)
        EXPECT_NE(At(*tall, 4, y), 0u) << y;
}

TEST_F(MemoryImageLineTest, AntiAliasedLinesOnlyInModeZero)
{
    for (int mode : {1, 2}) {
        auto image = Filled(6, 6, Argb(5, 5, 5, 5));
        image->DrawLineAA(0.5, 0.5, 4.5, 3.5, Color::White, mode);
        EXPECT_EQ(Pixels(*image), std::vector<uint32_t>(36, Argb(5, 5, 5, 5)));
    }
}

// Lines at the edges of the picture: nothing may be written outside it (the
// sanitiser build catches any write past the array) and nothing wraps onto
// another row.
TEST_F(MemoryImageLineTest, AntiAliasedLinesAtTheEdgesStayInside)
{
    struct EdgeLine {
        double x1, y1, x2, y2;
    };
    const EdgeLine lines[] = {
        {0.9, 0.0, 0.1, 7.9},  // column 0 with x decreasing: partners left of the row
        {0.5, 0.2, 0.2, 7.9},
        {0.0, 7.9, 7.9, 7.1},  // the last row with y decreasing: steps below the picture
        {7.9, 0.0, 7.1, 7.9},  // the last column with x decreasing
        {7.1, 0.0, 7.9, 7.9},  // the last column with x increasing
        {3.2, 3.3, 3.7, 3.9},  // inside one pixel
        {7.95, 7.1, 7.05, 7.9},
    };
    for (const EdgeLine& l : lines) {
        auto image = Filled(8, 8, Argb(0, 0, 0, 255));
        image->DrawLineAA(l.x1, l.y1, l.x2, l.y2, Color::White, 0);
        PixelReference::Picture expected{8, 8, std::vector<uint32_t>(64, Argb(0, 0, 0, 255))};
        PixelReference::DrawLineAA(expected, l.x1, l.y1, l.x2, l.y2, Color::White, 0);
        EXPECT_EQ(Pixels(*image), expected.px) << l.x1 << "," << l.y1 << " " << l.x2 << "," << l.y2;
    }
}

TEST_F(MemoryImageLineTest, LineInsideOnePixelPlotsItTwice)
{
    auto image = Filled(4, 4, Argb(0, 0, 0, 255));
    image->DrawLineAA(1.0, 1.0, 1.5, 1.9, Color(255, 255, 255, 128), 0);
    // Coverage 255 at alpha 128 twice: 127, then (127 * 128 + 255 * 128) >> 8.
    EXPECT_EQ(At(*image, 1, 1), Argb(191, 191, 191, 255));
    EXPECT_EQ(Pixels(*image)[0], Argb(0, 0, 0, 255));
}

TEST_F(MemoryImageLineTest, RandomLinesAgreeWithTheReference)
{
    for (int round = 0; round < 1500; ++round) {
        const int w = Uniform(1, 14), h = Uniform(1, 14);
        auto image = Image(w, h, RandomPixels(static_cast<size_t>(w) * h));
        PixelReference::Picture expected = Picture(*image);
        // End points inside the picture, sometimes on whole or equal coordinates.
        const auto coord = [&](int size) {
            const double v = Uniform(0, size * 16 - 1) / 16.0;
            return Uniform(0, 3) == 0 ? static_cast<double>(static_cast<int>(v)) : v;
        };
        const double x1 = coord(w), y1 = coord(h);
        const double x2 = Uniform(0, 5) == 0 ? x1 : coord(w);
        const double y2 = Uniform(0, 5) == 0 ? y1 : coord(h);
        const Color color = RandomColor();
        const int mode = Uniform(0, 2);
        const bool aa = Uniform(0, 1) == 1;
        if (aa) {
            image->DrawLineAA(x1, y1, x2, y2, color, mode);
            PixelReference::DrawLineAA(expected, x1, y1, x2, y2, color, mode);
        } else {
            image->DrawLine(x1, y1, x2, y2, color, mode);
            PixelReference::DrawLine(expected, x1, y1, x2, y2, color, mode);
        }
        ASSERT_EQ(Pixels(*image), expected.px)
            << "round " << round << (aa ? " aa " : " ") << x1 << "," << y1 << " " << x2 << "," << y2 << " mode "
            << mode;
    }
}

} // namespace
