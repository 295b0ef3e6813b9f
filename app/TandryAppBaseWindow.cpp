// The game window: made windowed in the desktop's work area or as a top-most
// pop-up over the logical screen, then the display brought up on it and the
// window's activation, images, widgets and timer put in step with it. The
// same operation runs at start-up and for every screen-mode change.
#include "app/TandryAppBase.h"

#include "app/AppFactories.h"
#include "graphics/display/D3DTester.h"
#include "graphics/display/DDImage.h"
#include "graphics/display/DDInterface.h"
#include "graphics/display/DisplayResult.h"
#include "platform/Platform.h"
#include "platform/window/WindowMessages.h"
#include "util/StringUtils.h"
#include "widgets/WidgetManager.h"

#include <algorithm>

namespace Tandry {

namespace {

constexpr uintptr_t kMainTimerId = 100;
constexpr int kDefaultWindowPosition = 64;
constexpr int kWorkAreaMargin = 4;
// A little above the middle: the golden section of the free height.
constexpr double kVerticalPlacement = 0.382;

constexpr uint32_t kFullScreenStyle = Platform::WS_POPUP | Platform::WS_VISIBLE;
constexpr uint32_t kFullScreenExStyle = Platform::WS_EX_TOPMOST;
constexpr uint32_t kWindowedStyle = Platform::WS_POPUP | Platform::WS_CLIPCHILDREN | Platform::WS_CAPTION |
                                    Platform::WS_SYSMENU | Platform::WS_MINIMIZEBOX;

// The stored position kept inside the work area with a margin. The registry
// may hold any int, so the edges are compared in 64 bits.
int ClampIntoWorkArea(int64_t position, int64_t size, int64_t low, int64_t high)
{
    position = std::max(position, low + kWorkAreaMargin);
    if (position + size >= high - kWorkAreaMargin)
        position = high - kWorkAreaMargin - size;
    return static_cast<int>(position);
}

} // namespace

void TandryAppBase::CreateAppWindow()
{
    Platform::WindowSystem& windows = Platform::GetPlatform().GetWindows();

    if (mMainWindow != nullptr) {
        Platform::WindowHandle old = mMainWindow;
        windows.SetWindowUserData(old, nullptr);
        mMainWindow = nullptr;
        mCursorWindow = nullptr;
        windows.DestroyWindow(old);
        mWidgetManager->drawImage = nullptr;
    }

    if (!mPlayingDemo && !mWindowed) {
        mMainWindow = windows.CreateWindow("MainWindow", mWindowTitle, kFullScreenStyle, kFullScreenExStyle, 0, 0,
                                           mWidth, mHeight);
        mIsWindowed = false;
    } else {
        Platform::WinRect outer{0, 0, mWidth, mHeight};
        windows.AdjustWindowRect(outer, kWindowedStyle);
        const int outerWidth = outer.Width();
        const int outerHeight = outer.Height();
        const Platform::WinRect work = windows.GetWorkArea();

        int x = kDefaultWindowPosition;
        int y = kDefaultWindowPosition;
        if (mPreferredX != -1) {
            x = ClampIntoWorkArea(mPreferredX, outerWidth, work.left, work.right);
            y = ClampIntoWorkArea(mPreferredY, outerHeight, work.top, work.bottom);
        }
        mMainWindow = windows.CreateWindow("MainWindow", mWindowTitle, kWindowedStyle, 0, x, y, outerWidth,
                                           outerHeight);
        mIsWindowed = true;
        if (mPreferredX == -1) {
            const int centredX = work.left + (work.Width() - outerWidth) / 2;
            const int raisedY =
                work.top + static_cast<int>(static_cast<double>(work.Height() - outerHeight) * kVerticalPlacement);
            windows.MoveWindow(mMainWindow, centredX, raisedY, outerWidth, outerHeight);
        }
    }

    if (mWidth == windows.GetSystemMetrics(Platform::SM_CXSCREEN) &&
        mHeight == windows.GetSystemMetrics(Platform::SM_CYSCREEN))
        windows.MoveWindow(mMainWindow, 0, 0, mWidth, mHeight);

    windows.SetWindowUserData(mMainWindow, this);
    mCursorWindow = mMainWindow;

    if (mDDInterface == nullptr) {
        mDDInterface = GetAppFactories().display(this);
        bool is3D = false;
        if (ReadRegistryBool("Is3D", &is3D)) {
            // A stored choice replaces the automatic one, but a true one is tested again.
            if (mAutoEnable3D) {
                mAutoEnable3D = false;
                mTest3D = true;
            }
            if (is3D)
                mTest3D = true;
            mDDInterface->mIs3D = is3D;
        }
    }

    const int result = SetUpDisplay();
    if (mDDInterface->mD3DTester != nullptr && mDDInterface->mD3DTester->mFreshResult)
        EraseRegistryValue("Is3D");

    if (result != RESULT_OK && !HandleDisplayInitResult(result))
        return;

    const bool wasActive = mActive;
    mActive = windows.GetActiveWindow() == mMainWindow;
    mSizeMinimized = false;
    if (mMinimized) {
        Unmute(true);
        mMinimized = false;
        UpdateFocusState();
    } else if (mActive != wasActive) {
        UpdateFocusState();
    }
    RebuildAllImages();
    mWidgetManager->drawImage = DisplayScreenImage();
    mWidgetManager->MarkAllDirty();
    windows.SetTimer(mMainWindow, kMainTimerId, static_cast<uint32_t>(std::max(mFrameTimeMs, 1)));
}

int TandryAppBase::SetUpDisplay()
{
    PreDisplayInitHook();
    DropNativeImageData();
    const int result = mDDInterface->Init(mMainWindow, mIsWindowed);
    RecordDisplayState();
    if (result != RESULT_OK)
        return result;

    const int displayWidth = mDDInterface->mWidth;
    const int displayHeight = mDDInterface->mHeight;
    mScreenBounds = Rect((mWidth - displayWidth) / 2, (mHeight - displayHeight) / 2, displayWidth, displayHeight);
    mWidgetManager->width = displayWidth + 2 * mScreenBounds.x;
    mWidgetManager->height = displayHeight + 2 * mScreenBounds.y;
    mWidgetManager->drawOffsetRect = mScreenBounds;
    mWidgetManager->mouseRect = mDDInterface->mPresentationRect;

    PostDisplayInitHook();
    return RESULT_OK;
}

bool TandryAppBase::HandleDisplayInitResult(int result)
{
    if (mWindowed && result == RESULT_INVALID_COLORDEPTH) {
        if (mForceWindowed) {
            ShowErrorPopupW(LookupString("PLEASE_SET_COLOR_DEPTH", L"Please set your desktop color depth to 16 bit."));
            DoExit(1);
        }
        // The full-screen window made by the switch has run its own success steps.
        mForceFullScreen = true;
        ChangeScreenModeWindowed(false);
        return false;
    }
    if (!mWindowed && (result == RESULT_EXCLUSIVE_FAIL || result == RESULT_DISPCHANGE_FAIL)) {
        // Windowed mode was already found impossible: switching back would
        // leave the program running on a display that never came up.
        if (mForceFullScreen)
            FailDisplayInit(result);
        mForceWindowed = true;
        ChangeScreenModeWindowed(true);
        return true;
    }
    // The fall-back from 3D re-initialises this same window, so its success
    // steps (timer, activation) must still run; a failed fall-back has exited.
    // Without 3D there is nothing to fall back to, whatever the code.
    if (mDDInterface->mIs3D) {
        Set3DAcceleration(false, true);
        return true;
    }
    FailDisplayInit(result);
}

void TandryAppBase::FailDisplayInit(int result)
{
    ShowErrorPopupW(LookupString("FAILED_INIT_DIRECTDRAW", L"Failed to initialize DirectDraw: ") +
                    WidenString(ResultName(result)) + L" " + WidenString(mDDInterface->mErrorText));
    DoExit(1);
}

Image* TandryAppBase::DisplayScreenImage() const
{
    return mDDInterface != nullptr ? mDDInterface->mScreenImage : nullptr;
}

void TandryAppBase::OnActivateRequest(uintptr_t wParam, intptr_t /*lParam*/)
{
    if (wParam != 0 || mMainWindow == nullptr)
        return;
    Platform::WindowSystem& windows = Platform::GetPlatform().GetWindows();
    if (windows.IsIconic(mMainWindow))
        windows.ShowWindow(mMainWindow, Platform::SW_RESTORE);
    windows.SetForegroundWindow(mMainWindow);
}

bool TandryAppBase::IsSysCharHandled(wchar_t ch)
{
    return ch == L'\r' || ch == L'r' || ch == L'R';
}

bool TandryAppBase::CanRestoreFromMinimised()
{
    return !mWindowDisabled;
}

} // namespace Tandry
