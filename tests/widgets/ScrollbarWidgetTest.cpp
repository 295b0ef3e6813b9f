// The scroll bar's clamping and reports, its enabling, thumb geometry, the
// track and arrow repeats as tables over updates, the thumb drag, the button
// layout and its drawing.
#include "widgets/ScrollbarWidget.h"

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "widgets/ControlTestSupport.h"
#include "widgets/FakeWidgetHost.h"
#include "widgets/RecordingWidget.h"
#include "widgets/ScrollbuttonWidget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using Tandry::Color;
using Tandry::Graphics;
using Tandry::MemoryImage;
using Tandry::Rect;
using Tandry::ScrollbarWidget;
using WidgetTest::FillImage;
using WidgetTest::FirstDifference;
using Log = std::vector<std::string>;

// A vertical bar of 10 x 120 at (0, 0) in a manager: arrows of 10 x 10 at
// both ends, so the track is 100 pixels from y = 10.
struct BarScene {
    explicit BarScene(double maxValue = 100, double pageSize = 10)
    {
        bar.ResizeScrollbar(0, 0, 10, 120);
        bar.SetMaxValue(maxValue);
        bar.SetPageSize(pageSize);
        tree.manager.AddWidget(&bar);
        listener.Take();
    }
    // Out of the tree without the fixture's recursive teardown, which would
    // strip the bar of the buttons it deletes.
    ~BarScene() { tree.manager.RemoveWidget(&bar); }
    BarScene(const BarScene&) = delete;
    BarScene& operator=(const BarScene&) = delete;
    // The updates (1-based) after which the listener heard a position.
    std::vector<int> ReportsOver(int updates)
    {
        std::vector<int> at;
        for (int update = 1; update <= updates; ++update) {
            tree.manager.UpdateFrame();
            if (!listener.Take().empty())
                at.push_back(update);
        }
        return at;
    }

    Tandry::FakeWidgetHost host;
    WidgetTest::RecordingListener listener;
    ScrollbarWidget bar{&listener};
    WidgetTest::Tree tree{&host};
};

TEST(ScrollbarWidget, DefaultsAndColours)
{
    WidgetTest::RecordingListener listener;
    ScrollbarWidget bar(&listener);
    EXPECT_EQ(bar.upButton->id, 0);
    EXPECT_EQ(bar.downButton->id, 1);
    EXPECT_EQ(bar.upButton->parent, &bar);
    EXPECT_EQ(bar.downButton->listener, &bar);
    EXPECT_TRUE(bar.disabled);
    EXPECT_TRUE(bar.upButton->disabled);
    EXPECT_TRUE(bar.downButton->disabled);
    EXPECT_EQ(bar.GetColor(0), Color(232, 232, 232));
    EXPECT_EQ(bar.GetColor(1), Color(48, 48, 48));
    EXPECT_FALSE(bar.horizontal);
    bar.SetHorizontal(true);
    EXPECT_TRUE(bar.upButton->horizontal);
    EXPECT_TRUE(bar.downButton->horizontal);
    // Any other child goes with the bar too (the leak check sees it).
    bar.AddWidget(new Tandry::Widget());
}

TEST(ScrollbarWidget, ValueStaysInRangeAndAClampedSetReportsTwice)
{
    BarScene s(100, 20);
    const struct {
        double set;
        Log heard;
        double value;
    } steps[] = {
        {95, {"scroll 0 80", "scroll 0 80"}, 80},
        {30, {"scroll 0 30"}, 30},
        {-5, {"scroll 0 0", "scroll 0 0"}, 0},
        {std::numeric_limits<double>::infinity(), {"scroll 0 80", "scroll 0 80"}, 80},
        {std::numeric_limits<double>::quiet_NaN(), {"scroll 0 0", "scroll 0 0"}, 0},
    };
    for (const auto& step : steps) {
        s.bar.SetValue(step.set);
        EXPECT_EQ(s.listener.Take(), step.heard) << step.set;
        EXPECT_EQ(s.bar.value, step.value);
    }
    // A smaller maximum pulls the value back and says so once.
    s.bar.SetValue(80);
    s.listener.Take();
    s.bar.SetMaxValue(50);
    EXPECT_EQ(s.listener.Take(), (Log{"scroll 0 30"}));
    EXPECT_TRUE(s.bar.AtBottom());
    s.bar.SetValue(10);
    EXPECT_FALSE(s.bar.AtBottom());
    s.listener.Take();
    s.bar.GoToBottom();
    EXPECT_EQ(s.bar.value, 30);
    EXPECT_EQ(s.listener.Take(), (Log{"scroll 0 30"}));
}

TEST(ScrollbarWidget, NothingToScrollDisablesAndMayHideTheBarAndItsButtons)
{
    WidgetTest::RecordingListener listener;
    ScrollbarWidget bar(&listener);
    bar.ResizeScrollbar(0, 0, 10, 120);
    bar.SetInvisIfNoScroll(true);
    auto state = [&] {
        return std::to_string(bar.disabled) + std::to_string(bar.upButton->disabled) +
               std::to_string(bar.downButton->disabled) + " " + std::to_string(bar.visible) +
               std::to_string(bar.upButton->visible) + std::to_string(bar.downButton->visible);
    };
    EXPECT_EQ(state(), "111 000");
    bar.SetPageSize(20);
    bar.SetMaxValue(10);
    EXPECT_EQ(state(), "111 000");
    EXPECT_EQ(bar.GetThumbSize(), 0);
    EXPECT_EQ(bar.GetThumbPosition(), 10);
    bar.SetMaxValue(21);
    EXPECT_EQ(state(), "000 111");
    bar.SetPageSize(21);
    EXPECT_EQ(state(), "111 000");
    // Once the option is off, clamping leaves the visibility to the game.
    bar.SetInvisIfNoScroll(false);
    bar.SetPageSize(5);
    EXPECT_EQ(state(), "000 000");
    bar.SetVisible(true);
    bar.SetPageSize(30);
    EXPECT_EQ(state(), "111 100");
}

TEST(ScrollbarWidget, ThumbSizeAndPosition)
{
    WidgetTest::RecordingListener listener;
    ScrollbarWidget bar(&listener);
    bar.ResizeScrollbar(0, 0, 10, 120);
    EXPECT_EQ(bar.GetTrackSize(), 100);
    const struct {
        double maxValue;
        double pageSize;
        double value;
        bool fixed;
        int size;
        int position;
    } cases[] = {
        // 100 x 10 / 1000 + 0.5 = 1.5: the 8-pixel minimum.
        {1000, 10, 0, false, 8, 10},
        {1000, 10, 990, false, 8, 102},
        {100, 25, 0, false, 25, 10},
        // (100 - 25) x 25 / 75 + 0.5 = 25.5.
        {100, 25, 25, false, 25, 35},
        {100, 25, 75, false, 25, 85},
        // The square thumb of a 10-wide bar.
        {100, 25, 75, true, 10, 100},
        {10, 20, 0, false, 0, 10},
    };
    for (const auto& c : cases) {
        bar.fixedThumbSize = c.fixed;
        bar.SetMaxValue(c.maxValue);
        bar.SetPageSize(c.pageSize);
        bar.SetValue(c.value);
        EXPECT_EQ(bar.GetThumbSize(), c.size) << c.maxValue << " " << c.value;
        EXPECT_EQ(bar.GetThumbPosition(), c.position) << c.maxValue << " " << c.value;
    }
}

TEST(ScrollbarWidget, HoldingTheTrackPagesAtOnceThenAfter25ThenEvery5UntilTheThumbArrives)
{
    const struct {
        const char* name;
        double start;
        int pressY;
        int mode;
        std::vector<int> pages;
        double end;
    } cases[] = {
        // Thumb of 10 at y = 10 + value; the mouse at 100 is reached when the thumb covers it.
        {"below", 0, 100, 2, {25, 30, 35, 40, 45, 50, 55, 60}, 90},
        {"above", 90, 15, 1, {25, 30, 35, 40, 45, 50, 55, 60}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BarScene s;
        s.bar.SetValue(c.start);
        s.listener.Take();
        s.tree.manager.MouseDown(5, c.pressY, 1);
        EXPECT_EQ(s.listener.Take().size(), 1u);
        EXPECT_EQ(s.bar.updateMode, c.mode);
        EXPECT_EQ(s.ReportsOver(100), c.pages);
        EXPECT_EQ(s.bar.value, c.end);
        EXPECT_EQ(s.bar.updateMode, 0);
        s.tree.manager.MouseUp(5, c.pressY, 1);
    }
}

TEST(ScrollbarWidget, ReleasingStopsTheTrackRepeat)
{
    BarScene s;
    s.tree.manager.MouseDown(5, 100, 1);
    s.listener.Take();
    EXPECT_EQ(s.ReportsOver(26), (std::vector<int>{25}));
    s.tree.manager.MouseUp(5, 100, 1);
    EXPECT_EQ(s.bar.updateMode, 0);
    EXPECT_EQ(s.ReportsOver(40), std::vector<int>{});
}

TEST(ScrollbarWidget, HoldingAnArrowStepsAtOnceThenOnEveryUpdateFromThe25th)
{
    for (const int arrowY : {115, 5}) {
        SCOPED_TRACE(arrowY);
        BarScene s;
        const double start = arrowY == 5 ? 50 : 0;
        s.bar.SetValue(start);
        s.listener.Take();
        s.tree.manager.MouseMove(5, arrowY);
        s.tree.manager.MouseDown(5, arrowY, 1);
        const double step = arrowY == 5 ? -1 : 1;
        EXPECT_EQ(s.bar.value, start + step);
        s.listener.Take();
        std::vector<int> expected;
        for (int update = 25; update <= 30; ++update)
            expected.push_back(update);
        EXPECT_EQ(s.ReportsOver(30), expected);
        EXPECT_EQ(s.bar.value, start + 7 * step);
        // Off the arrow the holding stops.
        s.tree.manager.MouseMove(5, 60);
        EXPECT_EQ(s.ReportsOver(5), std::vector<int>{});
        s.tree.manager.MouseUp(5, 60, 1);
    }
}

TEST(ScrollbarWidget, DraggingTheThumbMovesTheValueInProportion)
{
    // Track 100, thumb 100 x 10 / 200 + 0.5 = 5: the minimum 8.
    BarScene s(200, 10);
    s.tree.manager.MouseDown(5, 12, 1);
    EXPECT_TRUE(s.bar.pressedOnThumb);
    EXPECT_EQ(s.bar.mouseDownThumbPos, 10);
    s.tree.manager.MouseMove(5, 22);
    EXPECT_DOUBLE_EQ(s.bar.value, 10.0 * (200 - 10) / (100 - 8));
    EXPECT_EQ(s.listener.Take().size(), 1u);
    // Far past the end and back before the start: clamped, reported.
    s.tree.manager.MouseMove(5, 5000);
    EXPECT_EQ(s.bar.value, 190);
    s.tree.manager.MouseMove(5, -5000);
    EXPECT_EQ(s.bar.value, 0);
    s.tree.manager.MouseUp(5, -5000, 1);
    EXPECT_FALSE(s.bar.pressedOnThumb);
    s.listener.Take();

    s.bar.SetHorizontal(true);
    s.tree.manager.RemoveWidget(&s.bar);
    s.bar.ResizeScrollbar(0, 0, 120, 10);
    s.tree.manager.AddWidget(&s.bar);
    s.tree.manager.MouseDown(12, 5, 1);
    s.tree.manager.MouseMove(22, 5);
    EXPECT_DOUBLE_EQ(s.bar.value, 10.0 * (200 - 10) / (100 - 8));
    s.tree.manager.MouseUp(22, 5, 1);
}

TEST(ScrollbarWidget, ThumbFillingTheTrackCannotBeDragged)
{
    const struct {
        const char* name;
        int length;
        bool fixed;
    } cases[] = {
        {"square thumb as long as the track", 30, true},
        {"minimum thumb longer than the track", 26, false},
        {"no track at all", 20, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BarScene s(100, 10);
        s.tree.manager.RemoveWidget(&s.bar);
        s.bar.fixedThumbSize = c.fixed;
        s.bar.ResizeScrollbar(0, 0, 10, c.length);
        s.tree.manager.AddWidget(&s.bar);
        s.listener.Take();
        s.bar.MouseDown(5, 10, 0, 1);
        s.bar.pressedOnThumb = true;
        s.bar.MouseDrag(5, 15);
        s.bar.MouseDrag(5, -3000);
        s.bar.SetThumbPosition(40);
        EXPECT_EQ(s.bar.value, 0.0);
        EXPECT_TRUE(std::isfinite(s.bar.value));
        EXPECT_EQ(s.listener.Take(), Log{});
        s.bar.MouseUp(5, 15, 0, 1);
    }
}

TEST(ScrollbarWidget, ResizeLaysOutTheArrowsAtBothEnds)
{
    WidgetTest::RecordingListener listener;
    ScrollbarWidget bar(&listener);
    bar.ResizeScrollbar(3, 4, 12, 90);
    EXPECT_EQ(bar.GetRect(), Rect(3, 4, 12, 90));
    EXPECT_EQ(bar.upButton->GetRect(), Rect(0, 0, 12, 12));
    EXPECT_EQ(bar.downButton->GetRect(), Rect(0, 78, 12, 12));
    bar.SetHorizontal(true);
    bar.ResizeScrollbar(3, 4, 90, 12);
    EXPECT_EQ(bar.upButton->GetRect(), Rect(0, 0, 12, 12));
    EXPECT_EQ(bar.downButton->GetRect(), Rect(78, 0, 12, 12));
    // The plain resize leaves the buttons alone.
    bar.Resize(0, 0, 200, 12);
    EXPECT_EQ(bar.downButton->GetRect(), Rect(78, 0, 12, 12));
}

// The thumb's bevel written pixel by pixel: face, light inner top and left,
// dark outer bottom and right, shade inside those; later strips on top.
uint32_t ThumbPixel(int x, int y, int w, int h)
{
    uint32_t pixel = 0xFFD4D4D4;
    if ((y == 1 && x >= 1 && x < w - 1) || (x == 1 && y >= 1 && y < h - 1))
        pixel = 0xFFFFFFFF;
    if (y == h - 1 || x == w - 1)
        pixel = 0xFF000000;
    if ((y == h - 2 && x >= 1 && x < w - 1) || (x == w - 2 && y >= 1 && y < h - 1))
        pixel = 0xFF848484;
    return pixel;
}

TEST(ScrollbarWidget, DrawsTrackThumbAndThePagedPartInColourOne)
{
    const uint32_t track = 0xFFE8E8E8;
    const uint32_t paging = 0xFF303030;
    for (const bool horizontal : {false, true}) {
        for (const int mode : {0, 1, 2}) {
            SCOPED_TRACE(std::string(horizontal ? "horizontal " : "vertical ") + std::to_string(mode));
            WidgetTest::RecordingListener listener;
            ScrollbarWidget bar(&listener);
            bar.SetHorizontal(horizontal);
            bar.ResizeScrollbar(0, 0, horizontal ? 120 : 10, horizontal ? 10 : 120);
            bar.SetMaxValue(100);
            bar.SetPageSize(25);
            bar.SetValue(25);
            bar.updateMode = mode;
            const int w = bar.width;
            const int h = bar.height;
            MemoryImage got;
            FillImage(got, w, h, 0);
            Graphics g(&got);
            bar.Draw(&g);

            // Thumb of 25 at 35 along the axis.
            MemoryImage want;
            FillImage(want, w, h, 0);
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const int along = horizontal ? x : y;
                    uint32_t pixel;
                    if (along < 35)
                        pixel = mode == 1 ? paging : track;
                    else if (along >= 60)
                        pixel = mode == 2 ? paging : track;
                    else
                        pixel = horizontal ? ThumbPixel(x - 35, y, 25, h) : ThumbPixel(x, y - 35, w, 25);
                    want.GetBits()[y * w + x] = pixel;
                }
            }
            EXPECT_EQ(FirstDifference(got, want), "");
        }
    }
}

TEST(ScrollbarWidget, HostileValuesAndSizesStayFinite)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double values[] = {0, -1, 1e300, -1e300, inf, -inf, nan};
    const Rect sizes[] = {Rect(0, 0, 0, 0), Rect(0, 0, 1, 1), Rect(0, 0, 10, 120), Rect(0, 0, -20, -30),
                          Rect(0, 0, 1 << 30, 1 << 30)};
    WidgetTest::RecordingListener listener;
    MemoryImage image;
    FillImage(image, 16, 16, 0);
    for (const Rect& size : sizes) {
        for (const double maxValue : values) {
            for (const double pageSize : values) {
                for (const bool fixed : {false, true}) {
                    ScrollbarWidget bar(&listener);
                    bar.fixedThumbSize = fixed;
                    bar.ResizeScrollbar(size.x, size.y, size.width, size.height);
                    bar.SetMaxValue(maxValue);
                    bar.SetPageSize(pageSize);
                    bar.SetValue(maxValue);
                    ASSERT_FALSE(std::isnan(bar.value));
                    bar.MouseDown(5, 5, 0, 1);
                    bar.pressedOnThumb = true;
                    bar.MouseDrag(INT32_MIN, INT32_MAX);
                    bar.Update();
                    ASSERT_FALSE(std::isnan(bar.value));
                    Graphics g(&image);
                    bar.Draw(&g);
                }
            }
        }
    }
    listener.Take();
}

TEST(ScrollbarWidget, ListenerMayTakeTheBarOutWhileItPages)
{
    BarScene s;
    s.listener.on["scroll"] = [&] { s.tree.manager.RemoveWidget(&s.bar); };
    s.tree.manager.MouseDown(5, 100, 1);
    EXPECT_EQ(s.bar.manager, nullptr);
    EXPECT_EQ(s.tree.manager.lastDownWidget, nullptr);
    s.ReportsOver(40);
    s.tree.manager.MouseUp(5, 100, 1);
}

} // namespace
