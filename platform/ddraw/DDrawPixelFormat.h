// The pixel formats the DirectDraw stand-in knows: the desktop and mode formats
// a test can choose, the formats surfaces may be created with, and the rules
// that compare and describe them.
#pragma once

#include "platform/ddraw/DDrawTypes.h"

#include <cstdint>
#include <vector>

namespace Platform {

enum class DDrawFormat {
    X8R8G8B8,
    A8R8G8B8,
    R5G6B5,
    X1R5G5B5,
    A4R4G4B4,
    BGR565, // red in the low bits, blue in the high ones
    R8G8B8, // 24 bits
    P8,     // 8-bit palette indices
    A1R5G5B5,
    P8Texture, // 8-bit palette indices as a texture format names them (RGB and indexed)
};

DDPIXELFORMAT MakePixelFormat(DDrawFormat format);

// What a Direct3D device offers by default, in order: A8R8G8B8, A4R4G4B4,
// R5G6B5, 8-bit palettised, X1R5G5B5, A1R5G5B5.
std::vector<DDPIXELFORMAT> DefaultTextureFormats();

// Whole bytes per pixel; 0 for a bit count that is not a multiple of 8.
uint32_t BytesPerPixel(const DDPIXELFORMAT& format);

// True when a surface may be created with the format: RGB of 16, 24 or 32
// bits with non-zero channel masks, or 8-bit palette indices (with or without
// the RGB flag that texture formats carry).
bool IsCreatablePixelFormat(const DDPIXELFORMAT& format);

// Two surfaces blit into each other only when this holds: the same kind, bit
// count and masks (the alpha mask counts only where the format has alpha).
bool SamePixelFormat(const DDPIXELFORMAT& a, const DDPIXELFORMAT& b);

// Field by field, the size included.
void CopyPixelFormat(DDPIXELFORMAT& to, const DDPIXELFORMAT& from);

} // namespace Platform
