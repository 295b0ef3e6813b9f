// The records the display code exchanges with the DirectDraw stand-in: interface
// ids, rectangles, pixel formats, surface descriptions, colour keys, blit effects
// and palette entries. These are our own layouts with the fields the callers use;
// callers set each size field with sizeof of these structs, and the stand-in
// refuses any other size, so a forgotten size shows at once.
#pragma once

#include "platform/dx/HResult.h"
#include "platform/window/WindowTypes.h"

#include <cstddef>
#include <cstdint>

namespace Platform {

// Interface ids: our own numbers, only compared for equality.
struct GUID {
    uint32_t value = 0;
    bool operator==(const GUID&) const = default;
};
using IID = GUID;
using REFIID = const IID&;

inline constexpr IID IID_IUnknown{1};
inline constexpr IID IID_IDirectDraw{2};
inline constexpr IID IID_IDirectDraw7{3};
inline constexpr IID IID_IDirectDrawSurface{4};
inline constexpr IID IID_IDirectDrawSurface7{5};
inline constexpr IID IID_IDirectDrawClipper{6};
inline constexpr IID IID_IDirectDrawPalette{7};
inline constexpr IID IID_IDirect3D7{8};

// The window a cooperative level or a clipper is bound to: the window service's handle.
using HWND = WindowHandle;

// {left, top, right, bottom}; right and bottom are exclusive.
using RECT = WinRect;

struct DDPIXELFORMAT {
    uint32_t dwSize = 0;
    uint32_t dwFlags = 0; // DDPF_*
    uint32_t dwRGBBitCount = 0;
    uint32_t dwRBitMask = 0;
    uint32_t dwGBitMask = 0;
    uint32_t dwBBitMask = 0;
    uint32_t dwRGBAlphaBitMask = 0;
};

struct DDCOLORKEY {
    uint32_t dwColorSpaceLowValue = 0;
    uint32_t dwColorSpaceHighValue = 0;
};

struct DDSCAPS {
    uint32_t dwCaps = 0;
};

struct DDSCAPS2 {
    uint32_t dwCaps = 0;
    uint32_t dwCaps2 = 0;
};

// The surface descriptions: the first version holds DDSCAPS, the second
// (DDSURFACEDESC2) DDSCAPS2; the fields are otherwise the same.
template <class Caps>
struct SurfaceDescription {
    uint32_t dwSize = 0;
    uint32_t dwFlags = 0; // DDSD_*: which fields are valid
    uint32_t dwHeight = 0;
    uint32_t dwWidth = 0;
    int32_t lPitch = 0; // bytes per row
    uint32_t dwBackBufferCount = 0;
    uint32_t dwRefreshRate = 0;
    uint32_t dwAlphaBitDepth = 0;
    uint32_t dwReserved = 0;
    void* lpSurface = nullptr; // first pixel, while locked
    DDCOLORKEY ddckCKDestOverlay;
    DDCOLORKEY ddckCKDestBlt;
    DDCOLORKEY ddckCKSrcOverlay;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    Caps ddsCaps;
};
using DDSURFACEDESC = SurfaceDescription<DDSCAPS>;
using DDSURFACEDESC2 = SurfaceDescription<DDSCAPS2>;

// The blit effects: callers clear it and set the size; no effect is supported.
struct DDBLTFX {
    uint32_t dwSize = 0;
};

// The 16-byte identity of a display adapter, as the capability test stores it.
struct DEVICEGUID {
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    uint8_t Data4[8] = {};
    bool operator==(const DEVICEGUID&) const = default;
};

// What GetDeviceIdentifier tells of the adapter; the texts end with a 0.
struct DDDEVICEIDENTIFIER2 {
    static constexpr size_t kTextSize = 512;
    char szDriver[kTextSize] = {};
    char szDescription[kTextSize] = {};
    DEVICEGUID guidDeviceIdentifier;
};

// One palette entry; with DDPCAPS_ALPHA the flags byte is the entry's alpha.
struct PALETTEENTRY {
    uint8_t peRed = 0;
    uint8_t peGreen = 0;
    uint8_t peBlue = 0;
    uint8_t peFlags = 0;
    bool operator==(const PALETTEENTRY&) const = default;
};

} // namespace Platform
