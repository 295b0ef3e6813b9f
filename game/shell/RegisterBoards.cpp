#include "game/shell/RegisterBoards.h"

#include "game/shell/BoardRegistry.h"
#include "game/shell/MainMenu.h"
#include "game/shell/SceneStarter.h"
#include "game/shell/ShowBoards.h"
#include "game/shell/TitleScreen.h"

namespace Tandry {

void RegisterBoards()
{
    // TODO: each board's maker is registered here as the board is built (the
    // credits, the quest scene board).
    GetBoardRegistry().titleScreen = [] { return new TitleScreen(); };
    GetBoardRegistry().mainMenu = [](bool openProfiles) { return new MainMenu(openProfiles); };
    SetSceneStarter(ShowQuestScene);
}

} // namespace Tandry
