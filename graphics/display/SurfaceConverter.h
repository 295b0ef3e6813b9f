// Moves pictures between 0xAARRGGBB pixels and the memory of a locked 16- or
// 32-bit display surface. On the way in each channel keeps its top bits at
// the display's shift and alpha is dropped; on the way back each channel's
// bits land at the top of its byte with the low bits zero, and alpha is 255.
// Surface images, their colour key and the drawing into surfaces use it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/display/NativeDisplay.h"
#include "graphics/types/Rect.h"

namespace Tandry {

// The memory of a locked surface: the first pixel, the signed distance
// between rows in bytes, and the bits per pixel (16 or 32; others are
// neither written nor read).
struct SurfaceMemory {
    uint8_t* bits = nullptr;
    int32_t pitch = 0;
    int bitsPerPixel = 0;
};

class SurfaceConverter {
public:
    // Bit counts and shifts come from the display; the masks from the
    // surface's own description.
    SurfaceConverter(const NativeDisplay& display, uint32_t redMask, uint32_t greenMask, uint32_t blueMask);

    uint32_t ToSurface(uint32_t argb) const
    {
        return Place(argb, mRed) | Place(argb, mGreen) | Place(argb, mBlue);
    }

    uint32_t ToArgb(uint32_t word) const
    {
        return 0xFF000000u | Widen(word, mRed) << 16 | Widen(word, mGreen) << 8 | Widen(word, mBlue);
    }

    // ToSurface over an array.
    void ToSurface(const uint32_t* pixels, uint32_t* words, size_t count) const;
    void ToSurface(const uint32_t* pixels, uint16_t* words, size_t count) const;

    // The rectangle of pixels (rows `stride` words apart, the rectangle's
    // top-left pixel at `pixels`) into the same rectangle of the surface.
    void WriteRect(const uint32_t* pixels, size_t stride, const SurfaceMemory& surface, const Rect& rect) const;
    // The same, but every pixel whose alpha is below 255 is written as key.
    void WriteRectKeyed(const uint32_t* pixels, size_t stride, const SurfaceMemory& surface, const Rect& rect,
                        uint32_t key) const;
    // The rectangle of the surface into pixels laid out as WriteRect reads
    // them. With a key, a stored word equal to *key reads as 0x00000000.
    void ReadRect(const SurfaceMemory& surface, const Rect& rect, uint32_t* pixels, size_t stride,
                  const uint32_t* key) const;

    // Whether some opaque pixel's surface word, cut to valueMask, equals value.
    bool AnyOpaqueConvertsTo(const uint32_t* pixels, size_t count, uint32_t value, uint32_t valueMask) const;

    // Shifts that would leave 0..31 (a malformed format) drop the channel.
    struct Channel {
        uint32_t down = 0; // ARGB word to the channel's top bits at bit 0
        uint32_t up = 0;   // to the display's shift
        uint32_t mask = 0; // the surface's mask
        uint32_t readShift = 0;
        uint32_t readUp = 0; // the channel's bits to the top of the byte
        uint32_t readMask = 0;
    };

private:
    void Write(const uint32_t* pixels, size_t stride, const SurfaceMemory& surface, const Rect& rect, uint32_t key,
               bool keyed) const;
    static uint32_t Place(uint32_t argb, const Channel& c) { return ((argb >> c.down) << c.up) & c.mask; }
    static uint32_t Widen(uint32_t word, const Channel& c) { return ((word >> c.readShift) << c.readUp) & c.readMask; }

    Channel mRed;
    Channel mGreen;
    Channel mBlue;
};

} // namespace Tandry
