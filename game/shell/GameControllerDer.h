// One level controller per level type (quest scenes, hidden-object levels,
// scenes in the editor): it creates levels by name on demand, keeps every
// one loaded until ClearAll, and knows its current level, which it makes
// the shared part's current level. Each instance registers its ClearAll with
// GetGameControllerCommon and leaves it again when destroyed.
#pragma once

#include "game/shell/GameControllerCommon.h"
#include "game/shell/LevelBase.h"

#include <map>
#include <memory>
#include <string>
#include <type_traits>

namespace Tandry {

// The storage policy of the level controllers: every level created stays
// loaded until ClearAll.
struct StoreAll {};

template <typename Level, typename Common = GameControllerCommon, typename Storage = StoreAll>
class GameControllerDer {
    static_assert(std::is_base_of_v<LevelBase, Level>, "a controller holds levels");
    static_assert(std::is_same_v<Common, GameControllerCommon>, "the shared part is GameControllerCommon");
    static_assert(std::is_same_v<Storage, ::Tandry::StoreAll>, "levels stay loaded until ClearAll");

public:
    GameControllerDer()
    {
        GetGameControllerCommon().AddClearAllCall(this, BoundCall<void()>(this, &GameControllerDer::ClearAll));
    }
    GameControllerDer(const GameControllerDer&) = delete;
    GameControllerDer& operator=(const GameControllerDer&) = delete;
    // Leaves the clear-all list and drops the release call when it holds it,
    // so nothing can reach a destroyed controller. The levels are deleted
    // without saving (the game has run ResetLevels before).
    virtual ~GameControllerDer()
    {
        if (GameControllerCommon* common = FindGameControllerCommon())
            common->Forget(this);
    }

    // The name GetCurrentLevel answers for.
    virtual void SetCurrentName(const std::string& name) { mCurrentName = name; }
    // No level is current; it stays loaded.
    virtual void ForgetCurrent() { mCurrent = nullptr; }
    // Saves the state of every level (name order), then deletes them all.
    virtual void ClearAll()
    {
        // Normally released before; a current level must not outlive its object.
        if (mCurrent != nullptr)
            GetGameControllerCommon().ReleaseCurrent();
        mCurrent = nullptr;
        for (auto& [name, level] : mLevels)
            level->SaveState();
        for (auto& [name, level] : mLevels)
            level.reset();
        mLevels.clear();
    }
    // Saves the state of every level while this controller has a current one.
    virtual void StoreAll()
    {
        if (mCurrent == nullptr)
            return;
        for (auto& [name, level] : mLevels)
            level->SaveState();
    }

    // The level of the current name, loaded on first use; it becomes the
    // current level, releasing the one current before.
    Level* GetCurrentLevel()
    {
        GameControllerCommon& common = GetGameControllerCommon();
        if (mCurrent != nullptr) {
            if (mCurrent->name == mCurrentName)
                return mCurrent;
            common.ReleaseCurrent();
            // The release reaches this controller while it owns the current level.
            mCurrent = nullptr;
        }
        common.ReleaseCurrent();
        Level* level = GetOrLoadLevel(mCurrentName);
        mCurrent = level;
        common.SetCurrent(level, this, BoundCall<void()>(this, &GameControllerDer::ForgetCurrent));
        return level;
    }

    // The level of that name; a new one is created and loaded when absent.
    Level* GetOrLoadLevel(const std::string& name)
    {
        std::unique_ptr<Level>& slot = mLevels[name];
        if (slot == nullptr) {
            slot = std::make_unique<Level>(name);
            slot->Load();
        }
        return slot.get();
    }

    const std::string& GetCurrentName() const { return mCurrentName; }
    // This controller's current level without loading; null when none.
    Level* CurrentOrNull() const { return mCurrent; }
    const std::map<std::string, std::unique_ptr<Level>>& Levels() const { return mLevels; }

protected:
    std::map<std::string, std::unique_ptr<Level>> mLevels;
    std::string mCurrentName;
    Level* mCurrent = nullptr;
};

} // namespace Tandry
