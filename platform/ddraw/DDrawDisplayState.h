// What one DirectDraw object knows of the display: the cooperative level and its
// window, the display mode set in exclusive mode, and its one primary surface.
// Its surfaces share it with the object, so they stay valid (and keep
// presenting) after the object's last release. Guarded by the stand-in's mutex.
#pragma once

#include "platform/ddraw/DDrawTypes.h"

#include <cstdint>

namespace Platform {

class DDrawSurface;

struct DDrawDisplayState {
    bool levelSet = false;
    bool exclusive = false;
    HWND window = nullptr;
    bool modeSet = false;
    uint32_t modeWidth = 0;
    uint32_t modeHeight = 0;
    DDPIXELFORMAT modeFormat;
    DDrawSurface* primary = nullptr; // while it lives
};

} // namespace Platform
