// The part of a presenter that asks the platform's window service: the
// desktop's size is the screen's, a window's client area on the screen comes
// from its client-to-screen conversion, and exclusive mode is the window's
// desktop full screen. Back ends add the showing and the monitor frequency.
#pragma once

#include "platform/ddraw/DisplayPresenter.h"
#include "platform/window/WindowSystem.h"

namespace Platform {

class WindowPresenter : public DisplayPresenter {
public:
    explicit WindowPresenter(WindowSystem& windows) : mWindows(windows) {}

    void GetDesktopSize(uint32_t& width, uint32_t& height) override;
    bool GetClientRectOnScreen(HWND window, RECT& rect) override;
    void SetFullScreen(HWND window, bool fullScreen) override;

protected:
    // The rectangle of the primary the window shows: all of it in full screen;
    // windowed, the client area on the desktop, which may reach past the
    // primary. False when the window is gone.
    bool GetShownRect(HWND window, bool fullScreen, const PresentedSurface& primary, RECT& shown);
    // What of `changed` the window shows and the primary has; empty when nothing.
    static RECT VisiblePart(const RECT& shown, const RECT& changed, const PresentedSurface& primary);

    WindowSystem& Windows() { return mWindows; }

private:
    WindowSystem& mWindows;
};

} // namespace Platform
