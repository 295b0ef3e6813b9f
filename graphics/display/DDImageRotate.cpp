// The rotated blit of a surface image straight into its locked surface: the
// geometry and the bilinear sample are those of memory images, the blend is
// in the surface's own pixel format. One loop over the depth and the source
// reader takes a per-pixel policy, chosen once per call: the general normal
// form (white or coloured), the packed white forms of 565, 555 and 32-bit
// layouts in display order, and the additive form through the display's
// saturating-add tables. Every pixel of a span is written.
#include "graphics/display/DDImage.h"

#include "graphics/display/SurfaceSourceFormat.h"
#include "graphics/image/BilinearSample.h"
#include "graphics/image/RotatedBlitGeometry.h"
#include "graphics/types/ClampedColor.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace Tandry {

using namespace SurfacePixels;
using BilinearSampling::Sample;

namespace {

// A colour field of the surface: mask, shift and the bit count n.
struct FieldOf {
    uint32_t mask;
    uint32_t shift;
    uint32_t bits;
};

// The sums of a sample are the 16-bit sums of channel × weighted alpha; the
// surface formulas take their top n bits, which is the same as shifting the
// channels' place-value sums.
struct GeneralWhite {
    FieldOf r, g, b;

    uint32_t operator()(uint32_t d, const Sample<uint32_t>& s) const
    {
        const uint32_t ia = 256 - s.alpha;
        return ((s.red >> (16 - r.bits) << r.shift) + ((((d & r.mask) * ia) >> 8) & r.mask))
            | ((s.green >> (16 - g.bits) << g.shift) + ((((d & g.mask) * ia) >> 8) & g.mask))
            | ((s.blue >> (16 - b.bits) << b.shift) + ((((d & b.mask) * ia) >> 8) & b.mask));
    }
};

// Blue is cut to its top 8 bits before the colour product, green and red are not.
struct GeneralColoured {
    FieldOf r, g, b;
    uint32_t red, green, blue; // channel + 1

    uint32_t operator()(uint32_t d, const Sample<uint32_t>& s) const
    {
        const uint32_t ia = 256 - s.alpha;
        return ((((s.red * red) >> (24 - r.bits)) << r.shift) + ((((d & r.mask) * ia) >> 8) & r.mask))
            | ((((s.green * green) >> (24 - g.bits)) << g.shift) + ((((d & g.mask) * ia) >> 8) & g.mask))
            | (((((s.blue >> 8) * blue) >> (16 - b.bits)) << b.shift) + ((((d & b.mask) * ia) >> 8) & b.mask));
    }
};

// White on 565 or 555 in display order: the destination's fields scaled by
// k / 32 with one product, green spread into the upper half.
template <uint32_t Mask>
struct PackedWhite16 {
    uint32_t operator()(uint32_t d, const Sample<uint32_t>& s) const
    {
        constexpr bool k565 = Mask == kSpread565;
        const uint32_t k = (256 - s.alpha) >> 3;
        const uint32_t source = (s.red >> 11) << (k565 ? 11 : 10) | (s.green >> (k565 ? 10 : 11)) << 21
            | (s.blue >> 11);
        return Fold((((k * Spread(d, Mask)) >> 5) & Mask) + source);
    }
};

// White on 8-bit fields at 16, 8 and 0: red with blue, and green, in two words.
struct PackedWhite32 {
    uint32_t operator()(uint32_t d, const Sample<uint32_t>& s) const
    {
        const uint32_t ia = 256 - s.alpha;
        const uint32_t rb = ((s.red >> 8) << 16 | (s.blue >> 8)) + ((((d & 0xFF00FFu) * ia) >> 8) & 0xFF00FFu);
        const uint32_t g = (s.green & 0xFF00u) + ((((d & 0xFF00u) * ia) >> 8) & 0xFF00u);
        return rb | g;
    }
};

// Every mode but 0, whatever the colour (white has factors of 255).
struct Additive {
    AddChannels channels;
    FieldOf r, g, b;
    uint32_t kR, kG, kB;

    uint32_t operator()(uint32_t d, const Sample<uint32_t>& s) const
    {
        const AddChannel* c = channels.c;
        return static_cast<uint32_t>(c[0].table[(((s.red >> (16 - r.bits)) * kR) >> 8) + ((d & r.mask) >> r.shift)])
            << r.shift
            | static_cast<uint32_t>(c[1].table[((s.green * kG) >> (24 - g.bits)) + ((d & g.mask) >> g.shift)])
            << g.shift
            | static_cast<uint32_t>(c[2].table[((s.blue * kB) >> (24 - b.bits)) + ((d & b.mask) >> b.shift)])
            << b.shift;
    }
};

struct RotateJob {
    const Target* target;
    const RotatedBlitGeometry* geometry;
    uint32_t origin;
    uint32_t srcPitch;
    uint32_t alphaScale;
};

template <class Pixel, class Words, class Combine>
void DrawRotated(const RotateJob& job, const Words& words, const Combine& combine)
{
    const RotatedBlitGeometry& geometry = *job.geometry;
    const uint32_t du = static_cast<uint32_t>(geometry.CosStep());
    const uint32_t dv = static_cast<uint32_t>(geometry.SinStep());
    RotatedSpan span;
    for (int r = 0; r < geometry.RowCount(); ++r) {
        if (!geometry.Row(r, span))
            continue;
        Pixel* d = job.target->At<Pixel>(span.destX, span.destY);
        uint32_t u = static_cast<uint32_t>(span.u);
        uint32_t v = static_cast<uint32_t>(span.v);
        for (int i = 0; i < span.count; ++i, ++d, u += du, v += dv) {
            const Sample<uint32_t> s = BilinearSampling::Bilinear(words, job.origin, job.srcPitch, u, v,
                                                                  job.alphaScale);
            *d = static_cast<Pixel>(combine(*d, s));
        }
    }
}

template <class Words, class Combine>
void DrawDepth(const RotateJob& job, const Words& words, const Combine& combine)
{
    if (job.target->bitsPerPixel == 32)
        DrawRotated<uint32_t>(job, words, combine);
    else
        DrawRotated<uint16_t>(job, words, combine);
}

FieldOf Field(uint32_t mask, int32_t shift, int32_t bits)
{
    return FieldOf{mask, static_cast<uint32_t>(shift), static_cast<uint32_t>(bits)};
}

} // namespace

void DDImage::SurfaceBltRotated(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect,
                                const Color& color, int drawMode, double angle, float centerX, float centerY)
{
    src->mDrawn = true;
    if (mNoDraw)
        return;
    // Angles and places come from scene data; what is not a number draws nothing.
    if (!std::isfinite(angle) || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(centerX)
        || !std::isfinite(centerY))
        return;
    const DoubleRect box = RotatedBounds(x, y, srcRect, clipRect, angle, centerX, centerY);
    if (!(box.width > 0 && box.height > 0))
        return;
    auto* source = dynamic_cast<MemoryImage*>(src);
    if (source == nullptr) {
        if (mSurface != nullptr)
            FreeMemoryCopies();
        return;
    }
    // The samples stay inside the source rectangle, which must lie inside the source.
    if (srcRect.x < 0 || srcRect.y < 0 || srcRect.width > source->mWidth - srcRect.x
        || srcRect.height > source->mHeight - srcRect.y)
        return;
    // The saturating-add tables and the channel layout are the display's.
    if (mDDInterface == nullptr)
        return;
    source->ScanAlpha();
    const RotatedBlitGeometry geometry(x, y, srcRect, angle, centerX, centerY, box);

    Target t;
    if (!LockForDrawing(t))
        return;
    if (t.Drawable()) {
        const DDInterface& display = *mDDInterface;
        const ClampedColor c(color);
        const bool white = c.IsWhite();
        const bool additive = drawMode != 0;
        const RotateJob job{&t, &geometry,
                            static_cast<uint32_t>(srcRect.y) * static_cast<uint32_t>(source->mWidth)
                                + static_cast<uint32_t>(srcRect.x),
                            static_cast<uint32_t>(source->mWidth), !additive && !white ? c.alpha : 256u};
        const FieldOf r = Field(t.red, display.mRedShift, display.mRedBits);
        const FieldOf g = Field(t.green, display.mGreenShift, display.mGreenBits);
        const FieldOf b = Field(t.blue, display.mBlueShift, display.mBlueBits);
        const bool ordered = gDisplayRGBOrdered.load(std::memory_order_relaxed);
        VisitSourceWords(*source, [&](const auto& words) {
            if (additive) {
                const ColourFactors k(c);
                DrawDepth(job, words, Additive{SaturatingChannels(t, display), r, g, b, k.red, k.green, k.blue});
            } else if (!white) {
                DrawDepth(job, words, GeneralColoured{r, g, b, c.red + 1u, c.green + 1u, c.blue + 1u});
            } else if (ordered && t.bitsPerPixel == 32) {
                DrawRotated<uint32_t>(job, words, PackedWhite32());
            } else if (ordered && t.bitsPerPixel == 16 && t.green == kGreen565) {
                DrawRotated<uint16_t>(job, words, PackedWhite16<kSpread565>());
            } else if (ordered && t.bitsPerPixel == 16 && t.green == kGreen555) {
                DrawRotated<uint16_t>(job, words, PackedWhite16<kSpread555>());
            } else {
                DrawDepth(job, words, GeneralWhite{r, g, b});
            }
        });
    }
    UnlockSurface();
}

} // namespace Tandry
