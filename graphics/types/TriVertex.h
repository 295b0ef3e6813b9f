// One vertex of a textured triangle: destination position, texture position
// as a 0..1 fraction of the source image, and a packed 0xAARRGGBB colour
// (0: the vertex has no colour of its own and takes the drawing colour).
// The edge interpolation is the polygon clipper's of the software rasteriser.
#pragma once

#include <cstdint>

namespace Tandry {

struct TriVertex {
    float x = 0.0f;
    float y = 0.0f;
    float u = 0.0f;
    float v = 0.0f;
    uint32_t color = 0;

    // The point of the edge p..q at height y (the top and bottom clip edges):
    // t = (y - p.y) / (q.y - p.y), each field (q - p) * t + p. t is measured
    // from p, so at y == p.y the result is p exactly.
    static void LerpAtY(TriVertex& out, const TriVertex& p, const TriVertex& q, float y);
    // The same at x, for the left and right clip edges.
    static void LerpAtX(TriVertex& out, const TriVertex& p, const TriVertex& q, float x);
};

} // namespace Tandry
