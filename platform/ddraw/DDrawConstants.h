// The flag values of the DirectDraw calls the display code makes: surface
// description fields, capabilities, pixel-format kinds, cooperative levels, lock,
// blit and flip flags, colour-key kinds and palette capabilities. They keep
// DirectDraw's numbers, since callers combine and compare them.
#pragma once

#include "platform/dx/HResult.h"

#include <cstdint>

namespace Platform {

// The generic COM refusal of an interface the object does not have.
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);

// Surface description fields.
inline constexpr uint32_t DDSD_CAPS = 0x1;
inline constexpr uint32_t DDSD_HEIGHT = 0x2;
inline constexpr uint32_t DDSD_WIDTH = 0x4;
inline constexpr uint32_t DDSD_PITCH = 0x8;
inline constexpr uint32_t DDSD_BACKBUFFERCOUNT = 0x20;
inline constexpr uint32_t DDSD_LPSURFACE = 0x800;
inline constexpr uint32_t DDSD_PIXELFORMAT = 0x1000;
inline constexpr uint32_t DDSD_CKSRCBLT = 0x10000;

// Surface capabilities.
inline constexpr uint32_t DDSCAPS_BACKBUFFER = 0x4;
inline constexpr uint32_t DDSCAPS_COMPLEX = 0x8;
inline constexpr uint32_t DDSCAPS_FLIP = 0x10;
inline constexpr uint32_t DDSCAPS_FRONTBUFFER = 0x20;
inline constexpr uint32_t DDSCAPS_OFFSCREENPLAIN = 0x40;
inline constexpr uint32_t DDSCAPS_PRIMARYSURFACE = 0x200;
inline constexpr uint32_t DDSCAPS_SYSTEMMEMORY = 0x800;
inline constexpr uint32_t DDSCAPS_TEXTURE = 0x1000;
inline constexpr uint32_t DDSCAPS_3DDEVICE = 0x2000;
inline constexpr uint32_t DDSCAPS_VIDEOMEMORY = 0x4000;
inline constexpr uint32_t DDSCAPS2_D3DTEXTUREMANAGE = 0x20000;

// Pixel-format kinds.
inline constexpr uint32_t DDPF_ALPHAPIXELS = 0x1;
inline constexpr uint32_t DDPF_PALETTEINDEXED8 = 0x20;
inline constexpr uint32_t DDPF_RGB = 0x40;

// Cooperative levels.
inline constexpr uint32_t DDSCL_FULLSCREEN = 0x1;
inline constexpr uint32_t DDSCL_NORMAL = 0x8;
inline constexpr uint32_t DDSCL_EXCLUSIVE = 0x10;

// Lock flags.
inline constexpr uint32_t DDLOCK_WAIT = 0x1;
inline constexpr uint32_t DDLOCK_READONLY = 0x10;
inline constexpr uint32_t DDLOCK_WRITEONLY = 0x20;

// Blit flags.
inline constexpr uint32_t DDBLT_KEYSRC = 0x8000;
inline constexpr uint32_t DDBLT_WAIT = 0x01000000;

// Flip flags.
inline constexpr uint32_t DDFLIP_WAIT = 0x1;

// Colour-key kinds.
inline constexpr uint32_t DDCKEY_SRCBLT = 0x8;

// Palette capabilities.
inline constexpr uint32_t DDPCAPS_8BIT = 0x4;
inline constexpr uint32_t DDPCAPS_ALLOW256 = 0x40;
inline constexpr uint32_t DDPCAPS_ALPHA = 0x400;

} // namespace Platform
