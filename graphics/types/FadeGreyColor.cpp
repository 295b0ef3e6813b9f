#include "graphics/types/FadeGreyColor.h"

namespace Tandry {

namespace {

int Limited(float v)
{
    if (!(v > 0.0f))
        return 0;
    if (v >= 255.0f)
        return 255;
    return static_cast<int>(v);
}

} // namespace

Color FadeGreyColor(float x)
{
    if (x != x)
        x = 0.0f;
    const int grey = Limited(100.0f + 155.0f * x);
    return Color(grey, grey, grey, Limited(255.0f * x));
}

} // namespace Tandry
