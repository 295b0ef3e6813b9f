// The makers of the standard boards, one per kind, registered at start-up by
// the boards' own code, so that the switch functions (ShowTitleScreen and
// the others) and the scene starter reach boards that are built later
// without linking to them. A kind without maker makes nothing.
#pragma once

#include <functional>
#include <string>

namespace Tandry {

class BaseBoard;

class BoardRegistry {
public:
    using Maker = std::function<BaseBoard*()>;
    // openProfiles: the menu opens the profile screen at once.
    using MainMenuMaker = std::function<BaseBoard*(bool openProfiles)>;
    using QuestSceneMaker = std::function<BaseBoard*(const std::string& sceneName)>;
    // The level's name and the request text after the first "," of the start place.
    using HiddenObjectMaker = std::function<BaseBoard*(const std::string& levelName, const std::string& request)>;
    // The movie's name and its request text; an empty request for a movie shown without one.
    using MovieMaker = std::function<BaseBoard*(const std::string& movieName, const std::string& request)>;

    Maker titleScreen;
    MainMenuMaker mainMenu;
    Maker credits;
    QuestSceneMaker questScene;
    HiddenObjectMaker hiddenObject;
    MovieMaker movie;

    // A new board of the kind, or null (and a debug line) without maker.
    BaseBoard* MakeTitleScreen();
    BaseBoard* MakeMainMenu(bool openProfiles);
    BaseBoard* MakeCredits();
    BaseBoard* MakeQuestScene(const std::string& sceneName);
    BaseBoard* MakeHiddenObject(const std::string& levelName, const std::string& request);
    BaseBoard* MakeMovie(const std::string& movieName, const std::string& request);
};

BoardRegistry& GetBoardRegistry();
// No makers; for tests.
void ResetBoardRegistry();

} // namespace Tandry
