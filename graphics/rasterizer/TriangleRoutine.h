// The form every whole-triangle routine of the rasteriser shares: three
// vertices (read, never changed), the address of destination pixel (0, 0),
// the pitch in bytes, the texture and drawing colour (ignored by routines
// whose kind does not use them) and the clip rectangle, the one bound on what
// a routine writes.
#pragma once

#include <cstdint>

namespace Tandry {

struct RasterVertex;
struct RasterTexture;
struct RasterColor;
struct Rect;

using TriangleFunction = void(const RasterVertex* vertices, void* destination, int32_t pitch,
                              const RasterTexture* texture, const RasterColor* color, const Rect* clip);
using TriangleRoutine = TriangleFunction*;

// The same for a quad drawn whole: first and second are the strip's two
// triangles, three vertices each.
using QuadFunction = void(const RasterVertex* first, const RasterVertex* second, void* destination, int32_t pitch,
                          const RasterTexture* texture, const RasterColor* color, const Rect* clip);
using QuadRoutine = QuadFunction*;

} // namespace Tandry
