// The scaled, tinted game button: SetScale's whole-pixel place and fraction,
// the hit test mapped back through the scale (never at scale 0 or a tiny
// scale), and drawing about the centre beyond the button's rectangle, tinted,
// with the label colours left as the owner set them.
#include "GameWidgetFixture.h"
#include "game/shell/GuiLayoutEntry.h"
#include "game/shell/ScaleButton.h"
#include "widgets/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

using GameWidgetTest::ChannelsNear;
using GameWidgetTest::Pixels;
using GameWidgetTest::SolidPixels;
using Tandry::Color;
using Tandry::Point;
using Tandry::ScaleButton;

class ScaleButtonTest : public GameWidgetTest::GameWidgetFixture {
protected:
    WidgetTest::RecordingListener listener;
};

TEST_F(ScaleButtonTest, SetImagesKeepsTheIntegerCentre)
{
    auto layout = WriteLayout("s", {{"n", 10, 20, 0, SolidPixels(7, 5, 0xFFFFFFFFu)}});
    ScaleButton button(1, &listener);
    button.SetImages(layout->FindEntry("n"), nullptr);
    EXPECT_EQ(button.center, Point(13, 22));
}

TEST_F(ScaleButtonTest, SetScaleStoresTheFloorAndAFractionInZeroToOne)
{
    // A 10 x 10 button: x = 0.25 (center - anchor) + anchor - 5, y alike.
    struct Case {
        int center;
        int anchor;
        int whole;
        float fraction;
    };
    const Case cases[] = {
        {4, 1, -4, 0.75f},  // -3.25
        {9, 7, 2, 0.5f},    // 2.5
        {15, 11, 7, 0.0f},  // 7.0
        {-3, 1, -5, 0.0f},  // -5.0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.center);
        ScaleButton button(1, &listener);
        button.Resize(50, 60, 10, 10);
        button.center = Point(c.center, c.center);
        button.SetScale(0.25f, true, c.anchor, c.anchor);
        EXPECT_FLOAT_EQ(button.scale, 0.25f);
        EXPECT_EQ(button.x, c.whole);
        EXPECT_EQ(button.y, c.whole);
        EXPECT_FLOAT_EQ(button.subPixelOffset.x, c.fraction);
        EXPECT_FLOAT_EQ(button.subPixelOffset.y, c.fraction);
        EXPECT_EQ(button.center, Point(c.center, c.center));
        EXPECT_EQ(button.width, 10);
    }
    // Without reposition only the scale changes.
    ScaleButton still(1, &listener);
    still.Resize(50, 60, 10, 10);
    still.SetScale(3.0f, false, 0, 0);
    EXPECT_EQ(still.x, 50);
    EXPECT_FLOAT_EQ(still.scale, 3.0f);
}

TEST_F(ScaleButtonTest, TheHitIsMappedBackThroughTheScale)
{
    // A 20 x 20 picture whose only opaque pixel lies 5 right of the centre.
    Pixels picture = SolidPixels(20, 20, 0x00FFFFFFu);
    picture.argb[10 * 20 + 15] = 0xFF000000u;
    auto layout = WriteLayout("s", {{"n", 0, 0, 0, picture}});
    ScaleButton button(1, &listener);
    button.SetImages(layout->FindEntry("n"), nullptr);
    button.scale = 2.0f;
    EXPECT_TRUE(button.HitTestPoint(20, 10));
    EXPECT_TRUE(button.HitTestPoint(21, 11));
    EXPECT_FALSE(button.HitTestPoint(15, 10));
    EXPECT_FALSE(button.HitTestPoint(22, 10));
    button.scale = 1.0f;
    EXPECT_TRUE(button.HitTestPoint(15, 10));
    EXPECT_FALSE(button.HitTestPoint(20, 10));
}

TEST_F(ScaleButtonTest, NoScaleAboveZeroNoHitAndTinyScalesStayDefined)
{
    auto layout = WriteLayout("s", {{"n", 0, 0, 0, SolidPixels(8, 8, 0xFFFFFFFFu)}});
    const float scales[] = {0.0f, -0.0f, 1e-30f, -1.0f, std::numeric_limits<float>::denorm_min(),
                            std::numeric_limits<float>::quiet_NaN()};
    for (float scale : scales) {
        SCOPED_TRACE(scale);
        ScaleButton button(1, &listener);
        button.SetImages(layout->FindEntry("n"), nullptr);
        button.scale = scale;
        for (int y = -2; y <= 10; ++y)
            for (int x = -2; x <= 10; ++x)
                // At a tiny scale only the exact centre maps into the picture.
                EXPECT_EQ(button.HitTestPoint(x, y), scale > 0.0f && x == 4 && y == 4) << x << "," << y;
    }
}

class ScaleButtonDrawTest : public ScaleButtonTest {
protected:
    // A button of a 10 x 10 white picture at (100, 100), on the screen.
    ScaleButton& AddButton()
    {
        layout = WriteLayout("d", {{"n", 100, 100, 0, SolidPixels(10, 10, 0xFFFFFFFFu)}});
        button = std::make_unique<ScaleButton>(1, &listener);
        button->SetImages(layout->FindEntry("n"), nullptr);
        // Not pressed, not over: only the normal picture.
        Manager().AddWidget(button.get());
        return *button;
    }
    void TearDown() override
    {
        Manager().RemoveAllWidgets(false, true);
        ScaleButtonTest::TearDown();
    }
    std::unique_ptr<Tandry::GuiLayout> layout;
    std::unique_ptr<ScaleButton> button;
};

TEST_F(ScaleButtonDrawTest, AtScaleTwoThePictureCoversTwiceItsSizeAboutTheCentre)
{
    AddButton().scale = 2.0f;
    DrawScreen();
    for (int i = 95; i < 115; ++i) {
        EXPECT_TRUE(ChannelsNear(ScreenPixel(i, 95), 0xFFFFFFu)) << i;
        EXPECT_TRUE(ChannelsNear(ScreenPixel(95, i), 0xFFFFFFu)) << i;
        EXPECT_TRUE(ChannelsNear(ScreenPixel(i, 114), 0xFFFFFFu)) << i;
        EXPECT_TRUE(ChannelsNear(ScreenPixel(114, i), 0xFFFFFFu)) << i;
        EXPECT_EQ(ScreenPixel(i, 94), 0u) << i;
        EXPECT_EQ(ScreenPixel(94, i), 0u) << i;
        EXPECT_EQ(ScreenPixel(i, 115), 0u) << i;
        EXPECT_EQ(ScreenPixel(115, i), 0u) << i;
    }
}

TEST_F(ScaleButtonDrawTest, TheTintColoursThePictureAndTheLabelColoursComeBackUnchanged)
{
    ScaleButton& b = AddButton();
    b.tint = Color(255, 0, 0, 255);
    DrawScreen();
    EXPECT_TRUE(ChannelsNear(ScreenPixel(100, 100), 0xFF0000u)) << std::hex << ScreenPixel(100, 100);
    EXPECT_TRUE(ChannelsNear(ScreenPixel(109, 109), 0xFF0000u)) << std::hex << ScreenPixel(109, 109);

    // The label, one box glyph over the picture, in colour 0 times the tint.
    b.label = L"a";
    b.SetColor(0, Color(0xFF2080C0u));
    b.SetColor(1, Color(0xFF405060u));
    const std::vector<Color> before = b.colors;
    DrawScreen();
    EXPECT_TRUE(ChannelsNear(ScreenPixel(105, 104), 0x200000u)) << std::hex << ScreenPixel(105, 104);
    EXPECT_EQ(b.colors, before);
    EXPECT_FALSE(b.dirty);
}

} // namespace
