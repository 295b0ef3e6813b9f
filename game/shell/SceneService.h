// What the shell needs of the quest scenes: when a profile is loaded, get or
// load a scene and give it its saved state, restore the inventory pools, link
// a scene's items and prepare its hints; when the language changes, reload a
// scene's texts; when a new game starts, run a scene's opening actions. The quest scene controller
// implements it and registers itself at start-up; until one is registered
// the scenario skips these steps.
#pragma once

#include <string>

namespace Tandry {

class SceneService {
public:
    virtual ~SceneService() = default;

    // The scene of that name, loaded on first use, runs its LoadState.
    virtual void LoadSceneState(const std::string& sceneName) = 0;
    // Restores the inventory pools of the current profile.
    virtual void LoadPools() = 0;
    // Registers the use targets of every item state of the scene.
    virtual void LinkSceneItems(const std::string& sceneName) = 0;
    // Computes the hint text of every state of every item of the scene.
    virtual void PrepareSceneHints(const std::string& sceneName) = 0;
    // Re-reads the scene's texts from the current language, loading the scene first when needed.
    virtual void ReloadSceneTexts(const std::string& sceneName) = 0;
    // Gets or loads the scene and, when it has the actions group "StartAction",
    // runs it with no item; false when the scene has no such group.
    virtual bool RunStartAction(const std::string& sceneName) = 0;
};

// Not owned; null removes it (also the reset for tests).
void SetSceneService(SceneService* service);
// Null until one is registered.
SceneService* GetSceneService();

} // namespace Tandry
