// BltMatrix and BltTrianglesTex of MemoryImage: the software rasteriser draws
// them into the pixel array, in the format that keeps the alpha unless the
// image's flags were forced to say it is opaque.
#include <cstdint>

#include "graphics/image/MemoryImage.h"
#include "graphics/rasterizer/rasterizer.h"
#include "graphics/types/ClampedColor.h"
#include "graphics/types/TriVertex.h"

namespace Tandry {

namespace {

int32_t RasterFormat(const MemoryImage& image)
{
    return image.mForced && !image.mHasAlpha && !image.mHasTrans ? 0x888 : 0x8888;
}

Color Clamped(const Color& color)
{
    const ClampedColor c(color);
    return Color(static_cast<int32_t>(c.red), static_cast<int32_t>(c.green), static_cast<int32_t>(c.blue),
                 static_cast<int32_t>(c.alpha));
}

} // namespace

// The draw mode is not used.
void MemoryImage::BltMatrix(Image* src, float x, float y, const Matrix3x3& matrix, const Rect& clipRect,
                            const Color& color, int, const Rect& srcRect, bool linear)
{
    src->mDrawn = true;
    const Color c = Clamped(color);
    RasterizeTransformedQuad(src, x, y, &matrix, &clipRect, &c, &srcRect, GetBits(), mWidth * 4, RasterFormat(*this),
                             linear);
    MarkBitsChanged();
}

// The draw mode is not used. Without a source the triangles are drawn by
// their vertex colours.
void MemoryImage::BltTrianglesTex(Image* src, const TriVertex (*triangles)[3], int count, const Rect& clipRect,
                                  const Color& color, int, float tx, float ty, bool linear)
{
    if (src)
        src->mDrawn = true;
    const Color c = Clamped(color);
    RasterizeTriangleList(src, count > 0 ? triangles[0] : nullptr, count, &clipRect, &c, GetBits(), mWidth * 4,
                          RasterFormat(*this), tx, ty, linear);
    MarkBitsChanged();
}

} // namespace Tandry
