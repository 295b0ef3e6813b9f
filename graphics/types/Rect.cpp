#include "graphics/types/Rect.h"

#include <algorithm>

namespace Tandry {

namespace {

int64_t Right(const Rect& r) { return static_cast<int64_t>(r.x) + r.width; }
int64_t Bottom(const Rect& r) { return static_cast<int64_t>(r.y) + r.height; }

Rect FromEdges(int64_t left, int64_t top, int64_t right, int64_t bottom)
{
    return Rect(static_cast<int32_t>(left), static_cast<int32_t>(top),
                static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top));
}

} // namespace

Rect Rect::Intersection(const Rect& a, const Rect& b)
{
    const int64_t left = std::max(a.x, b.x);
    const int64_t top = std::max(a.y, b.y);
    const int64_t right = std::min(Right(a), Right(b));
    const int64_t bottom = std::min(Bottom(a), Bottom(b));
    if (right - left < 0 || bottom - top < 0)
        return Rect();
    return FromEdges(left, top, right, bottom);
}

Rect Rect::Union(const Rect& a, const Rect& b)
{
    return FromEdges(std::min(a.x, b.x), std::min(a.y, b.y), std::max(Right(a), Right(b)),
                     std::max(Bottom(a), Bottom(b)));
}

bool Rect::Contains(int32_t px, int32_t py) const
{
    return px >= x && px < Right(*this) && py >= y && py < Bottom(*this);
}

} // namespace Tandry
