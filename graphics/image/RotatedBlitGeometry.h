// The geometry of the rotated blit, shared by memory images and the surface
// routine of display images: the bounding box of the turned source rectangle
// cut to the clip, and for each of its rows the span of destination columns
// whose 2 x 2 bilinear samples lie inside the source rectangle, with the 16.16
// source position of the span's first column and the steps from column to column.
#pragma once

#include <cstdint>

#include "graphics/types/DoubleRect.h"
#include "graphics/types/Rect.h"

namespace Tandry {

// The box of the source rectangle's corners turned by the angle (taken in
// single precision) about the centre and placed at (x, y), intersected with
// the clip rectangle; width or height not above 0 when nothing is to be drawn.
DoubleRect RotatedBounds(float x, float y, const Rect& srcRect, const Rect& clipRect, double angle, float centerX,
                         float centerY);

// A run of destination pixels in one row. Column i of the run (0 .. count - 1)
// samples the source at (u + i * cosStep, v + i * sinStep), in 16.16 relative
// to the source rectangle's top-left pixel.
struct RotatedSpan {
    int destX;
    int destY;
    int count;
    int32_t u;
    int32_t v;
};

class RotatedBlitGeometry {
public:
    // box: RotatedBounds of the same arguments, not empty.
    RotatedBlitGeometry(float x, float y, const Rect& srcRect, double angle, float centerX, float centerY,
                        const DoubleRect& box);

    int RowCount() const { return mRowCount; }
    // False when row r (0 .. RowCount() - 1) of the box draws nothing.
    bool Row(int r, RotatedSpan& span) const;

    int32_t CosStep() const { return mCosStep; }
    int32_t SinStep() const { return mSinStep; }

private:
    float mX;
    float mY;
    float mCenterX;
    float mCenterY;
    int mSrcWidth;
    int mSrcHeight;
    double mCos;
    double mSin;
    int32_t mCosStep;
    int32_t mSinStep;
    int mDestX0;
    int mDestY0;
    int mRowCount;
    int mLastColumn;
};

} // namespace Tandry
