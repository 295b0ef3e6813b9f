// The frame every triangle routine is built from: the rows of TriangleRows
// (sort by y, 64-bit edge and gradient set-up, the top-left fill rule, the
// two halves) and the walk of each row's span. A routine is this template
// over a kind, which names the destination format, the vertex fields it
// interpolates, a per-call state built from the texture and colour, an
// optional hook at each span start and the step run at each covered pixel
// (or, optionally, a whole span's worth); nothing in the loops tests the kind.
//
// The clip rectangle bounds every write whatever the vertices hold: spans are
// cut to its columns (their values taken as if walked from the true start)
// and rows outside it are walked without drawing.
#pragma once

#include "graphics/rasterizer/FixedPoint.h"
#include "graphics/rasterizer/RasterVertex.h"
#include "graphics/rasterizer/TriangleRows.h"
#include "graphics/types/Rect.h"

#include <cstddef>
#include <cstdint>

namespace Tandry {

// Draws n pixels of one row from column first on, q the values at first.
// Every pixel's colour depends on its own values and destination pixel
// alone, so a row may be drawn in one span or in pieces with the same result.
template <class Kind, class Values>
void DrawRowSpan(uint8_t* base, int64_t rowStep, int32_t row, int64_t first, int64_t n, Values& q,
                 const Values& step, const typename Kind::State& state)
{
    using Pixel = typename Kind::Format::Pixel;
    uint8_t* at = base + row * rowStep + first * int64_t{sizeof(Pixel)};
    // A kind may draw whole spans itself, several pixels at a time, with
    // the same result as its step at each pixel in turn.
    if constexpr (requires(Values& values) { Kind::DrawSpan(at, values, step, int64_t{}, state); }) {
        Kind::DrawSpan(at, q, step, n, state);
    } else {
        for (; n > 0; --n) {
            Kind::Step(at, q, state);
            for (size_t i = 0; i < q.size(); ++i)
                q[i] = Fixed::Add(q[i], step[i]);
            at += sizeof(Pixel);
        }
    }
}

template <class Kind>
void ScanTriangle(const RasterVertex* vertices, void* destination, int32_t pitch,
                  const typename Kind::State& state, const Rect& clip)
{
    if (clip.width <= 0 || clip.height <= 0)
        return;
    TriangleRows<Kind> rows(vertices, clip);
    if (rows.Done())
        return;
    // The pixel loop works on copies: a store through the byte pointer may
    // alias anything the frame reaches by reference, which would have every
    // gradient and the state read again at every pixel.
    const typename TriangleRows<Kind>::Values step = rows.Gradient();
    const typename Kind::State local = state;
    const int64_t rowStep = Kind::Format::RowStep(pitch);
    auto* const base = static_cast<uint8_t*>(destination);
    typename TriangleRows<Kind>::Span span;
    while (!rows.Done())
        if (rows.Next(span))
            DrawRowSpan<Kind>(base, rowStep, span.row, span.first, span.last - span.first, span.q, step, local);
}

} // namespace Tandry
