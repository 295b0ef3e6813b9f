#include "game/shell/GameControllerBase.h"

#include "game/shell/PlayerInfoBase.h"
#include "game/shell/ProfileManager.h"
#include "game/shell/Scenario.h"

namespace Tandry {

void GameControllerBase::Load()
{
    if (mPlayerData != nullptr)
        mPlayerData->Load();
    GetScenario().Reload();
}

void GameControllerBase::Save()
{
    GetScenario().SaveAllLevelInfos();
    if (mPlayerData != nullptr)
        mPlayerData->Save();
    GetProfileManager().SaveCurrentProfile();
}

} // namespace Tandry
