// The records the display code exchanges with the Direct3D stand-in: the
// viewport, clear rectangles, the device description of GetCaps and the
// texture-format callback. Our own layouts with the fields the callers use.
#pragma once

#include "platform/ddraw/DDrawTypes.h"

#include <cstdint>

namespace Platform {

struct D3DVIEWPORT7 {
    uint32_t dwX = 0;
    uint32_t dwY = 0;
    uint32_t dwWidth = 0;
    uint32_t dwHeight = 0;
    float dvMinZ = 0.0f;
    float dvMaxZ = 1.0f;
};

// {x1, y1, x2, y2}; x2 and y2 are exclusive.
struct D3DRECT {
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;
};

struct D3DPRIMCAPS {
    uint32_t dwTextureCaps = 0; // D3DPTEXTURECAPS_*
};

struct D3DDEVICEDESC7 {
    D3DPRIMCAPS dpcLineCaps;
    D3DPRIMCAPS dpcTriCaps;
    uint32_t dwMinTextureWidth = 0;
    uint32_t dwMinTextureHeight = 0;
    uint32_t dwMaxTextureWidth = 0;
    uint32_t dwMaxTextureHeight = 0;
    uint32_t dwMaxTextureAspectRatio = 0;
};

// Called once per texture format; D3DENUMRET_CANCEL stops the enumeration.
using LPD3DENUMPIXELFORMATSCALLBACK = HRESULT (*)(DDPIXELFORMAT* format, void* context);

} // namespace Platform
