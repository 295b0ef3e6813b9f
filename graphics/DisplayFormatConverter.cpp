#include "graphics/DisplayFormatConverter.h"

namespace Tandry {

namespace {

bool ShiftInRange(int shift)
{
    return shift >= 0 && shift < 32;
}

} // namespace

DisplayFormatConverter::DisplayFormatConverter(const NativeDisplay& display)
{
    const struct {
        int place;
        int32_t mask;
        int32_t bits;
        int32_t shift;
    } fields[3] = {
        {16, display.mRedMask, display.mRedBits, display.mRedShift},
        {8, display.mGreenMask, display.mGreenBits, display.mGreenShift},
        {0, display.mBlueMask, display.mBlueBits, display.mBlueShift},
    };
    for (int i = 0; i < 3; ++i) {
        Channel& c = mChannels[i];
        // Multiplied by alpha + 1, divided by 256, then the top bits kept.
        c.down = 8 + (fields[i].place + 8 - fields[i].bits);
        c.up = fields[i].shift;
        c.back = fields[i].shift + fields[i].bits;
        c.place = fields[i].place;
        const bool usable = fields[i].place + 8 - fields[i].bits >= 0 && ShiftInRange(c.down)
            && ShiftInRange(c.up) && ShiftInRange(c.back);
        if (usable) {
            c.source = 0xFFu << fields[i].place;
            c.mask = static_cast<uint32_t>(fields[i].mask);
        } else {
            c = Channel{};
        }
    }
}

void DisplayFormatConverter::ToDisplay(const uint32_t* src, uint32_t* dst, size_t count) const
{
    for (size_t i = 0; i < count; ++i)
        dst[i] = ToDisplay(src[i]);
}

void DisplayFormatConverter::FromDisplay(const uint32_t* src, uint32_t* dst, size_t count) const
{
    for (size_t i = 0; i < count; ++i)
        dst[i] = FromDisplay(src[i]);
}

} // namespace Tandry
