#include "game/shell/MainMenu.h"

#include "game/shell/DarkBack.h"
#include "game/shell/ExitScreen.h"
#include "game/shell/GameApp.h"
#include "game/shell/GameButtonFactories.h"
#include "game/shell/GameControllerCommon.h"
#include "game/shell/GlobalResources.h"
#include "game/shell/GuiLayout.h"
#include "game/shell/InternetShortcut.h"
#include "game/shell/MoveTowards.h"
#include "game/shell/ProfileManager.h"
#include "game/shell/Scenario.h"
#include "game/shell/SceneService.h"
#include "game/shell/ShowBoards.h"
#include "game/shell/ShowProfileScreen.h"
#include "game/shell/StartPlace.h"
#include "game/shell/TGameButton.h"
#include "graphics/context/Font.h"
#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "particles/CreateParticles.h"
#include "particles/ParticlesCommon.h"
#include "platform/debug/DebugOutput.h"
#include "resources/ini/GameIni.h"
#include "resources/ini/LangTable.h"
#include "util/RandomGenerator.h"
#include "widgets/BoundCall.h"

#include <algorithm>

namespace Tandry {

namespace {

// The menu's own fixed steps per update of 10 ms.
constexpr float kEffectStep = 0.005f;
constexpr float kArrowStep = 0.01f;
constexpr int kModalZOrder = 30;
constexpr double kNameAngle = 0.2617994;
constexpr uint32_t kNameColor = 0xFFFFF398u;
constexpr float kFooterScale = 0.8f;

StartTargets GameStartTargets()
{
    StartTargets targets;
    targets.runStartAction = [](const std::string& sceneName) {
        // Without a quest engine no scene has the group.
        SceneService* service = GetSceneService();
        return service != nullptr && service->RunStartAction(sceneName);
    };
    targets.playScene = [](const std::string& sceneName) { GetScenario().Play(sceneName); };
    targets.hiddenObject = ShowHiddenObject;
    targets.movie = ShowMovie;
    return targets;
}

} // namespace

MainMenu::MainMenu(bool openProfilesAtStart)
    : BaseBoard(false), makeEffect(CreateParticles), arrowDelay(RandomFloat(1.0f, 3.0f)),
      openProfiles(openProfilesAtStart), mLayout(std::make_unique<GuiLayout>("data\\gui\\main_menu\\", false))
{
}

MainMenu::~MainMenu()
{
    // The buttons and any open panel go before the pictures they draw.
    RemoveAllWidgets(true, false);
}

std::string MainMenu::GetName()
{
    return "Menu";
}

void MainMenu::LoadResources()
{
    mLayout->LoadImages();
}

void MainMenu::OnLoaded()
{
    AddMenuButton(kPlayId, "play_in", "play_ac", "play_dn");
    AddMenuButton(kProfilesId, "here_in", "here_ac", "here_dn");
    AddMenuButton(kOptionsId, "Options_in", "Options_ac", "Options_dn");
    AddMenuButton(kCreditsId, "Credits_in", "Credits_ac", "Credits_dn");
    AddMenuButton(kExitId, "exit_in", "exit_ac", "exit_dn");

    nameRect = mLayout->GetEntryRect("buttons/player_name", true);
    playerName = GetProfileManager().GetCurrentName();

    mBackEntry = mLayout->FindEntry("_back");
    mBack2Entry = mLayout->FindEntry("_back2");
    if (mBackEntry != nullptr)
        mBackEntry->drawFlag = false;
    if (mBack2Entry != nullptr)
        mBack2Entry->drawFlag = false;

    skyEffect = StartEffect("1_Sky", 900.0f, 120.0f, 60.0f);
    steadyEffects.push_back(StartEffect("12_lght_l", 330.0f, 230.0f, 5.0f));
    steadyEffects.push_back(StartEffect("hg_house_2", 710.0f, 285.0f, 5.0f));

    for (const std::unique_ptr<GuiLayoutEntry>& entry : mLayout->Entries()) {
        if (entry->name.compare(0, 3, "fx/") != 0)
            continue;
        entry->drawFlag = false;
        lightSpots.emplace_back(entry.get());
    }

    footer = GetLangString("MainMenuCopyright", GetLangTable(), L"Interface");
    AddLogoButton();
    SetPlayerName(playerName);
}

void MainMenu::AddMenuButton(int id, const std::string& idleName, const std::string& overName,
                             const std::string& pressedName)
{
    TGameButton* button =
        CreateGameButton(mLayout.get(), id, "buttons/" + idleName, "buttons/" + overName, this, std::wstring());
    if (GuiLayoutEntry* pressed = mLayout->FindEntry("buttons/" + pressedName);
        pressed != nullptr && pressed->image != nullptr) {
        button->downImage = pressed->image;
        button->downOffset = Point(pressed->x - button->x, pressed->y - button->y);
        // The button shows it while pressed; the layout would show it always.
        pressed->drawFlag = false;
    }
    buttons.push_back(button);
    AddWidget(button);
}

void MainMenu::AddLogoButton()
{
    if (gApplication == nullptr)
        return;
    mLogoActive.reset(gApplication->LoadImageFile("fsdata\\logo_a", true));
    mLogoIdle.reset(gApplication->LoadImageFile("fsdata\\logo_na", true));
    if (mLogoActive == nullptr || mLogoIdle == nullptr) {
        mLogoActive.reset();
        mLogoIdle.reset();
        return;
    }
    logoButton = new TGameButton(kLogoId, this);
    logoButton->SetImagesAt(mLogoIdle.get(), Point(), mLogoActive.get(), Point());
    logoButton->Move(width - mLogoActive->mWidth - 30, 30);
    AddWidget(logoButton);
}

std::unique_ptr<ParticlesCommon> MainMenu::StartEffect(const std::string& name, float atX, float atY, float seconds)
{
    std::unique_ptr<ParticlesCommon> effect(makeEffect ? makeEffect(name) : nullptr);
    if (effect == nullptr)
        return effect;
    effect->SetLooping(true);
    const float point[2] = {atX, atY};
    effect->StartAt(point);
    effect->SeekTime(seconds);
    return effect;
}

void MainMenu::SetPlayerName(const std::wstring& name)
{
    playerName = name;
    nameImage.reset();
    Font* font = FONT_TEXT_BOLD;
    if (font == nullptr)
        return;
    const int nameWidth = font->StringWidth(name, 1.0f, 1.0f, 0.0f);
    const int nameHeight = font->GetHeight();
    namePosition = Point(nameRect.x - nameWidth / 2, nameRect.y - font->GetAscent());
    if (nameWidth <= 0 || nameHeight <= 0)
        return;
    nameImage = std::make_unique<DDImage>();
    nameImage->Create(nameWidth, nameHeight);
    Graphics g(nameImage.get());
    g.SetFont(font);
    g.SetColor(Color::White);
    g.DrawString(name, 0, font->GetAscent());
}

void MainMenu::OnShown()
{
    if (openProfiles)
        openProfilesPending = true;
}

void MainMenu::UpdateBoard(float /*dt*/)
{
    if (openProfilesPending) {
        openProfilesPending = false;
        ShowProfileScreen(this, true);
    }
    UpdateEffects();
    UpdateArrows();
    for (MenuLightSpot& spot : lightSpots)
        spot.Update();
}

void MainMenu::UpdateEffects()
{
    if (skyEffect != nullptr)
        skyEffect->Update(kEffectStep);
    for (auto it = passingEffects.begin(); it != passingEffects.end();) {
        (*it)->Update(kEffectStep);
        if ((*it)->IsFinished())
            it = passingEffects.erase(it);
        else
            ++it;
    }
    for (const std::unique_ptr<ParticlesCommon>& effect : steadyEffects) {
        if (effect != nullptr)
            effect->Update(kEffectStep);
    }
}

void MainMenu::UpdateArrows()
{
    if (!MoveTowards(&arrowDelay, kArrowStep, 0.0f))
        return;
    arrowDelay = RandomFloat(1.0f, 3.0f);
    const float point[2] = {RandomFloat(0.0f, 1024.0f), RandomFloat(30.0f, 200.0f)};
    std::unique_ptr<ParticlesCommon> arrow(makeEffect ? makeEffect("lightarrow") : nullptr);
    if (arrow == nullptr)
        return;
    arrow->StartAt(point);
    passingEffects.push_back(std::move(arrow));
}

void MainMenu::Draw(Graphics* g)
{
    mLayout->DrawEntry(mBackEntry, g, Point());
    if (skyEffect != nullptr)
        skyEffect->Draw(g);
    for (const std::unique_ptr<ParticlesCommon>& effect : passingEffects)
        effect->Draw(g);

    g->SetColorizeImages(true);
    for (const MenuLightSpot& spot : lightSpots) {
        if (spot.alpha == 0.0f)
            continue;
        g->SetColor(Color::White.WithAlpha(spot.alpha));
        mLayout->DrawEntry(spot.entry, g, Point());
    }
    g->SetColorizeImages(false);

    mLayout->DrawEntry(mBack2Entry, g, Point());
    for (const std::unique_ptr<ParticlesCommon>& effect : steadyEffects) {
        if (effect != nullptr)
            effect->Draw(g);
    }
    mLayout->Draw(g);

    if (nameImage != nullptr && nameImage->mWidth > 0) {
        g->SetColorizeImages(true);
        g->SetColor(Color(kNameColor));
        g->DrawImageRotated(nameImage.get(), static_cast<float>(namePosition.x), static_cast<float>(namePosition.y),
                            static_cast<float>(nameImage->mWidth) / 2.0f, static_cast<float>(nameImage->mHeight),
                            nullptr, kNameAngle);
        g->SetColorizeImages(false);
    }
}

void MainMenu::DrawOverlay(Graphics* g)
{
    Font* font = FONT_DEFAULT;
    if (font == nullptr || footer.empty())
        return;
    const int textWidth = font->StringWidth(footer, kFooterScale, kFooterScale, 0.0f);
    const int footerX = (width - textWidth) / 2;
    const int footerY = static_cast<int>(static_cast<float>(height) - kFooterScale * static_cast<float>(font->GetHeight()));
    font->DrawString(g, footerX, footerY, footer, Color::White, g->mClipRect, kFooterScale, kFooterScale, 0.0f,
                     kAlignLeft, kAlignBaseline);
}

void MainMenu::OnButtonClick(int id)
{
    switch (id) {
    case kPlayId:
        Play();
        break;
    case kProfilesId:
        ShowProfileScreen(this, false);
        break;
    case kOptionsId:
        OpenOptions();
        break;
    case kCreditsId:
        ShowCredits();
        break;
    case kExitId:
        OpenExitScreen();
        break;
    case kLogoId:
        OpenWebsite();
        break;
    default:
        break;
    }
}

void MainMenu::OpenExitScreen()
{
    auto* backdrop = new DarkBack(nullptr, 0);
    auto* panel = new ExitScreen(backdrop);
    backdrop->clickCall = BoundCall<void()>(static_cast<PopInPanel*>(panel), &PopInPanel::Close);
    backdrop->zOrder = kModalZOrder;
    panel->zOrder = kModalZOrder;
    AddWidget(backdrop);
    AddWidget(panel);
}

void MainMenu::OpenWebsite()
{
    const std::string url = ReadInternetShortcut("website.url");
    if (!url.empty() && gApplication != nullptr)
        gApplication->LaunchBrowser(url, false);
}

void MainMenu::OpenOptions()
{
    Platform::OutputDebugStringA("MainMenu: the options panel is not built yet\n");
}

void MainMenu::Play()
{
    if (GetGameControllerCommon().GetPlayerInfo().gameComplete) {
        ShowMovie("final", "");
        return;
    }
    ProfileManager& profiles = GetProfileManager();
    std::string text;
    bool newGame = false;
    if (profiles.HasKey("Main", "LastScene")) {
        text = profiles.GetString("Main", "LastScene");
    } else {
        text = SceneKindName() + ":" + gGameIni.GetString("StartScene", "Game", "hold");
        newGame = true;
    }
    StartPlace::Parse(text).Start(newGame, GameStartTargets());
}

} // namespace Tandry
