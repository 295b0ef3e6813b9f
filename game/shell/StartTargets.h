// Where a decoded start place leads: the four ways Play can start the game.
// The main menu binds them to the scene service, the scenario and the board
// registry; tests and the fuzz target bind recording functions. An empty
// function does nothing (and a scene start without one counts as not run).
#pragma once

#include <functional>
#include <string>

namespace Tandry {

struct StartTargets {
    // Runs the scene's "StartAction" group; true when the scene has one.
    std::function<bool(const std::string& sceneName)> runStartAction;
    // Enters the quest scene through the scenario.
    std::function<void(const std::string& sceneName)> playScene;
    // The level's name and the request text.
    std::function<void(const std::string& levelName, const std::string& request)> hiddenObject;
    // The movie's name and the request text.
    std::function<void(const std::string& movieName, const std::string& request)> movie;
};

} // namespace Tandry
