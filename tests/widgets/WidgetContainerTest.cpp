// The widget tree: z-order, removal and nesting during the update pass, the
// dirty marking, drawing order and the geometry helpers.
#include "widgets/WidgetContainer.h"

#include "widgets/RecordingWidget.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

namespace {

using Tandry::Widget;
using WidgetTest::Log;
using WidgetTest::RecordingWidget;
using WidgetTest::Tree;

std::string Names(const Tandry::WidgetContainer& container)
{
    std::string names;
    for (const Widget* child : container.children)
        names += static_cast<const RecordingWidget*>(child)->name;
    return names;
}

TEST(WidgetContainerZOrder, InsertionKeepsTheOrderAndReorderingLandsWhereAsked)
{
    Tree tree;
    RecordingWidget& root = tree.Add("R", 0, 0, 100, 100);
    RecordingWidget& a = tree.Add("a", 0, 0, 1, 1, &root, 0);
    RecordingWidget& b = tree.Add("b", 0, 0, 1, 1, &root, 10);
    RecordingWidget& c = tree.Add("c", 0, 0, 1, 1, &root, 5);
    EXPECT_EQ(Names(root), "acb");
    RecordingWidget& d = tree.Add("d", 0, 0, 1, 1, &root, 5);
    EXPECT_EQ(Names(root), "acdb") << "an equal order goes above";
    RecordingWidget& stranger = tree.Make("s", 0, 0, 1, 1);
    tree.Take();

    struct Step {
        std::function<void()> call;
        const char* order;
        Log calls;
    };
    const Step steps[] = {
        {[&] { root.SendToBack(&d); }, "adcb", {"d zorder"}},
        {[&] { root.InsertAbove(&d, &c); }, "acdb", {"d zorder"}},
        {[&] { root.InsertBelow(&d, &c); }, "adcb", {"d zorder"}},
        {[&] { root.InsertAbove(&d, nullptr); }, "acdb", {"d zorder"}},
        {[&] { root.InsertBelow(&d, nullptr); }, "adcb", {"d zorder"}},
        {[&] { root.BringToFront(&d); }, "acdb", {"d zorder"}},
        // The order wins over the place asked for.
        {[&] { root.InsertBelow(&b, &a); }, "acdb", {"b zorder"}},
        {[&] { root.InsertAbove(&a, &b); }, "acdb", {"a zorder"}},
        {[&] { root.BringToFront(&a); }, "acdb", {"a zorder"}},
        // Strangers are not reordered, nor moved next to.
        {[&] { root.BringToFront(&stranger); }, "acdb", {}},
        {[&] { root.InsertAbove(&a, &stranger); }, "acdb", {}},
    };
    for (const Step& step : steps) {
        step.call();
        EXPECT_EQ(Names(root), step.order);
        EXPECT_EQ(tree.Take(), step.calls);
    }
    // Adding a child again changes nothing.
    root.AddWidget(&a);
    EXPECT_EQ(Names(root), "acdb");
}

TEST(WidgetContainerZOrder, AWidgetAddedElsewhereLeavesItsOldParent)
{
    Tree tree;
    RecordingWidget& first = tree.Add("F", 0, 0, 10, 10);
    RecordingWidget& second = tree.Add("S", 0, 0, 10, 10);
    RecordingWidget& child = tree.Add("c", 0, 0, 1, 1, &first);
    second.AddWidget(&child);
    EXPECT_FALSE(first.HasWidget(&child));
    EXPECT_TRUE(second.HasWidget(&child));
    EXPECT_EQ(child.parent, &second);
    EXPECT_EQ(child.manager, &tree.manager);
    // Never into its own subtree.
    child.AddWidget(&second);
    child.AddWidget(&child);
    EXPECT_EQ(second.parent, &tree.manager);
    EXPECT_TRUE(child.children.empty());
}

class UpdatePassTest : public ::testing::Test {
protected:
    UpdatePassTest()
    {
        for (const char* name : {"A", "B", "C", "D"})
            widgets.push_back(&tree.Add(name, 0, 0, 10, 10));
        tree.Take();
    }
    Tree tree;
    std::vector<RecordingWidget*> widgets;
};

TEST_F(UpdatePassTest, AChildRemovingItselfDuringItsUpdateSkipsNobody)
{
    RecordingWidget& b = *widgets[1];
    b.on["update"] = [&] { tree.manager.RemoveWidget(&b); };
    tree.manager.UpdateFrame();
    EXPECT_EQ(tree.Take(), (Log{"A update", "B update", "C update", "D update"}));
    tree.manager.UpdateFrame();
    EXPECT_EQ(tree.Take(), (Log{"A update", "C update", "D update"}));
}

TEST_F(UpdatePassTest, RemovingSiblingsDuringAnUpdateVisitsTheRestOnce)
{
    widgets[1]->on["update"] = [&] {
        tree.manager.RemoveWidget(widgets[2]);
        tree.manager.RemoveWidget(widgets[0]);
        tree.manager.BringToFront(widgets[1]);
    };
    tree.manager.UpdateFrame();
    EXPECT_EQ(tree.Take(), (Log{"A update", "B update", "B zorder", "D update"}));
    EXPECT_EQ(Names(tree.manager), "DB");
}

TEST_F(UpdatePassTest, RemovingALaterSiblingVisitsEveryRemainingChildOnce)
{
    widgets[0]->on["update"] = [&] { tree.manager.RemoveWidget(widgets[2]); };
    tree.manager.UpdateFrame();
    EXPECT_EQ(tree.Take(), (Log{"A update", "B update", "D update"}));
}

TEST_F(UpdatePassTest, ReorderingTheChildBeingUpdatedUpdatesItOnce)
{
    widgets[1]->on["update"] = [&] { tree.manager.BringToFront(widgets[1]); };
    tree.manager.UpdateFrame();
    // Reached again at the top, it does not update twice in one manager update.
    EXPECT_EQ(tree.Take(), (Log{"A update", "B update", "B zorder", "C update", "D update"}));
    EXPECT_EQ(Names(tree.manager), "ACDB");
}

TEST_F(UpdatePassTest, ANestedPassUpdatesEachWidgetOncePerManagerUpdate)
{
    for (RecordingWidget* widget : widgets)
        widget->logUpdateCount = true;
    bool nested = false;
    // A dialog's wait loop: whole update steps from inside an Update.
    widgets[1]->on["update"] = [&] {
        if (nested)
            return;
        nested = true;
        tree.manager.UpdateFrame();
        tree.manager.UpdateFrame();
    };
    tree.manager.UpdateFrame();
    EXPECT_EQ(tree.Take(), (Log{"A update 1", "B update 1", "A update 2", "B update 2", "C update 2", "D update 2",
                                "A update 3", "B update 3", "C update 3", "D update 3"}));
    tree.manager.UpdateFrame();
    EXPECT_EQ(tree.Take(), (Log{"A update 4", "B update 4", "C update 4", "D update 4"}));
}

TEST_F(UpdatePassTest, FlagsDecideWhatUpdatesAndWhatIsMarkedDirty)
{
    auto& m = tree.manager;
    widgets[0]->flagChange = {0, 0x01};
    widgets[1]->flagChange = {0x02, 0};
    for (RecordingWidget* widget : widgets)
        widget->dirty = false;
    m.UpdateFrame();
    EXPECT_EQ(tree.Take(), (Log{"B update", "C update", "D update"}));
    EXPECT_TRUE(widgets[1]->dirty) << "0x02 marks it on every update";
    EXPECT_TRUE(widgets[3]->dirty) << "and what lies on it";
    EXPECT_FALSE(widgets[0]->dirty);
    // The cursor widget updates after the tree, given the manager only for the pass.
    RecordingWidget& cursor = tree.Make("K", 0, 0, 1, 1);
    m.cursorWidget = &cursor;
    m.UpdateFrame();
    EXPECT_EQ(tree.Take(), (Log{"B update", "C update", "D update", "K update"}));
    EXPECT_EQ(cursor.manager, nullptr);
    m.cursorWidget = nullptr;
}

// The dirty widgets of a tree, by name.
std::set<std::string> DirtyNames(const Tree& tree)
{
    std::set<std::string> names;
    for (const auto& widget : tree.widgets) {
        if (widget->dirty)
            names.insert(widget->name);
    }
    return names;
}

class DirtyMarkingTest : public ::testing::Test {
protected:
    DirtyMarkingTest()
        : back(tree.Add("back", 0, 0, 1024, 768)),
          cover(tree.Add("cover", 0, 0, 400, 400)),
          low(tree.Add("low", 50, 50, 100, 100)),
          high(tree.Add("high", 120, 120, 100, 100)),
          hidden(tree.Add("hidden", 60, 60, 20, 20)),
          away(tree.Add("away", 600, 600, 50, 50))
    {
        hidden.visible = false;
        Clean();
    }
    void Clean()
    {
        tree.manager.dirty = false;
        for (auto& widget : tree.widgets)
            widget->dirty = false;
    }

    Tree tree;
    RecordingWidget& back;
    RecordingWidget& cover;
    RecordingWidget& low;
    RecordingWidget& high;
    RecordingWidget& hidden;
    RecordingWidget& away;
};

TEST_F(DirtyMarkingTest, MarkingMarksTheVisibleOverlappingSiblingsAbove)
{
    low.MarkDirty();
    EXPECT_EQ(DirtyNames(tree), (std::set<std::string>{"low", "high"}));
    EXPECT_TRUE(tree.manager.dirty);
    Clean();
    cover.MarkDirty();
    EXPECT_EQ(DirtyNames(tree), (std::set<std::string>{"cover", "low", "high"}));
    Clean();
    away.MarkDirty();
    EXPECT_EQ(DirtyNames(tree), (std::set<std::string>{"away"}));
}

TEST_F(DirtyMarkingTest, HidingMarksBelowDownToTheFirstOpaqueCover)
{
    high.SetVisible(false);
    EXPECT_EQ(DirtyNames(tree), (std::set<std::string>{"high", "low", "cover"}));
    Clean();
    // A cover with see-through parts does not stop the walk.
    cover.hasTransparencies = true;
    high.SetVisible(true);
    Clean();
    high.SetVisible(false);
    // The backdrop is redrawn whole, so everything on it is too.
    EXPECT_EQ(DirtyNames(tree), (std::set<std::string>{"high", "low", "cover", "back", "away"}));
}

TEST_F(DirtyMarkingTest, ATranslucentChildMarksItsArea)
{
    away.hasAlpha = true;
    away.MarkDirty();
    // What shows through it is redrawn: the backdrop, and so all that lies on it.
    EXPECT_EQ(DirtyNames(tree), (std::set<std::string>{"away", "back", "cover", "low", "high"}));
    Clean();
    // An opaque widget over the translucent one's whole area stops the walk down.
    RecordingWidget& patch = tree.Add("patch", 590, 590, 70, 70);
    tree.manager.InsertBelow(&patch, &away);
    Clean();
    away.dirty = false;
    away.MarkDirty();
    EXPECT_EQ(DirtyNames(tree), (std::set<std::string>{"away", "patch"}));

}

TEST_F(DirtyMarkingTest, NestedChildrenPassTheMarkingUp)
{
    RecordingWidget& inner = tree.Add("inner", 5, 5, 10, 10, &low);
    Clean();
    inner.MarkDirty();
    EXPECT_EQ(DirtyNames(tree), (std::set<std::string>{"inner", "low", "high"}));
}

TEST(WidgetContainerTree, IsBelowFollowsTheDrawingOrder)
{
    Tree tree;
    RecordingWidget& a = tree.Add("A", 0, 0, 10, 10);
    RecordingWidget& a1 = tree.Add("A1", 0, 0, 10, 10, &a);
    RecordingWidget& a2 = tree.Add("A2", 0, 0, 10, 10, &a);
    RecordingWidget& b = tree.Add("B", 0, 0, 10, 10);
    RecordingWidget& stranger = tree.Make("S", 0, 0, 1, 1);
    auto& m = tree.manager;
    EXPECT_TRUE(m.IsBelow(&a1, &b));
    EXPECT_FALSE(m.IsBelow(&b, &a2));
    EXPECT_TRUE(m.IsBelow(&a, &a1)) << "a parent is drawn before its children";
    EXPECT_FALSE(m.IsBelow(&a2, &a1));
    EXPECT_TRUE(m.IsBelow(&a2, &stranger));
    EXPECT_FALSE(m.IsBelow(&stranger, &a2));
    EXPECT_FALSE(m.IsBelow(&stranger, nullptr));
}

TEST(WidgetContainerTree, RemoveAllWidgetsDeletesOnlyWhenAsked)
{
    Tandry::WidgetManager manager(nullptr);
    auto* outer = new Widget;
    auto* inner = new Widget;
    outer->AddWidget(inner);
    manager.AddWidget(outer);
    manager.RemoveAllWidgets(false, true);
    EXPECT_TRUE(manager.children.empty());
    EXPECT_TRUE(outer->children.empty()) << "recursive";
    EXPECT_EQ(inner->manager, nullptr);
    outer->AddWidget(inner);
    manager.AddWidget(outer);
    // ASan sees both go.
    manager.RemoveAllWidgets(true, true);
    EXPECT_TRUE(manager.children.empty());
}

TEST(WidgetContainerGeometry, RectanglesAndPoints)
{
    struct Case {
        Tandry::Rect a;
        Tandry::Rect b;
        bool intersects;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {10, 0, 10, 10}, false}, {{0, 0, 10, 10}, {0, 10, 10, 10}, false},
        {{0, 0, 10, 10}, {9, 9, 10, 10}, true},   {{0, 0, 10, 10}, {-5, -5, 6, 6}, true},
        {{0, 0, 10, 10}, {5, 5, 0, 0}, false},    {{0, 0, 10, 10}, {2, 2, 2, 2}, true},
    };
    for (const Case& c : cases) {
        Widget a;
        Widget b;
        a.Resize(c.a);
        b.Resize(c.b);
        EXPECT_EQ(a.Intersects(&b), c.intersects) << c.b.x << "," << c.b.y;
        EXPECT_EQ(b.Intersects(&a), c.intersects);
    }
    Widget w;
    w.Resize(10, 20, 30, 40);
    EXPECT_TRUE(w.Contains(10, 20));
    EXPECT_TRUE(w.Contains(39, 59));
    EXPECT_FALSE(w.Contains(40, 30));
    EXPECT_FALSE(w.Contains(20, 60));
    EXPECT_FALSE(w.Contains(9, 30));
    w.mouseInsets = {1, 2, 3, 4};
    EXPECT_EQ(w.GetInsetRect(), Tandry::Rect(11, 22, 26, 34));
}

TEST(WidgetContainerGeometry, CountDigits)
{
    Widget w;
    const std::pair<int, int> cases[] = {{0, 1},          {9, 1},           {10, 2},         {-5, 1},
                                         {99, 2},         {100, 3},         {999999999, 9},  {1000000000, 10},
                                         {INT_MAX, 10},   {INT_MIN, 1}};
    for (const auto& [number, digits] : cases)
        EXPECT_EQ(w.CountDigits(number), digits) << number;
}

TEST(WidgetContainerGeometry, ColoursGrowWithOpaqueBlackAndLookupsPastTheEndFallBack)
{
    Widget w;
    w.SetColor(2, Tandry::Color(1, 2, 3, 4));
    ASSERT_EQ(w.colors.size(), 3u);
    EXPECT_EQ(w.colors[0], Tandry::Color(0, 0, 0, 255));
    EXPECT_EQ(w.GetColor(2), Tandry::Color(1, 2, 3, 4));
    EXPECT_EQ(w.GetColor(7), Tandry::Color(0, 0, 0, 255));
    EXPECT_EQ(w.GetColor(7, Tandry::Color(9, 9, 9, 9)), Tandry::Color(9, 9, 9, 9));
    EXPECT_EQ(w.GetColor(-1, Tandry::Color(9, 9, 9, 9)), Tandry::Color(9, 9, 9, 9));
    const int rows[][3] = {{10, 20, 30}, {40, 50, 60}};
    w.SetColors(rows, 2);
    ASSERT_EQ(w.colors.size(), 2u);
    EXPECT_EQ(w.GetColor(1), Tandry::Color(40, 50, 60, 255));
}

} // namespace
