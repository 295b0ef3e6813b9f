// The drawing colour as the triangle routines receive it, alpha first. The
// modulated routines multiply their vertex colours or texels by it.
#pragma once

#include <cstdint>

namespace Tandry {

struct RasterColor {
    int32_t alpha = 255;
    int32_t red = 255;
    int32_t green = 255;
    int32_t blue = 255;

    bool operator==(const RasterColor&) const = default;
};

} // namespace Tandry
