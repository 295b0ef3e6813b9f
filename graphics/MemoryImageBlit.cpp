// Blt and BltF of MemoryImage: the normal blit with its run, white and colour
// paths, and the additive blit, each reading ARGB or palettised sources.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "graphics/ClampedColor.h"
#include "graphics/MemoryImage.h"
#include "graphics/PixelBlend.h"
#include "graphics/Rect.h"
#include "graphics/SaturationTable.h"
#include "graphics/SourceWords.h"

namespace Tandry {

namespace {

using PixelBlend::Div255;

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

// Every pixel of the rectangle through op(destination word, source word).
template <class Words, class Op>
void BlitPixels(const BlitFrame& f, const Words& words, const Op& op)
{
    for (int r = 0; r < f.height; ++r) {
        uint32_t* d = f.dest + static_cast<ptrdiff_t>(r) * f.destPitch;
        const size_t s = f.srcOrigin + static_cast<size_t>(r) * f.srcPitch;
        for (int i = 0; i < f.width; ++i)
            d[i] = op(d[i], words[s + i]);
    }
}

// The run path onto an opaque destination: opaque runs are copied, transparent
// runs skipped, and only partly transparent pixels blended.
template <class Words>
void BlitRuns(const BlitFrame& f, const Words& words, const uint8_t* runs)
{
    for (int r = 0; r < f.height; ++r) {
        uint32_t* d = f.dest + static_cast<ptrdiff_t>(r) * f.destPitch;
        const size_t s = f.srcOrigin + static_cast<size_t>(r) * f.srcPitch;
        for (int i = 0; i < f.width;) {
            const int n = std::min<int>(runs[s + i], f.width - i);
            const uint32_t alpha = words[s + i] >> 24;
            if (alpha == 255) {
                for (int k = i; k < i + n; ++k)
                    d[k] = words[s + k];
            } else if (alpha != 0) {
                for (int k = i; k < i + n; ++k)
                    d[k] = PixelBlend::BlitOntoOpaque(d[k], words[s + k]);
            }
            i += n;
        }
    }
}

struct WhiteOver {
    uint32_t operator()(uint32_t d, uint32_t s) const { return PixelBlend::BlitWhite(d, s); }
};

// The colour path's blend: the source's alpha scaled by the colour's, then
// each channel of the source scaled by the colour channel over 256.
template <bool Grey>
struct TintOver {
    explicit TintOver(const ClampedColor& c) : alpha(c.alpha), red(c.red), green(c.green), blue(c.blue) {}

    uint32_t operator()(uint32_t d, uint32_t s) const
    {
        const uint32_t a = Div255((s >> 24) * alpha);
        if (a == 0)
            return d;
        const uint32_t newA = PixelBlend::OverAlpha(d >> 24, a);
        const uint32_t l = PixelBlend::SourceShare(a, newA);
        const uint32_t k = 256 - l;
        const uint32_t sr = (s >> 16) & 255, sg = (s >> 8) & 255, sb = s & 255;
        const uint32_t dr = (d >> 16) & 255, dg = (d >> 8) & 255, db = d & 255;
        uint32_t r, g, b;
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
        return newA << 24 | r << 16 | g << 8 | b;
    }

    uint32_t alpha, red, green, blue;
};

// The additive blit: each channel plus an amount from the source, saturated
// through the table; the destination alpha stays. A source without partial
// alpha is added whole, even where it is transparent.
template <bool White, bool SourceAlpha>
struct AddOp {
    AddOp(const ClampedColor& c, const uint8_t* t)
        : table(t), kr(c.alpha * c.red / 255), kg(c.alpha * c.green / 255), kb(c.alpha * c.blue / 255)
    {
    }

    uint32_t operator()(uint32_t d, uint32_t s) const
    {
        const uint32_t sa = s >> 24, sr = (s >> 16) & 255, sg = (s >> 8) & 255, sb = s & 255;
        uint32_t r, g, b;
        if constexpr (White && SourceAlpha) {
            r = (sr * sa) >> 8;
            g = (sg * sa) >> 8;
            b = (sb * sa) >> 8;
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
        return PixelBlend::AddSaturated(d, r, g, b, table);
    }

    const uint8_t* table;
    uint32_t kr, kg, kb;
};

template <class Words>
void BlitAdditive(const BlitFrame& f, const Words& words, const ClampedColor& c, bool sourceAlpha,
                  const uint8_t* table)
{
    if (c.IsWhite()) {
        if (sourceAlpha)
            BlitPixels(f, words, AddOp<true, true>(c, table));
        else
            BlitPixels(f, words, AddOp<true, false>(c, table));
    } else if (sourceAlpha) {
        BlitPixels(f, words, AddOp<false, true>(c, table));
    } else {
        BlitPixels(f, words, AddOp<false, false>(c, table));
    }
}

} // namespace

void MemoryImage::Blt(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    src->mDrawn = true;
    if (drawMode != 0 && drawMode != 1)
        return;
    auto* source = dynamic_cast<MemoryImage*>(src);
    if (!source)
        return;

    const ClampedColor c(color);
    const BlitFrame frame{GetBits() + static_cast<ptrdiff_t>(y) * mWidth + x, mWidth,
                          static_cast<size_t>(srcRect.y) * source->mWidth + srcRect.x, source->mWidth,
                          srcRect.width, srcRect.height};
    if (drawMode == 1) {
        // The source's flag as it stands, without a fresh scan.
        const bool sourceAlpha = source->mHasAlpha;
        const uint8_t* table = SaturationTable(mApp);
        VisitSourceWords(*source, [&](const auto& words) { BlitAdditive(frame, words, c, sourceAlpha, table); });
    } else if (c.IsWhite() && !mHasAlpha && !mHasTrans) {
        // The destination's flags as they stand: no fresh scan.
        VisitSourceWords(*source, [&](const auto& words) { BlitRuns(frame, words, source->GetAlphaRunTable()); });
    } else if (c.IsWhite()) {
        VisitSourceWords(*source, [&](const auto& words) { BlitPixels(frame, words, WhiteOver()); });
    } else if (c.IsGrey()) {
        VisitSourceWords(*source, [&](const auto& words) { BlitPixels(frame, words, TintOver<true>(c)); });
    } else {
        VisitSourceWords(*source, [&](const auto& words) { BlitPixels(frame, words, TintOver<false>(c)); });
    }
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
