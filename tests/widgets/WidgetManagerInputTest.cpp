// Recorded call sequences of the widget manager's input: each step feeds the
// manager and expects exactly the calls the widgets received.
#include "widgets/WidgetManager.h"

#include "widgets/FakeWidgetHost.h"
#include "widgets/RecordingWidget.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using Tandry::FlagChange;
using WidgetTest::Log;
using WidgetTest::RecordingWidget;
using WidgetTest::Tree;

constexpr int kTab = 9;
constexpr int kShift = 16;
constexpr int kControl = 17;

TEST(WidgetManagerInput, EnterMoveAndLeaveAcrossOverlappingWidgets)
{
    Tree tree;
    RecordingWidget& a = tree.Add("A", 0, 0, 100, 100);
    RecordingWidget& b = tree.Add("B", 50, 50, 100, 100);
    // B refuses its left strip, so A below takes those points.
    b.hitTest = [](int localX, int) { return localX >= 10; };
    tree.Take();
    auto& m = tree.manager;

    m.MouseMove(20, 20);
    EXPECT_EQ(tree.Take(), (Log{"A enter", "A move 20,20"}));
    EXPECT_TRUE(a.isOver);
    m.MouseMove(25, 20);
    EXPECT_EQ(tree.Take(), (Log{"A move 25,20"}));
    m.MouseMove(55, 55);
    EXPECT_EQ(tree.Take(), (Log{"A move 55,55"}));
    m.MouseMove(70, 70);
    EXPECT_EQ(tree.Take(), (Log{"A leave", "B enter", "B move 20,20"}));
    EXPECT_FALSE(a.isOver);
    EXPECT_TRUE(b.isOver);
    // The same point again is no move.
    m.MouseMove(70, 70);
    EXPECT_EQ(tree.Take(), Log{});
    m.MouseMove(140, 140);
    EXPECT_EQ(tree.Take(), (Log{"B move 90,90"}));
    m.MouseMove(150, 150);
    EXPECT_EQ(tree.Take(), (Log{"B leave"}));
    m.MouseMove(60, 60);
    EXPECT_EQ(tree.Take(), (Log{"B enter", "B move 10,10"}));
    m.MouseExit();
    EXPECT_EQ(tree.Take(), (Log{"B leave"}));
    EXPECT_EQ(m.overWidget, nullptr);
    EXPECT_FALSE(m.mouseIn);
}

TEST(WidgetManagerInput, PressMoveOffAndRelease)
{
    Tree tree;
    RecordingWidget& button = tree.Add("A", 0, 0, 50, 50);
    tree.Add("B", 100, 0, 50, 50);
    tree.Take();
    auto& m = tree.manager;

    m.MouseMove(10, 10);
    EXPECT_EQ(tree.Take(), (Log{"A enter", "A move 10,10"}));
    m.MouseDown(10, 10, 1);
    EXPECT_EQ(tree.Take(), (Log{"A down 10,10 b0 c1"}));
    EXPECT_TRUE(button.isDown);
    EXPECT_EQ(m.lastDownWidget, &button);
    m.MouseMove(60, 10);
    EXPECT_EQ(tree.Take(), (Log{"A drag 60,10", "A leave"}));
    // Over B while A holds the capture: B hears nothing.
    m.MouseMove(120, 10);
    EXPECT_EQ(tree.Take(), (Log{"A drag 120,10"}));
    m.MouseMove(20, 10);
    EXPECT_EQ(tree.Take(), (Log{"A drag 20,10", "A enter"}));
    m.MouseMove(120, 10);
    EXPECT_EQ(tree.Take(), (Log{"A drag 120,10", "A leave"}));
    m.MouseUp(120, 10, 1);
    EXPECT_EQ(tree.Take(), (Log{"A up 120,10 b0 c1", "B enter", "B move 20,10"}));
    EXPECT_FALSE(button.isDown);
    EXPECT_EQ(m.lastDownWidget, nullptr);
    m.MouseMove(10, 10);
    EXPECT_EQ(tree.Take(), (Log{"B leave", "A enter", "A move 10,10"}));
}

TEST(WidgetManagerInput, ASecondButtonGoesToTheWidgetHoldingTheCapture)
{
    Tree tree;
    RecordingWidget& a = tree.Add("A", 0, 0, 50, 50);
    RecordingWidget& b = tree.Add("B", 100, 0, 50, 50);
    tree.Take();
    auto& m = tree.manager;

    m.MouseDown(10, 10, 1);
    EXPECT_EQ(tree.Take(), (Log{"A enter", "A move 10,10", "A down 10,10 b0 c1"}));
    m.MouseMove(110, 10);
    EXPECT_EQ(tree.Take(), (Log{"A drag 110,10", "A leave"}));
    m.MouseDown(110, 10, -1);
    EXPECT_EQ(tree.Take(), (Log{"B enter", "B move 10,10", "A down 110,10 b1 c-1"}));
    EXPECT_EQ(m.downButtons, 3);
    EXPECT_EQ(m.lastDownButtonId, -1);
    m.MouseUp(110, 10, 1);
    EXPECT_EQ(tree.Take(), (Log{"A up 110,10 b0 c1"}));
    EXPECT_EQ(m.lastDownWidget, &a) << "the right button still holds A";
    m.MouseUp(110, 10, -1);
    EXPECT_EQ(tree.Take(), (Log{"A up 110,10 b1 c-1"}));
    EXPECT_EQ(m.lastDownWidget, nullptr);
    EXPECT_EQ(m.downButtons, 0);
    EXPECT_EQ(m.actualDownButtons, 0);
    m.MouseDown(110, 10, 3);
    EXPECT_EQ(tree.Take(), (Log{"B down 10,10 b2 c1"}));
    EXPECT_EQ(m.lastDownWidget, &b);
    EXPECT_EQ(m.lastDownButtonId, 2);
    EXPECT_EQ(m.downButtons, 4);
}

TEST(WidgetManagerInput, AClickOutsideThePopupRemovesItBeforeTheClickIsDispatched)
{
    Tree tree;
    RecordingWidget& below = tree.Add("B", 0, 0, 300, 300);
    RecordingWidget& popup = tree.Add("P", 0, 0, 50, 50);
    auto& m = tree.manager;
    m.popupWidget = &popup;
    bool popupGoneAtDown = false;
    below.on["down"] = [&] { popupGoneAtDown = !m.HasWidget(&popup); };
    tree.Take();

    m.MouseDown(20, 20, 1);
    EXPECT_EQ(tree.Take(), (Log{"P enter", "P move 20,20", "P down 20,20 b0 c1"}));
    m.MouseUp(20, 20, 1);
    tree.Take();
    EXPECT_EQ(m.popupWidget, &popup) << "a click inside keeps it";

    m.MouseDown(100, 100, 1);
    EXPECT_EQ(tree.Take(), (Log{"P leave", "B enter", "B move 100,100", "B down 100,100 b0 c1"}));
    EXPECT_TRUE(popupGoneAtDown);
    EXPECT_EQ(m.popupWidget, nullptr);
    EXPECT_EQ(popup.parent, nullptr);
    EXPECT_EQ(popup.manager, nullptr);
}

TEST(WidgetManagerInput, AModalLayerStopsHitsAndTakesTheFocusBelowIt)
{
    Tree tree;
    RecordingWidget& a = tree.Add("A", 0, 0, 100, 100);
    RecordingWidget& dialog = tree.Add("D", 200, 200, 100, 100);
    auto& m = tree.manager;
    m.SetFocus(&a);
    m.MouseMove(10, 10);
    EXPECT_EQ(tree.Take(), (Log{"A gotfocus", "A enter", "A move 10,10"}));

    m.AddBaseModal(&dialog, m.defaultBelowModalFlagChange);
    EXPECT_EQ(tree.Take(), (Log{"A leave", "A lostfocus"}));
    EXPECT_EQ(m.focusWidget, nullptr);
    m.MouseMove(20, 20);
    m.MouseDown(20, 20, 1);
    m.MouseUp(20, 20, 1);
    m.KeyDown(65);
    m.KeyUp(65);
    EXPECT_EQ(tree.Take(), Log{}) << "nothing below the layer takes input";
    m.MouseMove(210, 210);
    EXPECT_EQ(tree.Take(), (Log{"D enter", "D move 10,10"}));

    // Below the layer still updates and draws.
    a.dirty = true;
    dialog.dirty = true;
    m.UpdateFrame();
    EXPECT_EQ(tree.Take(), (Log{"A update", "D update"}));

    m.RemoveBaseModal(&dialog);
    EXPECT_EQ(tree.Take(), (Log{"A gotfocus"}));
    EXPECT_EQ(m.focusWidget, &a);
    EXPECT_EQ(m.baseModalWidget, nullptr);
    EXPECT_EQ(m.belowModalFlagChange, FlagChange{});
    m.MouseMove(20, 20);
    EXPECT_EQ(tree.Take(), (Log{"D leave", "A enter", "A move 20,20"}));
}

TEST(WidgetManagerInput, AModalLayerTakesTheCaptureFromAWidgetBelowIt)
{
    Tree tree;
    tree.Add("A", 0, 0, 100, 100);
    RecordingWidget& dialog = tree.Add("D", 200, 200, 100, 100);
    auto& m = tree.manager;
    m.MouseDown(10, 10, 1);
    tree.Take();
    m.AddBaseModal(&dialog, m.defaultBelowModalFlagChange);
    EXPECT_EQ(tree.Take(), (Log{"A leave", "A up 10,10 b0 c1"}));
    EXPECT_EQ(m.lastDownWidget, nullptr);
    EXPECT_EQ(m.downButtons, 0);
    m.RemoveBaseModal(&dialog);
}

TEST(WidgetManagerInput, TwoStackedLayersRemovedInOrderRestoreBoth)
{
    Tree tree;
    RecordingWidget& a = tree.Add("A", 0, 0, 100, 100);
    RecordingWidget& first = tree.Add("D1", 200, 200, 100, 100);
    RecordingWidget& second = tree.Add("D2", 400, 400, 100, 100);
    auto& m = tree.manager;
    const FlagChange firstChange{0, 0x30};
    const FlagChange secondChange{0, 0x20};
    m.SetFocus(&a);
    m.AddBaseModal(&first, firstChange);
    m.SetFocus(&first);
    m.AddBaseModal(&second, secondChange);
    EXPECT_EQ(tree.Take(), (Log{"A gotfocus", "A lostfocus", "D1 gotfocus", "D1 lostfocus"}));
    EXPECT_EQ(m.baseModalStack.size(), 2u);

    // A layer not on top is not removed.
    m.RemoveBaseModal(&first);
    EXPECT_EQ(m.baseModalWidget, &second);

    m.RemoveBaseModal(&second);
    EXPECT_EQ(tree.Take(), (Log{"D1 gotfocus"}));
    EXPECT_EQ(m.baseModalWidget, &first);
    EXPECT_EQ(m.belowModalFlagChange, firstChange);

    // The first dialog closes as the application closes one: out of the tree, then its layer.
    m.RemoveWidget(&first);
    m.RemoveBaseModal(&first);
    EXPECT_EQ(tree.Take(), (Log{"D1 lostfocus", "A gotfocus"}));
    EXPECT_EQ(m.baseModalWidget, nullptr);
    EXPECT_EQ(m.belowModalFlagChange, FlagChange{});
    EXPECT_TRUE(m.baseModalStack.empty());
    EXPECT_EQ(m.focusWidget, &a);
}

TEST(WidgetManagerInput, ALayerOpenedWithoutABaseLeadsOnToTheOlderOnes)
{
    Tree tree;
    RecordingWidget& first = tree.Add("D1", 200, 200, 100, 100);
    RecordingWidget& second = tree.Add("D2", 400, 400, 100, 100);
    auto& m = tree.manager;
    m.AddBaseModal(&first, {0, 0x30});
    // The first layer's widget was taken away without ending its layer.
    m.RemoveWidget(&first);
    EXPECT_EQ(m.baseModalWidget, nullptr);
    m.AddBaseModal(&second, {0, 0x30});
    m.RemoveBaseModal(&second);
    EXPECT_TRUE(m.baseModalStack.empty()) << "both entries unwound";
    EXPECT_EQ(m.baseModalWidget, nullptr);
    EXPECT_EQ(m.belowModalFlagChange, FlagChange{});
}

TEST(WidgetManagerInput, ControlTabGoesToTheDefaultTabWidget)
{
    Tree tree;
    RecordingWidget& focus = tree.Add("F", 0, 0, 10, 10);
    RecordingWidget& tab = tree.Add("T", 20, 0, 10, 10);
    auto& m = tree.manager;
    m.SetFocus(&focus);
    m.defaultTab = &tab;
    tree.Take();

    m.KeyDown(kControl);
    m.KeyChar(static_cast<wchar_t>(kTab));
    m.KeyUp(kTab);
    m.KeyUp(kControl);
    EXPECT_EQ(tree.Take(), (Log{"F keydown 17", "T char 9", "F keyup 17"}));

    m.KeyChar(static_cast<wchar_t>(kTab));
    m.KeyUp(kTab);
    m.KeyChar(L'x');
    EXPECT_EQ(tree.Take(), (Log{"F char 9", "F keyup 9", "F char 120"}));
}

TEST(WidgetManagerInput, TabMovesTheFocusToTheNeighbours)
{
    Tree tree;
    RecordingWidget& a = tree.Add("A", 0, 0, 10, 10);
    RecordingWidget& b = tree.Add("B", 20, 0, 10, 10);
    RecordingWidget& c = tree.Add("C", 40, 0, 10, 10);
    a.tabNext = &b;
    a.tabPrev = &c;
    auto& m = tree.manager;
    m.SetFocus(&a);
    m.KeyDown(kTab);
    EXPECT_EQ(m.focusWidget, &b);
    m.SetFocus(&a);
    m.KeyDown(kShift);
    m.KeyDown(kTab);
    EXPECT_EQ(m.focusWidget, &c);
    // No neighbour: the focus stays.
    m.KeyUp(kShift);
    m.KeyDown(kTab);
    EXPECT_EQ(m.focusWidget, &c);
}

TEST(WidgetManagerInput, LosingTheWindowFocusReleasesHeldKeysFirst)
{
    Tree tree;
    RecordingWidget& focus = tree.Add("F", 0, 0, 10, 10);
    auto& m = tree.manager;
    m.SetFocus(&focus);
    m.KeyDown(65);
    m.MouseDown(100, 100, 1);
    tree.Take();

    m.WindowLostFocus();
    EXPECT_EQ(tree.Take(), (Log{"F keyup 65", "F lostfocus"}));
    EXPECT_FALSE(m.keyDown[65]);
    EXPECT_EQ(m.actualDownButtons, 0);
    EXPECT_EQ(m.focusWidget, &focus) << "the focus widget stays";
    m.WindowLostFocus();
    EXPECT_EQ(tree.Take(), Log{});

    m.WindowGotFocus();
    EXPECT_EQ(tree.Take(), (Log{"F gotfocus"}));
    m.WindowGotFocus();
    EXPECT_EQ(tree.Take(), Log{});
}

TEST(WidgetManagerInput, WithoutTheWindowFocusANewFocusWidgetWaitsForIt)
{
    Tree tree;
    RecordingWidget& focus = tree.Add("F", 0, 0, 10, 10);
    auto& m = tree.manager;
    m.WindowLostFocus();
    m.SetFocus(&focus);
    EXPECT_EQ(tree.Take(), Log{});
    m.WindowGotFocus();
    EXPECT_EQ(tree.Take(), (Log{"F gotfocus"}));
}

TEST(WidgetManagerInput, ADisabledWidgetGetsNoMouseEventsAndNoKeyDowns)
{
    Tree tree;
    RecordingWidget& below = tree.Add("B", 0, 0, 100, 100);
    RecordingWidget& a = tree.Add("A", 0, 0, 50, 50);
    auto& m = tree.manager;
    m.SetFocus(&a);
    m.MouseMove(10, 10);
    EXPECT_EQ(tree.Take(), (Log{"A gotfocus", "A enter", "A move 10,10"}));

    a.SetDisabled(true);
    EXPECT_EQ(tree.Take(), (Log{"A leave", "A lostfocus"}));
    m.MouseMove(20, 20);
    m.MouseDown(20, 20, 1);
    m.MouseUp(20, 20, 1);
    EXPECT_EQ(tree.Take(), (Log{"B enter", "B move 20,20", "B down 20,20 b0 c1", "B up 20,20 b0 c1"}));

    // Given the focus anyway, it hears releases, characters and the wheel.
    m.SetFocus(&a);
    m.KeyDown(65);
    m.KeyUp(65);
    m.KeyChar(L'a');
    m.MouseWheel(-240);
    EXPECT_EQ(tree.Take(), (Log{"A gotfocus", "A keyup 65", "A char 97", "A wheel -240"}));

    // Enabled under the mouse, it takes the mouse again at once.
    a.SetDisabled(false);
    EXPECT_EQ(tree.Take(), (Log{"B leave", "A enter", "A move 20,20"}));
    (void)below;
}

TEST(WidgetManagerInput, ClickCountsMapToButtonAndCount)
{
    struct Case {
        int clickCount;
        const char* expected;
    };
    const Case cases[] = {
        {1, "W down 1,2 b0 c1"},   {2, "W down 1,2 b0 c2"},   {-1, "W down 1,2 b1 c-1"},
        {-2, "W down 1,2 b1 c-2"}, {3, "W down 1,2 b2 c1"},   {0, "W down 1,2 b0 c0"},
        {7, "W down 1,2 b0 c7"},   {-9, "W down 1,2 b1 c-9"}, {INT_MIN, "W down 1,2 b1 c-2147483648"},
    };
    Log log;
    RecordingWidget widget("W", &log);
    for (const Case& c : cases) {
        widget.MouseDown(1, 2, c.clickCount);
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0], c.expected);
        log.clear();
    }
    widget.MouseUp(1, 2, 3);
    EXPECT_EQ(log, (Log{"W up 1,2 b2 c1"}));
}

TEST(WidgetManagerInput, HidingTheWidgetUnderTheMouseSendsItMouseLeave)
{
    Tree tree;
    RecordingWidget& a = tree.Add("A", 0, 0, 50, 50);
    tree.manager.MouseMove(10, 10);
    tree.Take();
    a.SetVisible(false);
    EXPECT_EQ(tree.Take(), (Log{"A leave"}));
    EXPECT_EQ(tree.manager.overWidget, nullptr);
    a.SetVisible(true);
    EXPECT_EQ(tree.Take(), (Log{"A enter", "A move 10,10"}));
}

TEST(WidgetManagerInput, ResizingAWidgetFromUnderTheMouseSendsItMouseLeave)
{
    Tree tree;
    RecordingWidget& a = tree.Add("A", 0, 0, 50, 50);
    tree.manager.MouseMove(10, 10);
    tree.Take();
    a.Move(100, 100);
    EXPECT_EQ(tree.Take(), (Log{"A leave"}));
}

// A widget at (30, 40) inside a container at (100, 50): the press at
// (140, 100) is (10, 10) in the widget, and so is every call of the gesture.
class NestedCaptureTest : public ::testing::Test {
protected:
    NestedCaptureTest()
    {
        RecordingWidget& container = tree.Add("C", 100, 50, 200, 200);
        container.mouseVisible = false;
        inner = &tree.Add("W", 30, 40, 50, 50, &container);
        tree.Take();
    }
    Tree tree;
    RecordingWidget* inner = nullptr;
};

TEST_F(NestedCaptureTest, PressDragAndReleaseAllArriveInTheWidgetsOwnCoordinates)
{
    auto& m = tree.manager;
    m.MouseDown(140, 100, 1);
    m.MouseMove(140, 100);
    m.MouseUp(140, 100, 1);
    EXPECT_EQ(tree.Take(),
              (Log{"W enter", "W move 10,10", "W down 10,10 b0 c1", "W drag 10,10", "W up 10,10 b0 c1"}));
}

TEST_F(NestedCaptureTest, ReleaseCaptureSendsTheMouseUpInTheWidgetsOwnCoordinates)
{
    auto& m = tree.manager;
    m.MouseDown(140, 100, 1);
    m.MouseDown(140, 100, -1);
    tree.Take();
    m.ReleaseCapture();
    EXPECT_EQ(tree.Take(), (Log{"W up 10,10 b0 c1", "W up 10,10 b1 c-1"}));
    EXPECT_EQ(m.lastDownWidget, nullptr);
    EXPECT_EQ(m.downButtons, 0);
    m.ReleaseCapture();
    EXPECT_EQ(tree.Take(), Log{});
}

TEST(WidgetManagerInput, ReleaseCaptureAlsoReleasesAPressOverNothing)
{
    Tree tree;
    tree.Add("A", 0, 0, 50, 50);
    auto& m = tree.manager;
    m.MouseDown(200, 200, 1);
    EXPECT_EQ(m.downButtons, 1);
    m.ReleaseCapture();
    EXPECT_EQ(m.downButtons, 0);
    // Moves are moves again, not drags: the hover follows the mouse.
    m.MouseMove(10, 10);
    EXPECT_EQ(tree.Take(), (Log{"A enter", "A move 10,10"}));
}

TEST_F(NestedCaptureTest, DisablingTheCapturedWidgetSendsTheMouseUpInItsOwnCoordinates)
{
    auto& m = tree.manager;
    m.MouseDown(140, 100, 3);
    tree.Take();
    inner->SetDisabled(true);
    EXPECT_EQ(tree.Take(), (Log{"W leave", "W up 10,10 b2 c1"}));
    EXPECT_FALSE(inner->isDown);
    EXPECT_EQ(m.lastDownWidget, nullptr);
}

TEST(WidgetManagerInput, HandCursorFollowsTheWidgetUnderTheMouse)
{
    Tandry::FakeWidgetHost host;
    Tree tree(&host);
    RecordingWidget& a = tree.Add("A", 0, 0, 50, 50);
    a.handCursor = true;
    tree.manager.MouseMove(10, 10);
    tree.manager.MouseMove(100, 100);
    EXPECT_EQ(host.cursorCalls, (std::vector<std::string>{"kind 1", "apply", "kind 0", "apply"}));
}

TEST(WidgetManagerInput, RemovingWidgetsClearsEveryPointerToThem)
{
    Tree tree;
    RecordingWidget& container = tree.Add("C", 0, 0, 100, 100);
    RecordingWidget& inner = tree.Add("W", 0, 0, 50, 50, &container);
    RecordingWidget& dialog = tree.Add("D", 200, 200, 50, 50);
    auto& m = tree.manager;
    inner.wantsFocus = true;
    m.MouseDown(10, 10, 1);
    EXPECT_EQ(m.focusWidget, &inner);
    m.AddBaseModal(&dialog, {0, 0});
    m.popupWidget = &container;
    tree.Take();

    m.RemoveWidget(&container);
    EXPECT_EQ(tree.Take(), (Log{"W leave", "W up 10,10 b0 c1", "W lostfocus"}));
    EXPECT_EQ(m.overWidget, nullptr);
    EXPECT_EQ(m.lastDownWidget, nullptr);
    EXPECT_EQ(m.focusWidget, nullptr);
    EXPECT_EQ(m.popupWidget, nullptr);
    EXPECT_EQ(m.baseModalStack.back().previousFocus, nullptr);
    EXPECT_EQ(inner.manager, nullptr);
    EXPECT_EQ(inner.parent, &container) << "the subtree stays together";
    m.RemoveBaseModal(&dialog);
}

TEST(WidgetManagerInput, AWidgetHoveredAgainWhileItIsRemovedIsForgotten)
{
    Tree tree;
    RecordingWidget& a = tree.Add("A", 0, 0, 50, 50);
    auto& m = tree.manager;
    m.MouseMove(10, 10);
    // Its leave makes the manager look under the mouse while it is still listed.
    a.on["leave"] = [&] { m.MousePosition(10, 10); };
    m.RemoveWidget(&a);
    EXPECT_EQ(m.overWidget, nullptr);
    EXPECT_EQ(a.manager, nullptr);
}

TEST(WidgetManagerInput, AMoveSetOffByTheOldParentNeverMakesALoop)
{
    Tree tree;
    RecordingWidget& parent = tree.Add("P", 0, 0, 100, 100);
    RecordingWidget& w = tree.Add("W", 0, 0, 50, 50, &parent);
    RecordingWidget& x = tree.Add("X", 200, 0, 50, 50);
    tree.manager.SetFocus(&w);
    // Leaving its old parent, w takes x in; x cannot then take w.
    w.on["lostfocus"] = [&] { w.AddWidget(&x); };
    x.AddWidget(&w);
    EXPECT_EQ(x.parent, &w);
    EXPECT_EQ(w.parent, nullptr);
    EXPECT_FALSE(x.HasWidget(&w));
}

TEST(WidgetManagerInput, HostileValuesPassWithoutHarm)
{
    Tree tree;
    RecordingWidget& a = tree.Add("A", 0, 0, 50, 50);
    auto& m = tree.manager;
    m.SetFocus(&a);
    tree.Take();
    m.KeyDown(255);
    m.KeyDown(-1);
    m.KeyDown(INT_MAX);
    m.KeyUp(1000);
    m.MouseWheel(INT_MIN);
    m.MouseDown(INT_MAX, INT_MIN, 1);
    m.MouseMove(INT_MIN, INT_MAX);
    m.MouseUp(INT_MAX, INT_MAX, 1);
    EXPECT_EQ(tree.Take(), (Log{"A keydown 255", "A keydown -1", "A keydown 2147483647", "A keyup 1000",
                                "A wheel -2147483648"}));
    for (bool held : m.keyDown)
        EXPECT_FALSE(held);
}

} // namespace
