#include "game/shell/SceneStarter.h"

#include "platform/debug/DebugOutput.h"

#include <utility>

namespace Tandry {

namespace {

SceneStarter& Registered()
{
    static SceneStarter starter;
    return starter;
}

} // namespace

void SetSceneStarter(SceneStarter starter)
{
    Registered() = std::move(starter);
}

void StartScene(const std::string& sceneName)
{
    // A copy: the starter may register another one while it runs.
    const SceneStarter starter = Registered();
    if (!starter) {
        Platform::OutputDebugStringA(("Scenario: no scene starter for \"" + sceneName + "\"\n").c_str());
        return;
    }
    starter(sceneName);
}

void ResetSceneStarter()
{
    Registered() = nullptr;
}

} // namespace Tandry
