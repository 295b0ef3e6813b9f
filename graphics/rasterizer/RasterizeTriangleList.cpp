#include "graphics/image/MemoryImage.h"
#include "graphics/rasterizer/RasterizePolygon.h"
#include "graphics/rasterizer/rasterizer.h"
#include "graphics/types/TriVertex.h"

namespace Tandry {

void RasterizeTriangleList(Image* texture, const TriVertex* vertices, int triangleCount, const Rect* clip,
                           const Color* color, void* destination, int32_t pitch, int32_t format, float tx,
                           float ty, bool linear)
{
    MemoryImage* image = dynamic_cast<MemoryImage*>(texture);
    if (triangleCount <= 0)
        return;
    for (int i = 0; i < triangleCount; ++i) {
        TriVertex triangle[3] = {vertices[3 * i], vertices[3 * i + 1], vertices[3 * i + 2]};
        // Decided per triangle: a zero colour next to a non-zero one is
        // transparent black, not the absence of a colour.
        bool vertexColors = false;
        for (TriVertex& v : triangle) {
            v.x += tx;
            v.y += ty;
            vertexColors = vertexColors || v.color != 0;
        }
        RasterizePolygon(triangle, 3, image, color, clip, destination, pitch, format, linear, vertexColors);
    }
}

} // namespace Tandry
