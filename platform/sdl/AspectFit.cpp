#include "platform/sdl/AspectFit.h"

namespace Platform {
namespace {

int32_t FloorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return static_cast<int32_t>(q);
}

} // namespace

FitRect FitKeepingAspect(int32_t width, int32_t height, int32_t intoWidth, int32_t intoHeight)
{
    if (width <= 0 || height <= 0 || intoWidth <= 0 || intoHeight <= 0)
        return {};
    FitRect fit;
    if (int64_t{intoWidth} * height > int64_t{intoHeight} * width) {
        // The area is wider: full height, bars left and right.
        fit.height = intoHeight;
        fit.width = static_cast<int32_t>(int64_t{width} * intoHeight / height);
        fit.x = (intoWidth - fit.width) / 2;
    } else {
        fit.width = intoWidth;
        fit.height = static_cast<int32_t>(int64_t{height} * intoWidth / width);
        fit.y = (intoHeight - fit.height) / 2;
    }
    return fit;
}

WinPoint PointInFittedPicture(const FitRect& fit, int32_t width, int32_t height, WinPoint point)
{
    if (fit.width <= 0 || fit.height <= 0)
        return point;
    return {FloorDiv(int64_t{point.x - fit.x} * width, fit.width),
            FloorDiv(int64_t{point.y - fit.y} * height, fit.height)};
}

} // namespace Platform
