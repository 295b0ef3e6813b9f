// The main menu: the board the title screen hands over to and the in-game
// menu, the credits and the end of the game come back to. It draws its
// painted layout with flickering light spots, looping particle effects and
// passing "lightarrow" streaks, the player's name tilted on its plate and a
// footer line; its buttons start the game (Play), open the profile screen,
// the options, the credits, the exit confirmation and the logo's web page.
#pragma once

#include "game/shell/BaseBoard.h"
#include "game/shell/MenuLightSpot.h"
#include "graphics/types/Point.h"
#include "graphics/types/Rect.h"
#include "widgets/ButtonListener.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Tandry {

class DDImage;
class GuiLayout;
class ParticlesCommon;
class TGameButton;
struct GuiLayoutEntry;

class MainMenu : public BaseBoard, public ButtonListener {
public:
    enum ButtonId { kPlayId = 0, kProfilesId = 1, kOptionsId = 2, kCreditsId = 3, kExitId = 4, kLogoId = 5 };

    // The layout is read without its pictures; LoadResources loads them.
    // openProfiles: the current profile did not load, so the profile screen
    // opens on the first update after the menu is shown.
    explicit MainMenu(bool openProfiles);
    ~MainMenu() override;
    MainMenu(const MainMenu&) = delete;
    MainMenu& operator=(const MainMenu&) = delete;

    std::string GetName() override;
    void LoadResources() override;
    // Buttons, name plate, effects, light spots, footer, logo button, name.
    void OnLoaded() override;
    void OnShown() override;
    // The pending profile screen, the effects, the arrows and the light spots.
    void UpdateBoard(float dt) override;
    void Draw(Graphics* g) override;
    // The footer line.
    void DrawOverlay(Graphics* g) override;
    void OnButtonClick(int id) override;
    using ButtonListener::OnButtonClick;

    // The name drawn on the plate, rendered once into an image of its own.
    void SetPlayerName(const std::wstring& name);
    // Resumes the current profile where it left off, or starts a new game.
    void Play();
    // TODO: the options panel over a backdrop comes later; until then the button only writes a debug line.
    void OpenOptions();

    GuiLayout* Layout() { return mLayout.get(); }

    // Makes the particle effects by name; CreateParticles unless a test
    // replaces it before OnLoaded.
    std::function<ParticlesCommon*(const std::string& name)> makeEffect;

    // What OnLoaded builds; read by tests.
    std::vector<TGameButton*> buttons;
    TGameButton* logoButton = nullptr;
    Rect nameRect;
    std::wstring playerName;
    // Null for an empty name or without the name font.
    std::unique_ptr<DDImage> nameImage;
    Point namePosition;
    std::wstring footer;
    std::vector<MenuLightSpot> lightSpots;
    std::unique_ptr<ParticlesCommon> skyEffect;
    std::vector<std::unique_ptr<ParticlesCommon>> steadyEffects;
    std::vector<std::unique_ptr<ParticlesCommon>> passingEffects;
    // Seconds until the next "lightarrow".
    float arrowDelay;
    bool openProfiles;
    bool openProfilesPending = false;

private:
    // A button from "buttons/" + the idle and over names, with the pressed
    // picture of the third name when that entry exists.
    void AddMenuButton(int id, const std::string& idleName, const std::string& overName,
                       const std::string& pressedName);
    void AddLogoButton();
    // Made by makeEffect, looping, started at the point and advanced.
    std::unique_ptr<ParticlesCommon> StartEffect(const std::string& name, float atX, float atY, float seconds);
    void UpdateEffects();
    void UpdateArrows();
    void OpenExitScreen();
    void OpenWebsite();

    std::unique_ptr<GuiLayout> mLayout;
    GuiLayoutEntry* mBackEntry = nullptr;
    GuiLayoutEntry* mBack2Entry = nullptr;
    // The logo's two pictures, read from "fsdata"; the button only points at them.
    std::unique_ptr<DDImage> mLogoActive;
    std::unique_ptr<DDImage> mLogoIdle;
};

} // namespace Tandry
