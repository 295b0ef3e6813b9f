// The software rasteriser's two entry points, for the image classes that draw
// textured triangles and matrix-transformed images in software: into a
// memory image's pixels or a locked surface. The only rasteriser header code
// outside graphics/rasterizer/ includes. Only a MemoryImage textures; the
// drawing mode is not taken (there is no additive mode). Format codes:
// 0x8888, 0x888, 0x565 and 0x555; any other code draws as 0x8888.
#pragma once

#include <cstdint>

namespace Tandry {

class Color;
class Image;
class Matrix3x3;
struct Rect;
struct TriVertex;

// Draws triangleCount triangles, three consecutive vertices each, moved by
// (tx, ty). A triangle has vertex colours when any of its three colour words
// is non-zero. Without a MemoryImage texture the triangles are drawn
// untextured: by their vertex colours, or not at all. Writes only inside
// clip, which must lie inside the destination; pitch is in bytes.
void RasterizeTriangleList(Image* texture, const TriVertex* vertices, int triangleCount, const Rect* clip,
                           const Color* color, void* destination, int32_t pitch, int32_t format, float tx,
                           float ty, bool linear);

// Draws the source rectangle of texture through the first two rows of
// matrix, centred on the origin, then placed at (x, y) less half a pixel.
// Draws nothing when texture is not a MemoryImage.
void RasterizeTransformedQuad(Image* texture, float x, float y, const Matrix3x3* matrix, const Rect* clip,
                              const Color* color, const Rect* source, void* destination, int32_t pitch,
                              int32_t format, bool linear);

} // namespace Tandry
