// Point sampling for the textured triangle routines: the texel whose square
// holds (u, v), found through one linear index. Nothing is clamped per axis;
// the single unsigned compare against count keeps every read inside the
// texels, and whatever falls outside reads as 0.
#pragma once

#include "graphics/rasterizer/RasterTexture.h"

#include <cstdint>

namespace Tandry {

// An index is row * width + column in 32 bits with wrap-around, so a column
// past the row's end runs into the next row and a negative coordinate (read
// unsigned, 32768 and up) lands far beyond count unless the texture is huge.
inline uint32_t ReadTexel(const RasterTexture& texture, uint32_t index)
{
    return index < static_cast<uint32_t>(texture.count) ? texture.bits[index] : 0;
}

inline uint32_t FetchTexel(const RasterTexture& texture, int32_t u, int32_t v)
{
    const uint32_t column = static_cast<uint32_t>(u) >> 16;
    const uint32_t row = static_cast<uint32_t>(v) >> 16;
    return ReadTexel(texture, row * static_cast<uint32_t>(texture.width) + column);
}

} // namespace Tandry
