// The options panel's slider: its unscaled centre, its place at the floor of
// the scaled centre, the tinted track at whole pixels, and nothing drawn or
// hit without both pictures.
#include "GameWidgetFixture.h"
#include "game/shell/GuiLayoutEntry.h"
#include "game/shell/ScaleSlider.h"
#include "widgets/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using GameWidgetTest::ChannelsNear;
using GameWidgetTest::SolidPixels;
using Tandry::Color;
using Tandry::Point;
using Tandry::ScaleSlider;

class ScaleSliderTest : public GameWidgetTest::GameWidgetFixture {
protected:
    void SetUp() override
    {
        GameWidgetFixture::SetUp();
        // A white track and a thumb that leaves no mark.
        layout = WriteLayout("slider", {{"track", 0, 0, 0, SolidPixels(30, 6, 0xFFFFFFFFu)},
                                        {"thumb", 0, 0, 0, SolidPixels(3, 6, 0x00FFFFFFu)}});
    }
    void TearDown() override
    {
        Manager().RemoveAllWidgets(false, true);
        GameWidgetFixture::TearDown();
    }
    Tandry::MemoryImage* Track() { return layout->FindEntry("track")->image; }
    Tandry::MemoryImage* Thumb() { return layout->FindEntry("thumb")->image; }

    std::unique_ptr<Tandry::GuiLayout> layout;
    WidgetTest::RecordingListener listener;
};

TEST_F(ScaleSliderTest, SetScalePlacesAtTheFloorOfTheScaledCentre)
{
    struct Case {
        float scale;
        Point anchor;
        Point place;
    };
    // Centre (25, 23), half size (15, 3).
    const Case cases[] = {
        {1.0f, {0, 0}, {10, 20}},
        {0.5f, {0, 0}, {-3, 8}},     // -2.5, 8.5
        {0.5f, {25, 23}, {10, 20}},  // about its own centre it stays
        {0.25f, {1, 2}, {-8, 4}},    // -8.0, 4.25
        {2.0f, {40, 0}, {-5, 43}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scale);
        ScaleSlider slider(Track(), Thumb(), 1, &listener);
        slider.Resize(10, 20, 30, 6);
        EXPECT_EQ(slider.center, Point(25, 23));
        slider.SetScale(c.scale, c.anchor.x, c.anchor.y);
        EXPECT_FLOAT_EQ(slider.scale, c.scale);
        EXPECT_EQ(Point(slider.x, slider.y), c.place);
        EXPECT_EQ(slider.center, Point(25, 23));
        EXPECT_EQ(slider.width, 30);
    }
}

TEST_F(ScaleSliderTest, TheTrackIsDrawnTintedAtWholePixels)
{
    ScaleSlider slider(Track(), Thumb(), 1, &listener);
    slider.Resize(10, 20, 30, 6);
    slider.tint = Color(0, 255, 0, 255);
    // At scale 1 it stays where it was.
    slider.SetScale(1.0f, 0, 0);
    Manager().AddWidget(&slider);
    DrawScreen();
    for (int x = 10; x < 40; ++x) {
        EXPECT_TRUE(ChannelsNear(ScreenPixel(x, 20), 0x00FF00u)) << x << ": " << std::hex << ScreenPixel(x, 20);
        EXPECT_TRUE(ChannelsNear(ScreenPixel(x, 25), 0x00FF00u)) << x;
    }
    EXPECT_EQ(ScreenPixel(9, 22), 0u);
    EXPECT_EQ(ScreenPixel(40, 22), 0u);
    EXPECT_EQ(ScreenPixel(20, 19), 0u);
    EXPECT_EQ(ScreenPixel(20, 26), 0u);

    // Half size about its centre: only the middle is covered.
    slider.SetScale(0.5f, 25, 23);
    DrawScreen();
    EXPECT_TRUE(ChannelsNear(ScreenPixel(25, 23), 0x00FF00u)) << std::hex << ScreenPixel(25, 23);
    EXPECT_EQ(ScreenPixel(10, 20), 0u);
    EXPECT_EQ(ScreenPixel(39, 25), 0u);
    Manager().RemoveWidget(&slider);
}

TEST_F(ScaleSliderTest, WithoutBothPicturesNothingIsDrawnOrHit)
{
    const struct {
        const char* what;
        bool track;
        bool thumb;
    } cases[] = {{"no track", false, true}, {"no thumb", true, false}, {"neither", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScaleSlider slider(c.track ? Track() : nullptr, c.thumb ? Thumb() : nullptr, 1, &listener);
        slider.Resize(10, 20, 30, 6);
        Manager().AddWidget(&slider);
        DrawScreen();
        EXPECT_EQ(ScreenPixel(20, 22), 0u);
        EXPECT_FALSE(slider.HitTestPoint(10, 3));
        EXPECT_EQ(Manager().GetWidgetAt(20, 22, nullptr, nullptr), nullptr);
        Manager().RemoveWidget(&slider);
    }
    ScaleSlider whole(Track(), Thumb(), 1, &listener);
    whole.Resize(10, 20, 30, 6);
    EXPECT_TRUE(whole.HitTestPoint(10, 3));
}

} // namespace
