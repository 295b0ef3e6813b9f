#include "graphics/rasterizer/ReferenceFrontEnds.h"

#include "graphics/image/MemoryImage.h"
#include "graphics/rasterizer/RasterizeTriangle.h"
#include "graphics/rasterizer/ReferenceRasterizer.h"

#include <climits>
#include <cmath>
#include <vector>

namespace Tandry::Testing {

namespace {

using Polygon = std::vector<TriVertex>;

// The routine a triangle's features pick, as the table's layout states it:
// one block per destination format (unknown codes draw as 0x8888), and an
// untextured triangle ignores the alpha and bilinear features.
int32_t DestinationFormat(int32_t format)
{
    return format == 0x888 || format == 0x565 || format == 0x555 ? format : 0x8888;
}

ReferenceFeatures FeaturesOf(bool textured, bool alpha, bool vertexColors, bool modulate, bool bilinear)
{
    return {textured, textured && alpha, vertexColors, modulate, textured && bilinear};
}

void DrawWithModel(bool textured, bool alpha, bool vertexColors, bool modulate, const RasterVertex* vertices,
                   void* destination, int32_t pitch, const RasterTexture* texture, const RasterColor* color,
                   int32_t format, bool bilinear, const Rect* clip)
{
    ReferenceTriangle(vertices, static_cast<uint8_t*>(destination), pitch, DestinationFormat(format),
                      FeaturesOf(textured, alpha, vertexColors, modulate, bilinear), *color, *clip, *texture);
}

// --- clipping -----------------------------------------------------------
// A vertex on a bound is inside. Where an edge crosses a bound, the new
// vertex is measured from the edge's outside end: t, the fraction of the way
// to the inside end, is worked out in double and kept as a float; each field
// is the outside value plus t times the difference, in double, kept as a
// float; each colour channel likewise, truncated toward zero.

float Between(float from, float to, float t)
{
    return static_cast<float>(static_cast<double>(from) + (static_cast<double>(to) - static_cast<double>(from)) * t);
}

uint32_t ChannelBetween(uint32_t from, uint32_t to, int shift, float t)
{
    const double a = static_cast<double>((from >> shift) & 0xFF);
    const double b = static_cast<double>((to >> shift) & 0xFF);
    const double value = std::trunc(a + (b - a) * static_cast<double>(t));
    return (std::isfinite(value) ? static_cast<uint32_t>(static_cast<int32_t>(value)) & 0xFF : 0u) << shift;
}

TriVertex Crossing(const TriVertex& outside, const TriVertex& inside, float t)
{
    TriVertex v;
    v.x = Between(outside.x, inside.x, t);
    v.y = Between(outside.y, inside.y, t);
    v.u = Between(outside.u, inside.u, t);
    v.v = Between(outside.v, inside.v, t);
    v.color = 0;
    for (int shift = 0; shift < 32; shift += 8)
        v.color |= ChannelBetween(outside.color, inside.color, shift, t);
    return v;
}

// One side of the rectangle: keep the points with side * (coordinate - bound)
// >= 0 of axis 0 (x) or 1 (y). The output starts where the input does: each
// kept vertex in turn, and a crossing wherever an edge leaves or enters.
Polygon ClipSide(const Polygon& in, int axis, float bound, int side)
{
    auto coordinate = [axis](const TriVertex& v) { return axis == 0 ? v.x : v.y; };
    auto kept = [&](const TriVertex& v) {
        return side > 0 ? !(coordinate(v) < bound) : !(coordinate(v) > bound);
    };
    Polygon out;
    const size_t n = in.size();
    for (size_t i = 0; i < n; ++i) {
        const TriVertex& a = in[i];
        const TriVertex& b = in[(i + 1) % n];
        if (kept(a))
            out.push_back(a);
        if (kept(a) == kept(b))
            continue;
        const TriVertex& outside = kept(a) ? b : a;
        const TriVertex& inside = kept(a) ? a : b;
        const double from = coordinate(outside);
        const auto t = static_cast<float>((static_cast<double>(bound) - from) / (coordinate(inside) - from));
        out.push_back(Crossing(outside, inside, t));
    }
    return out;
}

// The rectangle's bounds are inclusive; the sides in the order left, right,
// top, bottom, and a polygon with fewer than three corners left is gone.
Polygon ClipToRect(Polygon polygon, const Rect& clip)
{
    const double right = static_cast<double>(clip.x) + clip.width - 1;
    const double bottom = static_cast<double>(clip.y) + clip.height - 1;
    const struct {
        int axis;
        float bound;
        int side;
    } sides[] = {{0, static_cast<float>(clip.x), 1},
                 {0, static_cast<float>(right), -1},
                 {1, static_cast<float>(clip.y), 1},
                 {1, static_cast<float>(bottom), -1}};
    for (const auto& s : sides) {
        polygon = ClipSide(polygon, s.axis, s.bound, s.side);
        if (polygon.size() < 3)
            return {};
    }
    return polygon;
}

// --- fixed point --------------------------------------------------------

// 16.16 by truncation toward zero; anything that does not fit, NaN
// included, is the most negative value.
int32_t To16Dot16(double value)
{
    const double whole = std::trunc(value);
    if (!(whole >= static_cast<double>(INT32_MIN) && whole <= static_cast<double>(INT32_MAX)))
        return INT32_MIN;
    return static_cast<int32_t>(whole);
}

RasterVertex ToRaster(const TriVertex& c, const MemoryImage* texture, bool vertexColors)
{
    RasterVertex r;
    r.x = To16Dot16(static_cast<double>(c.x) * 65536.0);
    r.y = To16Dot16(static_cast<double>(c.y) * 65536.0);
    if (texture != nullptr) {
        // Texture positions are fractions of the size, which is taken as a float.
        r.u = To16Dot16(static_cast<double>(c.u) * static_cast<float>(texture->mWidth) * 65536.0);
        r.v = To16Dot16(static_cast<double>(c.v) * static_cast<float>(texture->mHeight) * 65536.0);
    }
    if (vertexColors) {
        r.alpha = static_cast<int32_t>((c.color >> 24) & 0xFF) * 65536;
        r.red = static_cast<int32_t>((c.color >> 16) & 0xFF) * 65536;
        r.green = static_cast<int32_t>((c.color >> 8) & 0xFF) * 65536;
        r.blue = static_cast<int32_t>(c.color & 0xFF) * 65536;
    }
    return r;
}

RasterTexture DescribeTexture(MemoryImage& texture)
{
    RasterTexture d;
    const int32_t width = texture.mWidth;
    const int32_t height = texture.mHeight;
    int32_t log2Width = 0;
    while (log2Width < 31 && (int64_t{1} << (log2Width + 1)) <= width)
        ++log2Width;
    d.shift = 16 - log2Width;
    d.maxU = static_cast<int32_t>(static_cast<uint32_t>(width - 1) << 16);
    d.maxV = static_cast<int32_t>(static_cast<uint32_t>(height - 1) << 16);
    d.width = width;
    d.count = static_cast<int32_t>(static_cast<int64_t>(width) * height);
    d.height = height;
    d.bits = texture.GetBits();
    return d;
}

// --- the polygon --------------------------------------------------------
// Corners read as a strip: triangle k is corners k, k + 1, k + 2, with the
// last two swapped in odd triangles so that all keep one winding. A triangle
// with a corner off the finite plane is left out. Each is clipped and drawn
// as a fan around the clipped polygon's first corner.
void DrawPolygon(const TriVertex* corners, int count, MemoryImage* texture, const Color& color, const Rect& clip,
                 void* destination, int32_t pitch, int32_t format, bool bilinear, bool vertexColors)
{
    const bool textured = texture != nullptr;
    bool alpha = false;
    RasterTexture description;
    if (textured) {
        texture->ScanAlpha();
        alpha = texture->mHasAlpha || texture->mHasTrans || bilinear;
    }
    const RasterColor rasterColor{color.alpha, color.red, color.green, color.blue};
    const bool modulate = !(color.alpha == 255 && color.red == 255 && color.green == 255 && color.blue == 255);

    for (int k = 0; k + 2 < count; ++k) {
        const bool odd = k % 2 == 1;
        Polygon triangle = {corners[k], corners[odd ? k + 2 : k + 1], corners[odd ? k + 1 : k + 2]};
        bool finite = true;
        for (const TriVertex& v : triangle)
            finite = finite && std::isfinite(v.x) && std::isfinite(v.y);
        if (!finite)
            continue;
        const Polygon clipped = ClipToRect(triangle, clip);
        if (clipped.empty())
            continue;
        if (textured)
            description = DescribeTexture(*texture);
        for (size_t j = 1; j + 1 < clipped.size(); ++j) {
            const RasterVertex fan[3] = {ToRaster(clipped[0], texture, vertexColors),
                                         ToRaster(clipped[j], texture, vertexColors),
                                         ToRaster(clipped[j + 1], texture, vertexColors)};
            DrawWithModel(textured, alpha, vertexColors, modulate, fan, destination, pitch, &description,
                          &rasterColor, format, bilinear, &clip);
        }
    }
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
        DrawPolygon(triangle, 3, image, *color, *clip, destination, pitch, format, linear, vertexColors);
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
    DrawPolygon(corners, 4, image, *color, *clip, destination, pitch, format, linear, false);
}

} // namespace Tandry::Testing
