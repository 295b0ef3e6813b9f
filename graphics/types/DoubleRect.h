// A rectangle in doubles, for the clipping of the stretched and rotated blits,
// where source positions keep their fractions.
#pragma once

namespace Tandry {

struct DoubleRect {
    constexpr DoubleRect() = default;
    constexpr DoubleRect(double left, double top, double w, double h) : x(left), y(top), width(w), height(h) {}

    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;

    // All zero when the width or height would be negative; a zero width or
    // height still counts as an intersection and keeps its position.
    static DoubleRect Intersection(const DoubleRect& a, const DoubleRect& b);

    bool operator==(const DoubleRect&) const = default;
};

} // namespace Tandry
