// The window service: window classes and windows, the message queue and its
// pump, timers, default processing, capture and the cursor position, the
// desktop's metrics and the screen-saver questions. Records keep Windows'
// message numbers (WindowMessages.h). Everything runs on the main thread,
// except PostMessage, GetCursorPos, ClientToScreen and ScreenToClient, which
// the cursor thread and the loading thread may call.
#pragma once

#include "platform/window/WindowTypes.h"

#include <cstdint>
#include <string>

namespace Platform {

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Classes and windows.
    virtual bool RegisterWindowClass(const WindowClass& windowClass) = 0;
    // Position and size are the outer rectangle. Sends WM_CREATE before it returns.
    virtual WindowHandle CreateWindow(const std::string& className, const std::wstring& title, uint32_t style,
                                      uint32_t exStyle, int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    // Sends WM_DESTROY; the window's timers and waiting records go with it.
    virtual bool DestroyWindow(WindowHandle window) = 0;
    virtual bool IsWindow(WindowHandle window) = 0;
    // Destroys every window, newest first; the platform does it before it goes away.
    virtual void DestroyAllWindows() = 0;
    virtual void SetWindowUserData(WindowHandle window, void* data) = 0;
    virtual void* GetWindowUserData(WindowHandle window) = 0;

    virtual bool ShowWindow(WindowHandle window, int showCommand) = 0;
    virtual void SetFocus(WindowHandle window) = 0;
    virtual bool SetForegroundWindow(WindowHandle window) = 0;
    virtual WindowHandle GetActiveWindow() = 0;
    virtual bool IsIconic(WindowHandle window) = 0;
    virtual bool GetWindowPlacement(WindowHandle window, WindowPlacement& placement) = 0;
    // Moves and sizes the outer rectangle without repainting.
    virtual bool MoveWindow(WindowHandle window, int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    // The caption; false for an unknown window.
    virtual bool SetWindowTitle(WindowHandle window, const std::wstring& title) = 0;
    virtual bool GetClientRect(WindowHandle window, WinRect& rect) = 0;
    // Until something presents into it, the client area is kept black.
    virtual void SetClientPresented(WindowHandle window, bool presented) = 0;
    // Desktop full screen, the display's exclusive mode: the window covers the
    // screen without a mode change and what it shows is scaled to the screen,
    // while its client size (and so every coordinate the program sees) stays.
    virtual void SetDesktopFullScreen(WindowHandle window, bool fullScreen) = 0;
    virtual bool IsDesktopFullScreen(WindowHandle window) = 0;

    // The desktop.
    virtual WinRect GetWorkArea() = 0;
    // SM_CXSCREEN, SM_CYSCREEN, SM_CXFULLSCREEN, SM_CYFULLSCREEN, SM_TABLETPC; 0 for others.
    virtual int32_t GetSystemMetrics(int index) = 0;
    // Grows a client rectangle to the outer rectangle of a window of that style.
    virtual void AdjustWindowRect(WinRect& rect, uint32_t style) = 0;
    virtual bool ClientToScreen(WindowHandle window, WinPoint& point) = 0;
    virtual bool ScreenToClient(WindowHandle window, WinPoint& point) = 0;
    // Our window under a screen point, or null when none of ours is there.
    virtual WindowHandle WindowFromPoint(WinPoint point) = 0;

    // Timers: a WM_TIMER is made at pump time once the period has passed and
    // nothing else waits; never two are pending.
    virtual bool SetTimer(WindowHandle window, uintptr_t id, uint32_t periodMs) = 0;
    virtual bool KillTimer(WindowHandle window, uintptr_t id) = 0;

    // The queue and the pump.
    virtual bool PostMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    // Takes the next record off the queue; false when nothing waits.
    virtual bool PeekMessage(WindowMessage& message) = 0;
    // Characters are made when the input is translated, so this does nothing.
    bool TranslateMessage(const WindowMessage&) { return false; }
    virtual intptr_t DispatchMessage(const WindowMessage& message) = 0;
    virtual intptr_t SendMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    // WM_SYSKEYDOWN with VK_F4 and WM_SYSCOMMAND SC_CLOSE post WM_CLOSE; WM_CLOSE
    // destroys the window; everything else answers 0.
    virtual intptr_t DefWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;

    // Input state.
    virtual void SetCapture(WindowHandle window) = 0;
    virtual void ReleaseCapture() = 0;
    virtual WindowHandle GetCapture() = 0;
    virtual bool GetCursorPos(WinPoint& point) = 0;

    // The system screen saver.
    virtual uint32_t GetScreenSaveTimeout() = 0; // seconds
    virtual bool IsScreenSaveActive() = 0;
    // False when the question cannot be answered.
    virtual bool GetScreenSaverRunning(bool& running) = 0;
    virtual void SetScreenSaverRunning(bool running) = 0;
};

} // namespace Platform
