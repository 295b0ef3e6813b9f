// Sutherland-Hodgman clipping of a Direct3D polygon, one straight boundary at
// a time, with the crossing vertices interpolated in position, texture
// position and colour. D3DInterface keeps textured quads and triangles inside
// a clip rectangle and triangles inside one texture piece with it.
#pragma once

#include "graphics/display/D3DVertex.h"

namespace Tandry {

enum class VertexComponent { X = 0, Y = 1, Z = 2, U = 3, V = 4 };

// The point at t of the edge a..b: position and texture position a + t (b - a);
// z, rhw and specular from a; each colour channel a + t (b - a), truncated.
D3DVertex LerpVertex(const D3DVertex& a, const D3DVertex& b, float t);

// Keeps the part with component >= limit; out may not be in.
void ClipPolygonAtLeast(const VertexList& in, VertexList& out, VertexComponent component, float limit);
// Keeps the part with component < limit.
void ClipPolygonBelow(const VertexList& in, VertexList& out, VertexComponent component, float limit);
// Keeps 0 <= u < 1 and 0 <= v < 1, in place.
void ClipPolygonToUnitUV(VertexList& polygon);
// Keeps left <= x < right and top <= y < bottom, in place.
void ClipPolygonToRect(VertexList& polygon, float left, float top, float right, float bottom);

} // namespace Tandry
