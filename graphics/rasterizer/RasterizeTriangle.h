// Chooses the whole-triangle routine for one triangle: the table holds one
// entry per combination of triangle features and destination format, so the
// routines themselves test neither. Format codes: 0x8888, 0x888, 0x565 and
// 0x555; any other code draws as 0x8888.
#pragma once

#include "graphics/rasterizer/TriangleRoutine.h"

#include <array>
#include <cstdint>

namespace Tandry {

// format base (0, 32, 64, 96) + 16 textured + 8 alpha + 4 vertex colours
// + 2 modulate + bilinear. Untextured entries ignore the alpha and bilinear
// bits; an untextured triangle without vertex colours draws nothing.
int32_t TriangleRoutineIndex(bool textured, bool alpha, bool vertexColors, bool modulate, int32_t format,
                             bool bilinear);

// Built at compile time, so there is no first-call fill to race on.
extern const std::array<TriangleRoutine, 128> gTriangleRoutines;

TriangleFunction EmptyTriangleRoutine;

void RasterizeTriangle(bool textured, bool alpha, bool vertexColors, bool modulate, const RasterVertex* vertices,
                       void* destination, int32_t pitch, const RasterTexture* texture, const RasterColor* color,
                       int32_t format, bool bilinear, const Rect* clip);

} // namespace Tandry
