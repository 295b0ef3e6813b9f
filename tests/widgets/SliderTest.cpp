// The slider's value, its drag through the manager with the cursor it asks
// for, and its track and thumb drawing, pixel by pixel.
#include "widgets/Slider.h"

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "widgets/ControlTestSupport.h"
#include "widgets/FakeWidgetHost.h"
#include "widgets/RecordingWidget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using Tandry::Graphics;
using Tandry::MemoryImage;
using Tandry::Rect;
using Tandry::Slider;
using WidgetTest::FillImage;
using WidgetTest::FirstDifference;
using Log = std::vector<std::string>;

// A slider of the given length along its axis and 20 across, at (0, 0) in a
// manager, with a thumb of thumbLength along the axis and 6 across.
struct SliderScene {
    SliderScene(bool isHorizontal, int length, int thumbLength)
    {
        FillImage(thumb, isHorizontal ? thumbLength : 6, isHorizontal ? 6 : thumbLength, 0xFF0000FF);
        slider.horizontal = isHorizontal;
        slider.Resize(0, 0, isHorizontal ? length : 20, isHorizontal ? 20 : length);
        tree.manager.AddWidget(&slider);
    }
    // The point at offset along the axis, 5 across.
    void Down(int along) { tree.manager.MouseDown(At(along, true), At(along, false), 1); }
    void Move(int along) { tree.manager.MouseMove(At(along, true), At(along, false)); }
    void Up(int along) { tree.manager.MouseUp(At(along, true), At(along, false), 1); }
    int At(int along, bool xAxis) const { return xAxis == slider.horizontal ? along : 5; }
    // The cursor kinds asked for since the last call.
    std::vector<std::string> Cursors()
    {
        std::vector<std::string> kinds;
        for (const std::string& call : host.cursorCalls)
            if (call != "apply")
                kinds.push_back(call);
        host.cursorCalls.clear();
        return kinds;
    }

    Tandry::FakeWidgetHost host;
    WidgetTest::RecordingListener listener;
    MemoryImage thumb;
    Slider slider{nullptr, &thumb, 1, &listener};
    WidgetTest::Tree tree{&host};
};

TEST(Slider, SetValueClampsWithoutTellingTheListener)
{
    SliderScene s(true, 100, 10);
    const double cases[][2] = {
        {1.5, 1.0},
        {-0.2, 0.0},
        {0.25, 0.25},
        {std::numeric_limits<double>::infinity(), 1.0},
        {std::numeric_limits<double>::quiet_NaN(), 0.0},
    };
    for (const auto& c : cases) {
        s.slider.SetValue(c[0]);
        EXPECT_EQ(s.slider.value, c[1]) << c[0];
    }
    EXPECT_EQ(s.listener.Take(), Log{});
    EXPECT_TRUE(s.slider.HasTransparentParts());
}

TEST(Slider, PressBesideTheThumbJumpsAndReportsOnRelease)
{
    for (const bool horizontal : {true, false}) {
        SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
        SliderScene s(horizontal, 100, 10);
        s.Down(30);
        EXPECT_EQ(s.slider.value, 0.3);
        EXPECT_FALSE(s.slider.dragging);
        EXPECT_EQ(s.listener.Take(), Log{});
        s.Up(30);
        EXPECT_EQ(s.listener.Take(), (Log{"slider 1 0.3"}));
    }
}

TEST(Slider, DraggingTheThumbReportsEachChangeOnceAndStopsAtTheEnds)
{
    for (const bool horizontal : {true, false}) {
        SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
        SliderScene s(horizontal, 100, 10);
        s.Move(5);
        s.Down(5);
        EXPECT_TRUE(s.slider.dragging);
        EXPECT_EQ(horizontal ? s.slider.relX : s.slider.relY, 5);
        // (coordinate - 5) / (100 - 10), clamped.
        const struct {
            int along;
            Log heard;
        } steps[] = {
            {50, {"slider 1 0.5"}}, {50, {}},  {500, {"slider 1 1"}}, {600, {}},
            {-40, {"slider 1 0"}},  {-90, {}}, {14, {"slider 1 0.1"}},
        };
        for (const auto& step : steps) {
            s.Move(step.along);
            EXPECT_EQ(s.listener.Take(), step.heard) << step.along;
        }
        s.Up(14);
        EXPECT_EQ(s.listener.Take(), (Log{"slider 1 0.1"}));
        EXPECT_FALSE(s.slider.dragging);
    }
}

TEST(Slider, DragCursorOverTheThumbAndWhileDragging)
{
    SliderScene s(true, 100, 10);
    s.Move(5);
    EXPECT_EQ(s.Cursors(), (Log{"kind 2"}));
    s.Move(50);
    EXPECT_EQ(s.Cursors(), (Log{"kind 0"}));
    s.Move(9);
    s.Down(9);
    EXPECT_EQ(s.Cursors(), (Log{"kind 2", "kind 2"}));
    // Off the slider while dragging: no change.
    s.Move(400);
    s.tree.manager.MouseMove(50, 300);
    EXPECT_EQ(s.Cursors(), Log{});
    s.tree.manager.MouseUp(50, 300, 1);
    EXPECT_EQ(s.Cursors(), (Log{"kind 0"}));
    // Leaving without a drag restores the arrow.
    s.Move(95);
    s.Cursors();
    s.tree.manager.MouseMove(50, 300);
    EXPECT_EQ(s.Cursors(), (Log{"kind 0"}));
}

TEST(Slider, ThumbAsLongAsTheSliderLeavesTheValueAtZero)
{
    for (const int thumbLength : {100, 130}) {
        SCOPED_TRACE(thumbLength);
        SliderScene s(true, 100, thumbLength);
        s.slider.SetValue(0.7);
        // Every press lands on such a thumb: value x (100 - length) puts it at or before 0.
        s.Down(0);
        EXPECT_TRUE(s.slider.dragging);
        s.Move(60);
        s.Move(0);
        EXPECT_EQ(s.slider.value, 0.0);
        EXPECT_EQ(s.listener.Take(), (Log{"slider 1 0"}));
        s.Up(0);
        EXPECT_FALSE(std::isnan(s.slider.value));
    }
    // No length at all: a press sets 0.
    SliderScene empty(true, 0, 0);
    empty.slider.SetValue(0.5);
    empty.slider.MouseDown(0, 0, 1);
    EXPECT_EQ(empty.slider.value, 0.0);
}

TEST(Slider, ListenerMayTakeTheSliderOutDuringADrag)
{
    SliderScene s(true, 100, 10);
    s.listener.on["slider"] = [&] { s.tree.manager.RemoveWidget(&s.slider); };
    s.Down(5);
    s.Move(50);
    EXPECT_EQ(s.slider.manager, nullptr);
    EXPECT_EQ(s.tree.manager.lastDownWidget, nullptr);
    // The drag step, then the release the manager sends as it lets go.
    EXPECT_EQ(s.listener.Take(), (Log{"slider 1 0.5", "slider 1 0.5"}));
    EXPECT_FALSE(s.slider.dragging);
    s.Up(50);
    EXPECT_EQ(s.listener.Take(), Log{});
}

// Each pixel of the track image holds its own position: 0xFF, x * 16, y * 16, 1.
uint32_t TrackPixel(int x, int y)
{
    return 0xFF000001u | static_cast<uint32_t>(x * 16) << 16 | static_cast<uint32_t>(y * 16) << 8;
}

class SliderDrawTest : public ::testing::Test {
protected:
    // A track of three 3 x 4 cells (or 4 x 3 stacked); the end cell's first
    // line is transparent, so a middle cell drawn under it would show.
    void MakeTrack(bool isHorizontal, int cellsAlong = 9)
    {
        const int w = isHorizontal ? cellsAlong : 4;
        const int h = isHorizontal ? 4 : cellsAlong;
        FillImage(track, w, h, 0);
        const int endStart = 2 * (cellsAlong / 3);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if ((isHorizontal ? x : y) != endStart || cellsAlong < 3)
                    track.GetBits()[y * w + x] = TrackPixel(x, y);
    }

    // The picture with each destination pixel blitted from the source pixel
    // the formulas name, one pixel at a time.
    void ExpectTrack(bool isHorizontal, int length)
    {
        MemoryImage want;
        FillImage(want, isHorizontal ? length : 20, isHorizontal ? 20 : length, 0);
        Graphics wg(&want);
        const int cell = 3;
        const int y0 = isHorizontal ? (20 - 4) / 2 : 0;
        for (int along = 0; along < length; ++along) {
            int source;
            if (along < cell)
                source = along;
            else if (along < length - cell)
                source = cell + (along - cell) % cell;
            else
                source = 2 * cell + along - (length - cell);
            for (int across = 0; across < 4; ++across) {
                if (isHorizontal)
                    wg.DrawImagePart(&track, along, y0 + across, Rect(source, across, 1, 1));
                else
                    wg.DrawImagePart(&track, across, along, Rect(across, source, 1, 1));
            }
        }
        EXPECT_EQ(FirstDifference(got, want), "");
    }

    void Draw(Slider& slider)
    {
        FillImage(got, slider.width, slider.height, 0);
        Graphics g(&got);
        slider.Draw(&g);
    }

    MemoryImage track;
    MemoryImage got;
};

TEST_F(SliderDrawTest, TrackCellsStartMiddleAndEnd)
{
    for (const bool horizontal : {true, false}) {
        for (const int length : {20, 21, 6, 7}) {
            SCOPED_TRACE(std::string(horizontal ? "horizontal " : "vertical ") + std::to_string(length));
            MakeTrack(horizontal);
            Slider slider(&track, nullptr, 1, nullptr);
            slider.horizontal = horizontal;
            slider.Resize(0, 0, horizontal ? length : 20, horizontal ? 20 : length);
            Draw(slider);
            ExpectTrack(horizontal, length);
        }
    }
}

TEST_F(SliderDrawTest, ThumbSitsAtTheValueCentredAcross)
{
    MemoryImage thumb;
    FillImage(thumb, 10, 6, 0xFF0000FF);
    Slider slider(nullptr, &thumb, 1, nullptr);
    slider.Resize(0, 0, 100, 20);
    slider.SetValue(0.5);
    Draw(slider);
    MemoryImage want;
    FillImage(want, 100, 20, 0);
    Graphics wg(&want);
    wg.DrawImage(&thumb, 45, 7);
    EXPECT_EQ(FirstDifference(got, want), "");

    slider.horizontal = false;
    slider.Resize(0, 0, 20, 100);
    FillImage(thumb, 6, 10, 0xFF0000FF);
    slider.SetValue(1.0);
    Draw(slider);
    FillImage(want, 20, 100, 0);
    Graphics vg(&want);
    vg.DrawImage(&thumb, 7, 90);
    EXPECT_EQ(FirstDifference(got, want), "");
}

TEST_F(SliderDrawTest, TrackImagesTooSmallForThreeCellsDrawNoMiddle)
{
    for (const int along : {2, 1}) {
        SCOPED_TRACE(along);
        MakeTrack(true, along);
        Slider slider(&track, nullptr, 1, nullptr);
        slider.Resize(0, 0, 30, 20);
        Draw(slider);
        for (int x = 0; x < 30; ++x)
            EXPECT_EQ(got.GetPixel(x, 9), 0u) << x;
    }
    // Sizes of 0 and 1 and a 1 x 1 track.
    FillImage(track, 1, 1, 0xFFFFFFFF);
    for (const int size : {0, 1}) {
        for (const bool horizontal : {true, false}) {
            Slider slider(&track, &track, 1, nullptr);
            slider.horizontal = horizontal;
            slider.Resize(0, 0, size, size);
            slider.SetValue(0.5);
            FillImage(got, 2, 2, 0);
            Graphics g(&got);
            slider.Draw(&g);
        }
    }
}

} // namespace
