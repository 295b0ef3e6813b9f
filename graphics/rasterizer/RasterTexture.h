// The texture a textured triangle routine samples: its ARGB texels row after
// row, with the derived values the texel fetch needs. count bounds every
// texel read, so an empty texture (count 0) is never read.
#pragma once

#include <cstdint>

namespace Tandry {

struct RasterTexture {
    const uint32_t* bits = nullptr;
    int32_t shift = 16; // 16 - floor(log2 width); 16 for widths 0 and 1
    int32_t maxU = 0;   // (width - 1) << 16
    int32_t maxV = 0;   // (height - 1) << 16
    int32_t width = 0;  // also the distance in texels between rows
    int32_t count = 0;  // width * height
    int32_t height = 0;
};

} // namespace Tandry
