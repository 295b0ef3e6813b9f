#include "graphics/display/NativeDisplay.h"

namespace Tandry {

namespace {

// The lowest set bit; 0 for an empty mask.
int ChannelShift(uint32_t mask)
{
    int shift = 0;
    for (int n = 32; n >= 0; --n) {
        if (mask & (1u << (n % 32)))
            shift = n % 32;
    }
    return shift;
}

// Distance from the lowest to the highest set bit, plus one; 0 for an empty mask.
int ChannelWidth(uint32_t mask, int shift)
{
    int width = 0;
    for (int k = 1; k <= 32; ++k) {
        if (shift + k - 1 < 32 && (mask >> (shift + k - 1)) != 0)
            width = k;
    }
    return width;
}

} // namespace

const NativeDisplay& NativeDisplay::Argb8888()
{
    // Built on first use, so it is ready for images made during static
    // initialisation.
    static const NativeDisplay format = [] {
        NativeDisplay made;
        made.SetPixelFormat(32, 0xFF0000, 0xFF00, 0xFF);
        return made;
    }();
    return format;
}

void NativeDisplay::SetPixelFormat(int rgbBits, uint32_t redMask, uint32_t greenMask, uint32_t blueMask)
{
    mRGBBits = rgbBits;
    mRedMask = static_cast<int32_t>(redMask);
    mGreenMask = static_cast<int32_t>(greenMask);
    mBlueMask = static_cast<int32_t>(blueMask);
    mRedShift = ChannelShift(redMask);
    mGreenShift = ChannelShift(greenMask);
    mBlueShift = ChannelShift(blueMask);
    mRedBits = ChannelWidth(redMask, mRedShift);
    mGreenBits = ChannelWidth(greenMask, mGreenShift);
    mBlueBits = ChannelWidth(blueMask, mBlueShift);
}

} // namespace Tandry
