// The virtual operations that are hooks for the game (empty on purpose), and
// the developer keys, whose body comes with the developer aids.
#include "app/TandryAppBase.h"

#include "platform/Platform.h"

namespace Tandry {

// Hooks: empty in the base, overridden by the game.
void TandryAppBase::OnLoadingThreadDone() {}
void TandryAppBase::OnInitDone() {}
void TandryAppBase::OnShutdownBegin() {}
void TandryAppBase::OnMainLoopEnded() {}
void TandryAppBase::RunLoadingThread() {}
void TandryAppBase::OnCursorsCreated() {}
void TandryAppBase::PreDisplayInitHook() {}
void TandryAppBase::PostDisplayInitHook() {}
void TandryAppBase::OnAppFocusGained() {}
void TandryAppBase::OnAppFocusLost() {}
void TandryAppBase::OnCloseRequested() {}
void TandryAppBase::On3DTestDone() {}
void TandryAppBase::OnBeforeSettingsLoad() {}

bool TandryAppBase::OverrideChangeDir(const std::string& /*folder*/)
{
    return false;
}

bool TandryAppBase::InterceptKeyDown(int /*key*/, bool /*ctrl*/, bool /*alt*/)
{
    return false;
}

bool TandryAppBase::HandleDebugKey(int /*key*/)
{
    // TODO: the developer keys come with the developer aids.
    return false;
}

} // namespace Tandry
