// The switches to the game's standard screens: each makes its board through
// the board registry and hands it to GameApp::SwitchBoard. Menus, the title
// sequence, the in-game menu and the scene starter call them; without a
// maker or a game object nothing changes.
#pragma once

#include <string>

namespace Tandry {

class GameApp;

void ShowTitleScreen(GameApp* app);
void ShowMainMenu();
// The main menu, opening the profile screen when the current profile does not load.
void ShowMainMenuOrProfiles();
void ShowCredits();
// The quest scene board of the scene.
void ShowQuestScene(const std::string& sceneName);
// The hidden-object board of the level, with the request text of the start place.
void ShowHiddenObject(const std::string& levelName, const std::string& request);
// The movie board, with its request text (empty for none).
void ShowMovie(const std::string& movieName, const std::string& request);

} // namespace Tandry
