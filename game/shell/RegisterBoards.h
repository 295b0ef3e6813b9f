// The one place where the game's boards make themselves known: the program's
// run calls it before the game object starts, and each board adds its maker
// here. It also lets the scenario start quest scenes through the registry.
#pragma once

namespace Tandry {

void RegisterBoards();

} // namespace Tandry
