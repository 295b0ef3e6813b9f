#include "game/shell/ScenarioBase.h"

#include "game/shell/ProfileManager.h"
#include "platform/debug/DebugOutput.h"

namespace Tandry {

void ScenarioBase::Clear()
{
    mRecords.clear();
}

void ScenarioBase::Reload()
{
    Clear();
}

void ScenarioBase::Play(const std::string& levelName)
{
    StartLevel(levelName);
}

void ScenarioBase::MarkLevelDone(const std::string& levelName)
{
    MarkRecordDone(levelName);
}

LevelInfo* ScenarioBase::FindLevelInfo(const std::string& levelName) const
{
    for (const std::unique_ptr<LevelInfo>& record : mRecords)
        if (record->levelName == levelName)
            return record.get();
    return nullptr;
}

LevelInfo* ScenarioBase::MarkRecordDone(const std::string& levelName)
{
    LevelInfo* record = FindLevelInfo(levelName);
    if (record == nullptr) {
        // Only levels started through StartLevel have a record to mark.
        Platform::OutputDebugStringA(("Scenario: no record of level \"" + levelName + "\" to mark done\n").c_str());
        return nullptr;
    }
    record->done = true;
    record->SaveToProfile();
    GetProfileManager().SaveCurrentProfile();
    return record;
}

} // namespace Tandry
