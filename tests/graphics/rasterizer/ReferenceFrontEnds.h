// The two front ends written again from their definition for the reference
// model: the same corners and per-triangle vertex-colour flag, then the
// polygon set-up written again as well (strip order, clipping to the
// rectangle, 16.16 conversion, fan order, the routine a triangle's features
// pick), every fan triangle drawn by the model instead of the routine table.
// Used by the end-to-end tests and by the benchmarks' pixel check, and a
// callee that draws by both.
#pragma once

#include "graphics/image/Image.h"
#include "graphics/rasterizer/RasterColor.h"
#include "graphics/rasterizer/RasterTexture.h"
#include "graphics/rasterizer/RasterVertex.h"
#include "graphics/types/Color.h"
#include "graphics/types/Matrix3x3.h"
#include "graphics/types/Rect.h"
#include "graphics/types/TriVertex.h"

#include <cstdint>

namespace Tandry::Testing {

void ReferenceTriangleList(Image* texture, const TriVertex* vertices, int triangleCount, const Rect* clip,
                           const Color* color, void* destination, int32_t pitch, int32_t format, float tx,
                           float ty, bool linear);

void ReferenceTransformedQuad(Image* texture, float x, float y, const Matrix3x3* matrix, const Rect* clip,
                              const Color* color, const Rect* source, void* destination, int32_t pitch,
                              int32_t format, bool linear);

// A polygon set-up callee that draws every fan triangle twice: through the
// routine table into the destination, and by the model into
// gModelDestination, a copy of the destination set by the test.
extern uint8_t* gModelDestination;
void DrawByTableAndModel(bool textured, bool alpha, bool vertexColors, bool modulate, const RasterVertex* vertices,
                         void* destination, int32_t pitch, const RasterTexture* texture, const RasterColor* color,
                         int32_t format, bool bilinear, const Rect* clip);

} // namespace Tandry::Testing
