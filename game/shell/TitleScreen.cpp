#include "game/shell/TitleScreen.h"

#include "game/shell/GlobalResources.h"
#include "game/shell/ImgTitlePage.h"
#include "game/shell/LogoList.h"
#include "game/shell/MoveTowards.h"
#include "game/shell/ShowBoards.h"
#include "game/shell/SwfTitlePage.h"
#include "graphics/context/Graphics.h"
#include "platform/debug/DebugOutput.h"
#include "resources/ini/IniFile.h"
#include "resources/ini/LangTable.h"

#include <cmath>

namespace Tandry {

namespace {

// The file is data: "nan" or "inf" would leave a fade that never arrives,
// which holds the game on the logos for good.
float FiniteOr(float value, float fallback, const char* key)
{
    if (std::isfinite(value))
        return value;
    Platform::OutputDebugStringA(
        (std::string("TitleScreen: ") + TitleScreen::kLogoFile + " " + key + " is not a number; using the default\n")
            .c_str());
    return fallback;
}

} // namespace

TitleScreen::TitleScreen() : BaseBoard(false)
{
    IniFile ini;
    ini.Load(kLogoFile);
    fadeTime = FiniteOr(ini.GetFloat("FadeTime", "Game", 1.0f), 1.0f, "FadeTime");
    showTime = FiniteOr(ini.GetFloat("ShowTime", "Game", 2.0f), 2.0f, "ShowTime");
    std::vector<std::string> items;
    ini.GetValueList(items, "LogoList", "Game");
    const std::vector<LogoEntry> entries = ParseLogoList(items, showTime);

    for (const LogoEntry& entry : entries) {
        std::unique_ptr<TitlePage> page;
        if (entry.isFlash)
            page = std::make_unique<SwfTitlePage>(entry.skippable, entry.name);
        else
            page = std::make_unique<ImgTitlePage>(entry.skippable, entry.name, entry.time);
        if (page->loaded)
            pages.push_back(std::move(page));
    }
    skipAlpha = !entries.empty() && entries.front().skippable ? 1.0f : 0.0f;
}

TitleScreen::~TitleScreen() = default;

TitlePage* TitleScreen::CurrentPage() const
{
    return currentIndex < pages.size() ? pages[currentIndex].get() : nullptr;
}

float TitleScreen::VeilOpacity() const
{
    if (CurrentPage() == nullptr || !(fadeTime > 0))
        return 0;
    if (phase == kFadingIn)
        return 1.0f - phaseTimer / fadeTime;
    if (phase == kFadingOut)
        return phaseTimer / fadeTime;
    return 0;
}

void TitleScreen::UpdateBoard(float dt)
{
    float captionTarget = 0;
    if (TitlePage* page = CurrentPage()) {
        captionTarget = page->skippable ? 1.0f : 0.0f;
        if (phase == kFadingIn) {
            if (MoveTowards(&phaseTimer, dt, fadeTime)) {
                phase = kShowing;
                phaseTimer = 0;
            }
        } else if (phase == kShowing) {
            page->Update();
            if (page->finished) {
                phase = kFadingOut;
                phaseTimer = 0;
            }
        } else if (MoveTowards(&phaseTimer, dt, fadeTime)) {
            phase = kFadingIn;
            phaseTimer = 0;
            ++currentIndex;
            if (currentIndex >= pages.size())
                Finish();
        }
    }
    MoveTowards(&skipAlpha, 2.0f * dt, captionTarget);
}

void TitleScreen::Draw(Graphics* g)
{
    g->SetColor(Color(0, 0, 0, 255));
    g->FillRect(0, 0, width, height);

    if (TitlePage* page = CurrentPage()) {
        g->SetColorizeImages(true);
        g->SetColor(Color(255, 255, 255, 255));
        page->Draw(g);
        const Color veil = Color(0, 0, 0).WithAlpha(VeilOpacity());
        if (veil.alpha > 0) {
            g->SetColor(veil);
            g->FillRect(0, 0, width, height);
        }
        g->SetColorizeImages(false);
    }

    // Fonts are bound at start-up; a screen built before that has no caption.
    if (FONT_TEXT_BOLD == nullptr)
        return;
    g->SetFont(FONT_TEXT_BOLD);
    g->SetColor(Color(128, 128, 128).WithAlpha(skipAlpha));
    g->DrawStringJustified(GetLangString("Skip", GetLangTable(), L"Interface"), 0, kCaptionY, width, 0);
}

void TitleScreen::MouseDown(int /*mouseX*/, int /*mouseY*/, int /*button*/, int /*clickCount*/)
{
    Skip();
}

void TitleScreen::KeyDown(int /*key*/)
{
    Skip();
}

void TitleScreen::AddedToManager(WidgetManager* widgetManager)
{
    BaseBoard::AddedToManager(widgetManager);
    if (pages.empty())
        Finish();
}

std::string TitleScreen::GetMusicKey()
{
    return "Menu";
}

void TitleScreen::Skip()
{
    if (TitlePage* page = CurrentPage(); page != nullptr && page->skippable)
        page->finished = true;
}

void TitleScreen::Finish()
{
    if (finished)
        return;
    finished = true;
    ShowMainMenuOrProfiles();
}

} // namespace Tandry
