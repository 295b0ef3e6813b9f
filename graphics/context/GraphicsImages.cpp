// Image drawing of the drawing context: placed, scaled, float-positioned,
// mirrored, stretched, rotated, textured-triangle and box forms, each turned
// into one drawing operation of the destination image.
#include <cmath>
#include <cstdint>

#include "graphics/context/Graphics.h"
#include "graphics/context/GraphicsTrunc.h"
#include "graphics/image/Image.h"

namespace Tandry {

namespace {

bool IsEmpty(const Rect& r)
{
    return r.width <= 0 || r.height <= 0;
}

} // namespace

Rect Graphics::WholeImage(const Image* image)
{
    return Rect(0, 0, image->mWidth, image->mHeight);
}

bool Graphics::SourceInside(const Image* image, const Rect& src)
{
    return src.x >= 0 && src.y >= 0 && src.width >= 0 && src.height >= 0 &&
           static_cast<int64_t>(src.x) + src.width <= image->mWidth &&
           static_cast<int64_t>(src.y) + src.height <= image->mHeight;
}

void Graphics::DrawImage(Image* image, int x, int y)
{
    if (image == nullptr)
        return;
    DrawImagePart(image, x, y, WholeImage(image));
}

void Graphics::DrawImagePart(Image* image, int x, int y, const Rect& src)
{
    if (image == nullptr || !SourceInside(image, src))
        return;
    const int destX = TruncToInt(mTransX + static_cast<float>(x));
    const int destY = TruncToInt(mTransY + static_cast<float>(y));

    if (mScaleX != 1.0f || mScaleY != 1.0f) {
        // Each product, floor and ceiling is a float before the next step.
        const float width = std::ceil(static_cast<float>(src.width) * mScaleX);
        const float height = std::ceil(static_cast<float>(src.height) * mScaleY);
        const float left = std::floor((static_cast<float>(destX) - mScaleOrigX) * mScaleX) + mScaleOrigX;
        const float top = std::floor((static_cast<float>(destY) - mScaleOrigY) * mScaleY) + mScaleOrigY;
        const Rect dest(TruncToInt(left), TruncToInt(top), TruncToInt(width), TruncToInt(height));
        mDestImage->StretchBlt(image, dest, src, mClipRect, ImageColor(), mDrawMode, mFastStretch);
        return;
    }

    const Rect d = Rect::Intersection(Rect(destX, destY, src.width, src.height), mClipRect);
    if (IsEmpty(d))
        return;
    mDestImage->Blt(image, d.x, d.y, Rect(src.x + d.x - destX, src.y + d.y - destY, d.width, d.height),
                    ImageColor(), mDrawMode);
}

void Graphics::DrawImageF(Image* image, float x, float y)
{
    if (image == nullptr)
        return;
    DrawImagePartF(image, x, y, WholeImage(image));
}

void Graphics::DrawImagePartF(Image* image, float x, float y, const Rect& src)
{
    if (image == nullptr || !SourceInside(image, src))
        return;
    mDestImage->BltF(image, mTransX + x, mTransY + y, src, mClipRect, ImageColor(), mDrawMode);
}

void Graphics::DrawImageMirror(Image* image, int x, int y)
{
    if (image == nullptr)
        return;
    DrawImageMirrorPart(image, x, y, WholeImage(image));
}

void Graphics::DrawImageMirrorPart(Image* image, int x, int y, const Rect& src)
{
    if (image == nullptr || !SourceInside(image, src))
        return;
    const int destX = TruncToInt(mTransX + static_cast<float>(x));
    const int destY = TruncToInt(mTransY + static_cast<float>(y));
    const Rect d = Rect::Intersection(Rect(destX, destY, src.width, src.height), mClipRect);
    if (IsEmpty(d))
        return;
    // Columns cut off on the left of the destination come from the right of the source.
    const Rect part(src.x + src.width - (d.x - destX) - d.width, src.y + d.y - destY, d.width, d.height);
    mDestImage->BltMirror(image, d.x, d.y, part, ImageColor(), mDrawMode);
}

void Graphics::DrawImageStretched(Image* image, const Rect& dest, const Rect& src)
{
    DrawImageStretchedMirror(image, dest, src, false);
}

void Graphics::DrawImageStretchedMirror(Image* image, const Rect& dest, const Rect& src, bool mirror)
{
    if (image == nullptr || !SourceInside(image, src))
        return;
    const Rect placed(TruncToInt(mTransX + static_cast<float>(dest.x)),
                      TruncToInt(mTransY + static_cast<float>(dest.y)), dest.width, dest.height);
    if (mirror)
        mDestImage->StretchBltMirror(image, placed, src, mClipRect, ImageColor(), mDrawMode, mFastStretch);
    else
        mDestImage->StretchBlt(image, placed, src, mClipRect, ImageColor(), mDrawMode, mFastStretch);
}

void Graphics::DrawImageStretched(Image* image, int width, int height)
{
    if (image == nullptr)
        return;
    DrawImageStretched(image, Rect(0, 0, width, height), WholeImage(image));
}

void Graphics::DrawImage(const Rect& dest, Image* image, const Rect& src)
{
    DrawImageStretched(image, dest, src);
}

void Graphics::DrawImageRotated(Image* image, float x, float y, float centerX, float centerY, const Rect* src,
                                double angle)
{
    if (image == nullptr)
        return;
    const Rect part = src != nullptr ? *src : WholeImage(image);
    if (!SourceInside(image, part))
        return;
    mDestImage->BltRotated(image, mTransX + x, mTransY + y, part, mClipRect, ImageColor(), mDrawMode, angle,
                           centerX, centerY);
}

void Graphics::DrawTriangleTex(Image* image, const TriVertex& first, const TriVertex& second,
                               const TriVertex& third)
{
    const TriVertex triangle[1][3] = {{first, second, third}};
    DrawTrianglesTex(image, triangle, 1);
}

void Graphics::DrawTrianglesTex(Image* image, const TriVertex (*triangles)[3], int count)
{
    if (image == nullptr)
        return;
    mDestImage->BltTrianglesTex(image, triangles, count, mClipRect, ImageColor(), mDrawMode, mTransX, mTransY,
                                mLinearBlend);
}

void Graphics::DrawImageBox(const Rect& dest, Image* image)
{
    if (image == nullptr)
        return;
    DrawImageBoxPart(dest, WholeImage(image), image);
}

void Graphics::DrawImageBoxPart(const Rect& dest, const Rect& src, Image* image)
{
    if (image == nullptr || src.width < 1 || src.height < 1)
        return;
    // Corners a third of the source; the middle piece takes the rest, so it
    // is never empty and the tile loops below always advance.
    const int cw = src.width / 3;
    const int ch = src.height / 3;
    const int mw = src.width - 2 * cw;
    const int mh = src.height - 2 * ch;
    const int right = dest.x + dest.width - cw;
    const int bottom = dest.y + dest.height - ch;
    const int columns = (dest.width - 2 * cw + mw - 1) / mw;
    const int rows = (dest.height - 2 * ch + mh - 1) / mh;

    DrawImagePart(image, dest.x, dest.y, Rect(src.x, src.y, cw, ch));
    DrawImagePart(image, right, dest.y, Rect(src.x + cw + mw, src.y, cw, ch));
    DrawImagePart(image, dest.x, bottom, Rect(src.x, src.y + ch + mh, cw, ch));
    DrawImagePart(image, right, bottom, Rect(src.x + cw + mw, src.y + ch + mh, cw, ch));

    // The tiled pieces go through copies clipped to their band, so the last
    // tile of a row or column is cut where the band ends.
    const auto band = [this](float left, float top, int width, int height) {
        Graphics copy(*this);
        copy.mClipRect = Rect::Intersection(mClipRect, Rect(TruncToInt(left), TruncToInt(top), width, height));
        return copy;
    };

    Graphics edges = band(mTransX + dest.x + cw, mTransY + dest.y, dest.width - 2 * cw, dest.height);
    for (int k = 0; k < columns; ++k) {
        const int x = dest.x + cw + k * mw;
        edges.DrawImagePart(image, x, dest.y, Rect(src.x + cw, src.y, mw, ch));
        edges.DrawImagePart(image, x, bottom, Rect(src.x + cw, src.y + ch + mh, mw, ch));
    }

    Graphics sides = band(mTransX + dest.x, mTransY + dest.y + ch, dest.width, dest.height - 2 * ch);
    for (int k = 0; k < rows; ++k) {
        const int y = dest.y + ch + k * mh;
        sides.DrawImagePart(image, dest.x, y, Rect(src.x, src.y + ch, cw, mh));
        sides.DrawImagePart(image, right, y, Rect(src.x + cw + mw, src.y + ch, cw, mh));
    }

    Graphics middle =
        band(mTransX + dest.x + cw, mTransY + dest.y + ch, dest.width - 2 * cw, dest.height - 2 * ch);
    for (int k = 0; k < columns; ++k) {
        for (int j = 0; j < rows; ++j)
            middle.DrawImagePart(image, dest.x + cw + k * mw, dest.y + ch + j * mh,
                                 Rect(src.x + cw, src.y + ch, mw, mh));
    }
}

} // namespace Tandry
