// The point-sampled textured routines for textures with alpha or transparent
// texels: the texel's own alpha skips it (8 or less) and scales the weight
// it is written or blended with. One routine per format, plain, tinted by
// the drawing colour, by the vertex colours, or by both.
#pragma once

#include "graphics/rasterizer/TriangleRoutine.h"

namespace Tandry {

TriangleFunction TexTri8888Alpha;
TriangleFunction TexTri8888AlphaMod;
TriangleFunction TexTri8888AlphaVc;
TriangleFunction TexTri8888AlphaVcMod;
TriangleFunction TexTri888Alpha;
TriangleFunction TexTri888AlphaMod;
TriangleFunction TexTri888AlphaVc;
TriangleFunction TexTri888AlphaVcMod;
TriangleFunction TexTri565Alpha;
TriangleFunction TexTri565AlphaMod;
TriangleFunction TexTri565AlphaVc;
TriangleFunction TexTri565AlphaVcMod;
TriangleFunction TexTri555Alpha;
TriangleFunction TexTri555AlphaMod;
TriangleFunction TexTri555AlphaVc;
TriangleFunction TexTri555AlphaVcMod;

} // namespace Tandry
