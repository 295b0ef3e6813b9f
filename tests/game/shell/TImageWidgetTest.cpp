// The HUD's still picture: always its picture's size, drawn at its corner,
// hit only where the picture's alpha is not 0.
#include "GameWidgetFixture.h"
#include "game/shell/GuiLayoutEntry.h"
#include "game/shell/TImageWidget.h"

#include <gtest/gtest.h>

namespace {

using GameWidgetTest::ChannelsNear;
using GameWidgetTest::Pixels;
using GameWidgetTest::SolidPixels;
using Tandry::Rect;
using Tandry::TImageWidget;

class TImageWidgetTest : public GameWidgetTest::GameWidgetFixture {
protected:
    void TearDown() override
    {
        Manager().RemoveAllWidgets(false, true);
        GameWidgetFixture::TearDown();
    }
    static Rect RectOf(const Tandry::Widget& widget) { return Rect(widget.x, widget.y, widget.width, widget.height); }
};

TEST_F(TImageWidgetTest, TakesThePictureSizeDrawsAtItsCornerAndHitsWhereOpaque)
{
    // 6 x 4 blue; the first pixel clear, the second all but clear.
    Pixels picture = SolidPixels(6, 4, 0xFF0000FFu);
    picture.argb[0] = 0x00FFFFFFu;
    picture.argb[1] = 0x01000000u;
    auto layout = WriteLayout("img", {{"pic", 0, 0, 0, picture}});
    TImageWidget widget(layout->FindEntry("pic")->image);
    widget.Resize(50, 60, 100, 100);
    EXPECT_EQ(RectOf(widget), Rect(50, 60, 6, 4));
    widget.Resize(Rect(51, 61, 1, 1));
    EXPECT_EQ(RectOf(widget), Rect(51, 61, 6, 4));

    const struct {
        int x, y;
        bool hit;
    } points[] = {{0, 0, false}, {1, 0, true}, {2, 0, true}, {5, 3, true},
                  {6, 0, false}, {0, 4, false}, {-1, 1, false}, {1, -1, false}};
    for (const auto& p : points)
        EXPECT_EQ(widget.HitTestPoint(p.x, p.y), p.hit) << p.x << "," << p.y;

    Manager().AddWidget(&widget);
    DrawScreen();
    EXPECT_TRUE(ChannelsNear(ScreenPixel(53, 61), 0x0000FFu));
    EXPECT_TRUE(ChannelsNear(ScreenPixel(56, 64), 0x0000FFu));
    EXPECT_EQ(ScreenPixel(51, 61), 0u);
    EXPECT_EQ(ScreenPixel(57, 62), 0u);
    EXPECT_EQ(ScreenPixel(53, 65), 0u);
    EXPECT_EQ(Manager().GetWidgetAt(51, 61, nullptr, nullptr), nullptr);
    EXPECT_EQ(Manager().GetWidgetAt(53, 62, nullptr, nullptr), &widget);
    Manager().RemoveWidget(&widget);
}

TEST_F(TImageWidgetTest, WithoutAPictureItHasNoSizeAndNoHit)
{
    TImageWidget widget(nullptr);
    widget.Resize(5, 6, 7, 8);
    EXPECT_EQ(RectOf(widget), Rect(5, 6, 0, 0));
    EXPECT_FALSE(widget.HitTestPoint(0, 0));
    Manager().AddWidget(&widget);
    DrawScreen();
    EXPECT_EQ(ScreenPixel(5, 6), 0u);
    Manager().RemoveWidget(&widget);
}

} // namespace
