#include "game/shell/BoardRegistry.h"

#include "platform/debug/DebugOutput.h"

namespace Tandry {

namespace {

BaseBoard* Missing(const std::string& kind)
{
    Platform::OutputDebugStringA(("BoardRegistry: no maker for " + kind + "\n").c_str());
    return nullptr;
}

} // namespace

BaseBoard* BoardRegistry::MakeTitleScreen()
{
    return titleScreen ? titleScreen() : Missing("the title screen");
}

BaseBoard* BoardRegistry::MakeMainMenu(bool openProfiles)
{
    return mainMenu ? mainMenu(openProfiles) : Missing("the main menu");
}

BaseBoard* BoardRegistry::MakeCredits()
{
    return credits ? credits() : Missing("the credits");
}

BaseBoard* BoardRegistry::MakeQuestScene(const std::string& sceneName)
{
    return questScene ? questScene(sceneName) : Missing("the quest scene \"" + sceneName + "\"");
}

BaseBoard* BoardRegistry::MakeHiddenObject(const std::string& levelName, const std::string& request)
{
    return hiddenObject ? hiddenObject(levelName, request)
                        : Missing("the hidden-object level \"" + levelName + "\"");
}

BaseBoard* BoardRegistry::MakeMovie(const std::string& movieName, const std::string& request)
{
    return movie ? movie(movieName, request) : Missing("the movie \"" + movieName + "\"");
}

BoardRegistry& GetBoardRegistry()
{
    static BoardRegistry registry;
    return registry;
}

void ResetBoardRegistry()
{
    GetBoardRegistry() = BoardRegistry();
}

} // namespace Tandry
