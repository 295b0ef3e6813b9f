#include "graphics/image/ClipStretchRects.h"

namespace Tandry {

namespace {

bool Clip(const Rect& destRect, const Rect& srcRect, const Rect& clipRect, bool mirrored, Rect& clipped,
          DoubleRect& srcF)
{
    clipped = Rect::Intersection(destRect, clipRect);
    // An empty destination leaves nothing to draw, and would divide by zero below.
    if (clipped.width <= 0 || clipped.height <= 0)
        return false;
    const double sx = static_cast<double>(srcRect.width) / destRect.width;
    const double sy = static_cast<double>(srcRect.height) / destRect.height;
    const double offsetX = mirrored
        ? static_cast<double>(destRect.x) + destRect.width - clipped.x - clipped.width
        : static_cast<double>(clipped.x) - destRect.x;
    srcF.x = srcRect.x + offsetX * sx;
    srcF.y = srcRect.y + (static_cast<double>(clipped.y) - destRect.y) * sy;
    srcF.width = srcRect.width + (static_cast<double>(clipped.width) - destRect.width) * sx;
    srcF.height = srcRect.height + (static_cast<double>(clipped.height) - destRect.height) * sy;
    return srcF.width > 0 && srcF.height > 0;
}

} // namespace

bool ClipStretchRects(const Rect& destRect, const Rect& srcRect, const Rect& clipRect, Rect& clipped,
                      DoubleRect& srcF)
{
    return Clip(destRect, srcRect, clipRect, false, clipped, srcF);
}

bool ClipStretchRectsMirrored(const Rect& destRect, const Rect& srcRect, const Rect& clipRect, Rect& clipped,
                              DoubleRect& srcF)
{
    return Clip(destRect, srcRect, clipRect, true, clipped, srcF);
}

} // namespace Tandry
