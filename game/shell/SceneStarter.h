// How the scenario puts a quest scene on screen: one callable taking the
// scene's name, registered at start-up by the board code (a new game board
// for the scene, then the board switch). Until one is registered a start
// only writes a line to the debug output.
#pragma once

#include <functional>
#include <string>

namespace Tandry {

using SceneStarter = std::function<void(const std::string& sceneName)>;

// An empty callable removes the starter.
void SetSceneStarter(SceneStarter starter);
// Runs the registered starter with the name.
void StartScene(const std::string& sceneName);
// No starter; for tests.
void ResetSceneStarter();

} // namespace Tandry
