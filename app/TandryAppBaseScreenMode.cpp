// Changes of the display after start-up: 3D on and off with the fall-back to
// software, windowed and full screen, the screen image in video memory, and
// the walks that rebuild or drop the display-dependent data of every image.
#include "app/TandryAppBase.h"

#include "audio/SoundManager.h"
#include "graphics/display/D3DTester.h"
#include "graphics/display/DDInterface.h"
#include "graphics/image/MemoryImage.h"
#include "platform/Platform.h"
#include "platform/window/WindowMessages.h"
#include "widgets/WidgetManager.h"

namespace Tandry {

void TandryAppBase::Set3DAcceleration(bool on, bool reinit)
{
    if (mDDInterface == nullptr || on == mDDInterface->mIs3D)
        return;
    m3DChangedThisSession = true;
    mDDInterface->mIs3D = on;
    if (!reinit)
        return;

    const int result = SetUpDisplay();
    if (result != 0) {
        if (on) {
            Set3DAcceleration(false, reinit);
            return;
        }
        FailDisplayInit(result);
    }
    RebuildAllImages();
    mWidgetManager->drawImage = DisplayScreenImage();
    mWidgetManager->MarkAllDirty();
}

void TandryAppBase::ChangeScreenMode(bool windowed, bool is3D, bool force)
{
    if (mForceFullScreen)
        windowed = false;
    if (windowed == mWindowed && !force) {
        Set3DAcceleration(is3D, true);
        return;
    }

    Set3DAcceleration(is3D, false);
    mWindowed = windowed;
    CreateAppWindow();

    Platform::WindowSystem& windows = Platform::GetPlatform().GetWindows();
    if (mBrowserLaunchPending) {
        // The browser being opened keeps the focus.
        windows.ShowWindow(mMainWindow, Platform::SW_SHOWNOACTIVATE);
    } else {
        windows.ShowWindow(mMainWindow, Platform::SW_SHOWNORMAL);
        windows.SetForegroundWindow(mMainWindow);
    }
    if (mSoundManager != nullptr)
        mSoundManager->SetWindow(mMainWindow, mWindowed);
    // Re-creating the display stalls the loop; the stall is not caught up.
    ResetUpdateTiming();
}

void TandryAppBase::ChangeScreenModeWindowed(bool windowed)
{
    ChangeScreenMode(windowed, mDDInterface != nullptr && mDDInterface->mIs3D, false);
}

void TandryAppBase::RecreateScreenMode()
{
    ChangeScreenMode(mWindowed, mDDInterface != nullptr && mDDInterface->mIs3D, true);
}

void TandryAppBase::SetScreenInVideoMemory(bool on)
{
    if (on == mScreenInVideoMemory)
        return;
    mScreenInVideoMemory = on;
    if (mDDInterface != nullptr)
        mDDInterface->SetScreenInVideoMemory(on);
    mWidgetManager->drawImage = DisplayScreenImage();
    mWidgetManager->MarkAllDirty();
}

void TandryAppBase::ForEachMemoryImage(void (MemoryImage::*operation)())
{
    // The loading thread makes and deletes images under this lock; a screen
    // change during a loading phase must not walk the set while it changes.
    CritSectLock lock(GetDisplayLock());
    for (MemoryImage* image : mMemoryImages)
        (image->*operation)();
}

void TandryAppBase::RebuildAllImages()
{
    ForEachMemoryImage(&MemoryImage::ApplyPendingConversions);
}

void TandryAppBase::DropNativeImageData()
{
    ForEachMemoryImage(&MemoryImage::FreeDisplayFormatData);
}

void TandryAppBase::DropExtraImageBuffers()
{
    ForEachMemoryImage(&MemoryImage::FreeDerivedData);
}

bool TandryAppBase::Is3DTestPassed()
{
    return mDDInterface != nullptr && mDDInterface->mD3DTester != nullptr && mDDInterface->mD3DTester->Passed();
}

bool TandryAppBase::Is3DTestPassedWithoutWarning()
{
    return mDDInterface != nullptr && mDDInterface->mD3DTester != nullptr &&
           mDDInterface->mD3DTester->PassedWithoutWarning();
}

} // namespace Tandry
