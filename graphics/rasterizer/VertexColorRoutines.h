// The untextured vertex-coloured triangle routines, one per destination
// format, each without and with the drawing colour folded into the vertex
// colours. They fill the vertex-colour entries of the routine table.
#pragma once

#include "graphics/rasterizer/TriangleRoutine.h"

namespace Tandry {

TriangleFunction Tri8888Vc;
TriangleFunction Tri888Vc;
TriangleFunction Tri565Vc;
TriangleFunction Tri555Vc;
TriangleFunction Tri8888VcMod;
TriangleFunction Tri888VcMod;
TriangleFunction Tri565VcMod;
TriangleFunction Tri555VcMod;

} // namespace Tandry
