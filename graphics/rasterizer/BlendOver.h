// The four blend kernels every partly transparent pixel of the triangle
// routines ends in, one per destination format: destination pixel, source
// colour already multiplied by the weight (p_r, p_g, p_b), weight W 0..255
// (the routines pass at most 240) -> new pixel. The caller stores the result.
#pragma once

#include <cstdint>

namespace Tandry {

// Composites with the destination alpha and divides by the combined alpha.
// Only the low 8 bits of each quotient are kept. W = 0 over an alpha of 0
// would divide by zero; nothing drawn over nothing leaves the pixel as it was.
inline uint32_t BlendOver8888(uint32_t d, uint32_t pr, uint32_t pg, uint32_t pb, uint32_t w)
{
    const uint32_t da = d >> 24;
    const uint32_t f = 256 - w;
    const uint32_t g = 256 - (((256 - da) * f) >> 8);
    if (g == 0)
        return d;
    const auto channel = [&](uint32_t dc, uint32_t pc) { return ((((dc * da) >> 8) * f + (pc << 8)) / g) & 0xFF; };
    return (g - 1) << 24 | channel((d >> 16) & 0xFF, pr) << 16 | channel((d >> 8) & 0xFF, pg) << 8 |
           channel(d & 0xFF, pb);
}

// The destination keeps 255 - W of 256: red and blue share one multiply,
// since neither product reaches into the other's byte. Each sum is put in
// place on its own, as the per-channel form has it, so a source colour above
// its weight cannot carry into the next channel.
inline uint32_t BlendOver888(uint32_t d, uint32_t pr, uint32_t pg, uint32_t pb, uint32_t w)
{
    const uint32_t k = 255 - w;
    const uint32_t rb = ((d & 0x00FF00FF) * k) >> 8;
    const uint32_t g = ((d & 0x0000FF00) * k) >> 16;
    return 0xFF000000 | (((rb >> 16) & 0xFF) + pr) << 16 | ((g & 0xFF) + pg) << 8 | ((rb & 0xFF) + pb);
}

// The 16-bit kernels scale the destination by a 5-bit weight, two fields per
// multiply, and add the source truncated to the field widths.
inline uint16_t BlendOver565(uint16_t d, uint32_t pr, uint32_t pg, uint32_t pb, uint32_t w)
{
    const uint32_t k = (255 - w) >> 3;
    const uint32_t rb = (((d & 0xF81Fu) * k) >> 5) & 0xF81F;
    const uint32_t g = (((d & 0x07E0u) * k) >> 5) & 0x07E0;
    return static_cast<uint16_t>((rb | g) + ((pr >> 3) << 11 | (pg >> 2) << 5 | (pb >> 3)));
}

// Bit 15 carries nothing and is always left clear.
inline uint16_t BlendOver555(uint16_t d, uint32_t pr, uint32_t pg, uint32_t pb, uint32_t w)
{
    const uint32_t k = (255 - w) >> 3;
    const uint32_t rb = (((d & 0x7C1Fu) * k) >> 5) & 0x7C1F;
    const uint32_t g = (((d & 0x03E0u) * k) >> 5) & 0x03E0;
    return static_cast<uint16_t>((rb | g) + ((pr >> 3) << 10 | (pg >> 3) << 5 | (pb >> 3)));
}

} // namespace Tandry
