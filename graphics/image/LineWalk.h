// The one-pixel line walk shared by the software lines of memory images and
// of surface images: straight lines become one-pixel rectangles through the
// image's own FillRect, the others a Bresenham walk whose set-up is in doubles
// and whose steps are integers. The plotting is the caller's.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
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

// The anti-aliased walk, shared by memory and surface images. A 16.16 error
// accumulates the slope; the main pixel of each step takes the coverage left
// by the error's fraction (255 - its top byte), its partner on the minor axis
// the rest. plot(x, y, coverage) must skip pixels outside the image, so no
// step can write past it; plot.Height() and plot.RowLength() (the row in
// pixels as the image's memory lays it out) bound the partners as they
// always have. End points that truncate to one pixel blend it twice.
template <class Plot>
inline void WalkLineAA(double x1, double y1, double x2, double y2, const Plot& plot)
{
    // Positions come from scene data; what no int can hold draws nothing.
    for (double v : {x1, y1, x2, y2}) {
        if (!(std::fabs(v) < 1073741824.0))
            return;
    }
    int ix1 = Trunc(x1), iy1 = Trunc(y1), ix2 = Trunc(x2), iy2 = Trunc(y2);
    if (iy1 > iy2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
        std::swap(ix1, ix2);
        std::swap(iy1, iy2);
    }
    int nx = ix2 - ix1;
    const int ny = iy2 - iy1;
    double fdx = x2 - x1;
    const double fdy = y2 - y1;
    int xStep = 1;
    if (nx < 0) {
        xStep = -1;
        nx = -nx;
        fdx = -fdx;
    }

    // Compared unsigned, so that a negative slope that takes the error below
    // zero counts as a step, as it always has.
    uint32_t e = static_cast<uint32_t>(Trunc(std::fabs(x1 - ix1) * std::fabs(y1 - iy1) * 65536.0));
    const auto coverage = [&e] { return 255 - ((e >> 8) & 0xFF); };

    plot(ix1, iy1, coverage());
    int x = ix1, y = iy1;
    if (nx >= ny) {
        // End points in one pixel (nx = 0) have no interior and no slope.
        if (nx >= 2) {
            const uint32_t slope = static_cast<uint32_t>(Trunc(fdy / fdx * 65536.0));
            for (int i = 0; i < nx - 1; ++i) {
                e += slope;
                if (e >= 0x10000) {
                    e &= 0xFFFF;
                    ++y;
                }
                x += xStep;
                const uint32_t w = coverage();
                plot(x, y, w);
                if (y < plot.Height() - 1)
                    plot(x, y + 1, 255 - w);
            }
        }
    } else if (ny >= 2) {
        const uint32_t slope = static_cast<uint32_t>(Trunc(fdx / fdy * 65536.0));
        for (int i = 0; i < ny - 1; ++i) {
            e += slope;
            if (e >= 0x10000) {
                e &= 0xFFFF;
                x += xStep;
            }
            ++y;
            const uint32_t w = coverage();
            plot(x, y, w);
            // The partner lies on the side of the step; the test against the
            // row's last pixel stays for the right-hand side, the plot skips
            // the left and the padding.
            if (x < plot.RowLength() - 1)
                plot(x + xStep, y, 255 - w);
        }
    }
    plot(ix2, iy2, coverage());
}

} // namespace Tandry::LineWalk
