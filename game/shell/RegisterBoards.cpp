#include "game/shell/RegisterBoards.h"

#include "game/shell/BoardRegistry.h"
#include "game/shell/MainMenu.h"
#include "game/shell/SceneStarter.h"
#include "game/shell/ShowBoards.h"

namespace Tandry {

void RegisterBoards()
{
    // TODO: each board's maker is registered here as the board is built (the
    // title screen, the credits, the quest scene board).
    GetBoardRegistry().mainMenu = [](bool openProfiles) { return new MainMenu(openProfiles); };
    SetSceneStarter(ShowQuestScene);
}

} // namespace Tandry
