// The two triangles of a quad drawn row by row together, with the pixels of
// ScanTriangle run on each in turn. Where a row of the first ends at the
// column the second's begins and the second's values carry on the first's
// walk (same steps, first values one step on from the first's last), the row
// is one span: an untransformed quad's rows are drawn whole, without the
// short pieces on both sides of the diagonal. Elsewhere each triangle draws
// its own span, the first's before the second's, so pixels both cover end
// as they would.
#pragma once

#include "graphics/rasterizer/FixedPoint.h"
#include "graphics/rasterizer/RasterVertex.h"
#include "graphics/rasterizer/ScanTriangle.h"
#include "graphics/rasterizer/TriangleRows.h"
#include "graphics/types/Rect.h"

#include <cstddef>
#include <cstdint>

namespace Tandry {

template <class Kind>
void ScanQuad(const RasterVertex* first, const RasterVertex* second, void* destination, int32_t pitch,
              const typename Kind::State& state, const Rect& clip)
{
    using Rows = TriangleRows<Kind>;
    using Values = typename Rows::Values;
    if (clip.width <= 0 || clip.height <= 0)
        return;
    Rows a(first, clip);
    Rows b(second, clip);
    // Copies, for the reasons ScanTriangle gives.
    const Values stepA = a.Gradient();
    const Values stepB = b.Gradient();
    const bool sameSteps = stepA == stepB;
    const typename Kind::State local = state;
    const int64_t rowStep = Kind::Format::RowStep(pitch);
    auto* const base = static_cast<uint8_t*>(destination);
    typename Rows::Span spanA;
    typename Rows::Span spanB;
    const auto draw = [&](typename Rows::Span& span, const Values& step) {
        DrawRowSpan<Kind>(base, rowStep, span.row, span.first, span.last - span.first, span.q, step, local);
    };
    while (!a.Done() || !b.Done()) {
        // Rows only one triangle has left, or reaches first, are its alone.
        if (b.Done() || (!a.Done() && a.Row() < b.Row())) {
            if (a.Next(spanA))
                draw(spanA, stepA);
            continue;
        }
        if (a.Done() || b.Row() < a.Row()) {
            if (b.Next(spanB))
                draw(spanB, stepB);
            continue;
        }
        const bool drawsA = a.Next(spanA);
        const bool drawsB = b.Next(spanB);
        if (drawsA && drawsB && sameSteps && spanA.last == spanB.first) {
            const auto length = static_cast<int32_t>(spanA.last - spanA.first);
            bool carriesOn = true;
            for (size_t i = 0; i < spanA.q.size(); ++i)
                carriesOn = carriesOn && Fixed::Add(spanA.q[i], Fixed::Mul(stepA[i], length)) == spanB.q[i];
            if (carriesOn) {
                DrawRowSpan<Kind>(base, rowStep, spanA.row, spanA.first, spanB.last - spanA.first, spanA.q, stepA,
                                  local);
                continue;
            }
        }
        if (drawsA)
            draw(spanA, stepA);
        if (drawsB)
            draw(spanB, stepB);
    }
}

} // namespace Tandry
