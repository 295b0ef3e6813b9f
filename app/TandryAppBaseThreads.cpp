// The framework's two threads: the cursor thread keeps the software cursor's
// position current between presentations, and the loading thread runs one
// loading phase of the game while the main thread shows a loading screen.
// They talk to the main thread only through flags with one writer each.
#include "app/TandryAppBase.h"

#include "graphics/display/DDInterface.h"
#include "platform/Platform.h"
#include "util/Format.h"

namespace Tandry {

namespace {

constexpr uint32_t kCursorTurnMs = 10;
constexpr uint32_t kLoadingWaitMs = 20;
// A presentation this much past the refresh period still counts as recent.
constexpr uint32_t kCursorRecentSlackMs = 5;

} // namespace

void TandryAppBase::StartCursorThread()
{
    if (mCursorThreadRunning)
        return;
    mCursorThreadRunning = true;
    Platform::GetPlatform().GetThreads().SetCurrentThreadPriority(Platform::ThreadPriority::AboveNormal);
    mCursorWindow = mMainWindow;
    mCursorThread = std::thread(&TandryAppBase::CursorThreadProc, this);
}

void TandryAppBase::CursorThreadProc(TandryAppBase* app)
{
    Platform::ServiceBundle& platform = Platform::GetPlatform();
    Platform::Clock& clock = platform.GetClock();
    Platform::WindowSystem& windows = platform.GetWindows();
    platform.GetThreads().SetCurrentThreadPriority(Platform::ThreadPriority::AboveNormal);

    int lastX = 0;
    int lastY = 0;
    while (!app->mShutdown) {
        int x = 0;
        int y = 0;
        if (app->mPlayingDemo) {
            x = app->mDemoMouseX;
            y = app->mDemoMouseY;
        } else {
            Platform::WinPoint cursor;
            windows.GetCursorPos(cursor);
            windows.ScreenToClient(app->mCursorWindow, cursor);
            x = cursor.x;
            y = cursor.y;
        }

        DDInterface* display = app->mDDInterface;
        if (display != nullptr) {
            if (app->mDrawCount != 0) {
                lastX = display->mCursorDrawnX;
                lastY = display->mCursorDrawnY;
            }
            if (x != lastX || y != lastY) {
                const uint32_t sinceDraw = clock.TimeGetTime() - app->mNextDrawTick;
                const auto refreshMs = static_cast<uint32_t>(std::max(display->mMillisPerRefresh.load(), 0));
                // Only while the main loop presents does the next presentation pick the position up.
                if (sinceDraw <= refreshMs + kCursorRecentSlackMs) {
                    display->mCursorX = x;
                    display->mCursorY = y;
                } else {
                    lastX = x;
                    lastY = y;
                }
            }
        }
        clock.Sleep(kCursorTurnMs);
    }
    app->mCursorThreadRunning = false;
}

void TandryAppBase::LaunchLoadingThread()
{
    if (mLoadingThreadStarted)
        return;
    // The previous phase's thread has finished once the game reset the flags.
    if (mLoadingThread.joinable())
        mLoadingThread.join();
    mLoadingThrottle = true;
    Platform::GetPlatform().GetThreads().SetCurrentThreadPriority(Platform::ThreadPriority::AboveNormal);
    mLoadingThreadStarted = true;
    mLoadingThread = std::thread(&TandryAppBase::LoadingThreadProc, this);
}

void TandryAppBase::LoadingThreadProc(TandryAppBase* app)
{
    app->RunLoadingThread();
    const uint32_t now = Platform::GetPlatform().GetClock().GetTickCount();
    Platform::OutputDebugText(
        FormatString("Resource Loading Time: %d\r\n", static_cast<int>(now - app->mTimeLoaded)));
    app->mLoadingThreadDone = true;
}

void TandryAppBase::WaitForLoadingThread()
{
    Platform::Clock& clock = Platform::GetPlatform().GetClock();
    while (mLoadingThreadStarted && !mLoadingThreadDone)
        clock.Sleep(kLoadingWaitMs);
    if (mLoadingThread.joinable())
        mLoadingThread.join();
}

void TandryAppBase::JoinCursorThread()
{
    Platform::Clock& clock = Platform::GetPlatform().GetClock();
    while (mCursorThreadRunning)
        clock.Sleep(kCursorTurnMs);
    if (mCursorThread.joinable())
        mCursorThread.join();
}

} // namespace Tandry
