// Sutherland-Hodgman clipping of one triangle against the inclusive clip
// bounds, one pass per edge, on null-terminated lists of vertex pointers. The
// output keeps the input's order: its first vertex is the first one that
// survives (or the first intersection), and the fan is built around it.
#pragma once

#include "graphics/rasterizer/ClipVertexPool.h"
#include "graphics/types/TriVertex.h"

namespace Tandry {

// Room every vertex list needs, terminator included.
inline constexpr int kClipListSize = 64;

// in: three vertex pointers and a null. Returns the clipped vertex count in
// out (3 to 7), or 0 when nothing is left. A vertex on a bound is inside, and
// so is one whose coordinate is not a number (callers reject those first).
int ClipPolygonToRect(ClipVertexPool& pool, TriVertex** out, TriVertex* const* in, float left, float right,
                      float top, float bottom);

// One pass each; the result is the number of vertices written to out.
int ClipPolygonLeft(ClipVertexPool& pool, TriVertex* const* in, TriVertex** out, float bound);
int ClipPolygonRight(ClipVertexPool& pool, TriVertex* const* in, TriVertex** out, float bound);
int ClipPolygonTop(ClipVertexPool& pool, TriVertex* const* in, TriVertex** out, float bound);
int ClipPolygonBottom(ClipVertexPool& pool, TriVertex* const* in, TriVertex** out, float bound);

} // namespace Tandry
