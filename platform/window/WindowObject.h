// What a window handle points at: the state both back ends keep for a window
// (class, title, styles, outer rectangle and frame, visibility, user data,
// pending paint). Only the window service and its back ends look inside;
// everyone else treats the handle as opaque.
#pragma once

#include "platform/window/WindowTypes.h"

#include <string>

namespace Platform {

struct WindowObject {
    WindowClass windowClass;
    std::wstring title;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    WinRect outer;        // screen coordinates
    WinRect frame;        // widths of the frame: left, top, right, bottom
    WinRect normalOuter;  // outer rectangle of the last normal (not minimised or maximised) state
    void* userData = nullptr;
    bool visible = false;
    bool minimized = false;
    bool maximized = false;
    bool needsPaint = false;
    bool presented = false;
    bool desktopFullScreen = false; // covers the screen; its client size is kept
    bool destroying = false;
    void* native = nullptr; // the back end's own window, if it has one

    WinPoint ClientOrigin() const { return {outer.left + frame.left, outer.top + frame.top}; }
    int32_t ClientWidth() const { return outer.Width() - frame.left - frame.right; }
    int32_t ClientHeight() const { return outer.Height() - frame.top - frame.bottom; }
};

} // namespace Platform
