// The shared core of the level controllers: the current level of any type,
// the player data, the call that makes the controller owning the current
// level forget it, and one clear-all call per level controller. Its one
// instance is GameControllerCommon; loading and saving it covers a whole
// profile.
#pragma once

#include "game/shell/LevelBase.h"
#include "widgets/BoundCall.h"

#include <vector>

namespace Tandry {

class PlayerInfoBase;

class GameControllerBase {
public:
    GameControllerBase() = default;
    GameControllerBase(const GameControllerBase&) = delete;
    GameControllerBase& operator=(const GameControllerBase&) = delete;
    virtual ~GameControllerBase() = default;

    // The player data, then the scenario's records and scene states.
    virtual void Load();
    // The level records and the player data into the current document, then
    // the profile file.
    virtual void Save();

    // The current level of whichever controller has one; null when none has.
    LevelBase* GetCurrentLevel() const { return mCurrentLevel; }
    PlayerInfoBase* GetPlayerData() const { return mPlayerData; }

protected:
    // One level controller's ClearAll, with the controller it belongs to.
    struct ClearAllCall {
        const void* owner;
        BoundCall<void()> call;
    };

    LevelBase* mCurrentLevel = nullptr;
    PlayerInfoBase* mPlayerData = nullptr;
    // Held by the controller whose level is current; empty when none is.
    BoundCall<void()> mReleaseCall;
    const void* mReleaseOwner = nullptr;
    // In registration order.
    std::vector<ClearAllCall> mClearAllCalls;
};

} // namespace Tandry
