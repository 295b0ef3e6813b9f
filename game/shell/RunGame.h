// What the program's entry point does: make the platform from the back ends
// it was given, then create the game object, initialise it, run it until it
// quits and delete it. The entry point passes the SDL back ends; tests pass
// the ones they need.
#pragma once

#include "platform/PlatformBootstrap.h"

#include <span>
#include <string>
#include <vector>

namespace Tandry {

// arguments: the command line without the program name. The exit code: 0
// after a normal run, 1 when no platform back end could start.
int RunGame(std::span<const Platform::PlatformBootstrap* const> backends, const std::vector<std::string>& arguments);

} // namespace Tandry
