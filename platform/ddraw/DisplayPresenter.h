// The DirectDraw stand-in's link to the window system: it answers the desktop's
// size, a window's client area on the screen and the monitor frequency, puts the
// window in and out of desktop full screen for exclusive mode, and shows the
// primary surface in the window after every change. Each platform back end has
// one (headless and SDL), a service of the platform; the stand-in calls it on
// the thread that draws.
#pragma once

#include "platform/ddraw/DDrawTypes.h"

#include <cstdint>

namespace Platform {

// A view of the primary surface's pixels, valid during one Present call only.
struct PresentedSurface {
    const uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    DDPIXELFORMAT format;
};

class DisplayPresenter {
public:
    virtual ~DisplayPresenter() = default;

    // The desktop's size in pixels.
    virtual void GetDesktopSize(uint32_t& width, uint32_t& height) = 0;
    // The window's client area in screen (desktop) coordinates; false when the window is gone.
    virtual bool GetClientRectOnScreen(HWND window, RECT& rect) = 0;
    // Refresh rate of the display the window is on, in Hz; 0 when unknown.
    virtual uint32_t GetMonitorFrequency(HWND window) = 0;
    // Exclusive mode puts the window in desktop full screen; normal mode takes it out.
    virtual void SetFullScreen(HWND window, bool fullScreen) = 0;
    // Every byte of a new surface other than a primary, unless a setting says otherwise.
    virtual uint8_t GetNewSurfaceFill() = 0;
    // The primary changed inside `changed` (primary coordinates, possibly empty).
    // Windowed, the primary covers the desktop and the window shows its client
    // rectangle; in full screen the window shows the whole primary.
    virtual void Present(HWND window, bool fullScreen, const PresentedSurface& primary, const RECT& changed) = 0;
};

} // namespace Platform
