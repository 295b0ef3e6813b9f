// Transformed image drawing: while a transform is still held in components
// the cheapest plain form gives the same picture (placed, mirrored,
// stretched or rotated); a full matrix goes to the destination's matrix blit.
#include <cmath>

#include "graphics/context/Graphics.h"
#include "graphics/context/GraphicsTrunc.h"
#include "graphics/image/Image.h"
#include "graphics/types/Transform.h"

namespace Tandry {

void Graphics::DrawImageTransformedPart(Image* image, const Transform& transform, const Rect& src, float x, float y,
                                        bool smooth)
{
    if (image == nullptr || !SourceInside(image, src))
        return;

    // The 3D surface draws a smooth matrix as cheaply as any component path.
    if (transform.matrixMode || (smooth && mIs3DScreen)) {
        const Matrix3x3* matrix = &transform.matrix;
        Transform rebuilt;
        if (transform.dirty) {
            rebuilt = transform;
            rebuilt.RebuildMatrix();
            matrix = &rebuilt.matrix;
        }
        mDestImage->BltMatrix(image, mTransX + x, mTransY + y, *matrix, mClipRect, ImageColor(), mDrawMode, src,
                              mLinearBlend);
        return;
    }

    const float halfWidth = static_cast<float>(src.width) * 0.5f;
    const float halfHeight = static_cast<float>(src.height) * 0.5f;

    if (transform.rotated) {
        // The centre is the source point the pre-translation brings to the
        // middle of the rectangle; it lands on (x, y) plus the post-translation.
        float centerX = halfWidth - transform.preTransX;
        float centerY = halfHeight - transform.preTransY;
        float posX = ((transform.postTransX + x) - centerX) + 0.5f;
        float posY = ((transform.postTransY + y) - centerY) + 0.5f;
        if (!smooth) {
            centerX = std::trunc(centerX);
            centerY = std::trunc(centerY);
            posX = std::trunc(posX);
            posY = std::trunc(posY);
        }
        DrawImageRotated(image, posX, posY, centerX, centerY, &src, transform.angle);
        return;
    }

    if (transform.scaled) {
        if (transform.scaleX == -1.0f && transform.scaleY == 1.0f) {
            const float left = ((transform.preTransX + x) + transform.postTransX - halfWidth) + 0.5f;
            const float top = ((transform.preTransY + y) + transform.postTransY - halfHeight) + 0.5f;
            DrawImageMirrorPart(image, TruncToInt(left), TruncToInt(top), src);
            return;
        }
        // A flip followed by a scale leaves a negative factor: the picture is
        // the mirrored stretch of the factor's magnitude.
        const float scaledHalfWidth = std::fabs(transform.scaleX * halfWidth);
        const float scaledHalfHeight = std::fabs(transform.scaleY * halfHeight);
        const Rect dest(TruncToInt(x + transform.postTransX - scaledHalfWidth),
                        TruncToInt(y + transform.postTransY - scaledHalfHeight), TruncToInt(scaledHalfWidth * 2.0f),
                        TruncToInt(scaledHalfHeight * 2.0f));
        DrawImageStretchedMirror(image, dest, src, transform.scaleX < 0.0f);
        return;
    }

    const float left = (((transform.preTransX + x) + transform.postTransX) - halfWidth) + 0.5f;
    const float top = (((transform.preTransY + y) + transform.postTransY) - halfHeight) + 0.5f;
    if (smooth)
        DrawImagePartF(image, left, top, src);
    else
        DrawImagePart(image, TruncToInt(left), TruncToInt(top), src);
}

void Graphics::DrawImageMatrix(Image* image, const Transform& transform, float x, float y)
{
    if (image == nullptr)
        return;
    DrawImageTransformedPart(image, transform, WholeImage(image), x, y, false);
}

void Graphics::DrawImageTransformed(Image* image, const Transform& transform, float x, float y)
{
    if (image == nullptr)
        return;
    DrawImageTransformedPart(image, transform, WholeImage(image), x, y, true);
}

} // namespace Tandry
