// The layouts shared for the whole run: the close-up frame, the notebook,
// the in-game menu and the options panel, loaded at the game's start-up and
// kept by GameControllerCommon; the tutorial frame joins them on first use.
// The game application frees all of them at shutdown.
#pragma once

namespace Tandry {

// Loads the four with their pictures, in the order frame, notebook,
// in-game menu, options, replacing any held before.
void LoadSharedLayouts();
// Frees all five and leaves the controller's pointers null.
void FreeSharedLayouts();

} // namespace Tandry
