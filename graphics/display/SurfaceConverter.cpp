#include "graphics/display/SurfaceConverter.h"

#include "graphics/image/VectorClones.h"

#include <algorithm>

namespace Tandry {

namespace {

bool ShiftInRange(int shift)
{
    return shift >= 0 && shift < 32;
}

SurfaceConverter::Channel MakeChannel(int place, int bits, int shift, uint32_t surfaceMask)
{
    SurfaceConverter::Channel c;
    const int down = place + 8 - bits;
    const int readUp = 8 - bits;
    if (ShiftInRange(down) && ShiftInRange(shift)) {
        c.down = static_cast<uint32_t>(down);
        c.up = static_cast<uint32_t>(shift);
        c.mask = surfaceMask;
    }
    if (ShiftInRange(readUp) && ShiftInRange(shift)) {
        c.readShift = static_cast<uint32_t>(shift);
        c.readUp = static_cast<uint32_t>(readUp);
        c.readMask = 0xFF;
    }
    return c;
}

// The shifts and masks of the three channels as plain values, passed by
// value so that the loops keep them in registers and vectorise.
struct PackFields {
    uint32_t rd, ru, rm, gd, gu, gm, bd, bu, bm;
    uint32_t operator()(uint32_t p) const
    {
        return (((p >> rd) << ru) & rm) | (((p >> gd) << gu) & gm) | (((p >> bd) << bu) & bm);
    }
};

struct UnpackFields {
    uint32_t rs, ru, rm, gs, gu, gm, bs, bu, bm;
    uint32_t operator()(uint32_t w) const
    {
        return 0xFF000000u | (((w >> rs) << ru) & rm) << 16 | (((w >> gs) << gu) & gm) << 8 | (((w >> bs) << bu) & bm);
    }
};

PackFields Forward(const SurfaceConverter::Channel& r, const SurfaceConverter::Channel& g,
               const SurfaceConverter::Channel& b)
{
    return PackFields{r.down, r.up, r.mask, g.down, g.up, g.mask, b.down, b.up, b.mask};
}

// Without a key every pixel is converted; with one, pixels that are not
// opaque become the key. Written without branches so that rows vectorise.
template <class Word>
inline void WriteRow(PackFields convert, const uint32_t* __restrict src, Word* __restrict dst, int count, uint32_t key,
                     bool keyed)
{
    // Pixels whose alpha lies below this are hidden: none without a key.
    const uint32_t hideBelow = keyed ? 255u : 0u;
    for (int i = 0; i < count; ++i) {
        const uint32_t p = src[i];
        dst[i] = static_cast<Word>((p >> 24) < hideBelow ? key : convert(p));
    }
}

template <class Word>
inline void ReadRow(UnpackFields convert, const Word* __restrict src, uint32_t* __restrict dst, int count, uint32_t key,
                    bool keyed)
{
    for (int i = 0; i < count; ++i) {
        const uint32_t w = src[i];
        dst[i] = ((w == key) & keyed) ? 0u : convert(w);
    }
}

TANDRY_VECTOR_CLONES
void WriteRow16(PackFields convert, const uint32_t* __restrict src, uint16_t* __restrict dst, int count, uint32_t key,
                bool keyed)
{
    WriteRow(convert, src, dst, count, key, keyed);
}

TANDRY_VECTOR_CLONES
void WriteRow32(PackFields convert, const uint32_t* __restrict src, uint32_t* __restrict dst, int count, uint32_t key,
                bool keyed)
{
    WriteRow(convert, src, dst, count, key, keyed);
}

TANDRY_VECTOR_CLONES
bool AnyOpaqueMatch(PackFields convert, const uint32_t* __restrict src, size_t count, uint32_t value, uint32_t valueMask)
{
    uint32_t found = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = src[i];
        found |= static_cast<uint32_t>((p >> 24) == 255u) & static_cast<uint32_t>((convert(p) & valueMask) == value);
    }
    return found != 0;
}

TANDRY_VECTOR_CLONES
void ReadRow16(UnpackFields convert, const uint16_t* __restrict src, uint32_t* __restrict dst, int count, uint32_t key,
               bool keyed)
{
    ReadRow(convert, src, dst, count, key, keyed);
}

TANDRY_VECTOR_CLONES
void ReadRow32(UnpackFields convert, const uint32_t* __restrict src, uint32_t* __restrict dst, int count, uint32_t key,
               bool keyed)
{
    ReadRow(convert, src, dst, count, key, keyed);
}

uint8_t* RowStart(const SurfaceMemory& surface, const Rect& rect, int y)
{
    const int bytes = surface.bitsPerPixel / 8;
    return surface.bits + static_cast<ptrdiff_t>(rect.y + y) * surface.pitch + static_cast<ptrdiff_t>(rect.x) * bytes;
}

} // namespace

SurfaceConverter::SurfaceConverter(const NativeDisplay& display, uint32_t redMask, uint32_t greenMask,
                                   uint32_t blueMask)
    : mRed(MakeChannel(16, display.mRedBits, display.mRedShift, redMask)),
      mGreen(MakeChannel(8, display.mGreenBits, display.mGreenShift, greenMask)),
      mBlue(MakeChannel(0, display.mBlueBits, display.mBlueShift, blueMask))
{
}

void SurfaceConverter::WriteRect(const uint32_t* pixels, size_t stride, const SurfaceMemory& surface,
                                 const Rect& rect) const
{
    Write(pixels, stride, surface, rect, 0, false);
}

void SurfaceConverter::WriteRectKeyed(const uint32_t* pixels, size_t stride, const SurfaceMemory& surface,
                                      const Rect& rect, uint32_t key) const
{
    Write(pixels, stride, surface, rect, key, true);
}

void SurfaceConverter::Write(const uint32_t* pixels, size_t stride, const SurfaceMemory& surface, const Rect& rect,
                             uint32_t key, bool keyed) const
{
    if (rect.width <= 0 || rect.height <= 0)
        return;
    const PackFields convert = Forward(mRed, mGreen, mBlue);
    for (int y = 0; y < rect.height; ++y) {
        const uint32_t* src = pixels + static_cast<size_t>(y) * stride;
        uint8_t* row = RowStart(surface, rect, y);
        if (surface.bitsPerPixel == 16)
            WriteRow16(convert, src, reinterpret_cast<uint16_t*>(row), rect.width, key, keyed);
        else if (surface.bitsPerPixel == 32)
            WriteRow32(convert, src, reinterpret_cast<uint32_t*>(row), rect.width, key, keyed);
    }
}

// Rows of a surface have int widths; an array may be longer.
constexpr size_t kLongestRow = size_t{1} << 30;

void SurfaceConverter::ToSurface(const uint32_t* pixels, uint32_t* words, size_t count) const
{
    for (size_t done = 0; done < count; done += kLongestRow)
        WriteRow32(Forward(mRed, mGreen, mBlue), pixels + done, words + done,
                   static_cast<int>(std::min(kLongestRow, count - done)), 0, false);
}

void SurfaceConverter::ToSurface(const uint32_t* pixels, uint16_t* words, size_t count) const
{
    for (size_t done = 0; done < count; done += kLongestRow)
        WriteRow16(Forward(mRed, mGreen, mBlue), pixels + done, words + done,
                   static_cast<int>(std::min(kLongestRow, count - done)), 0, false);
}

bool SurfaceConverter::AnyOpaqueConvertsTo(const uint32_t* pixels, size_t count, uint32_t value,
                                           uint32_t valueMask) const
{
    return AnyOpaqueMatch(Forward(mRed, mGreen, mBlue), pixels, count, value, valueMask);
}

void SurfaceConverter::ReadRect(const SurfaceMemory& surface, const Rect& rect, uint32_t* pixels, size_t stride,
                                const uint32_t* key) const
{
    if (rect.width <= 0 || rect.height <= 0)
        return;
    const UnpackFields convert{mRed.readShift,  mRed.readUp,  mRed.readMask,  mGreen.readShift, mGreen.readUp,
                         mGreen.readMask, mBlue.readShift, mBlue.readUp, mBlue.readMask};
    const bool keyed = key != nullptr;
    const uint32_t keyValue = keyed ? *key : 0;
    for (int y = 0; y < rect.height; ++y) {
        uint32_t* dst = pixels + static_cast<size_t>(y) * stride;
        const uint8_t* row = RowStart(surface, rect, y);
        if (surface.bitsPerPixel == 16)
            ReadRow16(convert, reinterpret_cast<const uint16_t*>(row), dst, rect.width, keyValue, keyed);
        else if (surface.bitsPerPixel == 32)
            ReadRow32(convert, reinterpret_cast<const uint32_t*>(row), dst, rect.width, keyValue, keyed);
    }
}

} // namespace Tandry
