// The one-pixel line walk shared by the software lines of memory images and
// of surface images: straight lines become one-pixel rectangles through the
// image's own FillRect, the others a Bresenham walk whose set-up is in doubles
// and whose steps are integers. The plotting is the caller's.
#pragma once

#include <algorithm>
#include <cmath>
#include <utility>

#include "graphics/image/Image.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace Tandry::LineWalk {

inline int Trunc(double v)
{
    return static_cast<int>(v);
}

// Horizontal and vertical lines are rectangles one pixel thick, filled by
// the image's own FillRect with the line's colour and mode. False for any
// other line.
inline bool FillStraightLine(Image& image, double x1, double y1, double x2, double y2, const Color& color,
                             int drawMode)
{
    if (y1 == y2) {
        const int left = Trunc(std::min(x1, x2));
        image.FillRect(Rect(left, Trunc(y1), Trunc(std::max(x1, x2)) - left + 1, 1), color, drawMode);
        return true;
    }
    if (x1 == x2) {
        const int top = Trunc(std::min(y1, y2));
        image.FillRect(Rect(Trunc(x1), top, 1, Trunc(std::max(y1, y2)) - top + 1), color, drawMode);
        return true;
    }
    return false;
}

// The walk along the major axis with an integer decision variable. The
// normal line starts its decision with the start point's sub-pixel position
// on the minor axis; the additive line does not. A step on the minor axis
// that leaves the box of the two end points ends the line.
template <class Plot>
inline void WalkLine(double x1, double y1, double x2, double y2, bool subPixelStart, const Plot& plot)
{
    const double minX = std::min(x1, x2), maxX = std::max(x1, x2);
    const double minY = std::min(y1, y2), maxY = std::max(y1, y2);
    const double dx = x2 - x1, dy = y2 - y1;
    const bool xMajor = std::fabs(dx) > std::fabs(dy);

    double startMajor = xMajor ? x1 : y1, startMinor = xMajor ? y1 : x1;
    double endMajor = xMajor ? x2 : y2;
    double majorDelta = xMajor ? dx : dy, minorDelta = xMajor ? dy : dx;
    if (majorDelta < 0) {
        startMajor = xMajor ? x2 : y2;
        startMinor = xMajor ? y2 : x2;
        endMajor = xMajor ? x1 : y1;
        majorDelta = -majorDelta;
        minorDelta = -minorDelta;
    }
    int minorStep = 1;
    if (minorDelta < 0) {
        minorStep = -1;
        minorDelta = -minorDelta;
    }

    const auto at = [xMajor](int major, int minor) {
        return xMajor ? std::pair(major, minor) : std::pair(minor, major);
    };
    int minor = Trunc(startMinor);
    {
        const auto [x, y] = at(Trunc(startMajor), minor);
        plot(x, y);
    }

    const int e = Trunc(2 * minorDelta);
    const int k = Trunc(2 * (minorDelta - majorDelta));
    const int base = Trunc(2 * minorDelta - majorDelta);
    int d = subPixelStart ? Trunc((startMinor - Trunc(startMinor)) * e + base) : base;

    for (int major = Trunc(startMajor + 1.0); major <= endMajor; ++major) {
        const bool step = d > 0;
        if (step) {
            minor += minorStep;
            d += k;
        } else {
            d += e;
        }
        const auto [x, y] = at(major, minor);
        if (step && (x < minX || y < minY || x > maxX || y > maxY))
            return;
        plot(x, y);
    }
}

} // namespace Tandry::LineWalk
