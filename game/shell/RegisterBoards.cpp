#include "game/shell/RegisterBoards.h"

#include "game/shell/SceneStarter.h"
#include "game/shell/ShowBoards.h"

namespace Tandry {

void RegisterBoards()
{
    // TODO: each board's maker is registered here as the board is built (the
    // title screen, the main menu, the credits, the quest scene board).
    SetSceneStarter(ShowQuestScene);
}

} // namespace Tandry
