#include "widgets/WidgetManager.h"

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "widgets/Widget.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Notes where each draw put the origin.
class OriginWidget : public Tandry::Widget {
public:
    void Draw(Tandry::Graphics* g) override { origins.push_back({g->mTransX, g->mTransY}); }
    std::vector<std::pair<float, float>> origins;
};

TEST(WidgetManagerDraw, OnlyDirtyVisibleTopLevelWidgetsAreDrawnAtTheirScreenPlace)
{
    Tandry::MemoryImage screen;
    screen.Create(64, 64);
    Tandry::WidgetManager manager;
    manager.drawImage = &screen;
    manager.drawOffsetRect = Tandry::Rect(-8, 4, 48, 48);

    OriginWidget dirtyOne;
    dirtyOne.Resize(10, 20, 5, 5);
    OriginWidget clean;
    clean.Resize(1, 1, 5, 5);
    clean.dirty = false;
    OriginWidget hidden;
    hidden.Resize(2, 2, 5, 5);
    hidden.visible = false;
    for (OriginWidget* widget : {&dirtyOne, &clean, &hidden})
        manager.AddWidget(widget);

    EXPECT_TRUE(manager.DrawScreen());
    ASSERT_EQ(dirtyOne.origins.size(), 1u);
    EXPECT_EQ(dirtyOne.origins[0], std::make_pair(18.0f, 16.0f));
    EXPECT_FALSE(dirtyOne.dirty);
    EXPECT_TRUE(clean.origins.empty());
    EXPECT_TRUE(hidden.origins.empty());
    EXPECT_TRUE(hidden.dirty);

    // Nothing dirty and visible is left.
    EXPECT_FALSE(manager.DrawScreen());
    EXPECT_EQ(dirtyOne.origins.size(), 1u);
}

TEST(WidgetManagerDraw, WithoutAScreenImageNothingBreaks)
{
    Tandry::WidgetManager manager;
    OriginWidget widget;
    widget.Resize(0, 0, 5, 5);
    manager.AddWidget(&widget);
    EXPECT_TRUE(manager.DrawScreen());
    EXPECT_FALSE(widget.dirty);
}

} // namespace
