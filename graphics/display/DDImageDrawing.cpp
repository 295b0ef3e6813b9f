// The drawing slots of a surface image: each call goes, anew, to the 3D
// screen's route, to the memory form, or into the surface. A surface route
// that drew leaves the surface as the only current form and counts as a
// change of the picture, so textures made from the image are rebuilt.
#include "graphics/display/DDImage.h"

#include "graphics/display/DDInterface.h"
#include "graphics/display/SurfaceConverter.h"
#include "graphics/display/SurfacePixels.h"
#include "graphics/image/ClipStretchRects.h"
#include "graphics/image/ImageArray.h"
#include "graphics/image/LineWalk.h"
#include "graphics/rasterizer/rasterizer.h"
#include "graphics/types/ClampedColor.h"
#include "graphics/types/DoubleRect.h"
#include "graphics/types/Matrix3x3.h"
#include "graphics/types/TriVertex.h"
#include "platform/ddraw/DDrawConstants.h"

#include <algorithm>
#include <cmath>

namespace Tandry {

using namespace Platform;

namespace {

bool IsWhite(const Color& color)
{
    return color.red == 255 && color.green == 255 && color.blue == 255 && color.alpha == 255;
}

// The rasteriser's code for the locked layout; 0 for a 16-bit layout it has no code for.
int32_t RasterFormatOf(const SurfacePixels::Target& t)
{
    if (t.bitsPerPixel == 32)
        return 0x888;
    if (t.red == 0xF800u && t.green == 0x07E0u && t.blue == 0x1Fu)
        return 0x565;
    if (t.red == 0x7C00u && t.green == 0x03E0u && t.blue == 0x1Fu)
        return 0x555;
    return 0;
}

} // namespace

bool DDImage::MemoryConditionHolds(bool forBlt) const
{
    if (mHasAlpha || mHasTrans)
        return true;
    if (!DisplayIs3D())
        return false;
    return !(forBlt && (mDDInterface->mOldCursorAreaImage == this || mDDInterface->mNewCursorAreaImage == this));
}

void DDImage::EndSurfaceRoute(uint64_t writesBefore)
{
    // Without a surface the memory form is the only copy of the picture.
    if (mSurface != nullptr)
        FreeMemoryCopies();
    if (mSurfaceWrites != writesBefore)
        ++mChangeCount;
}

void DDImage::EndSurfaceRouteIfDrawn(uint64_t writesBefore)
{
    if (mSurfaceWrites != writesBefore)
        EndSurfaceRoute(writesBefore);
}

template <class Draw>
bool DDImage::DrawThroughReadBack(const Rect& area, Draw draw)
{
    SurfacePixels::Target target;
    if (!LockForDrawing(target))
        return false;
    if (target.Drawable()) {
        const Rect part = Rect::Intersection(area, Rect(0, 0, mWidth, mHeight));
        const SurfaceConverter converter = LockedConverter();
        const SurfaceMemory memory{target.bits, target.pitch, target.bitsPerPixel};
        const size_t stride = static_cast<size_t>(mWidth);
        const size_t partStart = static_cast<size_t>(part.y) * stride + static_cast<size_t>(part.x);

        // A copy of the whole image's size, so the call runs with its own
        // coordinates and clip. Only the part the call can change is read in;
        // the rest is never drawn on nor written back, so it is left unfilled.
        MemoryImage copy(nullptr);
        copy.mWidth = mWidth;
        copy.mHeight = mHeight;
        copy.mBits = AllocateImageArray<uint32_t>(mWidth, mHeight, 1);
        copy.mBits[stride * static_cast<size_t>(mHeight)] = kBitsMarker;
        copy.ForceAlphaFlags(false, false);
        converter.ReadRect(memory, part, copy.mBits.get() + partStart, stride, nullptr);
        draw(copy);
        if (const uint32_t* drawn = copy.GetBits())
            converter.WriteRect(drawn + partStart, stride, memory, part);
    }
    UnlockSurface();
    return true;
}

bool DDImage::PolyFill3D(const Point* vertices, int count, const Rect* clipRect, const Color& color, int drawMode,
                         int tx, int ty, bool)
{
    if (Is3DScreen())
        return PolyFill3D3D(vertices, count, clipRect, color, drawMode, tx, ty);
    return false;
}

void DDImage::FillRect(const Rect& rect, const Color& color, int drawMode)
{
    if (Is3DScreen()) {
        FillRect3D(rect, color, drawMode);
        return;
    }
    ScanAlpha();
    if (MemoryConditionHolds(false)) {
        MemoryImage::FillRect(rect, color, drawMode);
        return;
    }
    const uint64_t before = mSurfaceWrites;
    if (drawMode == 0)
        SurfaceFillRect(rect, color);
    else if (drawMode == 1)
        SurfaceFillRectAdditive(rect, color);
    EndSurfaceRoute(before);
}

void DDImage::DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    RouteLine(x1, y1, x2, y2, color, drawMode, false);
}

void DDImage::DrawLineAA(double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    RouteLine(x1, y1, x2, y2, color, drawMode, true);
}

void DDImage::RouteLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode,
                        bool antiAliased)
{
    // The 3D screen and the memory route draw the plain line for both slots.
    if (Is3DScreen()) {
        DrawLine3D(x1, y1, x2, y2, color, drawMode);
        return;
    }
    if (MemoryConditionHolds(false)) {
        MemoryImage::DrawLine(x1, y1, x2, y2, color, drawMode);
        return;
    }
    if (LineWalk::FillStraightLine(*this, x1, y1, x2, y2, color, drawMode))
        return;
    ScanAlpha();
    const uint64_t before = mSurfaceWrites;
    // Mode 2 draws lines like mode 0.
    if (drawMode == 0 || drawMode == 2) {
        if (antiAliased)
            SurfaceDrawLineAA(x1, y1, x2, y2, color);
        else
            SurfaceDrawLine(x1, y1, x2, y2, color);
    } else if (drawMode == 1) {
        if (antiAliased)
            SurfaceDrawLineAAAdditive(x1, y1, x2, y2, color);
        else
            SurfaceDrawLineAdditive(x1, y1, x2, y2, color);
    }
    EndSurfaceRoute(before);
}

void DDImage::Blt(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    src->mDrawn = true;
    ScanAlpha();
    if (Is3DScreen()) {
        Blt3D(src, x, y, srcRect, color, drawMode);
        return;
    }
    if (MemoryConditionHolds(true)) {
        MemoryImage::Blt(src, x, y, srcRect, color, drawMode);
        return;
    }
    const uint64_t before = mSurfaceWrites;
    if (drawMode == 0)
        SurfaceBlt(src, x, y, srcRect, color);
    else if (drawMode == 1)
        SurfaceBltAdditive(src, x, y, srcRect, color);
    EndSurfaceRoute(before);
}

void DDImage::BltF(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                   int drawMode)
{
    src->mDrawn = true;
    if (Is3DScreen()) {
        BltF3D(src, x, y, srcRect, clipRect, color, drawMode);
        return;
    }
    BltRotated(src, x, y, srcRect, clipRect, color, drawMode, 0.0, 0.0f, 0.0f);
}

void DDImage::BltRotated(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                         int drawMode, double angle, float centerX, float centerY)
{
    src->mDrawn = true;
    if (mNoDraw)
        return;
    ScanAlpha();
    if (Is3DScreen()) {
        BltRotated3D(src, x, y, srcRect, clipRect, color, drawMode, angle, centerX, centerY);
        return;
    }
    if (MemoryConditionHolds(false)) {
        MemoryImage::BltRotated(src, x, y, srcRect, clipRect, color, drawMode, angle, centerX, centerY);
        return;
    }
    const uint64_t before = mSurfaceWrites;
    SurfaceBltRotated(src, x, y, srcRect, clipRect, color, drawMode, angle, centerX, centerY);
    EndSurfaceRouteIfDrawn(before);
}

void DDImage::StretchBlt(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                         const Color& color, int drawMode, bool fastStretch)
{
    src->mDrawn = true;
    ScanAlpha();
    if (Is3DScreen()) {
        StretchBlt3D(src, destRect, srcRect, clipRect, color, drawMode, fastStretch);
        return;
    }
    Rect clipped;
    DoubleRect srcF;
    if (!ClipStretchRects(destRect, srcRect, clipRect, clipped, srcF))
        return;
    const uint64_t before = mSurfaceWrites;
    if (fastStretch) {
        auto* surfaceSource = dynamic_cast<DDImage*>(src);
        if (surfaceSource != nullptr && IsWhite(color) && drawMode == 0 && !surfaceSource->mHasAlpha
            && surfaceSource->GetSurface() != nullptr) {
            const RECT from{static_cast<int>(srcF.x), static_cast<int>(srcF.y), static_cast<int>(srcF.x + srcF.width),
                            static_cast<int>(srcF.y + srcF.height)};
            const RECT to{clipped.x, clipped.y, clipped.x + clipped.width, clipped.y + clipped.height};
            // A failed relock ends the call; the surface was drawn all the same.
            DirectDrawBlt(to, *surfaceSource, from);
            EndSurfaceRoute(before);
            return;
        }
        if (dynamic_cast<MemoryImage*>(src) != nullptr) {
            SurfaceStretchBlt(src, clipped, srcF, color, drawMode, false);
            EndSurfaceRouteIfDrawn(before);
            return;
        }
        EndSurfaceRoute(before);
        return;
    }
    if (MemoryConditionHolds(false)) {
        MemoryImage::StretchBlt(src, destRect, srcRect, clipRect, color, drawMode, false);
        return;
    }
    {
        MemoryImage stretched(mApp);
        stretched.Create(clipped.width, clipped.height);
        stretched.StretchBltFiltered(src, Rect(0, 0, clipped.width, clipped.height), srcF);
        // The blit is a surface route of its own and counts its change.
        Blt(&stretched, clipped.x, clipped.y, Rect(0, 0, clipped.width, clipped.height), color, drawMode);
    }
    if (mSurface != nullptr)
        FreeMemoryCopies();
}

void DDImage::BltMatrix(Image* src, float x, float y, const Matrix3x3& matrix, const Rect& clipRect,
                        const Color& color, int drawMode, const Rect& srcRect, bool linear)
{
    src->mDrawn = true;
    if (Is3DScreen()) {
        BltMatrix3D(src, x, y, matrix, clipRect, color, drawMode, srcRect, linear);
        return;
    }
    SurfacePixels::Target t;
    if (!LockForDrawing(t))
        return;
    const uint64_t before = mSurfaceWrites - (t.Drawable() ? 1 : 0);
    const int32_t format = RasterFormatOf(t);
    if (t.Drawable() && format != 0)
        RasterizeTransformedQuad(src, x, y, &matrix, &clipRect, &color, &srcRect, t.bits, t.pitch, format, linear);
    UnlockSurface();
    if (t.Drawable() && format == 0) {
        DrawThroughReadBack(clipRect, [&](MemoryImage& m) {
            m.MemoryImage::BltMatrix(src, x, y, matrix, clipRect, color, drawMode, srcRect, linear);
        });
    }
    EndSurfaceRoute(before);
}

void DDImage::BltTrianglesTex(Image* src, const TriVertex (*triangles)[3], int count, const Rect& clipRect,
                              const Color& color, int drawMode, float tx, float ty, bool linear)
{
    src->mDrawn = true;
    if (Is3DScreen()) {
        BltTrianglesTex3D(src, triangles, count, clipRect, color, drawMode, tx, ty, linear);
        return;
    }
    SurfacePixels::Target t;
    if (!LockForDrawing(t))
        return;
    const uint64_t before = mSurfaceWrites - (t.Drawable() ? 1 : 0);
    const int32_t format = RasterFormatOf(t);
    if (t.Drawable() && format != 0) {
        RasterizeTriangleList(src, triangles != nullptr ? triangles[0] : nullptr, count, &clipRect, &color, t.bits,
                              t.pitch, format, tx, ty, linear);
    }
    UnlockSurface();
    if (t.Drawable() && format == 0) {
        DrawThroughReadBack(clipRect, [&](MemoryImage& m) {
            m.MemoryImage::BltTrianglesTex(src, triangles, count, clipRect, color, drawMode, tx, ty, linear);
        });
    }
    EndSurfaceRoute(before);
}

void DDImage::BltMirror(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    ScanAlpha();
    if (Is3DScreen()) {
        BltMirror3D(src, x, y, srcRect, color, drawMode);
        return;
    }
    const uint64_t before = mSurfaceWrites;
    if (drawMode == 0)
        SurfaceBltMirror(src, x, y, srcRect, color);
    else if (drawMode == 1)
        SurfaceBltMirrorAdditive(src, x, y, srcRect, color);
    EndSurfaceRoute(before);
}

void DDImage::StretchBltMirror(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                               const Color& color, int drawMode, bool fastStretch)
{
    src->mDrawn = true;
    ScanAlpha();
    if (Is3DScreen()) {
        StretchBltMirror3D(src, destRect, srcRect, clipRect, color, drawMode, fastStretch);
        return;
    }
    Rect clipped;
    DoubleRect srcF;
    if (!ClipStretchRectsMirrored(destRect, srcRect, clipRect, clipped, srcF))
        return;
    const uint64_t before = mSurfaceWrites;
    SurfaceStretchBlt(src, clipped, srcF, color, drawMode, true);
    EndSurfaceRouteIfDrawn(before);
}

// The Direct3D routes of the 3D screen. None changes either form of the
// screen image; a textured route may give the source its textures and let it
// discard its pixel array.
bool DDImage::PolyFill3D3D(const Point* vertices, int count, const Rect* clipRect, const Color& color, int drawMode,
                           int tx, int ty)
{
    mDDInterface->mD3DInterface->FillPoly(vertices, count, clipRect, color, drawMode, tx, ty);
    return true;
}

void DDImage::FillRect3D(const Rect& rect, const Color& color, int drawMode)
{
    mDDInterface->mD3DInterface->FillRect(rect, color, drawMode);
}

void DDImage::DrawLine3D(double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    mDDInterface->mD3DInterface->DrawLine(color, drawMode, x1, y1, x2, y2);
}

void DDImage::Blt3D(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    auto* surfaceSource = dynamic_cast<DDImage*>(src);
    if (surfaceSource != nullptr && surfaceSource->mSurface != nullptr && drawMode == 0 && IsWhite(color) &&
        !surfaceSource->mHasAlpha) {
        DirectDrawBlt(RECT{x, y, x + srcRect.width, y + srcRect.height}, *surfaceSource,
                      RECT{srcRect.x, srcRect.y, srcRect.x + srcRect.width, srcRect.y + srcRect.height});
        return;
    }
    D3DInterface* d3d = mDDInterface->mD3DInterface;
    auto* source = dynamic_cast<MemoryImage*>(src);
    if (source == nullptr)
        return;
    if (TextureData* data = d3d->BeginTexturedDraw(source, drawMode, false))
        d3d->BltTextures(data, static_cast<float>(x), static_cast<float>(y), srcRect, color);
}

void DDImage::BltF3D(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                     int drawMode)
{
    auto* source = dynamic_cast<MemoryImage*>(src);
    if (source == nullptr)
        return;
    D3DInterface* d3d = mDDInterface->mD3DInterface;
    const DoubleRect visible = DoubleRect::Intersection(
        DoubleRect{double(clipRect.x), double(clipRect.y), double(clipRect.width), double(clipRect.height)},
        DoubleRect{double(x), double(y), double(srcRect.width), double(srcRect.height)});
    if (visible.width == double(srcRect.width) && visible.height == double(srcRect.height)) {
        if (TextureData* data = d3d->BeginTexturedDraw(source, drawMode, true))
            d3d->BltTextures(data, x, y, srcRect, color);
        return;
    }
    if (visible.width == 0.0 || visible.height == 0.0)
        return;
    d3d->BltTranslated(source, x, y, srcRect, &clipRect, color, drawMode);
}

void DDImage::BltRotated3D(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                           int drawMode, double angle, float centerX, float centerY)
{
    auto* source = dynamic_cast<MemoryImage*>(src);
    if (source == nullptr)
        return;
    Matrix3x3 matrix = Matrix3x3::Translation(-centerX, -centerY);
    matrix.Rotate(static_cast<float>(angle));
    matrix.Translate(x + centerX, y + centerY);
    mDDInterface->mD3DInterface->BltTransformed(source, &clipRect, color, drawMode, srcRect, matrix, true, 0.0f, 0.0f,
                                                false);
}

void DDImage::StretchBlt3D(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                           const Color& color, int drawMode, bool fastStretch)
{
    if (auto* source = dynamic_cast<MemoryImage*>(src))
        mDDInterface->mD3DInterface->StretchBlt(source, destRect, srcRect, &clipRect, color, drawMode, fastStretch,
                                                false);
}

void DDImage::BltMatrix3D(Image* src, float x, float y, const Matrix3x3& matrix, const Rect& clipRect,
                          const Color& color, int drawMode, const Rect& srcRect, bool linear)
{
    if (auto* source = dynamic_cast<MemoryImage*>(src))
        mDDInterface->mD3DInterface->BltTransformed(source, &clipRect, color, drawMode, srcRect, matrix, linear, x, y,
                                                    true);
}

void DDImage::BltTrianglesTex3D(Image* src, const TriVertex (*triangles)[3], int count, const Rect& clipRect,
                                const Color& color, int drawMode, float tx, float ty, bool linear)
{
    if (auto* source = dynamic_cast<MemoryImage*>(src))
        mDDInterface->mD3DInterface->BltTriangles(triangles != nullptr ? triangles[0] : nullptr, count, color,
                                                  drawMode, source, tx, ty, linear, &clipRect);
}

void DDImage::BltMirror3D(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    if (auto* source = dynamic_cast<MemoryImage*>(src))
        mDDInterface->mD3DInterface->BltMirror(source, static_cast<float>(x), static_cast<float>(y), srcRect, color,
                                               drawMode);
}

void DDImage::StretchBltMirror3D(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                                 const Color& color, int drawMode, bool fastStretch)
{
    if (auto* source = dynamic_cast<MemoryImage*>(src))
        mDDInterface->mD3DInterface->StretchBlt(source, destRect, srcRect, &clipRect, color, drawMode, fastStretch,
                                                true);
}

} // namespace Tandry
