// The drawing slots of a surface image. Until the surface routines exist, an
// opaque surface image is drawn through a memory copy of the part the call
// can change; opaque fills and blits of colours whose channels are 0 or 255
// come out as the surface routines will draw them.
#include "graphics/display/DDImage.h"

#include "graphics/display/DDInterface.h"
#include "graphics/display/SurfaceConverter.h"
#include "graphics/image/ImageArray.h"

#include <algorithm>
#include <cmath>

namespace Tandry {

namespace {

// The pixels a line can touch, with a pixel of margin for the anti-aliased
// line's neighbours; an end point that is not a finite number could be anywhere.
Rect LineBounds(double x1, double y1, double x2, double y2, const Rect& whole)
{
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return whole;
    const auto edge = [](double v, int lo, int hi) { return static_cast<int>(std::clamp(v, double(lo), double(hi))); };
    const int right = whole.x + whole.width;
    const int bottom = whole.y + whole.height;
    const int left = edge(std::floor(std::min(x1, x2)) - 1, whole.x, right);
    const int top = edge(std::floor(std::min(y1, y2)) - 1, whole.y, bottom);
    const int x2Edge = edge(std::floor(std::max(x1, x2)) + 2, whole.x, right);
    const int y2Edge = edge(std::floor(std::max(y1, y2)) + 2, whole.y, bottom);
    return Rect(left, top, x2Edge - left, y2Edge - top);
}

Rect SpanBounds(const Span* spans, int count)
{
    if (spans == nullptr || count <= 0)
        return Rect();
    int64_t left = INT32_MAX;
    int64_t top = INT32_MAX;
    int64_t right = INT32_MIN;
    int64_t bottom = INT32_MIN;
    for (int i = 0; i < count; ++i) {
        left = std::min<int64_t>(left, spans[i].x);
        right = std::max<int64_t>(right, int64_t{spans[i].x} + std::max(spans[i].width, 0));
        top = std::min<int64_t>(top, spans[i].y);
        bottom = std::max<int64_t>(bottom, int64_t{spans[i].y} + 1);
    }
    const auto cut = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2)); };
    return Rect(cut(left), cut(top), cut(right - left), cut(bottom - top));
}

} // namespace

template <class Draw>
void DDImage::RouteDrawing(const Rect& area, Draw draw)
{
    ScanAlpha();
    if (mSurface == nullptr || mHasAlpha || mHasTrans) {
        draw(static_cast<MemoryImage&>(*this));
        return;
    }
    if (mNoDraw || !LockSurface())
        return;
    const Rect part = Rect::Intersection(area, Rect(0, 0, mWidth, mHeight));
    const SurfaceConverter converter = LockedConverter();
    const SurfaceMemory memory{static_cast<uint8_t*>(mLockDesc.lpSurface), mLockDesc.lPitch,
                               static_cast<int>(mLockDesc.ddpfPixelFormat.dwRGBBitCount)};
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
    UnlockSurface();
    FreeMemoryCopies();
}

void DDImage::FillRect(const Rect& rect, const Color& color, int drawMode)
{
    RouteDrawing(rect, [&](MemoryImage& target) { target.MemoryImage::FillRect(rect, color, drawMode); });
}

void DDImage::ClearRect(const Rect& rect)
{
    RouteDrawing(rect, [&](MemoryImage& target) { target.MemoryImage::ClearRect(rect); });
}

void DDImage::DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    RouteDrawing(LineBounds(x1, y1, x2, y2, Rect(0, 0, mWidth, mHeight)),
                 [&](MemoryImage& target) { target.MemoryImage::DrawLine(x1, y1, x2, y2, color, drawMode); });
}

void DDImage::DrawLineAA(double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    RouteDrawing(LineBounds(x1, y1, x2, y2, Rect(0, 0, mWidth, mHeight)),
                 [&](MemoryImage& target) { target.MemoryImage::DrawLineAA(x1, y1, x2, y2, color, drawMode); });
}

void DDImage::FillScanLinesWithCoverage(const Span* spans, int count, const Color& color, int drawMode,
                                        const uint8_t* coverage, int coverageX, int coverageY, int coveragePitch,
                                        int unused)
{
    RouteDrawing(SpanBounds(spans, count), [&](MemoryImage& target) {
        target.MemoryImage::FillScanLinesWithCoverage(spans, count, color, drawMode, coverage, coverageX, coverageY,
                                                      coveragePitch, unused);
    });
}

void DDImage::Blt(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    RouteDrawing(Rect(x, y, srcRect.width, srcRect.height),
                 [&](MemoryImage& target) { target.MemoryImage::Blt(src, x, y, srcRect, color, drawMode); });
}

void DDImage::BltF(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                   int drawMode)
{
    RouteDrawing(clipRect,
                 [&](MemoryImage& target) { target.MemoryImage::BltF(src, x, y, srcRect, clipRect, color, drawMode); });
}

void DDImage::BltRotated(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                         int drawMode, double angle, float centerX, float centerY)
{
    RouteDrawing(clipRect, [&](MemoryImage& target) {
        target.MemoryImage::BltRotated(src, x, y, srcRect, clipRect, color, drawMode, angle, centerX, centerY);
    });
}

void DDImage::StretchBlt(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                         const Color& color, int drawMode, bool fastStretch)
{
    RouteDrawing(Rect::Intersection(destRect, clipRect), [&](MemoryImage& target) {
        target.MemoryImage::StretchBlt(src, destRect, srcRect, clipRect, color, drawMode, fastStretch);
    });
}

void DDImage::BltMatrix(Image* src, float x, float y, const Matrix3x3& matrix, const Rect& clipRect,
                        const Color& color, int drawMode, const Rect& srcRect, bool linear)
{
    RouteDrawing(clipRect, [&](MemoryImage& target) {
        target.MemoryImage::BltMatrix(src, x, y, matrix, clipRect, color, drawMode, srcRect, linear);
    });
}

void DDImage::BltTrianglesTex(Image* src, const TriVertex (*triangles)[3], int count, const Rect& clipRect,
                              const Color& color, int drawMode, float tx, float ty, bool linear)
{
    RouteDrawing(clipRect, [&](MemoryImage& target) {
        target.MemoryImage::BltTrianglesTex(src, triangles, count, clipRect, color, drawMode, tx, ty, linear);
    });
}

void DDImage::BltMirror(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    RouteDrawing(Rect(x, y, srcRect.width, srcRect.height),
                 [&](MemoryImage& target) { target.MemoryImage::BltMirror(src, x, y, srcRect, color, drawMode); });
}

void DDImage::StretchBltMirror(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                               const Color& color, int drawMode, bool fastStretch)
{
    RouteDrawing(Rect::Intersection(destRect, clipRect), [&](MemoryImage& target) {
        target.MemoryImage::StretchBltMirror(src, destRect, srcRect, clipRect, color, drawMode, fastStretch);
    });
}

} // namespace Tandry
