// The two front ends written again from their definition for the reference
// model: the same corners and per-triangle vertex-colour flag, clipped and
// converted by the polygon set-up, then every fan triangle drawn by the
// model instead of the routine table. Used by the end-to-end tests and by
// the benchmarks' pixel check.
#pragma once

#include "graphics/Color.h"
#include "graphics/Image.h"
#include "graphics/Matrix3x3.h"
#include "graphics/Rect.h"
#include "graphics/TriVertex.h"

#include <cstdint>

namespace Tandry::Testing {

void ReferenceTriangleList(Image* texture, const TriVertex* vertices, int triangleCount, const Rect* clip,
                           const Color* color, void* destination, int32_t pitch, int32_t format, float tx,
                           float ty, bool linear);

void ReferenceTransformedQuad(Image* texture, float x, float y, const Matrix3x3* matrix, const Rect* clip,
                              const Color* color, const Rect* source, void* destination, int32_t pitch,
                              int32_t format, bool linear);

} // namespace Tandry::Testing
