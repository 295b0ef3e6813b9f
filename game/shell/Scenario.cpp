#include "game/shell/Scenario.h"

#include "game/shell/GameControllerCommon.h"
#include "game/shell/SceneService.h"
#include "game/shell/SceneStarter.h"
#include "resources/ini/GameIni.h"

#include <vector>

namespace Tandry {

namespace {

constexpr char kClusters[] = "Clusters";

std::unique_ptr<Scenario>& Instance()
{
    static std::unique_ptr<Scenario> instance;
    return instance;
}

} // namespace

Scenario::~Scenario()
{
    mIndex.clear();
}

void Scenario::Clear()
{
    mIndex.clear();
    ScenarioBase::Clear();
}

void Scenario::Reload()
{
    ScenarioBase::Reload();
    LoadSceneStates();
    LinkScenes();
}

void Scenario::MarkLevelDone(const std::string& levelName)
{
    if (LevelInfo* record = MarkRecordDone(levelName))
        record->replayPending = true;
}

void Scenario::StartLevel(const std::string& levelName)
{
    GameControllerCommon& common = GetGameControllerCommon();
    const bool levelIsCurrent = common.GetCurrentLevel() != nullptr;
    LevelInfo& record = GetLevelInfo(levelName);
    if (levelIsCurrent && record.replayPending) {
        record.replayPending = false;
        common.ReleaseCurrent();
    }
    StartScene(levelName);
}

LevelInfo& Scenario::GetLevelInfo(const std::string& levelName)
{
    const auto found = mIndex.find(levelName);
    if (found != mIndex.end())
        return *found->second;
    std::unique_ptr<LevelInfo> record = CreateLevelInfo(levelName);
    record->LoadFromProfile();
    mRecords.push_back(std::move(record));
    return *mRecords.back();
}

void Scenario::SaveAllLevelInfos() const
{
    for (const std::unique_ptr<LevelInfo>& record : mRecords)
        record->SaveToProfile();
}

void Scenario::LoadSceneStates()
{
    SceneService* scenes = GetSceneService();
    if (scenes == nullptr)
        return;
    for (const std::string& name : CollectClusterScenes())
        scenes->LoadSceneState(name);
    scenes->LoadPools();
}

void Scenario::LinkScenes()
{
    SceneService* scenes = GetSceneService();
    if (scenes == nullptr)
        return;
    const std::set<std::string> names = CollectClusterScenes();
    for (const std::string& name : names)
        scenes->LinkSceneItems(name);
    if (GetGameSettingInt("GenerateHintIds", "Game", -1, 0) != 1)
        return;
    for (const std::string& name : names)
        scenes->PrepareSceneHints(name);
}

std::unique_ptr<LevelInfo> Scenario::CreateLevelInfo(const std::string& levelName)
{
    auto record = std::make_unique<LevelInfo>(levelName);
    mIndex[levelName] = record.get();
    return record;
}

std::set<std::string> CollectClusterScenes()
{
    std::vector<std::string> clusters;
    gGameIni.GetKeyNames(kClusters, clusters);
    std::set<std::string> scenes;
    for (const std::string& cluster : clusters) {
        if (cluster.empty())
            continue;
        std::vector<std::string> names;
        gGameIni.GetValueList(names, cluster, kClusters);
        for (const std::string& name : names)
            if (!name.empty())
                scenes.insert(name);
    }
    return scenes;
}

Scenario& GetScenario()
{
    std::unique_ptr<Scenario>& instance = Instance();
    if (instance == nullptr)
        instance = std::make_unique<Scenario>();
    return *instance;
}

void ResetScenario()
{
    Instance().reset();
}

} // namespace Tandry
