// Blt and BltF of MemoryImage: the normal blit with its run, white and colour
// paths, and the additive blit, each reading ARGB or palettised sources.
// Every per-pixel step is a template over PixelLanes, run eight pixels at a
// time over the bulk of each row.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "graphics/image/AsMemoryImage.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/image/PixelBlend.h"
#include "graphics/image/PixelLanes.h"
#include "graphics/image/SaturationTable.h"
#include "graphics/image/SourceWords.h"
#include "graphics/types/ClampedColor.h"
#include "graphics/types/Rect.h"

namespace Tandry {

namespace {

using PixelBlend::Div255;
using PixelLanes::kLanes;

// Where a blit reads and writes: the first pixel of each rectangle and the
// distance between rows, in words.
struct BlitFrame {
    uint32_t* dest;
    int destPitch;
    size_t srcOrigin;
    int srcPitch;
    int width;
    int height;
};

// Pixels from..to of a row through op(destination, source), eight at a time
// while eight are left.
template <class Words, class Op>
TANDRY_LANE_INLINE void BlitSpan(uint32_t* d, const Words& words, size_t s, int from, int to, const Op& op)
{
    int i = from;
    for (; i + kLanes <= to; i += kLanes)
        PixelLanes::Store(d + i, op(PixelLanes::Load(d + i), words.Lanes(s + i)));
    for (; i < to; ++i)
        d[i] = op(d[i], words[s + i]);
}

template <class Words, class Op>
TANDRY_LANE_INLINE void BlitPixels(const BlitFrame& f, const Words& words, const Op& op)
{
    for (int r = 0; r < f.height; ++r)
        BlitSpan(f.dest + static_cast<ptrdiff_t>(r) * f.destPitch, words,
                 f.srcOrigin + static_cast<size_t>(r) * f.srcPitch, 0, f.width, op);
}

// Walks each row by the source's alpha runs: transparent runs are skipped,
// whole groups of eight pixels of an opaque or partly transparent run go
// through that run's step, and what is left of a short run goes, eight pixels
// at a time, through `mixed`, which must give each pixel what its own run's
// step gives it. Every path leaves a pixel of alpha 0 unchanged, so skipping
// is exact. The run byte of any pixel counts the pixels left in its run, so
// the walk may resume anywhere.
//
// A narrow blit (a small sprite, a glyph) has runs of a few pixels, and
// walking them costs more than blending every pixel through `mixed`, which
// gives the same pixels.
constexpr int kNarrowBlit = 2 * kLanes;

template <class Words, class Opaque, class Partial, class Mixed>
TANDRY_LANE_INLINE void BlitByRuns(const BlitFrame& f, const Words& words, const uint8_t* runs, const Opaque& opaque,
                                   const Partial& partial, const Mixed& mixed)
{
    if (f.width <= kNarrowBlit) {
        BlitPixels(f, words, mixed);
        return;
    }
    for (int r = 0; r < f.height; ++r) {
        uint32_t* d = f.dest + static_cast<ptrdiff_t>(r) * f.destPitch;
        const size_t s = f.srcOrigin + static_cast<size_t>(r) * f.srcPitch;
        for (int i = 0; i < f.width;) {
            const int n = std::min<int>(runs[s + i], f.width - i);
            const uint32_t alpha = words[s + i] >> 24;
            if (alpha == 0) {
                i += n;
            } else if (n >= kLanes) {
                const int whole = n - n % kLanes;
                if (alpha == 255)
                    BlitSpan(d, words, s, i, i + whole, opaque);
                else
                    BlitSpan(d, words, s, i, i + whole, partial);
                i += whole;
            } else if (f.width - i >= kLanes) {
                PixelLanes::Store(d + i, mixed(PixelLanes::Load(d + i), words.Lanes(s + i)));
                i += kLanes;
            } else {
                BlitSpan(d, words, s, i, i + n, mixed);
                i += n;
            }
        }
    }
}

// The run path onto an opaque destination: opaque runs are copied, and the
// partly transparent pixels blended into an opaque result.
struct Copy {
    template <class V>
    TANDRY_LANE_INLINE V operator()(const V&, const V& s) const
    {
        return s;
    }
};

struct OntoOpaque {
    template <class V>
    TANDRY_LANE_INLINE V operator()(const V& d, const V& s) const
    {
        return PixelBlend::BlitOntoOpaque(d, s);
    }
};

struct RunPathPixel {
    template <class V>
    TANDRY_LANE_INLINE V operator()(const V& d, const V& s) const
    {
        using namespace PixelLanes;
        const V a = s >> 24;
        return Select(IsZero(a), d, Select(IsAbove(a, 254), s, PixelBlend::BlitOntoOpaque(d, s)));
    }
};

// The white path; an opaque source pixel gives alpha 255 and a share of 255
// whatever lies below.
struct WhiteOver {
    template <class V>
    TANDRY_LANE_INLINE V operator()(const V& d, const V& s) const
    {
        return PixelBlend::BlitWhite(d, s);
    }
};

struct OpaqueOver {
    template <class V>
    TANDRY_LANE_INLINE V operator()(const V& d, const V& s) const
    {
        return 0xFF000000u | PixelBlend::MixSplitBlue(d, s, V{} + 255);
    }
};

// The colour path's blend: the source's alpha scaled by the colour's, then
// each channel of the source scaled by the colour channel over 256.
template <bool Grey>
struct TintOver {
    explicit TintOver(const ClampedColor& c) : alpha(c.alpha), red(c.red), green(c.green), blue(c.blue) {}

    template <class V>
    TANDRY_LANE_INLINE V operator()(const V& d, const V& s) const
    {
        const V a = Div255((s >> 24) * alpha);
        const V newA = PixelBlend::OverAlpha(d >> 24, a);
        const V l = PixelBlend::SourceShare(a, newA);
        const V k = 256 - l;
        const V sr = (s >> 16) & 255, sg = (s >> 8) & 255, sb = s & 255;
        const V dr = (d >> 16) & 255, dg = (d >> 8) & 255, db = d & 255;
        V r, g, b;
        if constexpr (Grey) {
            // One colour channel: the source is scaled before the share for
            // red and blue, after it for green.
            r = (((sr * red) >> 8) * l + dr * k) >> 8;
            g = (((sg * l * red) >> 8) + dg * k) >> 8;
            b = ((((sb * red) >> 8) * l) >> 8) + ((db * k) >> 8);
        } else {
            r = (sr * l * red + dr * k * 256) >> 16;
            g = (((sg * l * green) >> 8) + dg * k) >> 8;
            b = ((sb * l * blue) >> 16) + ((db * k) >> 8);
        }
        return PixelLanes::Select(PixelLanes::IsZero(a), d, newA << 24 | r << 16 | g << 8 | b);
    }

    uint32_t alpha, red, green, blue;
};

// The additive blit: each channel plus an amount from the source, saturated
// through the table; the destination alpha stays. A source without partial
// alpha is added whole, even where it is transparent.
template <bool White, bool SourceAlpha>
struct AddOp {
    AddOp(const ClampedColor& c, const Saturation& s)
        : saturation(s), kr(c.alpha * c.red / 255), kg(c.alpha * c.green / 255), kb(c.alpha * c.blue / 255)
    {
    }

    template <class V>
    TANDRY_LANE_INLINE V operator()(const V& d, const V& s) const
    {
        const V sa = s >> 24, sr = (s >> 16) & 255, sg = (s >> 8) & 255, sb = s & 255;
        V r, g, b;
        if constexpr (White && SourceAlpha) {
            // Red and blue share one product, green and alpha another.
            const V rb = (PixelLanes::MulHalves(s & 0xFF00FF, sa) >> 8) & 0xFF00FF;
            r = rb >> 16;
            g = (PixelLanes::MulHalves((s >> 8) & 0xFF00FF, sa) >> 8) & 255;
            b = rb & 255;
        } else if constexpr (White) {
            r = sr;
            g = sg;
            b = sb;
        } else if constexpr (SourceAlpha) {
            r = (sr * kr * sa) >> 16;
            g = (sg * kg * sa) >> 16;
            b = (((sb * kb) >> 8) * sa) >> 8;
        } else {
            r = (sr * kr) >> 8;
            g = (sg * kg) >> 8;
            b = (sb * kb) >> 8;
        }
        return PixelBlend::AddSaturated(d, r, g, b, saturation);
    }

    Saturation saturation;
    uint32_t kr, kg, kb;
};

// A step that leaves pixels under a transparent source pixel alone: by runs
// when there is a run table, else pixel by pixel.
template <class Words, class Op>
TANDRY_LANE_INLINE void SkipTransparent(const BlitFrame& f, const Words& words, const uint8_t* runs, const Op& op)
{
    if (runs)
        BlitByRuns(f, words, runs, op, op, op);
    else
        BlitPixels(f, words, op);
}

enum class BlitKind { Runs, White, Grey, Tint, Additive };

struct BlitJob {
    BlitFrame frame;
    BlitKind kind;
    ClampedColor color;
    // The source's alpha runs; the additive kind reads them only when the
    // source has partial alpha.
    const uint8_t* runs;
    // The additive kind: the source's partial-alpha flag and the table.
    bool sourceAlpha;
    Saturation saturation;
};

template <class Words>
TANDRY_LANE_INLINE void RunBlit(const BlitJob& job, const Words& words)
{
    const BlitFrame& f = job.frame;
    const ClampedColor& c = job.color;
    switch (job.kind) {
    case BlitKind::Runs:
        BlitByRuns(f, words, job.runs, Copy(), OntoOpaque(), RunPathPixel());
        break;
    case BlitKind::White:
        if (job.runs)
            BlitByRuns(f, words, job.runs, OpaqueOver(), WhiteOver(), WhiteOver());
        else
            BlitPixels(f, words, WhiteOver());
        break;
    case BlitKind::Grey:
        SkipTransparent(f, words, job.runs, TintOver<true>(c));
        break;
    case BlitKind::Tint:
        SkipTransparent(f, words, job.runs, TintOver<false>(c));
        break;
    case BlitKind::Additive:
        // Weighted by the source alpha, a transparent pixel adds nothing, so
        // transparent runs are skipped; unweighted, it adds its colour.
        if (c.IsWhite() && job.sourceAlpha)
            SkipTransparent(f, words, job.runs, AddOp<true, true>(c, job.saturation));
        else if (c.IsWhite())
            BlitPixels(f, words, AddOp<true, false>(c, job.saturation));
        else if (job.sourceAlpha)
            SkipTransparent(f, words, job.runs, AddOp<false, true>(c, job.saturation));
        else
            BlitPixels(f, words, AddOp<false, false>(c, job.saturation));
        break;
    }
}

// Every loop of the blits, compiled for AVX2 and for the baseline.
TANDRY_SOURCE_WORDS_ENTRY(RunBlitOf, BlitJob, RunBlit)

// The source's alpha run table, when it can be had without rescanning the
// source's alpha flags (only the run path rescans them); else null.
const uint8_t* RunsWithoutRescan(MemoryImage& source)
{
    return !source.mAlphaDirty || source.mForced ? source.GetAlphaRunTable() : nullptr;
}

} // namespace

void MemoryImage::Blt(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    src->mDrawn = true;
    if (drawMode != 0 && drawMode != 1)
        return;
    MemoryImage* source = AsMemoryImage(src);
    if (!source)
        return;

    const ClampedColor c(color);
    BlitJob job{{GetBits() + static_cast<ptrdiff_t>(y) * mWidth + x, mWidth,
                 static_cast<size_t>(srcRect.y) * source->mWidth + srcRect.x, source->mWidth, srcRect.width,
                 srcRect.height},
                BlitKind::Additive, c, nullptr, false, Saturation{}};
    if (drawMode == 1) {
        // The source's flag as it stands, without a fresh scan.
        job.sourceAlpha = source->mHasAlpha;
        job.saturation = SaturationOf(mApp);
        if (job.sourceAlpha)
            job.runs = RunsWithoutRescan(*source);
    } else {
        // The run path needs an opaque destination; the destination's flags
        // are taken as they stand, without a fresh scan.
        job.kind = !c.IsWhite() ? (c.IsGrey() ? BlitKind::Grey : BlitKind::Tint)
            : (!mHasAlpha && !mHasTrans) ? BlitKind::Runs
                                         : BlitKind::White;
        job.runs = job.kind == BlitKind::Runs ? source->GetAlphaRunTable() : RunsWithoutRescan(*source);
    }
    VisitSourceWords(*source, [&job](const auto& words) { RunBlitOf(job, words); });
    MarkBitsChanged();
}

// A float-positioned blit is the rotated blit at angle 0, so it is resampled.
void MemoryImage::BltF(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                       int drawMode)
{
    src->mDrawn = true;
    BltRotated(src, x, y, srcRect, clipRect, color, drawMode, 0.0, 0.0f, 0.0f);
}

} // namespace Tandry
