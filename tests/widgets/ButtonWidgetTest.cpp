// The push button through the manager (recorded listener calls) and its
// looks, checked pixel by pixel with box-rasterizer fonts.
#include "widgets/ButtonWidget.h"

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "widgets/ControlTestSupport.h"
#include "widgets/FakeWidgetHost.h"
#include "widgets/RecordingWidget.h"
#include "widgets/SysFont.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Tandry::ButtonWidget;
using Tandry::Color;
using Tandry::Graphics;
using Tandry::MemoryImage;
using Tandry::Rect;
using WidgetTest::FillImage;
using WidgetTest::FirstDifference;
using Log = std::vector<std::string>;

// A button at (10, 10, 20, 10) in a manager; it leaves the tree first.
struct ButtonScene {
    ButtonScene() { button.Resize(10, 10, 20, 10); tree.manager.AddWidget(&button); listener.Take(); }
    Tandry::FakeWidgetHost host;
    WidgetTest::RecordingListener listener;
    ButtonWidget button{7, &listener};
    WidgetTest::Tree tree{&host};
};

TEST(ButtonWidget, LeftClickReportsDownThenClickInBothForms)
{
    ButtonScene s;
    auto& m = s.tree.manager;
    m.MouseMove(15, 15);
    EXPECT_EQ(s.listener.Take(), (Log{"enter 7", "move 7 5,5"}));
    m.MouseDown(15, 15, 1);
    EXPECT_EQ(s.listener.Take(), (Log{"down 7 0", "down 7"}));
    EXPECT_TRUE(s.button.IsButtonDown());
    m.MouseUp(15, 15, 1);
    EXPECT_EQ(s.listener.Take(), (Log{"click 7 0", "click 7"}));
    EXPECT_FALSE(s.button.IsButtonDown());
}

TEST(ButtonWidget, RightAndMiddleClicksReportTheirButtonWithoutThePressedLook)
{
    ButtonScene s;
    auto& m = s.tree.manager;
    m.MouseMove(15, 15);
    s.listener.Take();
    m.MouseDown(15, 15, -1);
    EXPECT_EQ(s.listener.Take(), (Log{"down 7 1", "down 7"}));
    EXPECT_FALSE(s.button.isDown);
    EXPECT_FALSE(s.button.IsButtonDown());
    m.MouseUp(15, 15, -1);
    EXPECT_EQ(s.listener.Take(), (Log{"click 7 1", "click 7"}));
    m.MouseDown(15, 15, 3);
    m.MouseUp(15, 15, 3);
    EXPECT_EQ(s.listener.Take(), (Log{"down 7 2", "down 7", "click 7 2", "click 7"}));
}

TEST(ButtonWidget, ReleaseOffTheButtonOrWithoutWindowFocusClicksOnlyWhenAskedTo)
{
    struct Case {
        const char* name;
        bool releaseOutside;
        bool loseFocus;
        bool clickEvenIfNotOver;
        bool clicks;
    };
    const Case cases[] = {
        {"over", false, false, false, true},
        {"outside", true, false, false, false},
        {"outside, click anyway", true, false, true, true},
        {"focus lost", false, true, false, false},
        {"focus lost, click anyway", false, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ButtonScene s;
        auto& m = s.tree.manager;
        s.button.clickEvenIfNotOver = c.clickEvenIfNotOver;
        m.MouseMove(15, 15);
        m.MouseDown(15, 15, 1);
        if (c.releaseOutside)
            m.MouseMove(50, 50);
        if (c.loseFocus)
            m.WindowLostFocus();
        s.listener.Take();
        const int at = c.releaseOutside ? 50 : 15;
        m.MouseUp(at, at, 1);
        const Log log = s.listener.Take();
        const bool clicked = !log.empty() && log.front() == "click 7 0";
        EXPECT_EQ(clicked, c.clicks);
    }
}

TEST(ButtonWidget, HeldOnEveryUpdateWhileOverOnly)
{
    ButtonScene s;
    auto& m = s.tree.manager;
    m.MouseMove(15, 15);
    m.MouseDown(15, 15, 1);
    s.listener.Take();
    m.UpdateFrame();
    m.UpdateFrame();
    EXPECT_EQ(s.listener.Take(), (Log{"held 7", "held 7"}));
    m.MouseMove(50, 50);
    EXPECT_EQ(s.listener.Take(), (Log{"leave 7"}));
    m.UpdateFrame();
    m.UpdateFrame();
    EXPECT_EQ(s.listener.Take(), Log{});
    m.MouseMove(16, 15);
    m.UpdateFrame();
    EXPECT_EQ(s.listener.Take(), (Log{"enter 7", "held 7"}));
    m.MouseUp(16, 15, 1);
    s.listener.Take();
    m.UpdateFrame();
    EXPECT_EQ(s.listener.Take(), Log{});
}

TEST(ButtonWidget, OverAlphaFadesInAndOutByItsSpeeds)
{
    ButtonScene s;
    auto& m = s.tree.manager;
    s.button.overAlphaFadeInSpeed = 0.1;
    s.button.overAlphaFadeOutSpeed = 0.1;
    m.MouseMove(15, 15);
    for (int update = 1; update <= 14; ++update) {
        m.UpdateFrame();
        EXPECT_NEAR(s.button.overAlpha, std::min(1.0, update * 0.1), 1e-9) << update;
    }
    EXPECT_EQ(s.button.overAlpha, 1.0);
    m.MouseMove(50, 50);
    EXPECT_EQ(s.button.overAlpha, 1.0);
    for (int update = 1; update <= 14; ++update) {
        m.UpdateFrame();
        EXPECT_NEAR(s.button.overAlpha, std::max(0.0, 1.0 - update * 0.1), 1e-9) << update;
    }
    EXPECT_EQ(s.button.overAlpha, 0.0);
}

TEST(ButtonWidget, FadeOutWithoutFadeInStartsFromFullAndEnteringResets)
{
    ButtonScene s;
    auto& m = s.tree.manager;
    s.button.overAlphaFadeOutSpeed = 0.25;
    m.MouseMove(15, 15);
    m.UpdateFrame();
    EXPECT_EQ(s.button.overAlpha, 0.0);
    m.MouseMove(50, 50);
    EXPECT_EQ(s.button.overAlpha, 1.0);
    m.UpdateFrame();
    m.UpdateFrame();
    EXPECT_EQ(s.button.overAlpha, 0.5);
    // Entering with no fade-in speed drops what is left of the fade.
    m.MouseMove(15, 15);
    EXPECT_EQ(s.button.overAlpha, 0.0);
    // Without any fade speed, leaving drops a highlight set by the game.
    s.button.overAlphaFadeOutSpeed = 0.0;
    s.button.overAlpha = 0.7;
    m.MouseMove(50, 50);
    EXPECT_EQ(s.button.overAlpha, 0.0);
    s.button.overAlpha = 0.7;
    m.UpdateFrame();
    EXPECT_EQ(s.button.overAlpha, 0.0);
}

TEST(ButtonWidget, HoverMarksDirtyOnlyWhenSomethingWouldLookDifferent)
{
    MemoryImage over;
    FillImage(over, 2, 2, 0xFF00FF00);
    struct Case {
        const char* name;
        bool differentLabelColors;
        bool withOverImage;
        bool withOverRect;
        bool marksDirty;
    };
    const Case cases[] = {
        {"nothing changes", false, false, false, false},
        {"label colours differ", true, false, false, true},
        {"over image", false, true, false, true},
        {"over rectangle", false, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ButtonScene s;
        if (c.differentLabelColors)
            s.button.SetColor(ButtonWidget::kLabelOverColor, Color(1, 2, 3));
        if (c.withOverImage)
            s.button.overImage = &over;
        if (c.withOverRect)
            s.button.overRect = Rect(0, 0, 1, 1);
        s.button.dirty = false;
        s.tree.manager.MouseMove(15, 15);
        EXPECT_EQ(s.button.dirty, c.marksDirty);
        EXPECT_EQ(s.listener.Take(), (Log{"enter 7", "move 7 5,5"}));
        s.button.dirty = false;
        s.tree.manager.MouseMove(50, 50);
        EXPECT_EQ(s.button.dirty, c.marksDirty);
    }
}

TEST(ButtonWidget, ListenerMayRemoveOrDisableTheButtonFromItsCallbacks)
{
    for (const char* kind : {"down", "click", "held", "enter", "leave", "move"}) {
        SCOPED_TRACE(kind);
        ButtonScene s;
        auto& m = s.tree.manager;
        s.listener.on[kind] = [&] {
            s.button.SetDisabled(true);
            m.RemoveWidget(&s.button);
        };
        m.MouseMove(15, 15);
        m.MouseMove(16, 15);
        m.MouseDown(16, 15, 1);
        m.UpdateFrame();
        m.MouseMove(50, 50);
        m.MouseMove(16, 15);
        m.MouseUp(16, 15, 1);
        m.UpdateFrame();
        EXPECT_EQ(s.button.manager, nullptr);
        EXPECT_EQ(m.overWidget, nullptr);
        EXPECT_EQ(m.lastDownWidget, nullptr);
    }
}

// The frame look written pixel by pixel from its strips: face, then the
// light and dark edges, then the inner shade, later strips on top.
uint32_t FramePixel(int x, int y, int w, int h, bool pressed)
{
    const uint32_t face = 0xFFD4D4D4;
    const uint32_t light = 0xFFFFFFFF;
    const uint32_t dark = 0xFF000000;
    const uint32_t shade = 0xFF848484;
    uint32_t pixel = face;
    if ((y == 0 && x < w - 1) || (x == 0 && y < h - 1))
        pixel = pressed ? dark : light;
    if (y == h - 1 || x == w - 1)
        pixel = pressed ? light : dark;
    if (pressed) {
        if ((y == 1 && x >= 1 && x < w - 2) || (x == 1 && y >= 1 && y < h - 2))
            pixel = shade;
    } else if ((y == h - 2 && x >= 1 && x < w - 1) || (x == w - 2 && y >= 1 && y < h - 1)) {
        pixel = shade;
    }
    return pixel;
}

class ButtonDrawTest : public ::testing::Test {
protected:
    WidgetTest::BoxFonts fonts;
    WidgetTest::RecordingListener listener;
};

TEST_F(ButtonDrawTest, FrameLookWithItsLabelPressedAndNot)
{
    for (const bool pressed : {false, true}) {
        SCOPED_TRACE(pressed ? "pressed" : "raised");
        ButtonWidget button(1, &listener);
        button.Resize(0, 0, 20, 10);
        button.label = L"OK";
        button.isDown = pressed;
        button.isOver = pressed;
        MemoryImage got;
        FillImage(got, 20, 10, 0);
        Graphics g(&got);
        button.Draw(&g);

        // The 10-point box font: 13 pixels, advance 6, ascent 10.
        Tandry::SysFont font("Arial Unicode MS", 10, 0);
        ASSERT_EQ(font.GetAscent(), 10);
        ASSERT_NE(button.font, nullptr);
        EXPECT_EQ(button.font->GetHeight(), 13);
        const int labelX = (20 - 12) / 2 + (pressed ? 1 : 0);
        const int labelY = (10 + 10 - 10 / 6 - 1) / 2 + (pressed ? 1 : 0);

        MemoryImage want;
        FillImage(want, 20, 10, 0);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x)
                want.GetBits()[y * 20 + x] = FramePixel(x, y, 20, 10, pressed);
        Graphics wg(&want);
        font.DrawString(&wg, labelX, labelY, L"OK", Color(0, 0, 0), wg.mClipRect, 1.0f, 1.0f, 0.0f,
                        Tandry::kAlignLeft, Tandry::kAlignBaseline);
        // The label is really there: the first box's left column.
        EXPECT_EQ(want.GetPixel(labelX + 1, 5), 0xFF000000u);
        EXPECT_EQ(FirstDifference(got, want), "");
    }
}

TEST_F(ButtonDrawTest, LabelFontIsMadeOnceOnlyWhenThereIsALabel)
{
    ButtonWidget plain(1, &listener);
    plain.Resize(0, 0, 20, 10);
    MemoryImage got;
    FillImage(got, 20, 10, 0);
    Graphics g(&got);
    plain.Draw(&g);
    EXPECT_EQ(plain.font, nullptr);
    MemoryImage want;
    FillImage(want, 20, 10, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            want.GetBits()[y * 20 + x] = FramePixel(x, y, 20, 10, false);
    EXPECT_EQ(FirstDifference(got, want), "");

    // The font the button made goes with it (the leak check sees it) and
    // when a font of the game's replaces it.
    ButtonWidget labelled(2, &listener);
    labelled.label = L"x";
    labelled.Draw(&g);
    Tandry::Font* made = labelled.font;
    ASSERT_NE(made, nullptr);
    labelled.Draw(&g);
    EXPECT_EQ(labelled.font, made);
    Tandry::SysFont gameFont("any", 15, 0);
    labelled.SetFont(&gameFont);
    EXPECT_EQ(labelled.font, &gameFont);
    labelled.Draw(&g);
    EXPECT_EQ(labelled.font, &gameFont);
    ButtonWidget another(3, &listener);
    another.label = L"y";
    another.Draw(&g);
}

// Looks of one colour each, 4 x 4, on a 10 x 10 button.
class ButtonImageTest : public ::testing::Test {
protected:
    ButtonImageTest()
    {
        FillImage(normal, 4, 4, 0xFFFF0000);
        FillImage(over, 4, 4, 0xFF00FF00);
        FillImage(down, 4, 4, 0xFF0000FF);
        FillImage(disabledLook, 4, 4, 0xFF808080);
        // Two cells: red normal, green over.
        FillImage(strip, 8, 4, 0xFFFF0000);
        for (int y = 0; y < 4; ++y)
            for (int x = 4; x < 8; ++x)
                strip.GetBits()[y * 8 + x] = 0xFF00FF00;
        button.Resize(0, 0, 10, 10);
        button.normalOffset = {1, 1};
        button.overOffset = {2, 2};
        button.downOffset = {3, 3};
        button.disabledOffset = {4, 4};
    }

    // The picture holds exactly the look's image (or its cell) at (x, y),
    // as Graphics draws it directly.
    void ExpectLookAt(MemoryImage* look, int lookX, int lookY, const Rect& cell = Rect())
    {
        MemoryImage want;
        FillImage(want, 10, 10, 0);
        Graphics wg(&want);
        if (cell.width != 0)
            wg.DrawImagePart(look, lookX, lookY, cell);
        else
            wg.DrawImage(look, lookX, lookY);
        EXPECT_EQ(FirstDifference(got, want), "") << lookX << "," << lookY;
    }

    uint32_t Draw()
    {
        FillImage(got, 10, 10, 0);
        Graphics g(&got);
        button.Draw(&g);
        return got.GetPixel(5, 5);
    }

    WidgetTest::RecordingListener listener;
    MemoryImage normal;
    MemoryImage over;
    MemoryImage down;
    MemoryImage disabledLook;
    MemoryImage strip;
    MemoryImage got;
    ButtonWidget button{1, &listener};
};

TEST_F(ButtonImageTest, PressedLookFallsBackFromDownToOverToNormal)
{
    button.isDown = true;
    button.isOver = true;
    button.buttonImage = &normal;
    button.overImage = &over;
    button.downImage = &down;
    Draw();
    ExpectLookAt(&down, 3, 3);
    button.downImage = nullptr;
    Draw();
    ExpectLookAt(&over, 3, 3);
    button.overImage = nullptr;
    Draw();
    ExpectLookAt(&normal, 2, 2);
    // Cells of the normal image: the over cell, moved by one.
    button.buttonImage = &strip;
    button.normalRect = Rect(0, 0, 4, 4);
    button.overRect = Rect(4, 0, 4, 4);
    Draw();
    ExpectLookAt(&strip, 3, 3, Rect(4, 0, 4, 4));
    // Inverted: held down shows the raised look (the over cell, the mouse
    // being on it), and at rest the pressed one.
    button.inverted = true;
    Draw();
    ExpectLookAt(&strip, 2, 2, Rect(4, 0, 4, 4));
    button.isDown = false;
    button.isOver = false;
    Draw();
    ExpectLookAt(&strip, 3, 3, Rect(4, 0, 4, 4));
}

TEST_F(ButtonImageTest, RaisedLooks)
{
    button.buttonImage = &normal;
    button.overImage = &over;
    button.disabledImage = &disabledLook;
    Draw();
    ExpectLookAt(&normal, 1, 1);
    button.isOver = true;
    Draw();
    ExpectLookAt(&over, 2, 2);
    // Held down with the mouse off it: the over look.
    button.isOver = false;
    button.isDown = true;
    Draw();
    ExpectLookAt(&over, 2, 2);
    button.isDown = false;
    button.disabled = true;
    Draw();
    ExpectLookAt(&disabledLook, 4, 4);
    // A disabled button without a disabled look keeps the normal one.
    button.disabledImage = nullptr;
    Draw();
    ExpectLookAt(&normal, 1, 1);
}

TEST_F(ButtonImageTest, HalfFadedOverLookIsBlendedOverTheNormalLookAtAlpha127)
{
    button.buttonImage = &normal;
    button.overImage = &over;
    button.normalOffset = {0, 0};
    button.overOffset = {0, 0};
    button.overAlpha = 0.5;
    Draw();

    MemoryImage want;
    FillImage(want, 10, 10, 0);
    Graphics wg(&want);
    wg.DrawImage(&normal, 0, 0);
    wg.SetColorizeImages(true);
    wg.SetColor(Color(255, 255, 255, 127));
    wg.DrawImage(&over, 0, 0);
    EXPECT_EQ(FirstDifference(got, want), "");
    const uint32_t mixed = got.GetPixel(0, 0);
    EXPECT_NEAR(static_cast<int>((mixed >> 8) & 255), 127, 1);
    EXPECT_NEAR(static_cast<int>((mixed >> 16) & 255), 128, 1);

    // At full strength the over look alone, opaque; values the game may set
    // past 1 draw the same.
    for (const double alpha : {1.0, 1e300}) {
        button.overAlpha = alpha;
        Draw();
        FillImage(want, 10, 10, 0);
        Graphics full(&want);
        full.SetColorizeImages(true);
        full.SetColor(Color(255, 255, 255, 255));
        full.DrawImage(&over, 0, 0);
        EXPECT_EQ(FirstDifference(got, want), "") << alpha;
    }
}

TEST_F(ButtonImageTest, NoDrawAndOddSizesDrawNothingOrSafely)
{
    button.buttonImage = &normal;
    button.noDraw = true;
    Draw();
    EXPECT_EQ(got.GetPixel(1, 1), 0u);
    // Frame looks of sizes 0 and 1 and a negative size.
    ButtonWidget frame(2, &listener);
    for (const Rect& r : {Rect(0, 0, 0, 0), Rect(0, 0, 1, 1), Rect(0, 0, -5, 3), Rect(0, 0, 2, 2)}) {
        frame.Resize(r);
        for (const bool pressed : {false, true}) {
            frame.isDown = pressed;
            frame.isOver = pressed;
            FillImage(got, 10, 10, 0);
            Graphics g(&got);
            frame.Draw(&g);
        }
    }
    EXPECT_EQ(got.GetPixel(5, 5), 0u);
}

} // namespace
