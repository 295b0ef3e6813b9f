// The shared part of the level controllers, one per process: it owns the
// player data, knows the current level of any controller and releases it,
// drops every controller's levels at once (ResetLevels, on a profile switch
// and at shutdown) and keeps the game's shared GUI layouts. Reached through
// GetGameControllerCommon; the level controllers register with it.
#pragma once

#include "game/shell/GameControllerBase.h"
#include "game/shell/PlayerInfo.h"

#include <memory>

namespace Tandry {

class GuiLayout;

class GameControllerCommon : public GameControllerBase {
public:
    GameControllerCommon();
    ~GameControllerCommon() override;

    PlayerInfo& GetPlayerInfo() { return *mPlayerInfo; }

    // The controller owning the current level forgets it; then no level is current.
    void ReleaseCurrent();
    // Releases the current level, lets every controller save and delete its
    // levels (in registration order), then saves the game when the current
    // profile loads.
    void ResetLevels();

    // For the level controllers: the level that is now current, and the call
    // that makes its controller forget it.
    void SetCurrent(LevelBase* level, const void* owner, const BoundCall<void()>& release);
    void AddClearAllCall(const void* owner, const BoundCall<void()>& call);
    // A controller going away: its clear-all call leaves the list, and when
    // its level is current, no level is current any more.
    void Forget(const void* owner);

    // Not owned: the game application loads and frees them.
    GuiLayout* frameLayout = nullptr;        // "data/gui/ramka/"
    GuiLayout* notebookLayout = nullptr;     // "data/gui/notebook/"
    GuiLayout* inGameMenuLayout = nullptr;   // "data/gui/ingamemenu/"
    GuiLayout* optionsLayout = nullptr;      // "data/gui/options/"
    GuiLayout* tutorialFrameLayout = nullptr;  // "data/gui/ramka_tutorial/", on first use

private:
    std::unique_ptr<PlayerInfo> mPlayerInfo;
};

// The one shared part, built on first use.
GameControllerCommon& GetGameControllerCommon();
// The shared part when it exists, without building it.
GameControllerCommon* FindGameControllerCommon();
// Destroys it; the next GetGameControllerCommon builds a new one. For tests.
void ResetGameControllerCommon();

} // namespace Tandry
