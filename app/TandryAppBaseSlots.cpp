// The virtual operations that are hooks for the game (empty on purpose), and
// the operations whose bodies come with cursors, display set-up, the developer
// aids and the remaining services.
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

bool TandryAppBase::HandleDebugKey(int /*key*/)
{
    // TODO: the developer keys come with the developer aids.
    return false;
}

} // namespace Tandry
