#include "game/shell/ShowBoards.h"

#include "game/shell/BaseBoard.h"
#include "game/shell/BoardRegistry.h"
#include "game/shell/GameApp.h"
#include "game/shell/ProfileManager.h"

namespace Tandry {

namespace {

void SwitchTo(GameApp* app, BaseBoard* board)
{
    if (board == nullptr)
        return;
    // Nobody would own it.
    if (app == nullptr) {
        delete board;
        return;
    }
    app->SwitchBoard(board);
}

} // namespace

void ShowTitleScreen(GameApp* app)
{
    SwitchTo(app, GetBoardRegistry().MakeTitleScreen());
}

void ShowMainMenu()
{
    SwitchTo(gGameApp, GetBoardRegistry().MakeMainMenu(false));
}

void ShowMainMenuOrProfiles()
{
    const bool openProfiles = !GetProfileManager().LoadCurrentProfile();
    SwitchTo(gGameApp, GetBoardRegistry().MakeMainMenu(openProfiles));
}

void ShowCredits()
{
    SwitchTo(gGameApp, GetBoardRegistry().MakeCredits());
}

void ShowQuestScene(const std::string& sceneName)
{
    SwitchTo(gGameApp, GetBoardRegistry().MakeQuestScene(sceneName));
}

void ShowHiddenObject(const std::string& levelName, const std::string& request)
{
    SwitchTo(gGameApp, GetBoardRegistry().MakeHiddenObject(levelName, request));
}

void ShowMovie(const std::string& movieName, const std::string& request)
{
    SwitchTo(gGameApp, GetBoardRegistry().MakeMovie(movieName, request));
}

} // namespace Tandry
