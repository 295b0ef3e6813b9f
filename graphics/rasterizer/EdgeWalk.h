// The x of one triangle edge, row by row, for the scan frame. An edge is
// walked by its 16.16 slope; an edge too flat for that slope (32768 pixels or
// more across per row) covers at most one row, and its x is worked out there
// from the end points instead, since its slope would wrap into garbage.
#pragma once

#include "graphics/rasterizer/FixedPoint.h"
#include "graphics/rasterizer/RasterVertex.h"

#include <cassert>
#include <cstdint>

namespace Tandry {

class EdgeWalk {
public:
    // The edge must not be horizontal: the frame's row guards see to that.
    EdgeWalk(const RasterVertex& from, const RasterVertex& to)
        : mFromX(from.x), mDx(Fixed::Sub(to.x, from.x)), mDy(Fixed::Sub(to.y, from.y)),
          mFits(Fixed::SlopeFits(mDx, mDy))
    {
        assert(mDy != 0);
        if (mFits)
            mSlope = Fixed::Slope(mDx, mDy);
    }

    // x at a 16.16 height offset from the edge's first end point.
    int32_t XAt(int32_t offset) const
    {
        if (mFits)
            return Fixed::Add(mFromX, Fixed::MulShift(mSlope, offset, 16));
        return Fixed::Add(mFromX, static_cast<int32_t>(Fixed::FloorDiv(int64_t{mDx} * offset, mDy)));
    }

    // offset: from the first end point down to the first row's centre line.
    void Start(int32_t offset)
    {
        mOffset = offset;
        mX = XAt(offset);
    }

    void Step()
    {
        if (mFits) {
            mX = Fixed::Add(mX, mSlope);
        } else {
            mOffset = Fixed::Add(mOffset, 0x10000);
            mX = XAt(mOffset);
        }
    }

    int32_t X() const { return mX; }

private:
    int32_t mFromX;
    int32_t mDx;
    int32_t mDy;
    bool mFits;
    int32_t mSlope = 0;
    int32_t mOffset = 0;
    int32_t mX = 0;
};

} // namespace Tandry
