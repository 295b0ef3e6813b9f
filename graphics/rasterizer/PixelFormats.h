// The four destination pixel formats as small policies for the triangle
// routines: pixel type, row step, opaque packing and blend kernel. Pixels are
// loaded and stored by memcpy, so any caller's buffer type is fine.
#pragma once

#include "graphics/rasterizer/BlendOver.h"

#include <cstdint>
#include <cstring>

namespace Tandry {

template <class PixelType>
struct PixelAccess {
    using Pixel = PixelType;

    static Pixel Load(const uint8_t* at)
    {
        Pixel value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    static void Store(uint8_t* at, Pixel value) { std::memcpy(at, &value, sizeof value); }

    // A pitch that is not a multiple of the pixel size is cut down to one.
    static int64_t RowStep(int32_t pitch)
    {
        return static_cast<int64_t>(static_cast<uint32_t>(pitch) / sizeof(Pixel)) * int64_t{sizeof(Pixel)};
    }
};

// ARGB whose alpha takes part in blending.
struct Format8888 : PixelAccess<uint32_t> {
    static constexpr int32_t kCode = 0x8888;
    static Pixel Pack(uint32_t r, uint32_t g, uint32_t b) { return 0xFF000000 | r << 16 | g << 8 | b; }
    static Pixel Blend(Pixel d, uint32_t pr, uint32_t pg, uint32_t pb, uint32_t w)
    {
        return BlendOver8888(d, pr, pg, pb, w);
    }
};

// The same layout; the top byte is never read and always written 0xFF.
struct Format888 : PixelAccess<uint32_t> {
    static constexpr int32_t kCode = 0x888;
    static Pixel Pack(uint32_t r, uint32_t g, uint32_t b) { return Format8888::Pack(r, g, b); }
    static Pixel Blend(Pixel d, uint32_t pr, uint32_t pg, uint32_t pb, uint32_t w)
    {
        return BlendOver888(d, pr, pg, pb, w);
    }
};

// The 16-bit formats differ in where red sits and how many green bits there are.
using Blend16 = uint16_t (*)(uint16_t, uint32_t, uint32_t, uint32_t, uint32_t);

template <int32_t Code, int RedShift, int GreenDrop, Blend16 BlendKernel>
struct Format16 : PixelAccess<uint16_t> {
    static constexpr int32_t kCode = Code;
    static Pixel Pack(uint32_t r, uint32_t g, uint32_t b)
    {
        return static_cast<Pixel>((r >> 3) << RedShift | (g >> GreenDrop) << 5 | (b >> 3));
    }
    static Pixel Blend(Pixel d, uint32_t pr, uint32_t pg, uint32_t pb, uint32_t w)
    {
        return BlendKernel(d, pr, pg, pb, w);
    }
};

using Format565 = Format16<0x565, 11, 2, &BlendOver565>;
// Bit 15 is always written 0.
using Format555 = Format16<0x555, 10, 3, &BlendOver555>;

} // namespace Tandry
