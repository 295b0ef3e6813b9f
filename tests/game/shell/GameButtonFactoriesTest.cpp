// How the screens make their buttons and sliders from a layout: pictures,
// ids, listeners, fonts, label texts from [Interface] and label colours, the
// entries hidden, and layouts that lack the entries.
#include "GameWidgetFixture.h"
#include "game/shell/GameButtonFactories.h"
#include "game/shell/GuiLayoutEntry.h"
#include "game/shell/ScaleButton.h"
#include "game/shell/ScaleSlider.h"
#include "game/shell/ShellConstants.h"
#include "widgets/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using GameWidgetTest::SolidPixels;
using Tandry::Color;
using Tandry::Rect;

// A screen as the factories see it: it holds the layout and listens.
class Screen : public WidgetTest::RecordingListener {
public:
    Tandry::GuiLayout* Layout() { return layout.get(); }
    std::unique_ptr<Tandry::GuiLayout> layout;
};

class GameButtonFactoriesTest : public GameWidgetTest::GameWidgetFixture {
protected:
    void SetUp() override
    {
        GameWidgetFixture::SetUp();
        screen.layout = WriteLayout("f", {{"play_in", 10, 20, 0, SolidPixels(30, 12, 0xFF808080u)},
                                          {"play_ac", 8, 20, 0, SolidPixels(34, 12, 0xFFFFFFFFu)},
                                          {"track", 40, 50, 0, SolidPixels(60, 9, 0xFF808080u)},
                                          {"thumb", 0, 0, 0, SolidPixels(5, 9, 0xFFFFFFFFu)}});
        SetLangTexts(L"Interface", {{"Resume", L"Weiter spielen"}});
    }
    static Rect RectOf(const Tandry::Widget& widget) { return Rect(widget.x, widget.y, widget.width, widget.height); }

    Screen screen;
};

TEST_F(GameButtonFactoriesTest, AGameButtonTakesItsEntriesAndTheGivenLabel)
{
    for (const std::wstring& label : {std::wstring(), std::wstring(L"Play")}) {
        std::unique_ptr<Tandry::TGameButton> button(
            Tandry::CreateGameButton(screen.Layout(), 4, "play_in", "Play_AC", &screen, label));
        EXPECT_EQ(button->id, 4);
        EXPECT_EQ(button->listener, &screen);
        EXPECT_EQ(button->label, label);
        EXPECT_EQ(RectOf(*button), Rect(8, 20, 34, 12));
        EXPECT_EQ(button->normalPicture, screen.layout->FindEntry("play_in")->image);
        EXPECT_EQ(button->overPicture, screen.layout->FindEntry("play_ac")->image);
        EXPECT_FALSE(screen.layout->FindEntry("play_in")->drawFlag);
        EXPECT_FALSE(screen.layout->FindEntry("play_ac")->drawFlag);
        EXPECT_EQ(button->font, Tandry::FONT_DEFAULT);
    }
}

TEST_F(GameButtonFactoriesTest, ScaleButtonsUseTheButtonFontAndTheirLabelColours)
{
    std::unique_ptr<Tandry::ScaleButton> plain(Tandry::CreateScaleButtonFromLayout(&screen, "play_in", "play_ac"));
    std::unique_ptr<Tandry::ScaleButton> labelled(
        Tandry::CreateLabelledScaleButton(&screen, 2, "play_in", "play_ac", "Resume"));
    std::unique_ptr<Tandry::ScaleButton> missingKey(
        Tandry::CreateLabelledScaleButton(&screen, 3, "play_in", "play_ac", "NoSuchKey"));
    std::unique_ptr<Tandry::ScaleButton> colored(
        Tandry::CreateColoredScaleButton(&screen, 5, "play_in", "play_ac", "Resume", Color(0xFF123456u)));
    std::unique_ptr<Tandry::ScaleButton> coloredUnlabelled(
        Tandry::CreateColoredScaleButton(&screen, 6, "play_in", "play_ac", "", Color(0xFF654321u)));
    const struct {
        const char* what;
        Tandry::ScaleButton* button;
        int id;
        std::wstring label;
        Color color;
    } cases[] = {
        {"plain", plain.get(), 0, L"", Tandry::UiDarkColor},
        {"labelled", labelled.get(), 2, L"Weiter spielen", Color(0xFF2B0E00u)},
        {"missing key", missingKey.get(), 3, L"???", Tandry::UiDarkColor},
        {"coloured", colored.get(), 5, L"Weiter spielen", Color(0xFF123456u)},
        {"coloured, no key", coloredUnlabelled.get(), 6, L"", Color(0xFF654321u)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.button->id, c.id);
        EXPECT_EQ(c.button->listener, &screen);
        EXPECT_EQ(c.button->label, c.label);
        EXPECT_EQ(c.button->font, Tandry::FONT_BUTTON);
        EXPECT_EQ(c.button->GetColor(0), c.color);
        EXPECT_EQ(c.button->GetColor(1), c.color);
        EXPECT_EQ(RectOf(*c.button), Rect(8, 20, 34, 12));
        EXPECT_EQ(c.button->center, Tandry::Point(25, 26));
    }
}

TEST_F(GameButtonFactoriesTest, TheSliderHidesBothEntriesAndSitsOnTheTrack)
{
    std::unique_ptr<Tandry::ScaleSlider> slider(Tandry::CreateScaleSliderFromLayout(&screen, 9, "track", "thumb"));
    EXPECT_EQ(slider->id, 9);
    EXPECT_EQ(slider->listener, &screen);
    EXPECT_TRUE(slider->horizontal);
    EXPECT_EQ(RectOf(*slider), Rect(40, 50, 60, 9));
    EXPECT_EQ(slider->center, Tandry::Point(70, 54));
    EXPECT_EQ(slider->trackImage, screen.layout->FindEntry("track")->image);
    EXPECT_EQ(slider->thumbImage, screen.layout->FindEntry("thumb")->image);
    EXPECT_FALSE(screen.layout->FindEntry("track")->drawFlag);
    EXPECT_FALSE(screen.layout->FindEntry("thumb")->drawFlag);
}

TEST_F(GameButtonFactoriesTest, AnEmptyLayoutGivesWidgetsWithoutPicturesOrSize)
{
    Screen empty;
    empty.layout = WriteLayout("empty", {});
    std::unique_ptr<Tandry::TGameButton> button(
        Tandry::CreateGameButton(empty.Layout(), 1, "play_in", "play_ac", &empty, L"x"));
    std::unique_ptr<Tandry::ScaleButton> scaled(Tandry::CreateLabelledScaleButton(&empty, 2, "a", "b", "Resume"));
    std::unique_ptr<Tandry::ScaleSlider> slider(Tandry::CreateScaleSliderFromLayout(&empty, 3, "track", "thumb"));
    EXPECT_EQ(RectOf(*button), Rect(0, 0, 0, 0));
    EXPECT_EQ(button->normalPicture, nullptr);
    EXPECT_EQ(RectOf(*scaled), Rect(0, 0, 0, 0));
    EXPECT_EQ(scaled->label, L"Weiter spielen");
    EXPECT_EQ(RectOf(*slider), Rect(0, 0, 0, 0));
    EXPECT_EQ(slider->trackImage, nullptr);
}

} // namespace
