// The widget manager's draw pass: which widgets draw, where their pixels
// land on a display smaller than the logical screen, the cursor widget and
// the deferred overlays.
#include "widgets/WidgetManager.h"

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "widgets/RecordingWidget.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace {

using Tandry::Color;
using WidgetTest::Log;
using WidgetTest::RecordingWidget;
using WidgetTest::Tree;

TEST(WidgetManagerDraw, OverlaysDrawByPriorityAroundContainersOfHigherPriority)
{
    Tree tree;
    auto& m = tree.manager;
    Tandry::MemoryImage screen;
    screen.Create(64, 64);
    m.drawImage = &screen;
    RecordingWidget& queuer = tree.Add("Q", 0, 0, 10, 10);
    RecordingWidget& container = tree.Add("C", 20, 0, 10, 10);
    container.priority = 3;
    RecordingWidget& five = tree.Make("O5", 0, 0, 1, 1);
    RecordingWidget& two = tree.Make("O2", 0, 0, 1, 1);
    queuer.on["draw"] = [&] {
        m.QueueDeferredOverlay(&five, 5);
        m.QueueDeferredOverlay(&two, 2);
    };
    tree.Take();

    EXPECT_TRUE(m.DrawScreen());
    EXPECT_EQ(tree.Take(), (Log{"Q draw", "O2 overlay 2", "C draw", "O5 overlay 5"}));
    EXPECT_TRUE(m.deferredOverlays.empty());
    EXPECT_EQ(m.lowestOverlayPriority, Tandry::WidgetManager::kNoOverlay);
    EXPECT_EQ(m.currentGraphics, nullptr);

    // Equal priorities draw in queue order.
    queuer.dirty = true;
    queuer.on["draw"] = [&] {
        m.QueueDeferredOverlay(&five, 4);
        m.QueueDeferredOverlay(&two, 4);
    };
    EXPECT_TRUE(m.DrawScreen());
    EXPECT_EQ(tree.Take(), (Log{"Q draw", "O5 overlay 4", "O2 overlay 4"}));
}

class ScreenDrawTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;
    static constexpr int kOffsetX = 112;
    static constexpr int kOffsetY = 84;

    ScreenDrawTest()
    {
        screen.Create(kWidth, kHeight);
        auto& m = tree.manager;
        m.drawImage = &screen;
        m.drawOffsetRect = Tandry::Rect(kOffsetX, kOffsetY, kWidth, kHeight);
        Fill(tree.Add("back", 0, 0, 1024, 768), Color(20, 30, 40));
        Fill(tree.Add("red", 112, 84, 200, 100), Color(255, 0, 0));
        Fill(tree.Add("green", 400, 300, 300, 300), Color(0, 255, 0));
        RecordingWidget& hidden = tree.Add("hidden", 0, 0, 1024, 768);
        Fill(hidden, Color(255, 255, 255));
        hidden.visible = false;
        cursor = &tree.Make("K", 500, 400, 30, 30);
        Fill(*cursor, Color(0, 0, 255));
        m.cursorWidget = cursor;
        tree.Take();
    }
    ~ScreenDrawTest() override { tree.manager.cursorWidget = nullptr; }

    static void Fill(RecordingWidget& widget, const Color& color)
    {
        widget.fills = true;
        widget.fillColor = color;
    }
    void Clear() { std::memset(screen.GetBits(), 0, sizeof(uint32_t) * kWidth * kHeight); }
    bool SamePixels(Tandry::MemoryImage& other)
    {
        return std::memcmp(screen.GetBits(), other.GetBits(), sizeof(uint32_t) * kWidth * kHeight) == 0;
    }
    RecordingWidget& Named(const std::string& name)
    {
        for (auto& widget : tree.widgets) {
            if (widget->name == name)
                return *widget;
        }
        throw std::runtime_error(name);
    }

    Tree tree;
    Tandry::MemoryImage screen;
    RecordingWidget* cursor = nullptr;
};

TEST_F(ScreenDrawTest, TheDirtyWidgetsLandCentredOnTheSmallerDisplay)
{
    cursor->dirty = true;
    EXPECT_TRUE(tree.manager.DrawScreen());
    EXPECT_EQ(tree.Take(), (Log{"back draw", "red draw", "green draw", "K draw"}));

    // The logical screen drawn straight with fills, in the display's place.
    Tandry::MemoryImage reference;
    reference.Create(kWidth, kHeight);
    Tandry::Graphics g(&reference);
    g.SetColor(Color(20, 30, 40));
    g.FillRect(0, 0, kWidth, kHeight);
    g.SetColor(Color(255, 0, 0));
    g.FillRect(0, 0, 200, 100);
    g.SetColor(Color(0, 255, 0));
    g.FillRect(288, 216, 300, 300);
    g.SetColor(Color(0, 0, 255));
    g.FillRect(388, 316, 30, 30);
    EXPECT_TRUE(SamePixels(reference));
    EXPECT_EQ(screen.GetPixel(0, 0), 0xFFFF0000u) << "the red widget's corner is the display's corner";

    for (const char* name : {"back", "red", "green"})
        EXPECT_FALSE(Named(name).dirty) << name;
    EXPECT_TRUE(Named("hidden").dirty);
    EXPECT_TRUE(cursor->dirty) << "the cursor widget keeps its flag";
}

TEST_F(ScreenDrawTest, OnlyDirtyTopLevelWidgetsDrawAndTheResultSaysWhetherOneDid)
{
    cursor->dirty = false;
    tree.manager.DrawScreen();
    tree.Take();
    Clear();

    Named("red").dirty = true;
    EXPECT_TRUE(tree.manager.DrawScreen());
    EXPECT_EQ(tree.Take(), (Log{"red draw"}));
    Tandry::MemoryImage reference;
    reference.Create(kWidth, kHeight);
    Tandry::Graphics g(&reference);
    g.SetColor(Color(255, 0, 0));
    g.FillRect(0, 0, 200, 100);
    EXPECT_TRUE(SamePixels(reference));

    EXPECT_FALSE(tree.manager.DrawScreen());
    EXPECT_EQ(tree.Take(), Log{});

    cursor->dirty = true;
    EXPECT_FALSE(tree.manager.DrawScreen()) << "the cursor widget alone is no redraw";
    EXPECT_EQ(tree.Take(), (Log{"K draw"}));
}

TEST(WidgetManagerDraw, ChildrenDrawOverTheirParentClippedToIt)
{
    Tree tree;
    Tandry::MemoryImage screen;
    screen.Create(40, 20);
    tree.manager.drawImage = &screen;
    tree.manager.drawOffsetRect = Tandry::Rect(0, 0, 40, 20);
    RecordingWidget& parent = tree.Add("P", 10, 5, 20, 10);
    parent.fills = true;
    parent.fillColor = Color(0, 0, 255);
    RecordingWidget& child = tree.Add("c", 15, 5, 20, 20, &parent);
    child.fills = true;
    child.fillColor = Color(255, 0, 0);
    tree.Take();

    tree.manager.DrawScreen();
    EXPECT_EQ(tree.Take(), (Log{"P draw", "c draw"}));
    EXPECT_FALSE(child.dirty);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            uint32_t expected = 0;
            if (x >= 10 && x < 30 && y >= 5 && y < 15)
                expected = x >= 25 && y >= 10 ? 0xFFFF0000u : 0xFF0000FFu;
            ASSERT_EQ(screen.GetPixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(WidgetManagerDraw, WidgetsBelowAModalLayerStillDraw)
{
    Tree tree;
    Tandry::MemoryImage screen;
    screen.Create(64, 64);
    tree.manager.drawImage = &screen;
    RecordingWidget& below = tree.Add("A", 0, 0, 10, 10);
    RecordingWidget& dialog = tree.Add("D", 20, 20, 10, 10);
    tree.manager.AddBaseModal(&dialog, tree.manager.defaultBelowModalFlagChange);
    below.dirty = true;
    dialog.dirty = true;
    tree.Take();
    EXPECT_TRUE(tree.manager.DrawScreen());
    EXPECT_EQ(tree.Take(), (Log{"A draw", "D draw"}));
    // A layer that switches drawing off below it hides them.
    tree.manager.RemoveBaseModal(&dialog);
    tree.manager.AddBaseModal(&dialog, {0, 0x04});
    below.dirty = true;
    dialog.dirty = true;
    tree.manager.DrawScreen();
    EXPECT_EQ(tree.Take(), (Log{"D draw"}));
    tree.manager.RemoveBaseModal(&dialog);
}

TEST(WidgetManagerDraw, WithoutAScreenImageNothingBreaks)
{
    Tree tree;
    RecordingWidget& widget = tree.Add("W", 0, 0, 5, 5);
    tree.Take();
    // The display is being rebuilt: nothing drawn, the flags wait for the next screen.
    EXPECT_FALSE(tree.manager.DrawScreen());
    EXPECT_EQ(tree.Take(), Log{});
    EXPECT_TRUE(widget.dirty);
}

} // namespace
