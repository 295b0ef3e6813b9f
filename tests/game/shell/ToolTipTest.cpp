// The tooltip and the speech bubble share their text states (show, wait,
// fade, hide, time out); the tooltip follows the mouse inside the manager,
// the bubble grows from its layout corner and takes clicks on its picture.
// Both are driven as their boards drive them: Update (0.01) per update.
#include "GameWidgetFixture.h"
#include "game/shell/MessageBubble.h"
#include "game/shell/ReadingTime.h"
#include "game/shell/ToolTip.h"
#include "graphics/image/MemoryImage.h"
#include "resources/ini/GameIni.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using Tandry::MessageBubble;
using Tandry::ToolTip;

constexpr float kDt = 0.01f;

class FloatingTextTest : public GameWidgetTest::GameWidgetFixture {
protected:
    void SetUp() override
    {
        GameWidgetFixture::SetUp();
        Tandry::ResetGameIni();
        Tandry::ResetReadingTime();
    }
    void TearDown() override
    {
        Tandry::ResetReadingTime();
        Tandry::ResetGameIni();
        GameWidgetFixture::TearDown();
    }
    // The text measured as the widgets lay it out: widest line and height.
    static std::pair<int, int> Measure(const std::wstring& text)
    {
        Tandry::Graphics g;
        g.SetFont(Tandry::FONT_CORBEL);
        int widest = 0;
        const int height = Tandry::GetWordWrappedHeight(&g, 300, text, -1, &widest);
        return {widest, height};
    }
    template <typename W>
    static void Run(W& widget, int updates)
    {
        for (int i = 0; i < updates; ++i)
            widget.Update(kDt);
    }
};

// The text states, the same for both widgets.
template <typename W>
void CheckTextStates()
{
    W widget;
    widget.Show(L"first", 10.0f);
    EXPECT_EQ(widget.text, L"first") << "the first text is laid out at once";
    EXPECT_EQ(widget.fade, 0.0f);
    for (int i = 0; i < 10; ++i)
        widget.Update(kDt);
    EXPECT_NEAR(widget.fade, 1.0f, 1e-5f) << "fully in after 0.1 s";

    widget.Show(L"first", 10.0f);
    widget.Update(kDt);
    EXPECT_NEAR(widget.fade, 1.0f, 1e-5f) << "the same text does not restart the fade";

    widget.Show(L"second", 10.0f);
    EXPECT_EQ(widget.text, L"first");
    EXPECT_EQ(widget.pendingText, L"second");
    widget.Show(L"first", 10.0f);
    EXPECT_TRUE(widget.pendingText.empty()) << "the same text cancels the waiting one";

    widget.Show(L"second", 10.0f);
    for (int i = 0; i < 5; ++i)
        widget.Update(kDt);
    EXPECT_EQ(widget.text, L"first") << "the old text fades out first";
    EXPECT_LT(widget.fade, 0.6f);
    for (int i = 0; i < 6; ++i)
        widget.Update(kDt);
    EXPECT_EQ(widget.text, L"second");
    EXPECT_TRUE(widget.pendingText.empty());
    for (int i = 0; i < 12; ++i)
        widget.Update(kDt);
    EXPECT_NEAR(widget.fade, 1.0f, 1e-5f);

    widget.Show(L"", 10.0f);
    EXPECT_TRUE(widget.hidden);
    for (int i = 0; i < 12; ++i)
        widget.Update(kDt);
    EXPECT_EQ(widget.fade, 0.0f);
    EXPECT_EQ(widget.text, L"second") << "a hidden widget keeps its last text";
}

TEST_F(FloatingTextTest, TooltipTextStates) { CheckTextStates<ToolTip>(); }
TEST_F(FloatingTextTest, BubbleTextStates) { CheckTextStates<MessageBubble>(); }

// Whether the widget is still meant to show after the seconds of updates.
template <typename W>
bool ShownAfter(W& widget, float seconds)
{
    for (int i = 0; i < static_cast<int>(seconds / kDt + 0.5f); ++i)
        widget.Update(kDt);
    return !widget.hidden;
}

TEST_F(FloatingTextTest, DefaultShowTimes)
{
    ToolTip tip;
    tip.Show(L"door", -1.0f);
    EXPECT_FLOAT_EQ(tip.showTime, 3.0f);
    EXPECT_TRUE(ShownAfter(tip, 2.9f));
    EXPECT_FALSE(ShownAfter(tip, 0.2f));

    // Ten characters at the default 0.1 s each, plus 1 s.
    MessageBubble bubble;
    bubble.Show(L"0123456789", -1.0f);
    EXPECT_FLOAT_EQ(bubble.showTime, 2.0f);
    EXPECT_TRUE(ShownAfter(bubble, 1.9f));
    EXPECT_FALSE(ShownAfter(bubble, 0.2f));
    EXPECT_EQ(bubble.text, L"0123456789");
}

TEST_F(FloatingTextTest, ReadingTimeReadsTheGameIniOnce)
{
    Tandry::gGameIni.LoadText("[Game]\nTimePerChar=0.5\nTimePerStringAdd=2\n");
    EXPECT_FLOAT_EQ(Tandry::ReadingTime(L"abcd"), 4.0f);
    Tandry::gGameIni.LoadText("[Game]\nTimePerChar=1\nTimePerStringAdd=0\n");
    EXPECT_FLOAT_EQ(Tandry::ReadingTime(L"abcd"), 4.0f) << "kept from the first call";
    Tandry::ResetReadingTime();
    EXPECT_FLOAT_EQ(Tandry::ReadingTime(L"abcd"), 4.0f);
    EXPECT_FLOAT_EQ(Tandry::ReadingTime(L"abcdef"), 6.0f);
    EXPECT_FLOAT_EQ(Tandry::ReadingTime(L""), 0.0f);
}

TEST_F(FloatingTextTest, NegativeOrNonNumberReadingTimeHidesAtTheNextUpdate)
{
    for (const char* rate : {"-5", "nan"}) {
        SCOPED_TRACE(rate);
        Tandry::gGameIni.LoadText(std::string("[Game]\nTimePerChar=") + rate + "\nTimePerStringAdd=0\n");
        Tandry::ResetReadingTime();
        MessageBubble bubble;
        bubble.Show(L"words", -1.0f);
        EXPECT_FALSE(bubble.hidden);
        bubble.Update(kDt);
        EXPECT_TRUE(bubble.hidden);
    }
}

TEST_F(FloatingTextTest, TooltipBoxFollowsTheMouseAndStaysOnScreen)
{
    ToolTip tip;
    Manager().AddWidget(&tip);
    EXPECT_EQ(tip.zOrder, 10);
    const std::wstring text = L"an old oak chest";
    const auto [w, h] = Measure(text);
    ASSERT_GT(w, 0);
    tip.Show(text, 100.0f);
    EXPECT_EQ(tip.width, w + 12);
    EXPECT_EQ(tip.height, h + 8);
    EXPECT_FLOAT_EQ(tip.flipLift, static_cast<float>(h + 53));

    Manager().MouseMove(200, 100);
    tip.Update(kDt);
    EXPECT_EQ(tip.x, 210);
    EXPECT_EQ(tip.y, 140);

    // Near the bottom it slides above the mouse and 10 pixels left, over 0.1 s.
    const int bottomY = Manager().height - 45;
    Manager().MouseMove(200, bottomY);
    tip.Update(kDt);
    EXPECT_TRUE(tip.flipped);
    EXPECT_GT(tip.y, bottomY + 40 - (h + 53));
    Run(tip, 10);
    EXPECT_FLOAT_EQ(tip.flip, 1.0f);
    EXPECT_EQ(tip.x, 200);
    EXPECT_EQ(tip.y, bottomY + 40 - (h + 53));

    // Near the right edge its right side lies on the screen's edge.
    Manager().MouseMove(Manager().width - 5, 100);
    Run(tip, 12);
    EXPECT_EQ(tip.x + tip.width, Manager().width);
    Manager().RemoveWidget(&tip);
}

TEST_F(FloatingTextTest, TooltipFrameLiesExactlyOnItsEdge)
{
    ToolTip tip;
    tip.Show(L"key", 100.0f);
    Run(tip, 10);
    Tandry::MemoryImage target;
    target.Create(tip.width + 4, tip.height + 4);
    Tandry::Graphics g(&target);
    tip.Draw(&g);
    const Tandry::Color frame = Tandry::Color(0xFF2B0E00u);
    for (const auto& [px, py] : {std::pair{0, 0}, std::pair{tip.width - 1, 0}, std::pair{0, tip.height - 1},
                                 std::pair{tip.width - 1, tip.height - 1}, std::pair{tip.width / 2, 0}}) {
        const uint32_t pixel = target.GetPixel(px, py);
        EXPECT_NEAR(static_cast<int>((pixel >> 16) & 255u), frame.red, 2) << px << "," << py;
        EXPECT_GT(pixel >> 24, 0u);
    }
    for (const auto& [px, py] : {std::pair{tip.width, 0}, std::pair{0, tip.height}})
        EXPECT_EQ(target.GetPixel(px, py), 0u) << px << "," << py;
}

class BubbleTest : public FloatingTextTest {
protected:
    // A 30 x 30 opaque picture with a few marked pixels for the nine-part hit test.
    static GameWidgetTest::Pixels BubblePicture()
    {
        GameWidgetTest::Pixels pixels = GameWidgetTest::SolidPixels(30, 30, 0xFFC0C0C0u);
        const auto set = [&](int px, int py, uint32_t argb) { pixels.argb[py * 30 + px] = argb; };
        set(0, 0, 0x00000000u);
        set(29, 29, 0x00000000u);
        // The middle cell every inner point reads, at the threshold.
        set(10, 10, 0x0AC0C0C0u);
        // The top edge's source, just above it.
        set(10, 0, 0x0BC0C0C0u);
        return pixels;
    }
};

TEST_F(BubbleTest, GrowsUpwardsFromTheEntrysBottomLeftCorner)
{
    auto layout = WriteLayout("interface", {{"bubble", 100, 600, 0, BubblePicture()}});
    MessageBubble bubble;
    bubble.Init(layout.get());
    EXPECT_FALSE(layout->FindEntry("bubble")->drawFlag);
    ASSERT_NE(bubble.frameImage, nullptr);
    EXPECT_EQ(bubble.anchor, Tandry::Point(100, 630));
    EXPECT_EQ(bubble.GetRect(), Tandry::Rect(100, 630, 0, 0));

    const std::wstring text = L"I should look behind the mill wheel before night falls on the moor";
    const auto [w, h] = Measure(text);
    bubble.Show(text, -1.0f);
    EXPECT_EQ(bubble.GetRect(), Tandry::Rect(100, 630 - (h + 45), w + 27, h + 45));

    // An empty text laid out gives an empty box where it was.
    bubble.pendingText.clear();
    bubble.Layout();
    EXPECT_EQ(bubble.GetRect(), Tandry::Rect(100, 630 - (h + 45), 0, 0));
}

TEST_F(BubbleTest, HitsFollowTheNinePartRule)
{
    auto layout = WriteLayout("interface", {{"bubble", 100, 600, 0, BubblePicture()}});
    MessageBubble bubble;
    bubble.Init(layout.get());
    bubble.Show(L"a line long enough for a wide box", 100.0f);
    const int w = bubble.width;
    const int h = bubble.height;
    ASSERT_GT(w, 60);
    EXPECT_FALSE(bubble.HitTestPoint(1, 1)) << "nothing while the fade is 0";
    Run(bubble, 10);

    struct Case {
        int x, y;
        bool hit;
    };
    for (const Case& c : {Case{0, 0, false}, Case{1, 1, true}, Case{w / 2, h / 2, false}, Case{w / 2, 0, true},
                          Case{w - 1, h - 1, false}, Case{w - 2, h - 2, true}, Case{w - 10, h - 10, false},
                          Case{9, 9, true}}) {
        EXPECT_EQ(bubble.HitTestPoint(c.x, c.y), c.hit) << c.x << "," << c.y;
    }
}

TEST_F(BubbleTest, AClickOnThePictureDismissesIt)
{
    auto layout = WriteLayout("interface", {{"bubble", 100, 600, 0, BubblePicture()}});
    MessageBubble bubble;
    bubble.Init(layout.get());
    Manager().AddWidget(&bubble);
    bubble.Show(L"a line for the bubble", 100.0f);
    Run(bubble, 10);

    // A transparent corner lets the click through.
    Manager().MouseDown(bubble.x, bubble.y, 1);
    Manager().MouseUp(bubble.x, bubble.y, 1);
    EXPECT_FALSE(bubble.hidden);

    Manager().MouseDown(bubble.x + 2, bubble.y + 2, 1);
    Manager().MouseUp(bubble.x + 2, bubble.y + 2, 1);
    EXPECT_TRUE(bubble.hidden);
    Run(bubble, 10);
    EXPECT_EQ(bubble.fade, 0.0f);
    EXPECT_FALSE(bubble.HitTestPoint(2, 2));
    Manager().RemoveWidget(&bubble);
}

TEST_F(BubbleTest, WithoutItsPictureItShowsOnlyTextAndTakesNoHits)
{
    auto layout = WriteLayout("interface", {});
    MessageBubble bubble;
    bubble.Init(layout.get());
    EXPECT_EQ(bubble.frameImage, nullptr);
    EXPECT_EQ(bubble.anchor, Tandry::Point(0, 0));
    bubble.Show(L"just words", 100.0f);
    Run(bubble, 10);
    EXPECT_FALSE(bubble.HitTestPoint(2, 2));

    Tandry::MemoryImage target;
    target.Create(bubble.width, bubble.height);
    Tandry::Graphics g(&target);
    bubble.Draw(&g);
    // The light text over its halo is there; the box corner is not.
    EXPECT_EQ(target.GetPixel(0, 0), 0u);
    bool light = false;
    for (int py = 0; py < bubble.height; ++py)
        for (int px = 0; px < bubble.width; ++px)
            light = light || (target.GetPixel(px, py) & 0xFFFFFFu) == 0xFFF398u;
    EXPECT_TRUE(light);
}

} // namespace
