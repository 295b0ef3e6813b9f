// The first board of the game: the logo pages of "logo\\logo.ini" one after
// the other, each fading in from black, showing and fading out, with a
// "Skip" caption faded in while a skippable page is up; then the hand-over
// to the main menu (or the profile screen when no profile loads).
#pragma once

#include "game/shell/BaseBoard.h"
#include "game/shell/TitlePage.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace Tandry {

class TitleScreen : public BaseBoard {
public:
    static constexpr const char* kLogoFile = "logo\\logo.ini";
    static constexpr int kCaptionY = 750;

    enum Phase { kFadingIn = 0, kShowing = 1, kFadingOut = 2 };

    TitleScreen();
    ~TitleScreen() override;

    void UpdateBoard(float dt) override;
    void Draw(Graphics* g) override;
    using Widget::MouseDown;
    void MouseDown(int mouseX, int mouseY, int button, int clickCount) override;
    void KeyDown(int key) override;
    void AddedToManager(WidgetManager* widgetManager) override;
    std::string GetMusicKey() override;

    // Ends the current page early when it is skippable.
    void Skip();
    // The hand-over, made once.
    void Finish();

    // The page being shown; null once every page has run.
    TitlePage* CurrentPage() const;
    // 0 without veil, 1 fully black.
    float VeilOpacity() const;

    std::vector<std::unique_ptr<TitlePage>> pages;
    size_t currentIndex = 0;
    int phase = kFadingIn;
    // Seconds spent in the current fade.
    float phaseTimer = 0;
    float fadeTime = 1.0f;
    float showTime = 2.0f;
    bool finished = false;
    float skipAlpha = 0;
};

} // namespace Tandry
