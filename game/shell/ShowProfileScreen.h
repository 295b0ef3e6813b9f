// Opens the profile screen over the main menu: from the menu's "here"
// button, and hidden at first when the menu was made because the current
// profile did not load. The chosen name goes back through
// MainMenu::SetPlayerName.
#pragma once

namespace Tandry {

class MainMenu;

void ShowProfileScreen(MainMenu* menu, bool startHidden);

} // namespace Tandry
