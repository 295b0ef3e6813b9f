// Converts 0xAARRGGBB pixels into a display's format and back: the colour
// premultiplied by alpha and packed with the display's masks, alpha kept in
// the top byte. Images build their display-format data with it and rebuild
// their pixels from that data. All arithmetic is unsigned 32-bit, so results
// are the same bit for bit on every machine; the way back is lossy for
// partial alpha.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/display/NativeDisplay.h"

namespace Tandry {

class DisplayFormatConverter {
public:
    explicit DisplayFormatConverter(const NativeDisplay& display);

    uint32_t ToDisplay(uint32_t argb) const
    {
        const uint32_t alpha = argb >> 24;
        const uint32_t m = alpha + 1;
        uint32_t result = alpha << 24;
        for (const Channel& c : mChannels)
            result |= ((((argb & c.source) * m) >> c.down) << c.up) & c.mask;
        return result;
    }

    // Each channel c8 = (((((t & mask) << 8) / (alpha + 1)) & mask) << 8) >> (shift + width).
    uint32_t FromDisplay(uint32_t word) const
    {
        const uint32_t alpha = word >> 24;
        const uint32_t m = alpha + 1;
        uint32_t result = alpha << 24;
        for (const Channel& c : mChannels) {
            const uint32_t unscaled = ((word & c.mask) << 8) / m;
            result |= (((unscaled & c.mask) << 8) >> c.back) << c.place;
        }
        return result;
    }

    // Whole arrays, which must not overlap.
    void ToDisplay(const uint32_t* src, uint32_t* dst, size_t count) const;
    void FromDisplay(const uint32_t* src, uint32_t* dst, size_t count) const;

private:
    // A channel whose shifts fall outside 0..31 (a malformed format) has its
    // masks cleared, so it contributes nothing instead of shifting undefinedly.
    struct Channel {
        uint32_t source = 0; // the channel's bits in an ARGB word
        int down = 0;        // 8 for the division by 256, plus the bits dropped
        int up = 0;          // the display channel's shift
        uint32_t mask = 0;   // the display channel's mask
        int back = 0;        // shift + width: from the top of the display field to 8 bits
        int place = 0;       // the channel's shift in an ARGB word
        // For the way back without division: the field's lowest bit, its
        // width as a mask, and how far its value moves up to 8 bits.
        int fieldShift = 0;
        uint32_t fieldMask = 0;
        int widen = 0;
    };

    Channel mChannels[3];
    // Every channel is a contiguous field of at most 8 bits below bit 24, as
    // in every real display format: arrays then convert back without division.
    bool mSimpleFields = true;
};

} // namespace Tandry
