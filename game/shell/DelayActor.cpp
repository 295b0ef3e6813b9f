#include "game/shell/DelayActor.h"

#include "game/shell/MinigameWinStep.h"

DelayActor::~DelayActor()
{
    if (mMinigame != nullptr)
        mMinigame->RunOnWin();
}
