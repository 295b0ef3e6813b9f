#include "game/shell/GameControllerCommon.h"

#include "game/shell/ProfileManager.h"

#include <algorithm>

namespace Tandry {

namespace {

std::unique_ptr<GameControllerCommon>& Instance()
{
    static std::unique_ptr<GameControllerCommon> instance;
    return instance;
}

} // namespace

GameControllerCommon::GameControllerCommon()
    : mPlayerInfo(std::make_unique<PlayerInfo>())
{
    mPlayerData = mPlayerInfo.get();
}

GameControllerCommon::~GameControllerCommon()
{
    mPlayerData = nullptr;
}

void GameControllerCommon::ReleaseCurrent()
{
    if (!mReleaseCall.IsEmpty()) {
        // Cleared before the call, so a call that releases again finds nothing.
        const BoundCall<void()> release = mReleaseCall;
        mReleaseCall = {};
        mReleaseOwner = nullptr;
        release();
    }
    mCurrentLevel = nullptr;
}

void GameControllerCommon::ResetLevels()
{
    ReleaseCurrent();
    // A copy: a clear-all call may destroy or create controllers.
    const std::vector<ClearAllCall> calls = mClearAllCalls;
    for (const ClearAllCall& entry : calls)
        entry.call();
    if (GetProfileManager().LoadCurrentProfile())
        Save();
}

void GameControllerCommon::SetCurrent(LevelBase* level, const void* owner, const BoundCall<void()>& release)
{
    mCurrentLevel = level;
    mReleaseOwner = owner;
    mReleaseCall = release;
}

void GameControllerCommon::AddClearAllCall(const void* owner, const BoundCall<void()>& call)
{
    mClearAllCalls.push_back({owner, call});
}

void GameControllerCommon::Forget(const void* owner)
{
    std::erase_if(mClearAllCalls, [owner](const ClearAllCall& entry) { return entry.owner == owner; });
    if (mReleaseOwner == owner) {
        mReleaseCall = {};
        mReleaseOwner = nullptr;
        mCurrentLevel = nullptr;
    }
}

GameControllerCommon& GetGameControllerCommon()
{
    std::unique_ptr<GameControllerCommon>& instance = Instance();
    if (instance == nullptr)
        instance = std::make_unique<GameControllerCommon>();
    return *instance;
}

GameControllerCommon* FindGameControllerCommon()
{
    return Instance().get();
}

void ResetGameControllerCommon()
{
    Instance().reset();
}

} // namespace Tandry
