#include "graphics/image/RotatedBlitGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Tandry {

namespace {

// 16.16 conversions truncate toward zero; positions too far off to matter
// saturate instead of overflowing (NaN gives the lowest value).
int32_t ToFixed(double v)
{
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    if (!(v > lowest))
        return std::numeric_limits<int32_t>::min();
    if (v >= highest)
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

// Narrows the columns [first, last] of a row so that position p + j * step
// and the one after it lie inside 0 .. size - 1. False when the whole row
// lies outside. The quotients truncate toward zero, as the original rules
// were written; they are worked in 64 bits so that no term can overflow.
bool Narrow(int64_t p, int64_t step, int64_t size, bool vertical, int64_t& first, int64_t& last)
{
    if (step >= 1) {
        if ((p >> 16) >= size - 1)
            return false;
        const int64_t f = (0x10000 - p) / step;
        if (f > 0)
            first = std::max(first, f);
        last = std::min(last, ((size << 16) - p - 0x17FFF) / step);
    } else if (step <= -1) {
        if ((p >> 16) < 0)
            return false;
        const int64_t f = ((size << 16) - p - 0x27FFF) / step;
        if (f >= 0)
            first = std::max(first, f);
        last = std::min(last, vertical ? -(p / step) : (0x7FFF - p) / step);
    } else if (p < 0 || p >= (size << 16) - 0x10000) {
        return false;
    }
    return true;
}

} // namespace

DoubleRect RotatedBounds(float x, float y, const Rect& srcRect, const Rect& clipRect, double angle, float centerX,
                         float centerY)
{
    const double turn = static_cast<float>(angle);
    const double c = std::cos(turn);
    const double s = std::sin(turn);
    const double w = srcRect.width;
    const double h = srcRect.height;
    const double corners[4][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    double minX = 10000000.0, minY = 10000000.0, maxX = -10000000.0, maxY = -10000000.0;
    for (const auto& corner : corners) {
        const double px = corner[0] - centerX;
        const double py = corner[1] - centerY;
        const double mx = x + centerX + px * c + py * s;
        const double my = y + centerY + py * c - px * s;
        minX = std::min(minX, mx);
        maxX = std::max(maxX, mx);
        minY = std::min(minY, my);
        maxY = std::max(maxY, my);
    }
    return DoubleRect::Intersection(DoubleRect(minX, minY, maxX - minX, maxY - minY),
                                    DoubleRect(clipRect.x, clipRect.y, clipRect.width, clipRect.height));
}

RotatedBlitGeometry::RotatedBlitGeometry(float x, float y, const Rect& srcRect, double angle, float centerX,
                                         float centerY, const DoubleRect& box)
    : mX(x), mY(y), mCenterX(centerX), mCenterY(centerY), mSrcWidth(srcRect.width), mSrcHeight(srcRect.height),
      mCos(std::cos(angle)), mSin(std::sin(angle)), mCosStep(ToFixed(mCos * 65536)), mSinStep(ToFixed(mSin * 65536)),
      mDestX0(static_cast<int>(box.x)), mDestY0(static_cast<int>(box.y)),
      mRowCount(static_cast<int>(std::ceil(box.height))), mLastColumn(static_cast<int>(box.width - 1.0))
{
}

bool RotatedBlitGeometry::Row(int r, RotatedSpan& span) const
{
    const double dx = static_cast<float>(mDestX0 - static_cast<double>(mCenterX) - mX);
    const double dy = static_cast<float>(static_cast<double>(mDestY0 + r) - mCenterY - mY);
    const int64_t u = ToFixed((dx * mCos - dy * mSin + mCenterX) * 65536);
    const int64_t v = ToFixed((dy * mCos + dx * mSin + mCenterY) * 65536);

    int64_t first = 0;
    int64_t last = mLastColumn;
    if (!Narrow(u, mCosStep, mSrcWidth, false, first, last) || !Narrow(v, mSinStep, mSrcHeight, true, first, last)
        || first > last)
        return false;
    span.destX = mDestX0 + static_cast<int>(first);
    span.destY = mDestY0 + r;
    span.count = static_cast<int>(last - first + 1);
    span.u = static_cast<int32_t>(u + first * mCosStep);
    span.v = static_cast<int32_t>(v + first * mSinStep);
    return true;
}

} // namespace Tandry
