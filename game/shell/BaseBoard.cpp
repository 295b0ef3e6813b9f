#include "game/shell/BaseBoard.h"

#include "game/shell/FrameTimer.h"
#include "game/shell/ProcessList.h"

namespace Tandry {

BaseBoard::BaseBoard(bool wantsLoading) : wantsLoadingScreen(wantsLoading) {}

void BaseBoard::Init() {}

std::string BaseBoard::GetName()
{
    return std::string();
}

std::string BaseBoard::GetMusicKey()
{
    return GetName();
}

void BaseBoard::OnShown() {}

int BaseBoard::LoadingTaskCount()
{
    return 0;
}

void BaseBoard::LoadResources() {}

void BaseBoard::OnLoaded() {}

void BaseBoard::OnRemoved() {}

void BaseBoard::UpdateBoard(float /*dt*/) {}

void BaseBoard::Pause() {}

void BaseBoard::Resume() {}

void BaseBoard::ScreenModeChanged(bool /*windowed*/) {}

void BaseBoard::Update()
{
    const float dt = GetFrameTimer().Measure();
    if (active)
        UpdateProcesses(dt);
    UpdateBoard(dt);
    ++updateCount;
    // The board redraws every update.
    WidgetContainer::MarkDirty();
}

void BaseBoard::FinishLoading()
{
    loaded = true;
    GetFrameTimer().Reset();
    OnLoaded();
}

} // namespace Tandry
