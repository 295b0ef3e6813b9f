#include "graphics/rasterizer/ReferenceFrontEnds.h"

#include "graphics/image/MemoryImage.h"
#include "graphics/rasterizer/RasterizePolygon.h"
#include "graphics/rasterizer/RasterizeTriangle.h"
#include "graphics/rasterizer/ReferenceRasterizer.h"

namespace Tandry::Testing {

namespace {

void DrawWithModel(bool textured, bool alpha, bool vertexColors, bool modulate, const RasterVertex* vertices,
                   void* destination, int32_t pitch, const RasterTexture* texture, const RasterColor* color,
                   int32_t format, bool bilinear, const Rect* clip)
{
    const int index = TriangleRoutineIndex(textured, alpha, vertexColors, modulate, format, bilinear);
    ReferenceTriangle(vertices, static_cast<uint8_t*>(destination), pitch, FormatOfIndex(index),
                      FeaturesOfIndex(index), *color, *clip, *texture);
}

} // namespace

uint8_t* gModelDestination = nullptr;

void DrawByTableAndModel(bool textured, bool alpha, bool vertexColors, bool modulate, const RasterVertex* vertices,
                         void* destination, int32_t pitch, const RasterTexture* texture, const RasterColor* color,
                         int32_t format, bool bilinear, const Rect* clip)
{
    RasterizeTriangle(textured, alpha, vertexColors, modulate, vertices, destination, pitch, texture, color, format,
                      bilinear, clip);
    DrawWithModel(textured, alpha, vertexColors, modulate, vertices, gModelDestination, pitch, texture, color,
                  format, bilinear, clip);
}

void ReferenceTriangleList(Image* texture, const TriVertex* vertices, int triangleCount, const Rect* clip,
                           const Color* color, void* destination, int32_t pitch, int32_t format, float tx,
                           float ty, bool linear)
{
    auto* image = dynamic_cast<MemoryImage*>(texture);
    for (int t = 0; t < triangleCount; ++t) {
        TriVertex triangle[3];
        bool vertexColors = false;
        for (int i = 0; i < 3; ++i) {
            triangle[i] = vertices[3 * t + i];
            triangle[i].x = triangle[i].x + tx;
            triangle[i].y = triangle[i].y + ty;
            if (triangle[i].color != 0)
                vertexColors = true;
        }
        RasterizePolygon(triangle, 3, image, color, clip, destination, pitch, format, linear, vertexColors,
                         &DrawWithModel);
    }
}

void ReferenceTransformedQuad(Image* texture, float x, float y, const Matrix3x3* matrix, const Rect* clip,
                              const Color* color, const Rect* source, void* destination, int32_t pitch,
                              int32_t format, bool linear)
{
    auto* image = dynamic_cast<MemoryImage*>(texture);
    if (image == nullptr)
        return;
    const float hw = static_cast<float>(source->width) * 0.5f;
    const float hh = static_cast<float>(source->height) * 0.5f;
    float u[2] = {0, 0};
    float v[2] = {0, 0};
    if (image->mWidth > 0 && image->mHeight > 0) {
        const float w = static_cast<float>(image->mWidth);
        const float h = static_cast<float>(image->mHeight);
        u[0] = static_cast<float>(source->x) / w;
        u[1] = (static_cast<float>(source->x) + static_cast<float>(source->width)) / w;
        v[0] = static_cast<float>(source->y) / h;
        v[1] = (static_cast<float>(source->y) + static_cast<float>(source->height)) / h;
    }
    const auto& m = matrix->m;
    TriVertex corners[4];
    for (int i = 0; i < 4; ++i) {
        const float cx = (i & 1) != 0 ? hw : -hw;
        const float cy = (i & 2) != 0 ? hh : -hh;
        const float mx = m[0][0] * cx + m[0][1] * cy + m[0][2];
        const float my = m[1][0] * cx + m[1][1] * cy + m[1][2];
        corners[i] = {mx + x - 0.5f, my + y - 0.5f, u[i & 1], v[i >> 1], 0xFFFFFFFF};
    }
    RasterizePolygon(corners, 4, image, color, clip, destination, pitch, format, linear, false, &DrawWithModel);
}

} // namespace Tandry::Testing
