// The headless window service: no window on any screen, but the same queue,
// timers, translator and default processing as under SDL. Tests inject input
// events, set the desktop (screen size, work area, window decorations, the
// active window, the screen-saver answers) and read what was recorded
// (capture calls, focus). Showing a window activates it as a desktop would.
#pragma once

#include "platform/window/WindowSystemBase.h"

#include <optional>
#include <vector>

namespace Platform {

class HeadlessWindowSystem : public WindowSystemBase {
public:
    HeadlessWindowSystem(Clock& clock, SingleInstance& instance);
    ~HeadlessWindowSystem() override;

    // Input as SDL would deliver it; a null window means the main window.
    void Inject(const InputEvent& event);

    void SetScreenSize(int32_t width, int32_t height);
    void SetWorkArea(const WinRect& area);
    // Frame widths of captioned windows (left 3, top 26, right 3, bottom 3 by default).
    void SetDecorations(const WinRect& frame);
    // Changes the active window without any message, as another program taking focus would.
    void SetActiveWindowForTest(WindowHandle window);
    void SetScreenSaverAnswers(uint32_t timeoutSeconds, bool active, std::optional<bool> running);

    // Every SetCapture (the window) and ReleaseCapture (null), in order.
    std::vector<WindowHandle> GetCaptureCalls() const { return mCaptureCalls; }
    std::optional<bool> GetScreenSaverRunningSet() const { return mRunningSet; }

    WinRect GetWorkArea() override;
    uint32_t GetScreenSaveTimeout() override { return mSaverTimeout; }
    bool IsScreenSaveActive() override { return mSaverActive; }
    bool GetScreenSaverRunning(bool& running) override;
    void SetScreenSaverRunning(bool running) override { mRunningSet = running; }

protected:
    void NativeCreate(WindowObject&) override {}
    void NativeDestroy(WindowObject&) override {}
    void NativeShow(WindowObject& window, int showCommand, bool wasMinimized) override;
    void NativeMove(WindowObject&) override {}
    void NativeRaise(WindowObject& window) override;
    void NativeCapture(WindowHandle window) override { mCaptureCalls.push_back(window); }
    void PollNativeEvents() override {}
    WinRect FrameFor(uint32_t style) override;
    WinPoint ScreenSize() override { return mScreen; }
    WinPoint FullScreenClientSize() override;

private:
    void Activate(WindowObject& window);

    WinPoint mScreen{1280, 1024};
    std::optional<WinRect> mWorkArea;
    WinRect mDecorations{3, 26, 3, 3};
    uint32_t mSaverTimeout = 600;
    bool mSaverActive = false;
    std::optional<bool> mSaverRunning = false;
    std::optional<bool> mRunningSet;
    std::vector<WindowHandle> mCaptureCalls;
};

} // namespace Platform
