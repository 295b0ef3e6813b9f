// The window procedure of both window classes. Messages can arrive inside
// system modal loops and in the middle of an update, so it acts on very few at
// once and copies input, activation, size, move, close, timer and display
// changes to the deferred list that the main loop drains.
#include "app/TandryAppBase.h"

#include "app/DemoSeam.h"
#include "app/MainLoopGlobals.h"
#include "app/ScreensaverFilter.h"
#include "platform/Platform.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowMessages.h"
#include "util/Format.h"

#include <algorithm>

namespace Tandry {

namespace {

bool IsQueuedMessage(uint32_t message)
{
    switch (message) {
    case Platform::WM_MOVE:
    case Platform::WM_SIZE:
    case Platform::WM_CLOSE:
    case Platform::WM_SYSCOLORCHANGE:
    case Platform::WM_ACTIVATEAPP:
    case Platform::WM_DISPLAYCHANGE:
    case Platform::WM_KEYDOWN:
    case Platform::WM_KEYUP:
    case Platform::WM_CHAR:
    case Platform::WM_SYSKEYDOWN:
    case Platform::WM_SYSKEYUP:
    case Platform::WM_TIMER:
    case Platform::WM_MOUSEMOVE:
    case Platform::WM_LBUTTONDOWN:
    case Platform::WM_LBUTTONUP:
    case Platform::WM_LBUTTONDBLCLK:
    case Platform::WM_RBUTTONDOWN:
    case Platform::WM_RBUTTONUP:
    case Platform::WM_RBUTTONDBLCLK:
    case Platform::WM_MBUTTONDOWN:
    case Platform::WM_MBUTTONUP:
    case Platform::WM_MOUSEWHEEL:
        return true;
    default:
        return false;
    }
}

bool IsDisplayNotice(uint32_t message)
{
    return message == Platform::WM_SYSCOLORCHANGE || message == Platform::WM_DISPLAYCHANGE;
}

// Nothing follows a close at the end of the list, timers do not pile up, and
// one colour or display notice is enough.
bool MayQueue(const std::list<Platform::WindowMessage>& queue, uint32_t message)
{
    if (!queue.empty()) {
        const uint32_t last = queue.back().message;
        if (last == Platform::WM_CLOSE)
            return false;
        if (last == Platform::WM_TIMER && message == Platform::WM_TIMER)
            return false;
    }
    if (IsDisplayNotice(message) &&
        std::any_of(queue.begin(), queue.end(), [](const auto& queued) { return IsDisplayNotice(queued.message); }))
        return false;
    return true;
}

} // namespace

intptr_t TandryAppBase::MainWindowProc(Platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                                       intptr_t lParam)
{
    Platform::ServiceBundle& platform = Platform::GetPlatform();
    Platform::WindowSystem& windows = platform.GetWindows();

    if (gApplication != nullptr && gApplication->mScreensaverMode) {
        intptr_t result = 0;
        if (ScreensaverFilter(window, message, wParam, lParam, result))
            return result;
    }

    auto* app = static_cast<TandryAppBase*>(windows.GetWindowUserData(window));
    if (app == nullptr)
        return windows.DefWindowProc(window, message, wParam, lParam);

    switch (message) {
    case Platform::WM_DESTROY:
        Platform::OutputDebugText(
            FormatString("DESTROYED HWND: %d\r\n", static_cast<int>(reinterpret_cast<uintptr_t>(window))));
        return app->DefaultWindowProc(window, message, wParam, lParam);
    case Platform::WM_ENABLE:
        app->mWindowDisabled = wParam == 0;
        return app->DefaultWindowProc(window, message, wParam, lParam);
    case Platform::WM_PAINT:
        if (app->mInitDone && !app->mWindowHidden) {
            if (app->mInMainLoop)
                app->Redraw(nullptr);
            return 0;
        }
        return app->DefaultWindowProc(window, message, wParam, lParam);
    case Platform::WM_QUERYOPEN:
        if (app->CanRestoreFromMinimised())
            return app->DefaultWindowProc(window, message, wParam, lParam);
        return 0;
    case Platform::WM_ERASEBKGND:
        return 1;
    case Platform::WM_ENDSESSION:
        app->Shutdown();
        return app->DefaultWindowProc(window, message, wParam, lParam);
    case Platform::WM_SETCURSOR:
        if (!app->mWindowHidden)
            app->ApplyCursor();
        return 1;
    case Platform::WM_NCLBUTTONDOWN: {
        // The default processing may run the system's modal move or size loop.
        const intptr_t result = windows.DefWindowProc(window, message, wParam, lParam);
        app->ResetUpdateTiming();
        return result;
    }
    case Platform::WM_SYSCHAR:
        if (app->IsSysCharHandled(static_cast<wchar_t>(wParam)))
            return 0;
        return app->DefaultWindowProc(window, message, wParam, lParam);
    case Platform::WM_SYSCOMMAND: {
        const uint32_t command = static_cast<uint32_t>(wParam) & 0xFFF0u;
        if (command == Platform::SC_MONITORPOWER) {
            gLastMonitorPowerTick = platform.GetClock().GetTickCount();
            if (!app->mLoadingAcknowledged)
                return 0;
        } else if (command == Platform::SC_SCREENSAVE) {
            if (!app->mLoadingAcknowledged || !app->mIsWindowed)
                return 0;
        }
        return app->DefaultWindowProc(window, message, wParam, lParam);
    }
    case Platform::WM_ACTIVATEAPP:
        // Redraw and the timing see the change at once; focus follows when the copy is processed.
        if (window == app->mMainWindow && !app->mPlayingDemo)
            app->mActive = wParam != 0;
        break;
    default:
        break;
    }

    if (!IsQueuedMessage(message) || app->mSystemPopupShowing)
        return app->DefaultWindowProc(window, message, wParam, lParam);

    const bool keyDown = message == Platform::WM_KEYDOWN || message == Platform::WM_SYSKEYDOWN;
    const bool keyUp = message == Platform::WM_KEYUP || message == Platform::WM_SYSKEYUP;
    if (keyDown || keyUp) {
        if (wParam == Platform::VK_CONTROL)
            app->mCtrlDown = keyDown;
        else if (wParam == Platform::VK_MENU)
            app->mAltDown = keyDown;
        if (keyDown && app->InterceptKeyDown(static_cast<int>(wParam), app->mCtrlDown, app->mAltDown))
            return 0;
    }

    if (app->mPlayingDemo) {
        if (message == Platform::WM_CHAR)
            app->mDemoSeam->HandlePlaybackChar(static_cast<wchar_t>(wParam));
        else if (message == Platform::WM_KEYDOWN)
            app->HandleDebugKey(static_cast<int>(wParam));
    }

    if (MayQueue(app->mDeferredMessages, message)) {
        Platform::WindowMessage queued;
        queued.hwnd = window;
        queued.message = message;
        queued.wParam = wParam;
        queued.lParam = lParam;
        app->mDeferredMessages.push_back(queued);
    }

    switch (message) {
    case Platform::WM_SIZE:
        app->mSizeMinimized = wParam == Platform::SIZE_MINIMIZED;
        return app->DefaultWindowProc(window, message, wParam, lParam);
    case Platform::WM_SYSKEYDOWN:
        // Alt+F4 closes the window; other Alt keys must not open the system menu.
        if (wParam != Platform::VK_F4)
            return 0;
        return app->DefaultWindowProc(window, message, wParam, lParam);
    case Platform::WM_CLOSE:
        // The window is not destroyed: the queued close shuts the program down.
        app->OnCloseRequested();
        return 0;
    default:
        return app->DefaultWindowProc(window, message, wParam, lParam);
    }
}

intptr_t TandryAppBase::DefaultWindowProc(Platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                                          intptr_t lParam)
{
    if (mNotifyMessage != 0 && message == mNotifyMessage && window == mMainWindow) {
        OnActivateRequest(wParam, lParam);
        return 0;
    }
    return Platform::GetPlatform().GetWindows().DefWindowProc(window, message, wParam, lParam);
}

} // namespace Tandry
