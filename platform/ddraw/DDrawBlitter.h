// The pixel work of DirectDraw blits between two surfaces of one format: copy,
// nearest-pixel stretch and source colour key, for 1- to 4-byte pixels. The
// loop is written once as a template over the pixel size and the key rule.
#pragma once

#include "platform/ddraw/DDrawTypes.h"

#include <cstdint>

namespace Platform {

struct BlitJob {
    const uint8_t* source = nullptr; // the source surface's first pixel
    int32_t sourcePitch = 0;
    uint8_t* dest = nullptr; // the destination surface's first pixel
    int32_t destPitch = 0;
    uint32_t bytesPerPixel = 4;
    RECT sourceRect; // inside the source
    RECT destRect;   // as asked; may reach outside the destination when clipped
    // The part of destRect that is written, inside the destination. Each of its
    // pixels shows the source pixel the uncut mapping gives it: column
    // sourceRect.left + (x - destRect.left) * source width / dest width, rows alike.
    RECT written;
    bool keyed = false; // skip source pixels whose whole value lies in [keyLow, keyHigh]
    uint32_t keyLow = 0;
    uint32_t keyHigh = 0;
};

// Runs the blit. When source and destination are one surface, the result is
// that of a blit through a temporary copy of the source rectangle.
void RunBlit(const BlitJob& job);

} // namespace Platform
