// The input events both back ends feed to the window service: what SDL
// reports, reduced to what the translator needs. Headless tests inject the
// same events, so the translation rules they test are the ones that run under
// SDL.
#pragma once

#include "platform/window/WindowTypes.h"

#include <cstdint>
#include <string>

namespace Platform {

enum class InputEventKind {
    MouseMotion,   // x, y: client coordinates (outside the client area while captured)
    MouseButtonDown, // button, clicks, x, y
    MouseButtonUp,   // button, x, y
    MouseWheel,    // wheelY (notches, fractional), flipped
    KeyDown,       // virtualKey, repeat, altGr
    KeyUp,         // virtualKey, altGr
    Text,          // text: UTF-8
    FocusGained,
    FocusLost,
    Minimized,
    Maximized,     // x, y: new client width and height
    Restored,      // x, y: client width and height
    Moved,         // x, y: new outer position
    Exposed,
    DisplayChanged,
    CloseRequested, // the window's close button
    Quit,           // the process was asked to end; goes to the main window
};

enum class MouseButton { Left = 1, Middle = 2, Right = 3, Other = 4 };

struct InputEvent {
    InputEventKind kind = InputEventKind::MouseMotion;
    WindowHandle window = nullptr; // null: the main window
    int32_t x = 0;
    int32_t y = 0;
    MouseButton button = MouseButton::Left;
    int clicks = 1;
    float wheelY = 0.0f;
    bool flipped = false;
    uint32_t virtualKey = 0; // 0: a key without a Windows code, ignored
    bool repeat = false;
    // On VK_MENU: the key is AltGr, the layout's shift to its third characters
    // (SDL's mode key, or a right Alt the layout types with), not Alt. On any
    // other key: AltGr is held, so the key types the layout's character.
    bool altGr = false;
    std::string text;
};

} // namespace Platform
