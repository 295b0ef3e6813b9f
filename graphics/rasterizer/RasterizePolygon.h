// The core between the rasteriser's front ends and its triangle routines: a
// polygon of floating-point vertices, read as a strip of triangles, each
// clipped to the clip rectangle, converted to fixed point and drawn as a fan
// through the routine table.
#pragma once

#include "graphics/rasterizer/RasterColor.h"
#include "graphics/rasterizer/RasterTexture.h"
#include "graphics/rasterizer/RasterVertex.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"
#include "graphics/types/TriVertex.h"

#include <cstdint>

namespace Tandry {

class MemoryImage;

// texture may be null (untextured). The clip's right and bottom bounds are
// clip.x + clip.width - 1 and clip.y + clip.height - 1, inclusive, so with the
// fill rule the clip's last column and row are never written. A strip
// triangle with an infinite or NaN position draws nothing; the strip order
// still alternates after it. A bilinear quad (four corners, no vertex
// colours) inside the clip goes to its quad routine as one call, with the
// pixels of its two triangles.
void RasterizePolygon(const TriVertex* vertices, int vertexCount, MemoryImage* texture, const Color* color,
                      const Rect* clip, void* destination, int32_t pitch, int32_t format, bool bilinear,
                      bool vertexColors);

// What RasterizePolygon hands over for each fan triangle; RasterizeTriangle
// in production, a recorder in tests. The overload that takes it hands over
// every triangle, quads' included.
using TriangleCallee = void (*)(bool textured, bool alpha, bool vertexColors, bool modulate,
                                const RasterVertex* vertices, void* destination, int32_t pitch,
                                const RasterTexture* texture, const RasterColor* color, int32_t format,
                                bool bilinear, const Rect* clip);

void RasterizePolygon(const TriVertex* vertices, int vertexCount, MemoryImage* texture, const Color* color,
                      const Rect* clip, void* destination, int32_t pitch, int32_t format, bool bilinear,
                      bool vertexColors, TriangleCallee callee);

} // namespace Tandry
