// The game's cursor kinds: the system cursor picture and the overlay drawn
// over it, and the lock the quest scenes hold while an item is dragged.
#include "game/shell/GameApp.h"

namespace Tandry {

// TODO: the kinds' pictures and the overlay come with the game's cursor table.
void GameApp::SetCursorType(int kind)
{
    if (mCursorLocked) {
        mPendingCursorType = kind;
        return;
    }
    mCursorType = kind;
}

void GameApp::SetCursorLock(bool locked)
{
    mCursorLocked = locked;
}

} // namespace Tandry
