#include "graphics/rasterizer/RasterizePolygon.h"

#include "graphics/image/MemoryImage.h"
#include "graphics/rasterizer/BilinearQuadRoutines.h"
#include "graphics/rasterizer/ClipPolygonToRect.h"
#include "graphics/rasterizer/FixedPoint.h"
#include "graphics/rasterizer/RasterizeTriangle.h"

#include <cmath>

namespace Tandry {

namespace {

bool PositionFinite(const TriVertex& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y);
}

int32_t TextureShift(int32_t width)
{
    int32_t shift = 16;
    for (uint32_t w = static_cast<uint32_t>(width); w > 1; w >>= 1)
        --shift;
    return shift;
}

void ConvertVertex(const TriVertex& c, RasterVertex& r, bool textured, double textureWidth, double textureHeight,
                   bool vertexColors)
{
    r.x = Fixed::ToFixed(static_cast<double>(c.x) * 65536.0);
    r.y = Fixed::ToFixed(static_cast<double>(c.y) * 65536.0);
    if (textured) {
        r.u = Fixed::ToFixed(static_cast<double>(c.u) * textureWidth * 65536.0);
        r.v = Fixed::ToFixed(static_cast<double>(c.v) * textureHeight * 65536.0);
    }
    if (vertexColors) {
        const uint32_t w = c.color;
        r.alpha = static_cast<int32_t>(((w >> 24) & 0xFF) << 16);
        r.red = static_cast<int32_t>(w & 0xFF0000);
        r.green = static_cast<int32_t>((w & 0xFF00) << 8);
        r.blue = static_cast<int32_t>((w & 0xFF) << 16);
    }
}

// Whether every corner lies inside the clip bounds, where the clipper hands
// each strip triangle on as it is.
bool AllInside(const TriVertex* vertices, int count, float left, float right, float top, float bottom)
{
    for (int i = 0; i < count; ++i) {
        const TriVertex& v = vertices[i];
        if (!PositionFinite(v) || v.x < left || v.x > right || v.y < top || v.y > bottom)
            return false;
    }
    return true;
}

// quads: whether a bilinear quad inside the clip may go to its quad routine
// instead of two triangle calls, with the same pixels.
void Rasterize(const TriVertex* vertices, int vertexCount, MemoryImage* texture, const Color* color,
               const Rect* clip, void* destination, int32_t pitch, int32_t format, bool bilinear, bool vertexColors,
               TriangleCallee callee, bool quads)
{
    // Summed in 64 bits: a clip at the edge of the int range must not overflow.
    const auto left = static_cast<float>(clip->x);
    const auto top = static_cast<float>(clip->y);
    const auto right = static_cast<float>(int64_t{clip->x} + clip->width - 1);
    const auto bottom = static_cast<float>(int64_t{clip->y} + clip->height - 1);

    const RasterColor rasterColor{color->alpha, color->red, color->green, color->blue};
    const bool modulate = *color != Color::White;

    const bool textured = texture != nullptr;
    bool alpha = false;
    double textureWidth = 0.0;
    double textureHeight = 0.0;
    RasterTexture description;
    if (textured) {
        texture->ScanAlpha();
        alpha = texture->mHasAlpha || texture->mHasTrans || bilinear;
        const int32_t width = texture->mWidth;
        const int32_t height = texture->mHeight;
        // The sizes go through float, as the texture position is scaled by them.
        textureWidth = static_cast<float>(width);
        textureHeight = static_cast<float>(height);
        description.shift = TextureShift(width);
        description.maxU = Fixed::Shl(Fixed::Sub(width, 1), 16);
        description.maxV = Fixed::Shl(Fixed::Sub(height, 1), 16);
        description.width = width;
        description.count = Fixed::Mul(width, height);
        description.height = height;
    }

    if (vertexCount < 3)
        return;

    if (quads && textured && bilinear && !vertexColors && vertexCount == 4 &&
        AllInside(vertices, 4, left, right, top, bottom)) {
        description.bits = texture->GetBits();
        RasterVertex fixed[4];
        for (int i = 0; i < 4; ++i)
            ConvertVertex(vertices[i], fixed[i], true, textureWidth, textureHeight, false);
        // The strip's two triangles, the second with its last two corners swapped.
        const RasterVertex first[3] = {fixed[0], fixed[1], fixed[2]};
        const RasterVertex second[3] = {fixed[1], fixed[3], fixed[2]};
        BilinearQuadRoutine(format, modulate)(first, second, destination, pitch, &description, &rasterColor, clip);
        return;
    }

    ClipVertexPool pool;
    for (int k = 0; k + 2 < vertexCount; ++k) {
        // Odd strip triangles swap their last two corners to keep one winding.
        TriVertex triangle[3] = {vertices[k], vertices[k + 1 + (k & 1)], vertices[k + 2 - (k & 1)]};
        // A position that is not a number would pass every clip test as inside.
        if (!PositionFinite(triangle[0]) || !PositionFinite(triangle[1]) || !PositionFinite(triangle[2]))
            continue;
        TriVertex* in[4] = {&triangle[0], &triangle[1], &triangle[2], nullptr};
        TriVertex* clipped[kClipListSize];
        const int m = ClipPolygonToRect(pool, clipped, in, left, right, top, bottom);
        if (m < 3)
            continue;

        if (textured)
            description.bits = texture->GetBits();

        RasterVertex fixed[kClipListSize];
        for (int i = 0; i < m; ++i)
            ConvertVertex(*clipped[i], fixed[i], textured, textureWidth, textureHeight, vertexColors);

        for (int j = 2; j < m; ++j) {
            const RasterVertex fan[3] = {fixed[0], fixed[j - 1], fixed[j]};
            callee(textured, alpha, vertexColors, modulate, fan, destination, pitch, &description, &rasterColor,
                   format, bilinear, clip);
        }
    }
}

} // namespace

void RasterizePolygon(const TriVertex* vertices, int vertexCount, MemoryImage* texture, const Color* color,
                      const Rect* clip, void* destination, int32_t pitch, int32_t format, bool bilinear,
                      bool vertexColors)
{
    Rasterize(vertices, vertexCount, texture, color, clip, destination, pitch, format, bilinear, vertexColors,
              &RasterizeTriangle, true);
}

void RasterizePolygon(const TriVertex* vertices, int vertexCount, MemoryImage* texture, const Color* color,
                      const Rect* clip, void* destination, int32_t pitch, int32_t format, bool bilinear,
                      bool vertexColors, TriangleCallee callee)
{
    Rasterize(vertices, vertexCount, texture, color, clip, destination, pitch, format, bilinear, vertexColors,
              callee, false);
}

} // namespace Tandry
