// The draw pass and the presentation: drawing the dirty widgets, the idle
// suspension while the system screen saver is due, the pacing of
// presentations, and the recovery of a display that stopped presenting.
#include "app/TandryAppBase.h"

#include "app/MainLoopGlobals.h"
#include "graphics/display/DDInterface.h"
#include "graphics/display/DisplayResult.h"
#include "platform/Platform.h"
#include "platform/window/WindowMessages.h"
#include "util/SectionProfilerScope.h"
#include "widgets/WidgetManager.h"

#include <algorithm>

namespace Tandry {

namespace {

constexpr uint32_t kIdleCheckIntervalMs = 1000;
constexpr uint32_t kIdleSettingsIntervalMs = 10000;
// The game suspends itself this long before the system screen saver is due.
constexpr int64_t kIdleLeadSeconds = 2;
constexpr uint32_t kPresentAtLeastEveryMs = 1000;
constexpr uint32_t kLoadingMinDrawMs = 15;
constexpr uint32_t kLoadingDrawGapMs = 35;
constexpr uint32_t kRecoveryIntervalMs = 1000;

} // namespace

bool TandryAppBase::SkipDraw()
{
    mDrawPending = false;
    mLastDrawSkipped = true;
    return false;
}

bool TandryAppBase::DrawDirtyStuff()
{
    SectionProfilerScope section("TandryAppBase::DrawDirtyStuff");
    Platform::Clock& clock = Platform::GetPlatform().GetClock();

    if (gRedrawFailed) {
        Redraw(nullptr);
        return SkipDraw();
    }

    if (mShowDebugOverlay)
        UpdateDebugOverlays();

    const uint32_t now = clock.TimeGetTime();
    if (now - gIdleCheck.lastCheckTick > kIdleCheckIntervalMs) {
        gIdleCheck.lastCheckTick = now;
        CheckIdleSuspend(now);
    }
    if (gIdleSuspended)
        return SkipDraw();

    mDrawing = true;
    const bool drew = mWidgetManager->DrawScreen();
    mDrawing = false;
    if (!drew && now - mLastRedrawTick < kPresentAtLeastEveryMs && !mForceRedraw)
        return SkipDraw();

    if (static_cast<int32_t>(now - mNextDrawTick) < 0)
        return SkipDraw();

    ++mDrawCount;
    mLastDrawSkipped = false;
    mDrawTimeMs += static_cast<int>(clock.TimeGetTime() - now);

    if (mShowDebugOverlay)
        DrawDebugOverlays();

    // A windowed display cannot wait for the retrace, so presentations are spaced instead.
    if (mWaitForVSync && mIsWindowed && mDDInterface != nullptr && mDDInterface->mMillisPerRefresh > 0) {
        const uint32_t sincePresent = clock.TimeGetTime() - mLastRedrawTick;
        const auto refreshMs = static_cast<uint32_t>(mDDInterface->mMillisPerRefresh.load());
        if (sincePresent < refreshMs)
            clock.Sleep(refreshMs - sincePresent);
    }

    const uint32_t presentStart = clock.TimeGetTime();
    mLastRedrawTick = presentStart;
    Redraw(nullptr);
    AccumulateElapsedTime();
    const uint32_t presentEnd = clock.TimeGetTime();
    mScreenBltMs = static_cast<int>(presentEnd - presentStart);

    if (mLoadingThreadStarted && !mLoadingThreadDone) {
        // The loading thread gets the processor between frames of the loading screen.
        const uint32_t drawMs = std::max(presentEnd - now, kLoadingMinDrawMs);
        uint32_t next = mNextDrawTick + drawMs + kLoadingDrawGapMs;
        if (static_cast<int32_t>(presentEnd - next) >= 0)
            next = presentEnd;
        mNextDrawTick = next;
    } else {
        mNextDrawTick = presentEnd;
    }

    mDrawPending = false;
    mForceRedraw = false;
    return true;
}

void TandryAppBase::CheckIdleSuspend(uint32_t now)
{
    if (mScreensaverMode || !mIsWindowed)
        return;
    Platform::ServiceBundle& platform = Platform::GetPlatform();
    Platform::WindowSystem& windows = platform.GetWindows();

    if (now - gIdleCheck.lastSettingsTick > kIdleSettingsIntervalMs) {
        gIdleCheck.lastSettingsTick = now;
        const int64_t timeoutSeconds = windows.GetScreenSaveTimeout();
        gIdleCheck.screenSaverEnabled = windows.IsScreenSaveActive();
        const int64_t idleSeconds = std::max<int64_t>(timeoutSeconds - kIdleLeadSeconds, 1);
        gIdleCheck.timeoutMs = static_cast<uint32_t>(std::min<int64_t>(idleSeconds * 1000, UINT32_MAX));
        if (!gIdleCheck.screenSaverEnabled)
            gIdleSuspended = false;
    }

    if (std::optional<uint32_t> lastInput = platform.GetClock().GetLastInputTick())
        mLastInputTick = static_cast<int32_t>(*lastInput - now) > 0 ? now : *lastInput;

    if (!gIdleCheck.screenSaverEnabled)
        return;
    if (gIdleSuspended) {
        bool running = false;
        if (!windows.GetScreenSaverRunning(running) || !running) {
            gIdleSuspended = false;
            mWidgetManager->MarkAllDirty();
        }
    }
    if (!gIdleSuspended && now - mLastInputTick > gIdleCheck.timeoutMs)
        gIdleSuspended = true;
}

void TandryAppBase::Redraw(Rect* area)
{
    SectionProfilerScope section("TandryAppBase::Redraw");
    if (mDrawing || mShutdown || gIdleSuspended || mDDInterface == nullptr)
        return;

    if (mDDInterface->Redraw(area)) {
        if (gRedrawFailed) {
            gRedrawFailed = false;
            gLastDisplayRecoveryTick = 0;
        }
        return;
    }

    Platform::ServiceBundle& platform = Platform::GetPlatform();
    Platform::WindowSystem& windows = platform.GetWindows();
    gD3DSceneFailed = false;
    gRedrawFailed = true;
    Platform::WindowPlacement placement;
    const bool placed = windows.GetWindowPlacement(mMainWindow, placement);
    const uint32_t now = platform.GetClock().GetTickCount();
    if (!mActive && !(now - gLastDisplayRecoveryTick > kRecoveryIntervalMs && mIsWindowed))
        return;
    if ((placed && placement.showCmd == Platform::SW_SHOWMINIMIZED) || mMinimized)
        return;

    gLastDisplayRecoveryTick = now;
    mWidgetManager->drawImage = nullptr;
    if (mWindowed && (mWidth >= windows.GetSystemMetrics(Platform::SM_CXFULLSCREEN) ||
                      mHeight >= windows.GetSystemMetrics(Platform::SM_CYFULLSCREEN))) {
        // The logical screen does not fit a window on this desktop.
        if (!mForceWindowed) {
            mForceFullScreen = true;
            ChangeScreenModeWindowed(false);
        } else {
            ShowErrorPopupW(LookupString("PLEASE_SET_COLOR_DEPTH", L"Please set your desktop color depth to 16 bit."));
            Shutdown();
        }
        return;
    }

    const int result = SetUpDisplay();
    if (mWindowed && result == RESULT_INVALID_COLORDEPTH) {
        if (mActive) {
            ChangeScreenModeWindowed(false);
            mForceFullScreen = true;
        }
    } else if (result == RESULT_D3D_INIT_FAIL) {
        Set3DAcceleration(false, true);
    } else if (result == RESULT_OK) {
        RebuildAllImages();
        mWidgetManager->drawImage = DisplayScreenImage();
        mWidgetManager->MarkAllDirty();
    }
}

void TandryAppBase::UpdateDebugOverlays()
{
    // TODO: the frame-rate, mouse-position and demo-time overlays come with the developer aids.
}

void TandryAppBase::DrawDebugOverlays()
{
    // TODO: placing the overlay images in the bottom right corner comes with the developer aids.
}

} // namespace Tandry
