#include "graphics/image/MemoryImage.h"
#include "graphics/rasterizer/RasterizePolygon.h"
#include "graphics/rasterizer/rasterizer.h"
#include "graphics/types/Matrix3x3.h"
#include "graphics/types/Rect.h"
#include "graphics/types/TriVertex.h"

namespace Tandry {

void RasterizeTransformedQuad(Image* texture, float x, float y, const Matrix3x3* matrix, const Rect* clip,
                              const Color* color, const Rect* source, void* destination, int32_t pitch,
                              int32_t format, bool linear)
{
    MemoryImage* image = dynamic_cast<MemoryImage*>(texture);
    if (image == nullptr)
        return;

    const auto sx = static_cast<float>(source->x);
    const auto sy = static_cast<float>(source->y);
    const auto sw = static_cast<float>(source->width);
    const auto sh = static_cast<float>(source->height);
    const float hw = sw * 0.5f;
    const float hh = sh * 0.5f;
    // An empty texture has no texel to reach; its coordinates stay 0 rather
    // than becoming infinite or NaN through a division by 0.
    float uL = 0.0f;
    float uR = 0.0f;
    float vT = 0.0f;
    float vB = 0.0f;
    if (image->mWidth != 0 && image->mHeight != 0) {
        const auto width = static_cast<float>(image->mWidth);
        const auto height = static_cast<float>(image->mHeight);
        uL = sx / width;
        uR = (sx + sw) / width;
        vT = sy / height;
        vB = (sy + sh) / height;
    }

    // Strip order: top-left, top-right, bottom-left, bottom-right.
    TriVertex corners[4] = {{-hw, -hh, uL, vT, 0xFFFFFFFF},
                            {hw, -hh, uR, vT, 0xFFFFFFFF},
                            {-hw, hh, uL, vB, 0xFFFFFFFF},
                            {hw, hh, uR, vB, 0xFFFFFFFF}};
    const auto& m = matrix->m;
    for (TriVertex& c : corners) {
        const float mx = m[0][0] * c.x + m[0][1] * c.y + m[0][2];
        const float my = m[1][0] * c.x + m[1][1] * c.y + m[1][2];
        c.x = mx + x - 0.5f;
        c.y = my + y - 0.5f;
    }
    RasterizePolygon(corners, 4, image, color, clip, destination, pitch, format, linear, false);
}

} // namespace Tandry
