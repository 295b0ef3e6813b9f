#include "graphics/types/DoubleRect.h"

#include <algorithm>

namespace Tandry {

DoubleRect DoubleRect::Intersection(const DoubleRect& a, const DoubleRect& b)
{
    const double left = std::max(a.x, b.x);
    const double top = std::max(a.y, b.y);
    const double width = std::min(a.x + a.width, b.x + b.width) - left;
    const double height = std::min(a.y + a.height, b.y + b.height) - top;
    if (width < 0.0 || height < 0.0)
        return DoubleRect();
    return DoubleRect(left, top, width, height);
}

} // namespace Tandry
