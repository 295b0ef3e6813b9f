// DrawLine and DrawLineAA of MemoryImage: straight lines go to FillRect, the
// others are walked in integers after a set-up in doubles.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "graphics/image/LineWalk.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/image/PixelBlend.h"
#include "graphics/image/SaturationTable.h"
#include "graphics/types/ClampedColor.h"
#include "graphics/types/Rect.h"

namespace Tandry {

namespace {

using LineWalk::FillStraightLine;
using LineWalk::Trunc;
using LineWalk::WalkLine;
using LineWalk::WalkLineAA;

// Opaque colours are stored with each channel scaled by 255/256 (255 becomes
// 254); translucent ones are scaled by their alpha first and added to the
// destination scaled by the rest. The result is always opaque.
class NormalLinePlot {
public:
    NormalLinePlot(uint32_t* bits, int pitch, const ClampedColor& c) : mBits(bits), mPitch(pitch)
    {
        const uint32_t a = c.alpha;
        const auto scaled = [a](uint32_t ch) { return a == 255 ? ch : (ch * a + 128) >> 8; };
        const auto toLine = [](uint32_t ch) { return (255 * ch + 127) >> 8; };
        mColor = toLine(scaled(c.red)) << 16 | toLine(scaled(c.green)) << 8 | toLine(scaled(c.blue));
        mOpaque = a == 255;
        mKeep = 256 - a;
    }

    void operator()(int x, int y) const
    {
        uint32_t& p = mBits[static_cast<ptrdiff_t>(y) * mPitch + x];
        if (mOpaque) {
            p = 0xFF000000u | mColor;
            return;
        }
        const uint32_t rb = (((p & 0xFF00FF) * mKeep + 0x7F007F) >> 8) & 0xFF00FF;
        const uint32_t g = (((p & 0xFF00) * mKeep + 0x7F00) >> 8) & 0xFF00;
        p = 0xFF000000u | (mColor + (rb | g));
    }

private:
    uint32_t* mBits;
    int mPitch;
    uint32_t mColor = 0;
    bool mOpaque = false;
    uint32_t mKeep = 0;
};

// Adds the colour scaled by its alpha, saturating; the result is opaque.
class AdditiveLinePlot {
public:
    AdditiveLinePlot(uint32_t* bits, int pitch, const ClampedColor& c, const Saturation& saturation)
        : mBits(bits), mPitch(pitch), mSaturation(saturation), mRed(c.alpha * c.red / 255),
          mGreen(c.alpha * c.green / 255), mBlue(c.alpha * c.blue / 255)
    {
    }

    void operator()(int x, int y) const
    {
        uint32_t& p = mBits[static_cast<ptrdiff_t>(y) * mPitch + x];
        p = 0xFF000000u | PixelBlend::AddSaturated(p, mRed, mGreen, mBlue, mSaturation);
    }

private:
    uint32_t* mBits;
    int mPitch;
    Saturation mSaturation;
    uint32_t mRed;
    uint32_t mGreen;
    uint32_t mBlue;
};

// Blends one pixel of an anti-aliased line at coverage w; pixels outside the
// image are skipped, so the steps of the walk can never write past the array.
class CoveragePlot {
public:
    CoveragePlot(MemoryImage& image, const ClampedColor& c)
        : mBits(image.GetBits()), mWidth(image.mWidth), mHeight(image.mHeight), mRgb(c.Rgb()),
          mAlphaPlusOne(c.alpha + 1)
    {
    }

    int Height() const { return mHeight; }
    int RowLength() const { return mWidth; }

    void operator()(int x, int y, uint32_t w) const
    {
        if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
            return;
        const uint32_t a = (w * mAlphaPlusOne) >> 8;
        if (a == 0)
            return;
        uint32_t& p = mBits[static_cast<ptrdiff_t>(y) * mWidth + x];
        p = PixelBlend::FillOver(p, mRgb, a);
    }

private:
    uint32_t* mBits;
    int mWidth;
    int mHeight;
    uint32_t mRgb;
    uint32_t mAlphaPlusOne;
};

} // namespace

void MemoryImage::DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    if (FillStraightLine(*this, x1, y1, x2, y2, color, drawMode))
        return;
    const ClampedColor c(color);
    if (drawMode == 0)
        WalkLine(x1, y1, x2, y2, true, NormalLinePlot(GetBits(), mWidth, c));
    else if (drawMode == 1)
        WalkLine(x1, y1, x2, y2, false, AdditiveLinePlot(GetBits(), mWidth, c, SaturationOf(mApp)));
    MarkBitsChanged();
}

void MemoryImage::DrawLineAA(double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    if (FillStraightLine(*this, x1, y1, x2, y2, color, drawMode))
        return;
    if (drawMode == 0)
        WalkLineAA(x1, y1, x2, y2, CoveragePlot(*this, ClampedColor(color)));
    MarkBitsChanged();
}

} // namespace Tandry
