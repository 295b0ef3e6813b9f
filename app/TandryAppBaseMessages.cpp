// The deferred messages, taken off the list one per loop step at a moment when
// the widget tree is consistent: recorded into a demo or dropped while one
// plays, mapped to the logical screen and handed to the widget manager.
#include "app/TandryAppBase.h"

#include "app/DemoSeam.h"
#include "graphics/display/DDInterface.h"
#include "platform/Platform.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowMessages.h"
#include "widgets/WidgetManager.h"

namespace Tandry {

namespace {

constexpr uint32_t kTimerStallMs = 500;
constexpr uint32_t kBrowserStallWindowMs = 5000;
constexpr uint32_t kBrowserGoneAfterMs = 8000;
constexpr uint32_t kBrowserFailedAfterMs = 12000;
constexpr int kWheelNotch = 120;
constexpr const char* kDebugKeysSound = "c:\\windows\\media\\Windows XP Menu Command.wav";

// Button bits of the widget manager: 1 left, 2 right, 4 middle.
constexpr int kLeftBit = 1;
constexpr int kRightBit = 2;
constexpr int kMiddleBit = 4;

struct MouseButtonEvent {
    bool down;
    // 1 / 2 left single / double, -1 / -2 right, 3 middle.
    int clickCode;
    int buttonBit;
};

std::optional<MouseButtonEvent> ButtonEventOf(uint32_t message)
{
    switch (message) {
    case Platform::WM_LBUTTONDOWN: return MouseButtonEvent{true, 1, kLeftBit};
    case Platform::WM_LBUTTONDBLCLK: return MouseButtonEvent{true, 2, kLeftBit};
    case Platform::WM_RBUTTONDOWN: return MouseButtonEvent{true, -1, kRightBit};
    case Platform::WM_RBUTTONDBLCLK: return MouseButtonEvent{true, -2, kRightBit};
    case Platform::WM_MBUTTONDOWN: return MouseButtonEvent{true, 3, kMiddleBit};
    case Platform::WM_LBUTTONUP: return MouseButtonEvent{false, 1, kLeftBit};
    case Platform::WM_RBUTTONUP: return MouseButtonEvent{false, -1, kRightBit};
    case Platform::WM_MBUTTONUP: return MouseButtonEvent{false, 3, kMiddleBit};
    default: return std::nullopt;
    }
}

bool IsMouseMessage(uint32_t message)
{
    return message == Platform::WM_MOUSEMOVE || ButtonEventOf(message).has_value();
}

// Wheel notches: the signed high half of wParam in units of 120, truncated
// toward zero and kept as a signed byte.
int WheelNotches(uintptr_t wParam)
{
    return static_cast<int8_t>(Platform::HighWordSigned(static_cast<intptr_t>(wParam)) / kWheelNotch);
}

} // namespace

void TandryAppBase::MapWindowPointToLogical(int& x, int& y) const
{
    const Rect& client = mWidgetManager->mouseRect;
    const Rect& logical = mWidgetManager->drawOffsetRect;
    // A minimised or failed display has no client area to map from.
    if (client.width == 0 || client.height == 0)
        return;
    x = static_cast<int>((static_cast<int64_t>(x) - client.x) * logical.width / client.width + logical.x);
    y = static_cast<int>((static_cast<int64_t>(y) - client.y) * logical.height / client.height + logical.y);
}

void TandryAppBase::RecordDeferredMessage(const Platform::WindowMessage& message)
{
    DemoSeam& seam = *mDemoSeam;
    const bool mainOrInvisible = message.hwnd == mMainWindow || message.hwnd == mInvisWindow;
    switch (message.message) {
    case Platform::WM_ACTIVATEAPP:
        // The window procedure already set mActive from the latest activation,
        // and that is what processing this message acts on; a deactivation
        // and activation in one pump must replay as the one state they gave.
        if (message.hwnd == mMainWindow)
            seam.RecordActivate(mActive);
        return;
    case Platform::WM_CLOSE:
        if (mainOrInvisible)
            seam.RecordClose();
        return;
    case Platform::WM_SIZE:
        seam.RecordMinimise(message.wParam == Platform::SIZE_MINIMIZED);
        return;
    case Platform::WM_KEYDOWN:
    case Platform::WM_SYSKEYDOWN:
        seam.RecordKeyDown(static_cast<int>(message.wParam & 0xFF));
        return;
    case Platform::WM_KEYUP:
    case Platform::WM_SYSKEYUP:
        seam.RecordKeyUp(static_cast<int>(message.wParam & 0xFF));
        return;
    case Platform::WM_CHAR:
        seam.RecordKeyChar(static_cast<wchar_t>(message.wParam & 0xFFFF));
        return;
    case Platform::WM_MOUSEWHEEL:
        seam.RecordWheel(WheelNotches(message.wParam));
        return;
    default:
        break;
    }
    if (!IsMouseMessage(message.message))
        return;
    // Playback feeds positions straight to the widget manager, so they are
    // recorded on the logical screen, not in window coordinates.
    int x = Platform::LowWordSigned(message.lParam);
    int y = Platform::HighWordSigned(message.lParam);
    MapWindowPointToLogical(x, y);
    seam.RecordMousePosition(x, y);
    if (std::optional<MouseButtonEvent> button = ButtonEventOf(message.message))
        seam.RecordMouseButton(button->down, button->clickCode);
}

bool TandryAppBase::ProcessDeferredMessage()
{
    if (mDeferredMessages.empty())
        return false;
    const Platform::WindowMessage message = mDeferredMessages.front();
    mDeferredMessages.pop_front();

    if (mRecordingDemo && !mShutdown)
        RecordDeferredMessage(message);

    const bool fromMainOrInvisible = message.hwnd == mMainWindow || message.hwnd == mInvisWindow;
    // The replay supplies the input; only closing the window still works.
    if (mPlayingDemo && message.message != Platform::WM_CLOSE)
        return !mDeferredMessages.empty();

    switch (message.message) {
    case Platform::WM_TIMER:
        HandleTimerMessage(message);
        break;
    case Platform::WM_KEYDOWN:
    case Platform::WM_SYSKEYDOWN:
        HandleKeyDownMessage(message);
        break;
    case Platform::WM_KEYUP:
    case Platform::WM_SYSKEYUP:
        mLastInputTick = mLastTimerTick;
        mWidgetManager->KeyUp(static_cast<int>(message.wParam));
        break;
    case Platform::WM_CHAR:
        mLastInputTick = mLastTimerTick;
        mWidgetManager->KeyChar(static_cast<wchar_t>(message.wParam));
        break;
    case Platform::WM_MOUSEWHEEL:
        mWidgetManager->MouseWheel(WheelNotches(message.wParam));
        break;
    case Platform::WM_MOVE:
        if (message.hwnd == mMainWindow && mWindowed) {
            Platform::WindowPlacement placement;
            if (Platform::GetPlatform().GetWindows().GetWindowPlacement(mMainWindow, placement) &&
                (placement.showCmd == Platform::SW_SHOWNORMAL || placement.showCmd == Platform::SW_SHOW)) {
                mPreferredX = placement.normalPosition.left;
                mPreferredY = placement.normalPosition.top;
            }
        }
        break;
    case Platform::WM_SIZE: {
        const bool minimised = message.wParam == Platform::SIZE_MINIMIZED;
        if (message.hwnd == mMainWindow && !mShutdown && minimised != mMinimized) {
            mMinimized = minimised;
            if (minimised) {
                Mute(true);
            } else {
                Unmute(true);
                mWidgetManager->MarkAllDirty();
            }
        }
        UpdateFocusState();
        // Maximising the window asks for full screen.
        if (message.wParam == Platform::SIZE_MAXIMIZED)
            ChangeScreenModeWindowed(false);
        break;
    }
    case Platform::WM_SYSCOLORCHANGE:
    case Platform::WM_DISPLAYCHANGE:
        mWidgetManager->SysColorChangedAll();
        mWidgetManager->MarkAllDirty();
        break;
    case Platform::WM_ACTIVATEAPP:
        if (message.hwnd == mMainWindow && !mWindowHidden && !mShutdown) {
            UpdateFocusState();
            if (mActive && !mWindowed)
                mWidgetManager->MarkAllDirty();
            if (mBrowserLaunchPending && !mActive)
                BrowserLaunchDone(mBrowserUrl);
        }
        break;
    case Platform::WM_CLOSE:
        if (fromMainOrInvisible) {
            mDemoFinished = true;
            Shutdown();
        }
        break;
    default:
        if (IsMouseMessage(message.message))
            HandleMouseMessage(message);
        break;
    }
    return !mDeferredMessages.empty();
}

void TandryAppBase::HandleTimerMessage(const Platform::WindowMessage& message)
{
    if (mWindowHidden || !mInMainLoop)
        return;
    Platform::ServiceBundle& platform = Platform::GetPlatform();
    Platform::WindowSystem& windows = platform.GetWindows();

    const uint32_t now = platform.GetClock().GetTickCount();
    // A gap in the timer means a modal loop or a stall; the browser watchdog waits for steady timers.
    if (now - mLastTimerTick > kTimerStallMs)
        mLastStallTick = now;
    mLastTimerTick = now;
    if (mBrowserLaunchPending && now - mLastStallTick > kBrowserStallWindowMs) {
        const uint32_t sinceLaunch = now - mBrowserLaunchTick;
        if (sinceLaunch > kBrowserGoneAfterMs && !mActive)
            BrowserLaunchDone(mBrowserUrl);
        else if (sinceLaunch > kBrowserFailedAfterMs && mActive)
            BrowserLaunchFailed(mBrowserUrl);
    }

    int drawWidth = mWidth;
    int drawHeight = mHeight;
    if (mDDInterface != nullptr) {
        drawWidth = mDDInterface->mWidth;
        drawHeight = mDDInterface->mHeight;
    }
    Platform::WinPoint origin{0, 0};
    Platform::WinPoint corner{drawWidth, drawHeight};
    Platform::WinPoint cursor;
    bool inside = false;
    if (windows.ClientToScreen(message.hwnd, origin) && windows.ClientToScreen(message.hwnd, corner) &&
        windows.GetCursorPos(cursor)) {
        inside = windows.WindowFromPoint(cursor) == message.hwnd && cursor.x >= origin.x && cursor.x < corner.x &&
                 cursor.y >= origin.y && cursor.y < corner.y;
    }
    if (inside == mMouseInWindow)
        return;
    if (mRecordingDemo) {
        if (inside)
            mDemoSeam->RecordMouseEnter();
        else
            mDemoSeam->RecordMouseLeave();
    }
    if (!inside)
        mWidgetManager->MouseExit();
    mMouseInWindow = inside;
    ApplyCursor();
}

void TandryAppBase::HandleMouseMessage(const Platform::WindowMessage& message)
{
    if (mWindowHidden)
        return;
    Platform::WindowSystem& windows = Platform::GetPlatform().GetWindows();

    int x = Platform::LowWordSigned(message.lParam);
    int y = Platform::HighWordSigned(message.lParam);
    MapWindowPointToLogical(x, y);
    mLastInputTick = mLastTimerTick;
    mWidgetManager->lastInputUpdateCount = mWidgetManager->updateCount;
    mWidgetManager->MouseMove(x, y);
    if (!mMouseInWindow) {
        if (mRecordingDemo)
            mDemoSeam->RecordMouseEnter();
        mMouseInWindow = true;
        ApplyCursor();
    }

    const std::optional<MouseButtonEvent> button = ButtonEventOf(message.message);
    if (!button)
        return;
    if (button->down) {
        windows.SetCapture(message.hwnd);
        mWidgetManager->MouseDown(x, y, button->clickCode);
    } else {
        // The capture stays while another button is still held.
        if ((mWidgetManager->downButtons & ~button->buttonBit) == 0)
            windows.ReleaseCapture();
        mWidgetManager->MouseUp(x, y, button->clickCode);
    }
}

void TandryAppBase::HandleKeyDownMessage(const Platform::WindowMessage& message)
{
    mLastInputTick = mLastTimerTick;
    const int key = static_cast<int>(message.wParam);

    if (message.message == Platform::WM_SYSKEYDOWN && message.wParam == Platform::VK_RETURN && !mForceFullScreen &&
        !mForceWindowed) {
        ChangeScreenModeWindowed(!mWindowed);
        ClearKeyStates();
        return;
    }

    const auto& held = mWidgetManager->keyDown;
    if (message.wParam == 'K' && held[Platform::VK_CONTROL] && held[Platform::VK_MENU]) {
        Platform::GetPlatform().GetProcess().PlaySystemSound(kDebugKeysSound);
        mDebugKeysEnabled = !mDebugKeysEnabled;
    }

    if (mDebugKeysEnabled && HandleDebugKey(key))
        return;

    // Characters reach the widgets as WM_CHAR, which the platform makes from the key.
    mWidgetManager->KeyDown(key);
}

void TandryAppBase::UpdateFocusState()
{
    const bool focus = mActive && !mMinimized;
    if (focus == mHasFocus)
        return;
    mHasFocus = focus;
    if (focus) {
        Unmute(true);
        mWidgetManager->WindowGotFocus();
        OnAppFocusGained();
    } else {
        Mute(true);
        mWidgetManager->WindowLostFocus();
        OnAppFocusLost();
        Platform::GetPlatform().GetWindows().ReleaseCapture();
        mWidgetManager->ReleaseCapture();
    }
}

} // namespace Tandry
