// The pixel arithmetic shared by the software routines that draw into a
// locked 16- or 32-bit display surface (the blits, fills and lines of
// DDImage): row addressing at the surface's pitch, the spread and fold forms
// of 565 and 555 pixels, the per-mask blends and the saturating adds through
// the display's tables. Everything is unsigned 32-bit with wrap-around.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/image/PixelLanes.h"
#include "graphics/types/ClampedColor.h"
#include "platform/ddraw/DDrawTypes.h"

namespace Tandry::SurfacePixels {

constexpr uint32_t kSpread565 = 0x07E0F81Fu;
constexpr uint32_t kSpread555 = 0x03E07C1Fu;
constexpr uint32_t kGreen565 = 0x07E0u;
constexpr uint32_t kGreen555 = 0x03E0u;

// The locked memory as the routines address it. The byte offset of pixel
// (x, y) is ((P * y) / B + x) * B for B bytes per pixel, signed division; a
// row further is (P / B) * B bytes. With a padded pitch that is not a
// multiple of B this steps differently from y * P, and the routines keep it.
struct Target {
    uint8_t* bits = nullptr;
    int32_t pitch = 0;
    int bitsPerPixel = 0;
    uint32_t red = 0;
    uint32_t green = 0;
    uint32_t blue = 0;

    static Target Of(const Platform::DDSURFACEDESC& desc)
    {
        const Platform::DDPIXELFORMAT& f = desc.ddpfPixelFormat;
        return Target{static_cast<uint8_t*>(desc.lpSurface), desc.lPitch, static_cast<int>(f.dwRGBBitCount),
                      f.dwRBitMask, f.dwGBitMask, f.dwBBitMask};
    }

    // Only 16- and 32-bit memory is drawn into.
    bool Drawable() const { return bits != nullptr && (bitsPerPixel == 16 || bitsPerPixel == 32); }

    template <class Pixel>
    Pixel* At(int x, int y) const
    {
        constexpr int32_t b = sizeof(Pixel);
        return reinterpret_cast<Pixel*>(bits + static_cast<ptrdiff_t>((pitch * y) / b + x) * b);
    }

    // The distance between rows in pixels.
    template <class Pixel>
    ptrdiff_t RowStep() const
    {
        return pitch / static_cast<int32_t>(sizeof(Pixel));
    }
};

inline uint32_t Spread(uint32_t p, uint32_t mask)
{
    return (p | p << 16) & mask;
}

inline uint32_t Fold(uint32_t v)
{
    return (v | v >> 16) & 0xFFFFu;
}

// An ARGB word's channels at the places of the spread forms.
inline uint32_t ArgbToSpread565(uint32_t s)
{
    return ((s & 0xFC00u) << 11) + ((s >> 3) & 0x1Fu) + ((s >> 8) & 0xF800u);
}

inline uint32_t ArgbToSpread555(uint32_t s)
{
    return ((s & 0xF800u) << 10) + ((s >> 3) & 0x1Fu) + ((s >> 9) & 0x7C00u);
}

// The three masks of a surface with the factor that goes with each.
struct MaskFactors {
    uint32_t mask[3];
    uint32_t factor[3];
};

// Sum over the masks of (((d & m) * ia) >> 8) & m: the destination scaled by ia / 256.
inline uint32_t ScaleByMasks(uint32_t d, uint32_t ia, const uint32_t (&mask)[3])
{
    return ((((d & mask[0]) * ia) >> 8) & mask[0]) + ((((d & mask[1]) * ia) >> 8) & mask[1])
        + ((((d & mask[2]) * ia) >> 8) & mask[2]);
}

// Sum over the masks of (((s & m) * k_m) >> 8) & m.
inline uint32_t TintByMasks(uint32_t s, const MaskFactors& f)
{
    return ((((s & f.mask[0]) * f.factor[0]) >> 8) & f.mask[0])
        + ((((s & f.mask[1]) * f.factor[1]) >> 8) & f.mask[1])
        + ((((s & f.mask[2]) * f.factor[2]) >> 8) & f.mask[2]);
}

// Sum over the masks of ((((d & m) * ia + (s & m) * k_m) >> 8) & m).
inline uint32_t BlendByMasks(uint32_t d, uint32_t s, uint32_t ia, const MaskFactors& f)
{
    uint32_t sum = 0;
    for (int i = 0; i < 3; ++i)
        sum += ((((d & f.mask[i]) * ia + (s & f.mask[i]) * f.factor[i]) >> 8) & f.mask[i]);
    return sum;
}

// One channel of a surface with the display's saturating-add table:
// table[i] is min(i, max) for i up to 2 * max.
struct AddChannel {
    uint32_t mask = 0;
    uint32_t shift = 0;
    const int* table = nullptr;
};

struct AddChannels {
    AddChannel c[3];

    // Each channel becomes table[index(field of d, channel number)] at its place.
    template <class Index>
    uint32_t Apply(uint32_t d, const Index& index) const
    {
        uint32_t out = 0;
        for (int i = 0; i < 3; ++i) {
            const AddChannel& ch = c[i];
            out |= static_cast<uint32_t>(ch.table[index(d & ch.mask, i)]) << ch.shift;
        }
        return out;
    }
};

// The colour factors k = channel * alpha / 255 of the tinted blits.
struct ColourFactors {
    explicit ColourFactors(const ClampedColor& c)
        : red(c.red * c.alpha / 255), green(c.green * c.alpha / 255), blue(c.blue * c.alpha / 255), alpha(c.alpha)
    {
    }
    bool Grey() const { return red == green && green == blue; }

    uint32_t red;
    uint32_t green;
    uint32_t blue;
    uint32_t alpha;
};

// The 8-bit fields at bits 16, 8 and 0 of 32-bit surfaces, eight pixels at a
// time or one: the formulas below are templates over the lane type, so both
// forms give the same results.
using PixelLanes::AddBytesSaturated;
using PixelLanes::MulHalves;

// Byte by byte min(a + b, 255).
TANDRY_LANE_INLINE uint32_t AddBytesSaturated(uint32_t a, uint32_t b)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= std::min((a >> shift & 0xFFu) + (b >> shift & 0xFFu), 0xFFu) << shift;
    return out;
}

// Each 16-bit half of x times the matching half of packed, for products below 2^16.
TANDRY_LANE_INLINE uint32_t MulPacked(uint32_t x, uint32_t packed)
{
    return ((x >> 16) * (packed >> 16)) << 16 | (((x & 0xFFFFu) * (packed & 0xFFFFu)) & 0xFFFFu);
}

TANDRY_LANE_INLINE PixelLanes::U32x8 MulPacked(const PixelLanes::U32x8& x, const PixelLanes::U32x8& packed)
{
    using PixelLanes::U16x16;
    return reinterpret_cast<PixelLanes::U32x8>(reinterpret_cast<U16x16>(x) * reinterpret_cast<U16x16>(packed));
}

} // namespace Tandry::SurfacePixels
