// The bilinear textured routines without vertex colours for whole quads: the
// two strip triangles of the quad drawn together (see ScanQuad), with the
// pixels of the two triangle routines drawn one after the other.
#pragma once

#include "graphics/rasterizer/TriangleRoutine.h"

#include <cstdint>

namespace Tandry {

// The routine of a destination format (codes as RasterizeTriangle's: 0x8888,
// 0x888, 0x565, 0x555, any other drawing as 0x8888), plain or tinted.
QuadRoutine BilinearQuadRoutine(int32_t format, bool modulate);

} // namespace Tandry
