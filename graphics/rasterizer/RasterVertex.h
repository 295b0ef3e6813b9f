// One triangle corner as the triangle routines walk it: position in 16.16
// pixels, colour channels as channel << 16, texture position in 16.16 texels.
// The colour fields hold values only for polygons with vertex colours, u and v
// only for textured ones; no routine reads a field its triangle lacks.
#pragma once

#include <cstdint>

namespace Tandry {

struct RasterVertex {
    int32_t x = 0;
    int32_t y = 0;
    int32_t alpha = 0;
    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
    int32_t u = 0;
    int32_t v = 0;

    bool operator==(const RasterVertex&) const = default;
};

} // namespace Tandry
