// The scroll arrow's look: which pixels of the inside are arrow, worked out
// by hand for an 11 x 11 button, and the bevel around them.
#include "widgets/ScrollbuttonWidget.h"

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "widgets/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <set>
#include <utility>

namespace {

using Tandry::Graphics;
using Tandry::MemoryImage;
using Tandry::ScrollbuttonWidget;
using Pixels = std::set<std::pair<int, int>>;

constexpr uint32_t kFace = 0xFFD4D4D4;
constexpr uint32_t kShade = 0xFF848484;
constexpr uint32_t kBlack = 0xFF000000;

// Strips of an arrow: (first x, last x, y) rows or (x, first y, last y) columns.
Pixels Rows(std::initializer_list<std::array<int, 3>> rows)
{
    Pixels pixels;
    for (const auto& [from, to, y] : rows)
        for (int x = from; x <= to; ++x)
            pixels.insert({x, y});
    return pixels;
}

Pixels Columns(std::initializer_list<std::array<int, 3>> columns)
{
    Pixels pixels;
    for (const auto& [x, from, to] : columns)
        for (int y = from; y <= to; ++y)
            pixels.insert({x, y});
    return pixels;
}

// The pixels of the colour inside the bevel (2..8 on both axes).
Pixels Inside(MemoryImage& image, uint32_t color)
{
    Pixels pixels;
    for (int y = 2; y <= 8; ++y)
        for (int x = 2; x <= 8; ++x)
            if (image.GetPixel(x, y) == color)
                pixels.insert({x, y});
    return pixels;
}

class ScrollbuttonTest : public ::testing::Test {
protected:
    void Draw(ScrollbuttonWidget& button)
    {
        button.Resize(0, 0, 11, 11);
        WidgetTest::FillImage(image, 11, 11, 0);
        Graphics g(&image);
        button.Draw(&g);
    }

    WidgetTest::RecordingListener listener;
    MemoryImage image;
};

TEST_F(ScrollbuttonTest, ArrowsPointAwayFromTheirWidestStrip)
{
    // Width 11: strip k spans width / 2 - k - 1 .. width / 2 + k - 1.
    const Pixels down = Rows({{1, 7, 3}, {2, 6, 4}, {3, 5, 5}, {4, 4, 6}});
    const Pixels up = Rows({{4, 4, 3}, {3, 5, 4}, {2, 6, 5}, {1, 7, 6}});
    const Pixels right = Columns({{3, 1, 7}, {4, 2, 6}, {5, 3, 5}, {6, 4, 4}});
    const Pixels left = Columns({{3, 4, 4}, {4, 3, 5}, {5, 2, 6}, {6, 1, 7}});
    struct Case {
        const char* name;
        int id;
        bool horizontal;
        int arrowType;
        const Pixels& arrow;
    };
    const Case cases[] = {
        {"vertical id 1", 1, false, 0, down},
        {"vertical id 0", 0, false, 0, up},
        {"horizontal id 1", 1, true, 0, right},
        {"horizontal id 0", 0, true, 0, left},
        {"type 1 on id 1", 1, false, 1, up},
        {"type 3 on a vertical bar", 1, false, 3, left},
        {"type 4 on a vertical bar", 1, false, 4, right},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScrollbuttonWidget button(c.id, &listener);
        button.horizontal = c.horizontal;
        button.arrowType = c.arrowType;
        Draw(button);
        // Clipped to the inside; the strips that reach row or column 1 are checked there.
        Pixels inside;
        for (const auto& p : c.arrow)
            if (p.first >= 2 && p.first <= 8 && p.second >= 2 && p.second <= 8)
                inside.insert(p);
        EXPECT_EQ(Inside(image, kBlack), inside);
        for (const auto& p : c.arrow)
            EXPECT_EQ(image.GetPixel(p.first, p.second), kBlack) << p.first << "," << p.second;
    }
}

TEST_F(ScrollbuttonTest, DisabledArrowIsGreyAndPressedMovesItByOne)
{
    ScrollbuttonWidget button(1, &listener);
    button.disabled = true;
    Draw(button);
    EXPECT_EQ(Inside(image, kBlack), Pixels{});
    EXPECT_EQ(Inside(image, kShade), Rows({{2, 6, 4}, {3, 5, 5}, {4, 4, 6}, {2, 7, 3}}));
    // The raised bevel: light top-left inside, dark outer bottom-right, shade inside that.
    EXPECT_EQ(image.GetPixel(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(image.GetPixel(10, 10), kBlack);
    EXPECT_EQ(image.GetPixel(9, 5), kShade);
    EXPECT_EQ(image.GetPixel(0, 0), kFace);

    button.disabled = false;
    button.isDown = true;
    button.isOver = true;
    Draw(button);
    EXPECT_EQ(Inside(image, kBlack), Rows({{2, 8, 4}, {3, 7, 5}, {4, 6, 6}, {5, 5, 7}}));
    // The pressed outline, one pixel round the edge.
    EXPECT_EQ(image.GetPixel(0, 0), kShade);
    EXPECT_EQ(image.GetPixel(10, 10), kShade);
    EXPECT_EQ(image.GetPixel(1, 1), kFace);
}

TEST_F(ScrollbuttonTest, DrawAsButtonTakesThePlainButtonLook)
{
    ScrollbuttonWidget button(1, &listener);
    button.drawAsButton = true;
    Draw(button);
    EXPECT_EQ(Inside(image, kBlack), Pixels{});
    EXPECT_EQ(image.GetPixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(image.GetPixel(5, 5), kFace);
}

TEST_F(ScrollbuttonTest, TinyAndEmptyButtonsDrawSafely)
{
    for (const int size : {0, 1, 2, 3}) {
        for (const bool horizontal : {false, true}) {
            ScrollbuttonWidget button(size % 2, &listener);
            button.horizontal = horizontal;
            button.Resize(0, 0, size, size);
            WidgetTest::FillImage(image, 4, 4, 0);
            Graphics g(&image);
            button.Draw(&g);
        }
    }
}

} // namespace
