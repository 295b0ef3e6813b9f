// How the Direct3D stand-in reads and writes the pixels of a surface: where
// each channel of an RGB format lies, how a stored value widens to 8 bits per
// channel (by bit replication, alpha 255 without an alpha field) and how a
// colour narrows back (keeping each channel's top bits, every other bit 0).
// The device uses it for render targets and textures.
#pragma once

#include "platform/ddraw/DDrawTypes.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace Platform {

struct D3DChannel {
    uint32_t mask = 0;
    uint32_t shift = 0; // of the mask's lowest bit
    uint32_t bits = 0;  // from the lowest to the highest bit of the mask
    // The widened value of each field value, for fields of up to 8 bits.
    std::array<uint8_t, 256> widened{};
};

class D3DPixelLayout {
public:
    // For an RGB format; the alpha field counts only with DDPF_ALPHAPIXELS.
    static D3DPixelLayout FromFormat(const DDPIXELFORMAT& format);

    uint32_t Bytes() const { return mBytes; }
    bool HasAlpha() const { return mAlpha.mask != 0; }

    uint32_t Load(const uint8_t* pixel) const
    {
        uint32_t raw = 0;
        std::memcpy(&raw, pixel, mBytes); // little-endian
        return raw;
    }
    void Store(uint8_t* pixel, uint32_t raw) const { std::memcpy(pixel, &raw, mBytes); }

    // A stored value as 0xAARRGGBB.
    uint32_t Decode(uint32_t raw) const;
    // 0xAARRGGBB as a stored value; alpha goes to the alpha field when `withAlpha`.
    uint32_t Encode(uint32_t argb, bool withAlpha = false) const;

    // Exactly A8R8G8B8 or X8R8G8B8: decoding is a copy.
    bool IsArgb8888() const { return mArgb8888; }
    // Exactly R5G6B5 without alpha.
    bool IsRgb565() const { return mRgb565; }

private:
    uint32_t mBytes = 4;
    D3DChannel mRed;
    D3DChannel mGreen;
    D3DChannel mBlue;
    D3DChannel mAlpha;
    bool mArgb8888 = false;
    bool mRgb565 = false;
};

// A field of `bits` bits widened to 8 by repeating its bits; fields of more
// than 8 bits keep their top 8.
uint32_t WidenChannel(uint32_t value, uint32_t bits);
// An 8-bit channel narrowed to `bits` bits (its top bits), or widened by repetition above 8.
uint32_t NarrowChannel(uint32_t value, uint32_t bits);

} // namespace Platform
