// The part of the window service both back ends share: the class and window
// tables, the queue with its paint and timer records, dispatch and default
// processing, capture and the cursor position, and the input translator. A
// back end supplies the native window operations, the desktop's geometry and
// its event source, and feeds input events through FeedInput.
#pragma once

#include "platform/window/InputTranslator.h"
#include "platform/window/WindowObject.h"
#include "platform/window/WindowSystem.h"

#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace Platform {

class Clock;
class SingleInstance;

// The class whose newest window is the main window: broadcasts and the quit event go there.
inline constexpr const char* kMainWindowClassName = "MainWindow";

class WindowSystemBase : public WindowSystem {
public:
    WindowSystemBase(Clock& clock, SingleInstance& instance);
    ~WindowSystemBase() override;

    bool RegisterWindowClass(const WindowClass& windowClass) override;
    WindowHandle CreateWindow(const std::string& className, const std::wstring& title, uint32_t style,
                              uint32_t exStyle, int32_t x, int32_t y, int32_t width, int32_t height) override;
    bool DestroyWindow(WindowHandle window) override;
    bool IsWindow(WindowHandle window) override;
    // Back ends also call it first in their destructors, while their native side is whole.
    void DestroyAllWindows() override;
    void SetWindowUserData(WindowHandle window, void* data) override;
    void* GetWindowUserData(WindowHandle window) override;

    bool ShowWindow(WindowHandle window, int showCommand) override;
    void SetFocus(WindowHandle window) override;
    bool SetForegroundWindow(WindowHandle window) override;
    WindowHandle GetActiveWindow() override;
    bool IsIconic(WindowHandle window) override;
    bool GetWindowPlacement(WindowHandle window, WindowPlacement& placement) override;
    bool MoveWindow(WindowHandle window, int32_t x, int32_t y, int32_t width, int32_t height) override;
    bool SetWindowTitle(WindowHandle window, const std::wstring& title) override;
    // The caption the window was created with or last given; empty for an unknown window.
    std::wstring GetWindowTitle(WindowHandle window);
    bool GetClientRect(WindowHandle window, WinRect& rect) override;
    void SetClientPresented(WindowHandle window, bool presented) override;
    void SetDesktopFullScreen(WindowHandle window, bool fullScreen) override;
    bool IsDesktopFullScreen(WindowHandle window) override;

    int32_t GetSystemMetrics(int index) override;
    void AdjustWindowRect(WinRect& rect, uint32_t style) override;
    bool ClientToScreen(WindowHandle window, WinPoint& point) override;
    bool ScreenToClient(WindowHandle window, WinPoint& point) override;
    WindowHandle WindowFromPoint(WinPoint point) override;

    bool SetTimer(WindowHandle window, uintptr_t id, uint32_t periodMs) override;
    bool KillTimer(WindowHandle window, uintptr_t id) override;

    bool PostMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool PeekMessage(WindowMessage& message) override;
    intptr_t DispatchMessage(const WindowMessage& message) override;
    intptr_t SendMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    intptr_t DefWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    void SetCapture(WindowHandle window) override;
    void ReleaseCapture() override;
    WindowHandle GetCapture() override;
    bool GetCursorPos(WinPoint& point) override;

    // The newest window of the main window class, or null.
    WindowHandle GetMainWindow();

protected:
    // Native operations of the back end; called on the main thread without the lock held.
    virtual void NativeCreate(WindowObject& window) = 0;
    virtual void NativeDestroy(WindowObject& window) = 0;
    virtual void NativeShow(WindowObject& window, int showCommand, bool wasMinimized) = 0;
    virtual void NativeMove(WindowObject& window) = 0;
    virtual void NativeTitleChanged(WindowObject&) {}
    virtual void NativeRaise(WindowObject& window) = 0;
    virtual void NativeCapture(WindowHandle window) = 0; // null releases
    virtual void NativePresentedChanged(WindowObject&) {}
    virtual void NativeDesktopFullScreenChanged(WindowObject&) {}
    // Turns whatever the back end has received into FeedInput calls.
    virtual void PollNativeEvents() = 0;
    // Frame widths (left, top, right, bottom) of a window of the style.
    virtual WinRect FrameFor(uint32_t style) = 0;
    virtual WinPoint ScreenSize() = 0;
    virtual WinPoint FullScreenClientSize() = 0;
    // False when the back end knows the pointer is not over this window.
    virtual bool PointerMayBeOver(const WindowObject&) { return true; }

    // Applies an input event to the window's state and queues its records.
    void FeedInput(const InputEvent& event);
    void SetCursorScreenPosition(WinPoint point);
    // Forgets held keys and buttons, whose releases went elsewhere (a modal box, another program).
    void ForgetHeldInput();
    // Changes the active window without any record.
    void SetActiveState(WindowHandle window);
    // The window of a handle, or null; only while the caller holds the lock, or on the main thread.
    WindowObject* Find(WindowHandle window);
    std::vector<WindowObject*> Windows();
    std::mutex& Lock() { return mLock; }
    Clock& GetClockService() { return mClock; }

private:
    struct Timer {
        WindowHandle window;
        uintptr_t id;
        uint32_t period;
        uint32_t lastTick;
    };

    WindowMessage MakeRecord(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
    WindowObject* FindLocked(WindowHandle window);
    bool OffsetByClientOrigin(WindowHandle window, WinPoint& point, int32_t direction);
    WindowProc ProcOf(WindowHandle window);
    bool TakeGeneratedRecord(WindowMessage& message);
    void CollectNotifications();

    Clock& mClock;
    SingleInstance& mInstance;
    std::mutex mLock;
    std::vector<WindowClass> mClasses;
    std::vector<std::unique_ptr<WindowObject>> mWindows; // creation order; the last is on top
    std::deque<WindowMessage> mQueue;
    std::vector<Timer> mTimers;
    InputTranslator mTranslator;
    WindowHandle mActive = nullptr;
    WindowHandle mFocus = nullptr;
    WindowHandle mCapture = nullptr;
    WinPoint mCursor;
};

} // namespace Platform
