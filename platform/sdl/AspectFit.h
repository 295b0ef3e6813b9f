// Where a picture lands when it is scaled to fill an area with its aspect kept
// (black bars on the two sides that are left over), and the way back from a
// point of the area to the picture's own coordinates. The SDL presenter draws
// with the first; the SDL window service maps the mouse with the second.
#pragma once

#include "platform/window/WindowTypes.h"

#include <cstdint>

namespace Platform {

struct FitRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const FitRect&) const = default;
};

// All zero when either size is empty.
FitRect FitKeepingAspect(int32_t width, int32_t height, int32_t intoWidth, int32_t intoHeight);

// The picture's pixel under a point of the area; outside the picture for points on the bars.
WinPoint PointInFittedPicture(const FitRect& fit, int32_t width, int32_t height, WinPoint point);

} // namespace Platform
