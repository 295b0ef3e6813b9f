// The frame every triangle routine is built from: sort by y, 64-bit edge and
// gradient set-up, the top-left fill rule, the two halves, and the walk of
// each row's span. A routine is this template over a kind, which names the
// destination format, the vertex fields it interpolates, a per-call state
// built from the texture and colour, an optional hook at each span start and
// the step run at each covered pixel (or, optionally, a whole span's worth);
// nothing in the loops tests the kind.
//
// The clip rectangle bounds every write whatever the vertices hold: spans are
// cut to its columns (their values taken as if walked from the true start)
// and rows outside it are walked without drawing.
#pragma once

#include "graphics/rasterizer/EdgeWalk.h"
#include "graphics/rasterizer/FixedPoint.h"
#include "graphics/rasterizer/RasterVertex.h"
#include "graphics/types/Rect.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace Tandry {

template <class Kind>
void ScanTriangle(const RasterVertex* vertices, void* destination, int32_t pitch,
                  const typename Kind::State& state, const Rect& clip)
{
    using Format = typename Kind::Format;
    using Pixel = typename Format::Pixel;
    constexpr auto& fields = Kind::kInterpolants;
    constexpr size_t kCount = Kind::kInterpolants.size();
    using Values = std::array<int32_t, kCount>;
    using namespace Fixed;

    if (clip.width <= 0 || clip.height <= 0)
        return;

    // Three compare-and-swaps; equal heights keep their order.
    const RasterVertex* top = &vertices[0];
    const RasterVertex* mid = &vertices[1];
    const RasterVertex* bot = &vertices[2];
    if (top->y > mid->y)
        std::swap(top, mid);
    if (mid->y > bot->y)
        std::swap(mid, bot);
    if (top->y > mid->y)
        std::swap(top, mid);

    const int32_t r0 = Ceil16(top->y);
    const int32_t r2 = Ceil16(bot->y);
    if (r0 == r2)
        return;
    const int32_t r1 = Ceil16(mid->y);

    const int32_t longDy = Sub(bot->y, top->y);
    const int32_t midDy = Sub(mid->y, top->y);
    EdgeWalk longEdge(*top, *bot);
    Values longSlope;
    for (size_t i = 0; i < kCount; ++i)
        longSlope[i] = Slope(Sub(bot->*fields[i], top->*fields[i]), longDy);

    const int32_t xm = longEdge.XAt(midDy);
    if (xm == mid->x)
        return;

    const int32_t prestep = Sub(Shl(r0, 16), top->y);
    longEdge.Start(prestep);
    Values longValue;
    for (size_t i = 0; i < kCount; ++i)
        longValue[i] = Add(top->*fields[i], MulShift(longSlope[i], prestep, 16));

    // Gradients across the triangle at the middle vertex's height, where it is
    // widest; the difference is kept in 64 bits before the reciprocal.
    const int64_t recipWidth = Recip(Sub(mid->x, xm));
    Values gradient;
    for (size_t i = 0; i < kCount; ++i) {
        const int64_t onLong = int64_t{top->*fields[i]} + ((int64_t{longSlope[i]} * midDy) >> 16);
        gradient[i] = MulHigh(int64_t{mid->*fields[i]} - onLong, recipWidth);
    }

    const bool longOnLeft = xm < mid->x;
    const int64_t clipLeft = clip.x;
    const int64_t clipRight = int64_t{clip.x} + clip.width;
    const int64_t clipTop = clip.y;
    const int64_t clipBottom = int64_t{clip.y} + clip.height;
    const int64_t rowStep = Format::RowStep(pitch);
    auto* const base = static_cast<uint8_t*>(destination);

    const auto drawSpan = [&](int32_t row, int32_t shortX) {
        const int32_t left = longOnLeft ? longEdge.X() : shortX;
        const int32_t right = longOnLeft ? shortX : longEdge.X();
        const int32_t xs = static_cast<int32_t>(static_cast<uint32_t>(Add(left, 0xFFFF)) & 0xFFFF0000u);
        const int32_t xe = static_cast<int32_t>(static_cast<uint32_t>(Add(right, 0xFFFF)) & 0xFFFF0000u);
        const int32_t length = Sub(xe, xs) >> 16;
        if (length <= 0)
            return;
        const int32_t e = Sub(xs, longEdge.X());
        Values q;
        for (size_t i = 0; i < kCount; ++i)
            q[i] = Add(longValue[i], MulShift(gradient[i], e, 16));
        Kind::BeginSpan(q);

        const int64_t startColumn = xs >> 16;
        const int64_t first = std::max(startColumn, clipLeft);
        const int64_t last = std::min(startColumn + length, clipRight);
        if (first >= last)
            return;
        // Stepping n pixels adds n gradients; with wrap-around that is one product.
        const auto skipped = static_cast<int32_t>(first - startColumn);
        for (size_t i = 0; i < kCount; ++i)
            q[i] = Add(q[i], Mul(gradient[i], skipped));

        // The pixel loop works on copies: a store through the byte pointer
        // may alias anything the frame reaches by reference, which would
        // have every gradient and the state read again at every pixel.
        const Values step = gradient;
        const typename Kind::State local = state;
        uint8_t* at = base + row * rowStep + first * int64_t{sizeof(Pixel)};
        // A kind may draw whole spans itself, several pixels at a time, with
        // the same result as its step at each pixel in turn.
        if constexpr (requires(Values& values) { Kind::DrawSpan(at, values, step, int64_t{}, local); }) {
            Kind::DrawSpan(at, q, step, last - first, local);
        } else {
            for (int64_t n = last - first; n > 0; --n) {
                Kind::Step(at, q, local);
                for (size_t i = 0; i < kCount; ++i)
                    q[i] = Add(q[i], step[i]);
                at += sizeof(Pixel);
            }
        }
    };

    const auto walkRows = [&](int32_t firstRow, int32_t rows, EdgeWalk& shortEdge) {
        for (int32_t k = 0; k < rows; ++k) {
            const int64_t row = int64_t{firstRow} + k;
            if (row >= clipTop && row < clipBottom)
                drawSpan(static_cast<int32_t>(row), shortEdge.X());
            longEdge.Step();
            shortEdge.Step();
            for (size_t i = 0; i < kCount; ++i)
                longValue[i] = Add(longValue[i], longSlope[i]);
        }
    };

    // Row counts come out negative only when a position near the 16.16 limit
    // wrapped in Ceil16; such a half has no rows.
    const int32_t upperRows = r1 - r0;
    if (upperRows > 0) {
        EdgeWalk upper(*top, *mid);
        upper.Start(prestep);
        walkRows(r0, upperRows, upper);
    }
    const int32_t lowerRows = r2 - r1;
    if (lowerRows > 0) {
        EdgeWalk lower(*mid, *bot);
        lower.Start(Sub(Shl(r1, 16), mid->y));
        walkRows(r1, lowerRows, lower);
    }
}

} // namespace Tandry
