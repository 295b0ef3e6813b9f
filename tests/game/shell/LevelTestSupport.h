// A level type for the controller and scenario tests: every load, state
// save, state load and deletion is written to a shared log, and a saved state
// leaves [State] <name>=saved in the current profile. Also a recording scene
// service and the reset of the controllers, the scenario and their seams.
#pragma once

#include "game/shell/GameControllerCommon.h"
#include "game/shell/GameControllerDer.h"
#include "game/shell/LevelBase.h"
#include "game/shell/ProfileManager.h"
#include "game/shell/Scenario.h"
#include "game/shell/SceneService.h"
#include "game/shell/SceneStarter.h"

#include <set>
#include <string>
#include <vector>

namespace ShellTest {

inline std::vector<std::string>& LevelLog()
{
    static std::vector<std::string> log;
    return log;
}

class LoggingLevel : public LevelBase {
public:
    explicit LoggingLevel(std::string levelName) : LevelBase(std::move(levelName)) {}
    ~LoggingLevel() override { LevelLog().push_back("delete " + name); }

    void Load() override { LevelLog().push_back("load " + name); }
    void SaveState() override
    {
        LevelLog().push_back("save " + name);
        Tandry::GetProfileManager().SetValue("State", name, "saved");
    }
    void LoadState() override { LevelLog().push_back("state " + name); }
};

using LoggingController = Tandry::GameControllerDer<LoggingLevel>;

class RecordingSceneService : public Tandry::SceneService {
public:
    void LoadSceneState(const std::string& sceneName) override { calls.push_back("state " + sceneName); }
    void LoadPools() override { calls.push_back("pools"); }
    void LinkSceneItems(const std::string& sceneName) override { calls.push_back("link " + sceneName); }
    void PrepareSceneHints(const std::string& sceneName) override { calls.push_back("hints " + sceneName); }
    void ReloadSceneTexts(const std::string& sceneName) override { calls.push_back("texts " + sceneName); }
    bool RunStartAction(const std::string& sceneName) override
    {
        calls.push_back("start " + sceneName);
        return scenesWithStartAction.count(sceneName) != 0;
    }

    std::set<std::string> scenesWithStartAction;

    std::vector<std::string> calls;
};

// Everything the controller and scenario tests touch, back to its start.
inline void ResetControllersAndScenario()
{
    Tandry::ResetScenario();
    Tandry::ResetGameControllerCommon();
    Tandry::SetSceneService(nullptr);
    Tandry::ResetSceneStarter();
    LevelLog().clear();
}

} // namespace ShellTest
