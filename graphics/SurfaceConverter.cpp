#include "graphics/SurfaceConverter.h"

#include "graphics/VectorClones.h"

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

struct Channels {
    SurfaceConverter::Channel red, green, blue;
};

inline uint32_t Convert(const Channels& f, uint32_t p)
{
    return (((p >> f.red.down) << f.red.up) & f.red.mask) | (((p >> f.green.down) << f.green.up) & f.green.mask)
        | (((p >> f.blue.down) << f.blue.up) & f.blue.mask);
}

// Without a key every pixel is converted; with one, pixels that are not
// opaque become the key. Written without branches so that rows vectorise.
template <class Word>
inline void WriteRow(const Channels& f, const uint32_t* __restrict src, Word* __restrict dst, int count,
                     uint32_t key, bool keyed)
{
    for (int i = 0; i < count; ++i) {
        const uint32_t p = src[i];
        const bool hidden = keyed && (p >> 24) != 255;
        dst[i] = static_cast<Word>(hidden ? key : Convert(f, p));
    }
}

template <class Word>
inline void ReadRow(const Channels& f, const Word* __restrict src, uint32_t* __restrict dst, int count, uint32_t key,
                    bool keyed)
{
    for (int i = 0; i < count; ++i) {
        const uint32_t w = src[i];
        const uint32_t argb = 0xFF000000u | (((w >> f.red.readShift) << f.red.readUp) & f.red.readMask) << 16
            | (((w >> f.green.readShift) << f.green.readUp) & f.green.readMask) << 8
            | (((w >> f.blue.readShift) << f.blue.readUp) & f.blue.readMask);
        dst[i] = keyed && w == key ? 0u : argb;
    }
}

TANDRY_VECTOR_CLONES
void WriteRow16(const Channels& f, const uint32_t* __restrict src, uint16_t* __restrict dst, int count,
                uint32_t key, bool keyed)
{
    WriteRow(f, src, dst, count, key, keyed);
}

TANDRY_VECTOR_CLONES
void WriteRow32(const Channels& f, const uint32_t* __restrict src, uint32_t* __restrict dst, int count,
                uint32_t key, bool keyed)
{
    WriteRow(f, src, dst, count, key, keyed);
}

TANDRY_VECTOR_CLONES
bool AnyOpaqueMatch(const Channels& f, const uint32_t* __restrict src, size_t count, uint32_t value,
                    uint32_t valueMask)
{
    uint32_t found = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = src[i];
        found |= static_cast<uint32_t>((p >> 24) == 255 && (Convert(f, p) & valueMask) == value);
    }
    return found != 0;
}

TANDRY_VECTOR_CLONES
void ReadRow16(const Channels& f, const uint16_t* __restrict src, uint32_t* __restrict dst, int count, uint32_t key,
               bool keyed)
{
    ReadRow(f, src, dst, count, key, keyed);
}

TANDRY_VECTOR_CLONES
void ReadRow32(const Channels& f, const uint32_t* __restrict src, uint32_t* __restrict dst, int count, uint32_t key,
               bool keyed)
{
    ReadRow(f, src, dst, count, key, keyed);
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
    const Channels f{mRed, mGreen, mBlue};
    for (int y = 0; y < rect.height; ++y) {
        const uint32_t* src = pixels + static_cast<size_t>(y) * stride;
        uint8_t* row = RowStart(surface, rect, y);
        if (surface.bitsPerPixel == 16)
            WriteRow16(f, src, reinterpret_cast<uint16_t*>(row), rect.width, key, keyed);
        else if (surface.bitsPerPixel == 32)
            WriteRow32(f, src, reinterpret_cast<uint32_t*>(row), rect.width, key, keyed);
    }
}

bool SurfaceConverter::AnyOpaqueConvertsTo(const uint32_t* pixels, size_t count, uint32_t value,
                                           uint32_t valueMask) const
{
    return AnyOpaqueMatch(Channels{mRed, mGreen, mBlue}, pixels, count, value, valueMask);
}

void SurfaceConverter::ReadRect(const SurfaceMemory& surface, const Rect& rect, uint32_t* pixels, size_t stride,
                                const uint32_t* key) const
{
    if (rect.width <= 0 || rect.height <= 0)
        return;
    const Channels f{mRed, mGreen, mBlue};
    const bool keyed = key != nullptr;
    const uint32_t keyValue = keyed ? *key : 0;
    for (int y = 0; y < rect.height; ++y) {
        uint32_t* dst = pixels + static_cast<size_t>(y) * stride;
        const uint8_t* row = RowStart(surface, rect, y);
        if (surface.bitsPerPixel == 16)
            ReadRow16(f, reinterpret_cast<const uint16_t*>(row), dst, rect.width, keyValue, keyed);
        else if (surface.bitsPerPixel == 32)
            ReadRow32(f, reinterpret_cast<const uint32_t*>(row), dst, rect.width, keyValue, keyed);
    }
}

} // namespace Tandry
