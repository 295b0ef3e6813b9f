// The point-sampled textured routines for textures without alpha: each pixel
// takes the texel under it, plain, tinted by the drawing colour, by the
// vertex colours or by both, and is written opaque unless the tint's alpha
// is below 241. 0x888 has no plain routine of its own: TexTri8888 already
// writes every pixel with its top byte 0xFF.
#pragma once

#include "graphics/rasterizer/TriangleRoutine.h"

namespace Tandry {

TriangleFunction TexTri8888;
TriangleFunction TexTri8888Mod;
TriangleFunction TexTri8888Vc;
TriangleFunction TexTri8888VcMod;
TriangleFunction TexTri888Mod;
TriangleFunction TexTri888Vc;
TriangleFunction TexTri888VcMod;
TriangleFunction TexTri565;
TriangleFunction TexTri565Mod;
TriangleFunction TexTri565Vc;
TriangleFunction TexTri565VcMod;
TriangleFunction TexTri555;
TriangleFunction TexTri555Mod;
TriangleFunction TexTri555Vc;
TriangleFunction TexTri555VcMod;

} // namespace Tandry
