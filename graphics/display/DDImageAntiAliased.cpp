// The soft-edged drawing of a surface image: the anti-aliased line and the
// coverage-weighted span fill straight into the locked surface, and the
// coverage fill of the 3D screen through a temporary memory image. The line
// blends in the surface's own form (lanes on 32 bits, spread words on 565
// and 555, per mask otherwise); the fill always blends per mask.
#include "graphics/display/DDImage.h"

#include "graphics/display/SurfacePixels.h"
#include "graphics/image/LineWalk.h"
#include "graphics/types/ClampedColor.h"
#include "graphics/types/Span.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Tandry {

using namespace SurfacePixels;

namespace {

// The colour in the surface's layout, each channel scaled by mask / 256
// without rounding (255 becomes 254 in an 8-bit field).
uint32_t SurfaceColour(const Target& t, const ClampedColor& c)
{
    return (((c.red * t.red) >> 8) & t.red) | (((c.green * t.green) >> 8) & t.green)
        | (((c.blue * t.blue) >> 8) & t.blue);
}

struct LaneBlend {
    uint32_t operator()(uint32_t d, uint32_t col, uint32_t w) const
    {
        return ((((d & 0xFF00FFu) * (256 - w) + (col & 0xFF00FFu) * w) >> 8) & 0xFF00FFu)
            | ((((d & 0xFF00u) * (256 - w) + (col & 0xFF00u) * w) >> 8) & 0xFF00u);
    }
};

template <uint32_t Mask>
struct SpreadBlend {
    uint32_t operator()(uint32_t d, uint32_t col, uint32_t w) const
    {
        return Fold((((w >> 3) * Spread(col, Mask)) >> 5) & Mask)
            + Fold(((Spread(d, Mask) * ((256 - w) >> 3)) >> 5) & Mask);
    }
};

struct MaskBlend {
    uint32_t masks[3];
    uint32_t operator()(uint32_t d, uint32_t col, uint32_t w) const
    {
        return BlendByMasks(d, col, 256 - w, MaskFactors{{masks[0], masks[1], masks[2]}, {w, w, w}});
    }
};

// Pixel (x, y) lies y pitches and x pixels from the first.
template <class Pixel>
Pixel& PixelAt(const Target& t, int x, int y)
{
    return *reinterpret_cast<Pixel*>(t.bits + static_cast<ptrdiff_t>(y) * t.pitch
                                     + static_cast<ptrdiff_t>(x) * static_cast<ptrdiff_t>(sizeof(Pixel)));
}

template <class Pixel, class Blend>
class SurfaceLinePlot {
public:
    SurfaceLinePlot(const Target& t, int width, int height, uint32_t col, uint32_t alpha, const Blend& blend)
        : mTarget(t), mWidth(width), mHeight(height), mCol(col), mAlpha(alpha), mBlend(blend)
    {
    }

    int Height() const { return mHeight; }
    int RowLength() const { return mTarget.pitch / static_cast<int32_t>(sizeof(Pixel)); }

    void operator()(int x, int y, uint32_t w) const
    {
        if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
            return;
        if (mAlpha < 255)
            w = (w * (mAlpha + 1)) >> 8;
        Pixel& p = PixelAt<Pixel>(mTarget, x, y);
        p = static_cast<Pixel>(mBlend(p, mCol, w));
    }

private:
    Target mTarget;
    int mWidth;
    int mHeight;
    uint32_t mCol;
    uint32_t mAlpha;
    Blend mBlend;
};

template <class Pixel, class Blend>
void WalkOn(const Target& t, int width, int height, uint32_t col, uint32_t alpha, const Blend& blend, double x1,
            double y1, double x2, double y2)
{
    LineWalk::WalkLineAA(x1, y1, x2, y2, SurfaceLinePlot<Pixel, Blend>(t, width, height, col, alpha, blend));
}

// The line in the blend form of the surface's layout.
void DrawLineOn(const Target& t, int width, int height, const ClampedColor& c, double x1, double y1, double x2,
                double y2)
{
    const uint32_t col = SurfaceColour(t, c);
    if (t.bitsPerPixel == 32)
        WalkOn<uint32_t>(t, width, height, col, c.alpha, LaneBlend(), x1, y1, x2, y2);
    else if (t.green == kGreen565)
        WalkOn<uint16_t>(t, width, height, col, c.alpha, SpreadBlend<kSpread565>(), x1, y1, x2, y2);
    else if (t.green == kGreen555)
        WalkOn<uint16_t>(t, width, height, col, c.alpha, SpreadBlend<kSpread555>(), x1, y1, x2, y2);
    else
        WalkOn<uint16_t>(t, width, height, col, c.alpha, MaskBlend{{t.red, t.green, t.blue}}, x1, y1, x2, y2);
}

// The spans and the coverage mask of one fill; the byte of pixel (x, y) is at
// (y - coverY) * coverPitch + (x - coverX).
struct CoverageJob {
    const Span* spans;
    int count;
    const uint8_t* coverage;
    int coverX;
    int coverY;
    int coverPitch;
};

// Every pixel blends per mask with w = ((coverage + 1) * alpha) >> 8. Pixels
// outside the image are left out, never moved onto others.
template <class Pixel, class Blend>
void FillSpansOn(const Target& t, int width, int height, const ClampedColor& c, const CoverageJob& job,
                 const Blend& blend)
{
    const uint32_t col = SurfaceColour(t, c);
    for (int i = 0; i < job.count; ++i) {
        const Span& s = job.spans[i];
        if (s.y < 0 || s.y >= height)
            continue;
        const int first = std::max(s.x, 0);
        const int end = static_cast<int>(std::min<int64_t>(int64_t{s.x} + s.width, width));
        const uint8_t* cov = job.coverage + static_cast<ptrdiff_t>(s.y - job.coverY) * job.coverPitch
            + (static_cast<ptrdiff_t>(first) - job.coverX);
        Pixel* p = &PixelAt<Pixel>(t, first, s.y);
        for (int x = first; x < end; ++x, ++p, ++cov)
            *p = static_cast<Pixel>(blend(*p, col, ((*cov + 1u) * c.alpha) >> 8));
    }
}

// The smallest box around the spans, in 64 bits; empty for spans without pixels.
struct SpanBox {
    int64_t minX = INT64_MAX;
    int64_t minY = INT64_MAX;
    int64_t maxX = INT64_MIN;
    int64_t maxY = INT64_MIN;

    bool Empty() const { return maxX < minX || maxY < minY; }
};

SpanBox BoxOf(const Span* spans, int count)
{
    SpanBox box;
    for (int i = 0; i < count; ++i) {
        box.minX = std::min<int64_t>(box.minX, spans[i].x);
        box.maxX = std::max<int64_t>(box.maxX, int64_t{spans[i].x} + spans[i].width - 1);
        box.minY = std::min<int64_t>(box.minY, spans[i].y);
        box.maxY = std::max<int64_t>(box.maxY, spans[i].y);
    }
    return box;
}

// Larger boxes than a surface can have come only from broken spans.
constexpr int64_t kMaxBoxSide = 32768;

} // namespace

void DDImage::SurfaceDrawLineAA(double x1, double y1, double x2, double y2, const Color& color)
{
    Target t;
    if (!LockForDrawing(t))
        return;
    if (t.Drawable())
        DrawLineOn(t, mWidth, mHeight, ClampedColor(color), x1, y1, x2, y2);
    UnlockSurface();
}

void DDImage::SurfaceDrawLineAAAdditive(double, double, double, double, const Color&) {}

void DDImage::FillScanLinesWithCoverage(const Span* spans, int count, const Color& color, int drawMode,
                                        const uint8_t* coverage, int coverageX, int coverageY, int coveragePitch,
                                        int unused)
{
    if (spans == nullptr || count <= 0)
        return;
    if (!Is3DScreen()) {
        const uint64_t before = mSurfaceWrites;
        SurfaceFillScanLinesWithCoverage(spans, count, color, drawMode, coverage, coverageX, coverageY,
                                         coveragePitch, unused);
        EndSurfaceRouteIfDrawn(before);
        return;
    }
    // The 3D screen draws the spans into a temporary image of their box and
    // blits it. The spans are moved into the box on a copy: the caller may
    // draw the same spans again.
    const SpanBox box = BoxOf(spans, count);
    if (box.Empty() || box.maxX - box.minX >= kMaxBoxSide || box.maxY - box.minY >= kMaxBoxSide)
        return;
    const int minX = static_cast<int>(box.minX), minY = static_cast<int>(box.minY);
    const int width = static_cast<int>(box.maxX - box.minX + 1), height = static_cast<int>(box.maxY - box.minY + 1);
    std::vector<Span> moved(spans, spans + count);
    for (Span& s : moved) {
        s.x -= minX;
        s.y -= minY;
    }
    MemoryImage temporary(mApp);
    temporary.Create(width, height);
    temporary.FillScanLinesWithCoverage(moved.data(), count, color, drawMode, coverage, coverageX - minX,
                                        coverageY - minY, coveragePitch, unused);
    Blt(&temporary, minX, minY, Rect(0, 0, width, height), Color(255, 255, 255, 255), drawMode);
}

void DDImage::SurfaceFillScanLinesWithCoverage(const Span* spans, int count, const Color& color, int,
                                               const uint8_t* coverage, int coverageX, int coverageY,
                                               int coveragePitch, int)
{
    Target t;
    if (!LockForDrawing(t))
        return;
    if (t.Drawable()) {
        const CoverageJob job{spans, count, coverage, coverageX, coverageY, coveragePitch};
        const MaskBlend byMasks{{t.red, t.green, t.blue}};
        // With one whole byte per channel the per-mask blend is the lane blend,
        // which does the three channels in two products.
        const auto wholeByte = [](uint32_t m) { return m == 0xFFu || m == 0xFF00u || m == 0xFF0000u; };
        const bool byteLanes = (t.red | t.green | t.blue) == 0xFFFFFFu && wholeByte(t.red) && wholeByte(t.green)
            && wholeByte(t.blue);
        if (t.bitsPerPixel == 32 && byteLanes)
            FillSpansOn<uint32_t>(t, mWidth, mHeight, ClampedColor(color), job, LaneBlend());
        else if (t.bitsPerPixel == 32)
            FillSpansOn<uint32_t>(t, mWidth, mHeight, ClampedColor(color), job, byMasks);
        else
            FillSpansOn<uint16_t>(t, mWidth, mHeight, ClampedColor(color), job, byMasks);
    }
    UnlockSurface();
}

} // namespace Tandry
