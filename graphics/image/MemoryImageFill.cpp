// FillRect, ClearRect and the coverage fill of MemoryImage.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "graphics/image/CoverageMaskFill.h"
#include "graphics/image/LaneTail.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/image/PixelBlend.h"
#include "graphics/image/PixelLanes.h"
#include "graphics/types/ClampedColor.h"
#include "graphics/types/Rect.h"
#include "graphics/types/Span.h"

namespace Tandry {

namespace {

// Over opaque pixels the result alpha is 255 and the colour's share its
// alpha, so eight opaque pixels need no more than the mix.
TANDRY_LANE_CLONES
void FillRowOver(uint32_t* row, int count, uint32_t rgb, uint32_t alpha)
{
    using namespace PixelLanes;
    const U32x8 colour = Splat(rgb);
    const U32x8 a = Splat(alpha);
    int i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        const U32x8 d = Load(row + i);
        if (AllZero(~IsEqual(d >> 24, Splat(255))))
            Store(row + i, 0xFF000000u | PixelBlend::MixSummed(d, colour, a));
        else
            Store(row + i, PixelBlend::FillOver(d, colour, a));
    }
    for (; i < count; ++i)
        row[i] = PixelBlend::FillOver(row[i], rgb, alpha);
}

using U8x8 = uint8_t __attribute__((vector_size(8)));

// How a coverage byte of 255 is drawn: blended like any other, or stored as
// a fill would store the colour, which a mask in an opaque colour asks for
// (the blend never gives an opaque colour exactly).
enum class FullCoverage { Blend, Store };

// Eight pixels of the coverage fill: each gets the colour at alpha
// (alpha * (coverage + 1)) >> 8, and a pixel whose alpha comes to 0 is left
// alone. Over eight opaque pixels the result alpha is 255 and the share the
// pixel's alpha, and a share of 0 gives the pixel back, so no lane needs the
// alpha arithmetic.
template <FullCoverage Full>
TANDRY_LANE_INLINE PixelLanes::U32x8 CoverLanes(const PixelLanes::U32x8& d, const U8x8& coverage,
                                                const PixelLanes::U32x8& colour,
                                                const PixelLanes::U32x8& colourAlpha)
{
    using namespace PixelLanes;
    const U32x8 c = __builtin_convertvector(coverage, U32x8);
    const U32x8 a = (colourAlpha * (c + 1)) >> 8;
    U32x8 out;
    if (AllZero(~IsEqual(d >> 24, Splat(255))))
        out = 0xFF000000u | PixelBlend::MixSummed(d, colour, a);
    else
        out = Select(IsZero(a), d, PixelBlend::FillOver(d, colour, a));
    if constexpr (Full == FullCoverage::Store)
        out = Select(IsEqual(c, Splat(255)), 0xFF000000u | colour, out);
    return out;
}

// One span of the coverage fill, eight pixels at a time; eight pixels without
// coverage cost one test, and under Store eight fully covered ones a store.
// The tail of fewer than eight goes through the same steps with no coverage
// past the span, which leaves those pixels as they are: in place where eight
// words are left before end (text spans are short, and a copy costs a
// stalled load), else on a copy padded with opaque black of which only the
// tail is written back. The coverage tail is gathered in a register, as the
// mask's own end is not known.
template <FullCoverage Full>
TANDRY_LANE_INLINE void FillCoverageRow(uint32_t* row, const uint8_t* cov, int count, const uint32_t* end,
                                        const PixelLanes::U32x8& colour, const PixelLanes::U32x8& colourAlpha)
{
    using namespace PixelLanes;
    int i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        uint64_t bits;
        std::memcpy(&bits, cov + i, sizeof bits);
        if (bits == 0)
            continue;
        if (Full == FullCoverage::Store && bits == ~uint64_t{0}) {
            Store(row + i, 0xFF000000u | colour);
            continue;
        }
        U8x8 c;
        std::memcpy(&c, &bits, sizeof c);
        Store(row + i, CoverLanes<Full>(Load(row + i), c, colour, colourAlpha));
    }
    if (i == count)
        return;
    uint64_t bits = 0;
    for (int k = 0; i + k < count; ++k)
        bits |= uint64_t{cov[i + k]} << (8 * k);
    if (bits == 0)
        return;
    U8x8 c;
    std::memcpy(&c, &bits, sizeof c);
    uint32_t* d = row + i;
    if (end - d >= kLanes) {
        Store(d, CoverLanes<Full>(Load(d), c, colour, colourAlpha));
        return;
    }
    const size_t n = static_cast<size_t>(count - i);
    uint32_t below[kLanes] = {0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF000000u,
                              0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF000000u};
    LaneTail::CopyFew(below, d, n);
    Store(below, CoverLanes<Full>(Load(below), c, colour, colourAlpha));
    LaneTail::CopyFew(d, below, n);
}

// Where the coverage fill draws and with what: the mask is addressed from
// its own origin and pitch.
struct CoverageJob {
    uint32_t* bits;
    int width;
    const uint32_t* end;
    const uint8_t* coverage;
    int coverageX;
    int coverageY;
    int coveragePitch;
    uint32_t rgb;
    uint32_t alpha;
};

template <FullCoverage Full>
TANDRY_LANE_INLINE void FillCoverageAt(const CoverageJob& job, int y, int x, int count)
{
    uint32_t* row = job.bits + static_cast<ptrdiff_t>(y) * job.width + x;
    const uint8_t* cov =
        job.coverage + static_cast<ptrdiff_t>(y - job.coverageY) * job.coveragePitch + (x - job.coverageX);
    FillCoverageRow<Full>(row, cov, count, job.end, PixelLanes::Splat(job.rgb), PixelLanes::Splat(job.alpha));
}

// The coverage fill's spans, all in one call: text sends many short ones.
TANDRY_LANE_CLONES
void FillCoverageSpans(const CoverageJob& job, const Span* spans, int count)
{
    for (int i = 0; i < count; ++i) {
        if (spans[i].width > 0)
            FillCoverageAt<FullCoverage::Blend>(job, spans[i].y, spans[i].x, spans[i].width);
    }
}

// A whole mask over area, in one call.
TANDRY_LANE_CLONES
void FillCoverageArea(const CoverageJob& job, const Rect& area, bool opaque)
{
    for (int y = area.y; y < area.y + area.height; ++y) {
        if (opaque)
            FillCoverageAt<FullCoverage::Store>(job, y, area.x, area.width);
        else
            FillCoverageAt<FullCoverage::Blend>(job, y, area.x, area.width);
    }
}

TANDRY_LANE_CLONES
void FillRowOpaque(uint32_t* row, int count, uint32_t packed)
{
    std::fill_n(row, count, packed);
}

// Calls f(row, count) for each row of rect in the pixel array.
template <class F>
void ForEachRow(uint32_t* bits, int pitch, const Rect& rect, F&& f)
{
    if (rect.width <= 0)
        return;
    for (int y = 0; y < rect.height; ++y)
        f(bits + static_cast<ptrdiff_t>(rect.y + y) * pitch + rect.x, rect.width);
}

CoverageJob CoverageJobOf(MemoryImage& image, const Color& color, const uint8_t* coverage, int coverageX,
                          int coverageY, int coveragePitch)
{
    const ClampedColor c(color);
    uint32_t* bits = image.GetBits();
    return {bits,
            image.mWidth,
            bits + static_cast<ptrdiff_t>(image.mWidth) * image.mHeight,
            coverage,
            coverageX,
            coverageY,
            coveragePitch,
            c.Rgb(),
            c.alpha};
}

} // namespace

// The draw mode is not used: a memory image fills with the normal blend in every mode.
void MemoryImage::FillRect(const Rect& rect, const Color& color, int)
{
    const ClampedColor c(color);
    uint32_t* bits = GetBits();
    if (c.alpha == 255) {
        const uint32_t packed = c.Packed();
        ForEachRow(bits, mWidth, rect, [packed](uint32_t* row, int count) { FillRowOpaque(row, count, packed); });
    } else if (c.alpha != 0) {
        const uint32_t rgb = c.Rgb();
        const uint32_t alpha = c.alpha;
        ForEachRow(bits, mWidth, rect,
                   [rgb, alpha](uint32_t* row, int count) { FillRowOver(row, count, rgb, alpha); });
    }
    MarkBitsChanged();
}

void MemoryImage::ClearRect(const Rect& rect)
{
    // A surface image that cannot be read back has no array to clear.
    uint32_t* bits = GetBits();
    if (bits == nullptr)
        return;
    ForEachRow(bits, mWidth, rect, [](uint32_t* row, int count) { std::fill_n(row, count, 0u); });
    MarkBitsChanged();
}

// The draw mode and the last argument are not used.
void MemoryImage::FillScanLinesWithCoverage(const Span* spans, int count, const Color& color, int,
                                            const uint8_t* coverage, int coverageX, int coverageY,
                                            int coveragePitch, int)
{
    FillCoverageSpans(CoverageJobOf(*this, color, coverage, coverageX, coverageY, coveragePitch), spans, count);
    MarkBitsChanged();
}

void FillCoverageMask(MemoryImage& image, const Rect& area, const Color& color, const uint8_t* coverage,
                      int coverageX, int coverageY, int coveragePitch)
{
    if (area.width > 0 && area.height > 0)
        FillCoverageArea(CoverageJobOf(image, color, coverage, coverageX, coverageY, coveragePitch), area,
                         ClampedColor(color).alpha == 255);
    image.MarkBitsChanged();
}

} // namespace Tandry
