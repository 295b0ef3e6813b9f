// One triangle's rows for the scan frame, one at a time from the top: the
// 64-bit edge and gradient set-up, the top-left fill rule and the two halves
// done once, then for each row the span it covers inside the clip, with the
// interpolants' values at the span's first pixel. A triangle drawn alone and
// one drawn beside its partner in a quad walk their rows through this one
// piece, so both give the same spans to the last bit.
#pragma once

#include "graphics/rasterizer/EdgeWalk.h"
#include "graphics/rasterizer/FixedPoint.h"
#include "graphics/rasterizer/RasterVertex.h"
#include "graphics/types/Rect.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

namespace Tandry {

template <class Kind>
class TriangleRows {
public:
    static constexpr auto& kFields = Kind::kInterpolants;
    static constexpr size_t kCount = Kind::kInterpolants.size();
    using Values = std::array<int32_t, kCount>;

    // The pixels [first, last) of one row, q the values at first (after the
    // kind's span start hook); first < last.
    struct Span {
        int32_t row;
        int64_t first;
        int64_t last;
        Values q;
    };

    // The clip must not be empty.
    TriangleRows(const RasterVertex* vertices, const Rect& clip)
        : mClipLeft(clip.x), mClipRight(int64_t{clip.x} + clip.width), mClipTop(clip.y),
          mClipBottom(int64_t{clip.y} + clip.height)
    {
        using namespace Fixed;
        // Three compare-and-swaps; equal heights keep their order.
        mTop = &vertices[0];
        mMid = &vertices[1];
        mBot = &vertices[2];
        if (mTop->y > mMid->y)
            std::swap(mTop, mMid);
        if (mMid->y > mBot->y)
            std::swap(mMid, mBot);
        if (mTop->y > mMid->y)
            std::swap(mTop, mMid);

        const int32_t r0 = Ceil16(mTop->y);
        const int32_t r2 = Ceil16(mBot->y);
        if (r0 == r2)
            return;
        mR1 = Ceil16(mMid->y);

        const int32_t longDy = Sub(mBot->y, mTop->y);
        const int32_t midDy = Sub(mMid->y, mTop->y);
        mLongEdge.emplace(*mTop, *mBot);
        for (size_t i = 0; i < kCount; ++i)
            mLongSlope[i] = Slope(Sub(mBot->*kFields[i], mTop->*kFields[i]), longDy);

        const int32_t xm = mLongEdge->XAt(midDy);
        if (xm == mMid->x)
            return;

        const int32_t prestep = Sub(Shl(r0, 16), mTop->y);
        mLongEdge->Start(prestep);
        for (size_t i = 0; i < kCount; ++i)
            mLongValue[i] = Add(mTop->*kFields[i], MulShift(mLongSlope[i], prestep, 16));

        // Gradients across the triangle at the middle vertex's height, where it is
        // widest; the difference is kept in 64 bits before the reciprocal.
        const int64_t recipWidth = Recip(Sub(mMid->x, xm));
        for (size_t i = 0; i < kCount; ++i) {
            const int64_t onLong = int64_t{mTop->*kFields[i]} + ((int64_t{mLongSlope[i]} * midDy) >> 16);
            mGradient[i] = MulHigh(int64_t{mMid->*kFields[i]} - onLong, recipWidth);
        }
        mLongOnLeft = xm < mMid->x;

        // Row counts come out negative only when a position near the 16.16
        // limit wrapped in Ceil16; such a half has no rows.
        mLowerRows = r2 - mR1;
        const int32_t upperRows = mR1 - r0;
        if (upperRows > 0) {
            mShortEdge.emplace(*mTop, *mMid);
            mShortEdge->Start(prestep);
            mRow = r0;
            mRowsLeft = upperRows;
            mInUpperHalf = true;
        } else {
            EnterLowerHalf();
        }
    }

    bool Done() const { return mRowsLeft <= 0; }
    int64_t Row() const { return mRow; }
    // The values' steps from one pixel to the next.
    const Values& Gradient() const { return mGradient; }

    // Moves on past the current row (the triangle must not be Done); true
    // with its span when the row draws a pixel.
    [[gnu::always_inline]] bool Next(Span& span)
    {
        const bool drawn = mRow >= mClipTop && mRow < mClipBottom && SpanOf(mShortEdge->X(), span);
        mLongEdge->Step();
        mShortEdge->Step();
        for (size_t i = 0; i < kCount; ++i)
            mLongValue[i] = Fixed::Add(mLongValue[i], mLongSlope[i]);
        ++mRow;
        if (--mRowsLeft == 0 && mInUpperHalf)
            EnterLowerHalf();
        return drawn;
    }

private:
    void EnterLowerHalf()
    {
        mInUpperHalf = false;
        mRowsLeft = mLowerRows;
        if (mLowerRows <= 0)
            return;
        mShortEdge.emplace(*mMid, *mBot);
        mShortEdge->Start(Fixed::Sub(Fixed::Shl(mR1, 16), mMid->y));
        mRow = mR1;
    }

    [[gnu::always_inline]] bool SpanOf(int32_t shortX, Span& span) const
    {
        using namespace Fixed;
        const int32_t left = mLongOnLeft ? mLongEdge->X() : shortX;
        const int32_t right = mLongOnLeft ? shortX : mLongEdge->X();
        const int32_t xs = static_cast<int32_t>(static_cast<uint32_t>(Add(left, 0xFFFF)) & 0xFFFF0000u);
        const int32_t xe = static_cast<int32_t>(static_cast<uint32_t>(Add(right, 0xFFFF)) & 0xFFFF0000u);
        const int32_t length = Sub(xe, xs) >> 16;
        if (length <= 0)
            return false;
        const int32_t e = Sub(xs, mLongEdge->X());
        for (size_t i = 0; i < kCount; ++i)
            span.q[i] = Add(mLongValue[i], MulShift(mGradient[i], e, 16));
        Kind::BeginSpan(span.q);

        const int64_t startColumn = xs >> 16;
        span.first = startColumn > mClipLeft ? startColumn : mClipLeft;
        span.last = startColumn + length < mClipRight ? startColumn + length : mClipRight;
        if (span.first >= span.last)
            return false;
        // Stepping n pixels adds n gradients; with wrap-around that is one product.
        const auto skipped = static_cast<int32_t>(span.first - startColumn);
        for (size_t i = 0; i < kCount; ++i)
            span.q[i] = Add(span.q[i], Mul(mGradient[i], skipped));
        span.row = static_cast<int32_t>(mRow);
        return true;
    }

    int64_t mClipLeft;
    int64_t mClipRight;
    int64_t mClipTop;
    int64_t mClipBottom;
    const RasterVertex* mTop;
    const RasterVertex* mMid;
    const RasterVertex* mBot;
    int32_t mR1 = 0;
    std::optional<EdgeWalk> mLongEdge;
    std::optional<EdgeWalk> mShortEdge;
    Values mLongSlope{};
    Values mLongValue{};
    Values mGradient{};
    bool mLongOnLeft = false;
    int32_t mLowerRows = 0;
    int64_t mRow = 0;
    int32_t mRowsLeft = 0;
    bool mInUpperHalf = false;
};

} // namespace Tandry
