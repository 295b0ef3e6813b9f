// The bilinear textured routines with vertex colours, one per format, the
// second also folding the drawing colour into its copy of the vertices. The
// vertex colour tints the filtered colour and its alpha fades it.
#pragma once

#include "graphics/rasterizer/TriangleRoutine.h"

namespace Tandry {

TriangleFunction TexTri8888BilinearVc;
TriangleFunction TexTri8888BilinearVcMod;
TriangleFunction TexTri888BilinearVc;
TriangleFunction TexTri888BilinearVcMod;
TriangleFunction TexTri565BilinearVc;
TriangleFunction TexTri565BilinearVcMod;
TriangleFunction TexTri555BilinearVc;
TriangleFunction TexTri555BilinearVcMod;

} // namespace Tandry
