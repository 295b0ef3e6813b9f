// An integer rectangle: position and size, right and bottom edges exclusive.
// Clipping in the drawing context and the image routines is built on
// Intersection; a zero width or height is a valid result that keeps its place.
// Edges are summed in 64 bits, so a huge "unbounded" rectangle is safe to use.
#pragma once

#include <cstdint>

namespace Tandry {

struct Rect {
    constexpr Rect() = default;
    constexpr Rect(int32_t left, int32_t top, int32_t w, int32_t h) : x(left), y(top), width(w), height(h) {}

    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

    // All zero when the two do not meet; rectangles that only touch give a
    // zero-width (or zero-height) rectangle at the touching edge.
    static Rect Intersection(const Rect& a, const Rect& b);
    // An empty rectangle is not skipped: it counts as the point at its position.
    static Rect Union(const Rect& a, const Rect& b);

    bool Contains(int32_t px, int32_t py) const;

    bool operator==(const Rect&) const = default;
};

} // namespace Tandry
