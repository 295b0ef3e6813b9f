// Turns pixels of an RGB surface format into 0xAARRGGBB words the way a
// read-back does: each channel's bits land at the top of its byte with the low
// bits zero, and alpha is 255. The headless presenter shows the primary this
// way, so tests compare exact words.
#pragma once

#include "platform/ddraw/DisplayPresenter.h"

#include <array>
#include <cstdint>

namespace Platform {

class ArgbReadback {
public:
    // False for formats without RGB masks (palette indices), which it cannot show.
    static bool CanRead(const DDPIXELFORMAT& format);

    explicit ArgbReadback(const DDPIXELFORMAT& format);

    uint32_t Convert(uint32_t pixel) const;
    // The rectangle `from` of the surface into rows of `to`, `toStride` words apart.
    void ConvertRect(const PresentedSurface& surface, const RECT& from, uint32_t* to, int64_t toStride) const;

private:
    struct Channel {
        uint32_t mask = 0;
        uint32_t shift = 0; // lowest bit of the mask
        uint32_t up = 0;    // 8 - bit count, or 0 for 8 bits and more
        uint32_t down = 0;  // bit count - 8 when wider than 8
    };
    static Channel Describe(uint32_t mask);

    uint32_t mBytes;
    bool mIsXrgb8888;
    Channel mRed, mGreen, mBlue;
    // Convert of each byte value at each byte of a pixel. The conversion only
    // masks, shifts and ORs, so a pixel's word is the OR of its bytes' words:
    // a few lookups in tables that stay in the first-level cache.
    std::array<std::array<uint32_t, 256>, 4> mByteWords{};
};

} // namespace Platform
