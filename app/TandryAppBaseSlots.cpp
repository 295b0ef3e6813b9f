// The virtual operations that are hooks for the game (empty on purpose), and
// the operations whose bodies come with the main loop, the window procedure,
// the threads, cursors, display set-up and the remaining services.
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

bool TandryAppBase::RunTimingStep(bool /*allowSleep*/)
{
    // TODO: the fixed-step timing with its catch-up, vertical-sync pacing and fast-forward comes with the main loop.
    return false;
}

void TandryAppBase::UpdateTick()
{
    // TODO: counting the update, the widget update, music fades and freeing released shared images come with the main loop.
}

bool TandryAppBase::DoUpdateFrames()
{
    // TODO: the update pass with the loading hand-over and demo pacing comes with the main loop.
    return false;
}

void TandryAppBase::DoUpdateFraction(float /*fraction*/)
{
    // TODO: the partial update of the vertical-sync timing comes with the main loop.
}

void TandryAppBase::CreateAppWindow()
{
    // TODO: the main window and the display set-up come with the main window.
}

void TandryAppBase::ApplyCursor()
{
    // TODO: choosing between the arrow, the custom cursor images and the override cursor comes with the cursors.
}

void TandryAppBase::RebuildAllImages()
{
    // TODO: rebuilding the memory images after a display change comes with the display set-up.
}

void TandryAppBase::DropNativeImageData()
{
    // TODO: dropping the images' display data comes with the display set-up.
}

void TandryAppBase::DropExtraImageBuffers()
{
    // TODO: dropping the images' extra buffers comes with the display set-up.
}

void TandryAppBase::BrowserLaunchFailed(const std::string& /*url*/)
{
    // TODO: the browser launch comes with the remaining application services.
}

void TandryAppBase::BrowserLaunchDone(const std::string& /*url*/)
{
    // TODO: the browser launch comes with the remaining application services.
}

bool TandryAppBase::LaunchBrowser(const std::string& /*url*/, bool /*shutdownAfter*/)
{
    // TODO: the browser launch comes with the remaining application services.
    return false;
}

void TandryAppBase::HideAndSilence()
{
    // TODO: hiding the window and silencing the music come with the remaining application services.
}

void TandryAppBase::OnActivateRequest(uintptr_t /*wParam*/, intptr_t /*lParam*/)
{
    // TODO: bringing the window to the front comes with the remaining application services.
}

double TandryAppBase::GetLoadingProgress()
{
    // TODO: the loading progress comes with the remaining application services.
    return 0;
}

DDImage* TandryAppBase::LoadImageFile(const std::string& /*path*/, bool /*commit*/)
{
    // TODO: loading an image file into a surface image comes with the remaining application services.
    return nullptr;
}

SharedImageHandle TandryAppBase::AcquireSharedImage(const std::string& /*name*/, const std::string& /*variant*/,
                                                    bool* /*isNew*/)
{
    // TODO: the shared image cache comes with the remaining application services.
    return SharedImageHandle();
}

void TandryAppBase::ChangeScreenMode(bool /*windowed*/, bool /*is3D*/, bool /*force*/)
{
    // TODO: switching the screen mode comes with the display set-up.
}

void TandryAppBase::ChangeScreenModeWindowed(bool /*windowed*/)
{
    // TODO: switching the screen mode comes with the display set-up.
}

void TandryAppBase::RecreateScreenMode()
{
    // TODO: rebuilding the display comes with the display set-up.
}

void TandryAppBase::SetScreenInVideoMemory(bool /*on*/)
{
    // TODO: moving the screen image to video memory comes with the display set-up.
}

bool TandryAppBase::IsSysCharHandled(wchar_t /*ch*/)
{
    // TODO: the swallowed system characters come with the remaining application services.
    return false;
}

bool TandryAppBase::HandleDebugKey(int /*key*/)
{
    // TODO: the developer keys come with the developer aids.
    return false;
}

bool TandryAppBase::DrawDirtyStuff()
{
    // TODO: the draw pass comes with the main loop.
    return false;
}

void TandryAppBase::Redraw(Rect* /*area*/)
{
    // TODO: presenting the frame comes with the main loop.
}

void TandryAppBase::RunMainLoop()
{
    // TODO: the loop of update steps comes with the main loop.
}

bool TandryAppBase::RunUpdateStep(bool* /*updated*/)
{
    // TODO: the update step's state machine comes with the main loop.
    return false;
}

bool TandryAppBase::RunUntilUpdated()
{
    // TODO: running steps until an update happened comes with the main loop.
    return false;
}

bool TandryAppBase::CanRestoreFromMinimised()
{
    // TODO: the answer to a restore request comes with the remaining application services.
    return false;
}

void TandryAppBase::StartCursorThread()
{
    // TODO: the cursor thread comes with the cursor and loading threads.
}

void TandryAppBase::LaunchLoadingThread()
{
    // TODO: the loading thread comes with the cursor and loading threads.
}

void TandryAppBase::WaitForLoadingThread()
{
    // TODO: waiting for the loading thread comes with the cursor and loading threads.
}

intptr_t TandryAppBase::MainWindowProc(Platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                                       intptr_t lParam)
{
    // TODO: the window procedure with its deferred messages comes with the window procedure.
    return Platform::GetPlatform().GetWindows().DefWindowProc(window, message, wParam, lParam);
}

} // namespace Tandry
