// The bilinear textured routines without vertex colours, one per format,
// plain and tinted by the drawing colour. Bilinear drawing always takes the
// alpha path, whatever alpha the texture has.
#pragma once

#include "graphics/rasterizer/TriangleRoutine.h"

namespace Tandry {

TriangleFunction TexTri8888Bilinear;
TriangleFunction TexTri8888BilinearMod;
TriangleFunction TexTri888Bilinear;
TriangleFunction TexTri888BilinearMod;
TriangleFunction TexTri565Bilinear;
TriangleFunction TexTri565BilinearMod;
TriangleFunction TexTri555Bilinear;
TriangleFunction TexTri555BilinearMod;

} // namespace Tandry
