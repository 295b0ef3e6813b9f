#include "graphics/display/DisplayFormatConverter.h"

#include <array>

#include "graphics/image/VectorClones.h"

namespace Tandry {

namespace {

bool ShiftInRange(int shift)
{
    return shift >= 0 && shift < 32;
}

// (v * kReciprocal[a]) >> 16 is floor(v * 256 / (a + 1)) for every v below 256:
// the reciprocal is floor(2^24 / m) + 1, whose excess adds less than v * 256
// / 2^24 < 1/256 <= 1/m to the quotient, too little to reach the next whole
// number; and v * reciprocal stays below 255 * (2^24 + 1) < 2^32.
constexpr std::array<uint32_t, 256> kReciprocal = [] {
    std::array<uint32_t, 256> table{};
    for (uint32_t a = 0; a < 256; ++a)
        table[a] = (1u << 24) / (a + 1) + 1;
    return table;
}();

struct Fields {
    uint32_t redDown, greenDown, blueDown;
    uint32_t redUp, greenUp, blueUp;
    uint32_t redMask, greenMask, blueMask;
};

TANDRY_VECTOR_CLONES
void ConvertToDisplay(Fields f, const uint32_t* __restrict src, uint32_t* __restrict dst, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = src[i];
        const uint32_t m = (p >> 24) + 1;
        // Red and blue share one multiply: each product is below 2^16, so
        // the two halves of the word never carry into each other.
        const uint32_t redBlue = (p & 0xFF00FF) * m;
        const uint32_t green = (p & 0xFF00) * m;
        dst[i] = (p & 0xFF000000) | (((redBlue & 0xFFFF0000) >> f.redDown << f.redUp) & f.redMask)
            | ((green >> f.greenDown << f.greenUp) & f.greenMask)
            | (((redBlue & 0xFFFF) >> f.blueDown << f.blueUp) & f.blueMask);
    }
}

struct FieldsBack {
    uint32_t redShift, greenShift, blueShift;
    uint32_t redMask, greenMask, blueMask;
    uint32_t redWiden, greenWiden, blueWiden;
};

// The table lookups vectorise only when the pixels cannot overlap the table
// or each other, which only restrict-qualified parameters can promise.
TANDRY_VECTOR_CLONES
void ConvertFieldsBack(FieldsBack f, const uint32_t* __restrict src, uint32_t* __restrict dst, size_t count)
{
    const uint32_t* __restrict reciprocal = kReciprocal.data();
    for (size_t i = 0; i < count; ++i) {
        const uint32_t t = src[i];
        const uint32_t inverse = reciprocal[t >> 24];
        const uint32_t red = ((((t >> f.redShift) & f.redMask) * inverse >> 16) & f.redMask) << f.redWiden;
        const uint32_t green = ((((t >> f.greenShift) & f.greenMask) * inverse >> 16) & f.greenMask) << f.greenWiden;
        const uint32_t blue = ((((t >> f.blueShift) & f.blueMask) * inverse >> 16) & f.blueMask) << f.blueWiden;
        dst[i] = (t & 0xFF000000) | red | green | blue;
    }
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
        const int place = fields[i].place;
        const int bits = fields[i].bits;
        const int shift = fields[i].shift;
        // Multiplied by alpha + 1, divided by 256, then the top bits kept.
        c.down = 8 + (place + 8 - bits);
        c.up = shift;
        c.back = shift + bits;
        c.place = place;
        const bool usable = place + 8 - bits >= 0 && ShiftInRange(c.down) && ShiftInRange(c.up) && ShiftInRange(c.back);
        if (!usable) {
            c = Channel{};
            continue;
        }
        c.source = 0xFFu << place;
        c.mask = static_cast<uint32_t>(fields[i].mask);
        if (bits <= 8 && shift + bits <= 24 && c.mask == ((1u << bits) - 1) << shift) {
            c.fieldShift = shift;
            c.fieldMask = (1u << bits) - 1;
            c.widen = 8 - bits;
        } else {
            mSimpleFields = false;
        }
    }
}

void DisplayFormatConverter::ToDisplay(const uint32_t* src, uint32_t* dst, size_t count) const
{
    const Fields fields = {
        static_cast<uint32_t>(mChannels[0].down), static_cast<uint32_t>(mChannels[1].down),
        static_cast<uint32_t>(mChannels[2].down), static_cast<uint32_t>(mChannels[0].up),
        static_cast<uint32_t>(mChannels[1].up), static_cast<uint32_t>(mChannels[2].up),
        mChannels[0].mask, mChannels[1].mask, mChannels[2].mask,
    };
    ConvertToDisplay(fields, src, dst, count);
}

// For contiguous fields of at most 8 bits below bit 24 nothing wraps, and
// with v = (t & mask) >> shift each channel reduces to
// (floor(v * 256 / m) & fieldMask) << (8 - width), whose division a
// reciprocal multiply does. Other formats take the formula word by word.
void DisplayFormatConverter::FromDisplay(const uint32_t* src, uint32_t* dst, size_t count) const
{
    if (!mSimpleFields) {
        for (size_t i = 0; i < count; ++i)
            dst[i] = FromDisplay(src[i]);
        return;
    }
    const FieldsBack fields = {
        static_cast<uint32_t>(mChannels[0].fieldShift), static_cast<uint32_t>(mChannels[1].fieldShift),
        static_cast<uint32_t>(mChannels[2].fieldShift), mChannels[0].fieldMask, mChannels[1].fieldMask,
        mChannels[2].fieldMask, static_cast<uint32_t>(mChannels[0].widen) + 16,
        static_cast<uint32_t>(mChannels[1].widen) + 8, static_cast<uint32_t>(mChannels[2].widen),
    };
    ConvertFieldsBack(fields, src, dst, count);
}

} // namespace Tandry
