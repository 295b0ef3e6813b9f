// BltRotated of MemoryImage: bilinear sampling in 16.16 along each row of the
// rotated box, combined normally or additively, white or coloured, from ARGB
// or palettised sources. The eight variants share the geometry and the
// sampling and differ only in the combining step and the source reader. The
// per-pixel steps are templates over PixelLanes, run eight pixels at a time.
#include <cstddef>
#include <cstdint>

#include "graphics/image/BilinearSample.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/image/PixelBlend.h"
#include "graphics/image/PixelLanes.h"
#include "graphics/image/RotatedBlitGeometry.h"
#include "graphics/image/SaturationTable.h"
#include "graphics/image/SourceWords.h"
#include "graphics/types/ClampedColor.h"

namespace Tandry {

namespace {

using PixelLanes::kLanes;
using PixelLanes::U32x8;
using namespace BilinearSampling;

template <class V>
TANDRY_LANE_INLINE V BlendChannel(const V& d, const V& m, const V& da, const V& rest, const V& n, int shift)
{
    return PixelLanes::Quotient(m * 256 + ((((d >> shift) & 255) * da) >> 8) * rest, n) << shift;
}

// Lays colour (r, g, b) at alpha a (1..255) over d. Nearly opaque samples
// replace the pixel outright.
template <class V>
TANDRY_LANE_INLINE V NormalCombine(const V& d, const V& a, const V& r, const V& g, const V& b)
{
    using namespace PixelLanes;
    const V da = d >> 24;
    const V rest = 256 - a;
    V n = 256 - (((256 - da) * rest) >> 8);
    // Lanes of alpha 0, which are not written, must not divide by 0.
    n |= IsZero(n) & 1;
    const V blended = (n - 1) << 24 | BlendChannel(d, r, da, rest, n, 16) | BlendChannel(d, g, da, rest, n, 8)
        | BlendChannel(d, b, da, rest, n, 0);
    return Select(IsAbove(a, 250), 0xFF000000u | r << 16 | g << 8 | b, blended);
}

struct NormalWhite {
    template <class V>
    TANDRY_LANE_INLINE V operator()(const V& d, const Sample<V>& s) const
    {
        return NormalCombine(d, s.alpha, s.red >> 8, s.green >> 8, s.blue >> 8);
    }
};

// Red is scaled from the full sum, green and blue from the rounded-down mean.
struct NormalColoured {
    explicit NormalColoured(const ClampedColor& c) : red(c.red + 1), green(c.green + 1), blue(c.blue + 1) {}
    template <class V>
    TANDRY_LANE_INLINE V operator()(const V& d, const Sample<V>& s) const
    {
        return NormalCombine(d, s.alpha, (s.red * red) >> 16, ((s.green >> 8) * green) >> 8,
                             ((s.blue >> 8) * blue) >> 8);
    }
    uint32_t red, green, blue;
};

struct AdditiveWhite {
    template <class V>
    TANDRY_LANE_INLINE V operator()(const V& d, const Sample<V>& s) const
    {
        return PixelBlend::AddSaturated(d, s.red >> 8, s.green >> 8, s.blue >> 8, saturation);
    }
    Saturation saturation;
};

struct AdditiveColoured {
    AdditiveColoured(const ClampedColor& c, const Saturation& s)
        : saturation(s), red(c.alpha * c.red / 255), green(c.alpha * c.green / 255), blue(c.alpha * c.blue / 255)
    {
    }
    template <class V>
    TANDRY_LANE_INLINE V operator()(const V& d, const Sample<V>& s) const
    {
        return PixelBlend::AddSaturated(d, ((s.red >> 8) * red) >> 8, (s.green * green) >> 16,
                                        (s.blue * blue) >> 16, saturation);
    }
    Saturation saturation;
    uint32_t red, green, blue;
};

enum class RotateKind { NormalWhite, NormalColoured, AdditiveWhite, AdditiveColoured };

struct RotateJob {
    uint32_t* bits;
    int pitch;
    uint32_t origin;
    uint32_t srcPitch;
    const RotatedBlitGeometry* geometry;
    RotateKind kind;
    ClampedColor color;
    Saturation saturation;
};

template <class Words, class Combine>
TANDRY_LANE_INLINE void DrawRotated(const RotateJob& job, const Words& words, const Combine& combine)
{
    // With a colour other than white the normal variant scales the weighted
    // alphas by the colour alpha.
    const uint32_t alphaScale = job.kind == RotateKind::NormalColoured ? job.color.alpha : 256;
    const RotatedBlitGeometry& geometry = *job.geometry;
    const uint32_t du = static_cast<uint32_t>(geometry.CosStep());
    const uint32_t dv = static_cast<uint32_t>(geometry.SinStep());
    const U32x8 steps{0, 1, 2, 3, 4, 5, 6, 7};
    RotatedSpan span;
    for (int r = 0; r < geometry.RowCount(); ++r) {
        if (!geometry.Row(r, span))
            continue;
        uint32_t* d = job.bits + static_cast<ptrdiff_t>(span.destY) * job.pitch + span.destX;
        uint32_t u = static_cast<uint32_t>(span.u);
        uint32_t v = static_cast<uint32_t>(span.v);
        int i = 0;
        for (; i + kLanes <= span.count; i += kLanes, u += kLanes * du, v += kLanes * dv) {
            const U32x8 dest = PixelLanes::Load(d + i);
            const Sample<U32x8> s = Bilinear(words, job.origin, job.srcPitch, u + steps * du, v + steps * dv,
                                             alphaScale);
            PixelLanes::Store(d + i, PixelLanes::Select(PixelLanes::IsZero(s.alpha), dest, combine(dest, s)));
        }
        for (; i < span.count; ++i, u += du, v += dv) {
            const Sample<uint32_t> s = Bilinear(words, job.origin, job.srcPitch, u, v, alphaScale);
            if (s.alpha != 0)
                d[i] = combine(d[i], s);
        }
    }
}

template <class Words>
TANDRY_LANE_INLINE void RunRotate(const RotateJob& job, const Words& words)
{
    switch (job.kind) {
    case RotateKind::NormalWhite:
        DrawRotated(job, words, NormalWhite());
        break;
    case RotateKind::NormalColoured:
        DrawRotated(job, words, NormalColoured(job.color));
        break;
    case RotateKind::AdditiveWhite:
        DrawRotated(job, words, AdditiveWhite{job.saturation});
        break;
    case RotateKind::AdditiveColoured:
        DrawRotated(job, words, AdditiveColoured(job.color, job.saturation));
        break;
    }
}

// Every loop of the rotated blit, compiled for AVX2 and for the baseline.
TANDRY_SOURCE_WORDS_ENTRY(RunRotateOf, RotateJob, RunRotate)

} // namespace

// Draw mode 0 draws normally, every other mode additively.
void MemoryImage::BltRotated(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect,
                             const Color& color, int drawMode, double angle, float centerX, float centerY)
{
    src->mDrawn = true;
    const DoubleRect box = RotatedBounds(x, y, srcRect, clipRect, angle, centerX, centerY);
    if (!(box.width > 0 && box.height > 0))
        return;
    auto* source = dynamic_cast<MemoryImage*>(src);
    if (!source)
        return;

    const RotatedBlitGeometry geometry(x, y, srcRect, angle, centerX, centerY, box);
    const ClampedColor c(color);
    const RotateKind kind = drawMode == 0 ? (c.IsWhite() ? RotateKind::NormalWhite : RotateKind::NormalColoured)
                                          : (c.IsWhite() ? RotateKind::AdditiveWhite : RotateKind::AdditiveColoured);
    const RotateJob job{GetBits(),
                        mWidth,
                        static_cast<uint32_t>(srcRect.y) * static_cast<uint32_t>(source->mWidth)
                            + static_cast<uint32_t>(srcRect.x),
                        static_cast<uint32_t>(source->mWidth),
                        &geometry,
                        kind,
                        c,
                        SaturationOf(mApp)};
    VisitSourceWords(*source, [&job](const auto& words) { RunRotateOf(job, words); });
    MarkBitsChanged();
}

} // namespace Tandry
