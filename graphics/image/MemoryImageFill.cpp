// FillRect, ClearRect and the coverage fill of MemoryImage.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "graphics/image/MemoryImage.h"
#include "graphics/image/PixelBlend.h"
#include "graphics/image/PixelLanes.h"
#include "graphics/types/ClampedColor.h"
#include "graphics/types/Rect.h"

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
    const ClampedColor c(color);
    const uint32_t rgb = c.Rgb();
    uint32_t* bits = GetBits();
    for (int i = 0; i < count; ++i) {
        const Span& span = spans[i];
        uint32_t* row = bits + static_cast<ptrdiff_t>(span.y) * mWidth + span.x;
        const uint8_t* cov = coverage + static_cast<ptrdiff_t>(span.y - coverageY) * coveragePitch
            + (span.x - coverageX);
        for (int x = 0; x < span.width; ++x) {
            const uint32_t a = (c.alpha * (cov[x] + 1u)) >> 8;
            if (a != 0)
                row[x] = PixelBlend::FillOver(row[x], rgb, a);
        }
    }
    MarkBitsChanged();
}

} // namespace Tandry
