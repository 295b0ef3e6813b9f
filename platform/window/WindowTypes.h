// The plain records of the window service: window and cursor handles, points
// and rectangles in Windows' layout, the message record the pump hands out,
// window classes and placements. Handles are opaque; only the window service
// that made them looks inside.
#pragma once

#include <cstdint>
#include <string>

namespace Platform {

struct WindowObject;
using WindowHandle = WindowObject*;

// The window procedure: (window, message, wParam, lParam) -> result.
using WindowProc = intptr_t (*)(WindowHandle, uint32_t, uintptr_t, intptr_t);

struct WinPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const WinPoint&) const = default;
};

struct WinRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool Contains(WinPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool operator==(const WinRect&) const = default;
};

// One record of the message queue, as PeekMessage hands it out.
struct WindowMessage {
    WindowHandle hwnd = nullptr;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    uint32_t time = 0; // tick when the record was made
    WinPoint pt;       // cursor position in screen coordinates at that time
};

struct WindowClass {
    std::string name;
    uint32_t style = 0;  // CS_DBLCLKS or 0
    WindowProc proc = nullptr;
    int iconResource = 0; // kProgramIconResource or 0
};

struct WindowPlacement {
    int showCmd = 0;       // SW_SHOWNORMAL, SW_SHOWMINIMIZED or SW_SHOWMAXIMIZED
    WinRect normalPosition; // outer rectangle when neither minimised nor maximised
};

// lParam and wParam packing as Windows does it.
inline intptr_t MakeLParam(int32_t low, int32_t high)
{
    // Zero-extended like Windows' MAKELPARAM, whose 32-bit value becomes the pointer-sized lParam.
    return static_cast<intptr_t>((static_cast<uint32_t>(high) & 0xFFFFu) << 16 | (static_cast<uint32_t>(low) & 0xFFFFu));
}
inline int16_t LowWordSigned(intptr_t value) { return static_cast<int16_t>(static_cast<uint32_t>(value) & 0xFFFFu); }
inline int16_t HighWordSigned(intptr_t value) { return static_cast<int16_t>((static_cast<uint32_t>(value) >> 16) & 0xFFFFu); }

} // namespace Platform
