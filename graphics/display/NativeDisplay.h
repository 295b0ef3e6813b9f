// The display's pixel format: bits per pixel and, for red, green and blue, the
// channel's mask, width in bits and lowest bit. Images convert their pictures
// into this format; the display derives from it and fills it when it starts.
#pragma once

#include <cstdint>

namespace Tandry {

class NativeDisplay {
public:
    NativeDisplay() = default;
    virtual ~NativeDisplay() = default;

    // Stores the bit count and the masks and works out each channel's shift
    // and width from its mask.
    void SetPixelFormat(int rgbBits, uint32_t redMask, uint32_t greenMask, uint32_t blueMask);

    // 32 bits, 8:8:8 with red highest: the layout of the images' own pixels,
    // which is what anything converts with before a real display exists.
    static const NativeDisplay& Argb8888();

    int32_t mRGBBits = 0;
    int32_t mRedMask = 0;
    int32_t mGreenMask = 0;
    int32_t mBlueMask = 0;
    int32_t mRedBits = 0;
    int32_t mGreenBits = 0;
    int32_t mBlueBits = 0;
    int32_t mRedShift = 0;
    int32_t mGreenShift = 0;
    int32_t mBlueShift = 0;
};

} // namespace Tandry
