// BltRotated of MemoryImage: bilinear sampling in 16.16 along each row of the
// rotated box, combined normally or additively, white or coloured, from ARGB
// or palettised sources. The eight variants share the geometry and the
// sampling and differ only in the combining step and the source reader.
#include <cstddef>
#include <cstdint>

#include "graphics/ClampedColor.h"
#include "graphics/MemoryImage.h"
#include "graphics/PixelBlend.h"
#include "graphics/RotatedBlitGeometry.h"
#include "graphics/SaturationTable.h"
#include "graphics/SourceWords.h"

namespace Tandry {

namespace {

// The four weighted alphas of a sample and the channel sums weighted by them.
struct Sample {
    uint32_t alpha;  // the sum of the four weighted alphas
    uint32_t red;    // sum of channel x weighted alpha
    uint32_t green;
    uint32_t blue;
};

// The 2 x 2 neighbourhood at (u, v); the fractions are made odd, so no
// weight is ever a whole 65536. With a colour alpha below 256 the weighted
// alphas are scaled by it as well.
template <class Words>
Sample Bilinear(const Words& words, size_t origin, int pitch, uint32_t u, uint32_t v, uint32_t alphaScale)
{
    const size_t at = origin + static_cast<size_t>(v >> 16) * pitch + (u >> 16);
    const uint32_t p[4] = {words[at], words[at + 1], words[at + pitch], words[at + pitch + 1]};
    const uint32_t fu = (u & 0xFFFE) + 1;
    const uint32_t fv = (v & 0xFFFE) + 1;
    const uint32_t w[4] = {((65536 - fu) * (65536 - fv)) >> 16, (fu * (65536 - fv)) >> 16,
                           ((65536 - fu) * fv) >> 16, (fu * fv) >> 16};
    Sample s{0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        uint32_t a = (w[i] * (p[i] >> 24)) >> 16;
        if (alphaScale != 256)
            a = (a * alphaScale) >> 8;
        s.alpha += a;
        s.red += ((p[i] >> 16) & 255) * a;
        s.green += ((p[i] >> 8) & 255) * a;
        s.blue += (p[i] & 255) * a;
    }
    return s;
}

// Lays colour (r, g, b) at alpha a (1..255) over d. Nearly opaque samples
// replace the pixel outright.
uint32_t NormalCombine(uint32_t d, uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    if (a > 250)
        return 0xFF000000u | r << 16 | g << 8 | b;
    const uint32_t da = d >> 24;
    const uint32_t n = 256 - (((256 - da) * (256 - a)) >> 8);
    const uint32_t rest = 256 - a;
    const auto channel = [&](uint32_t m, int shift) {
        const uint32_t dc = (d >> shift) & 255;
        return ((m * 256 + ((dc * da) >> 8) * rest) / n) << shift;
    };
    return (n - 1) << 24 | channel(r, 16) | channel(g, 8) | channel(b, 0);
}

struct NormalWhite {
    static constexpr bool kScalesAlpha = false;
    uint32_t operator()(uint32_t d, const Sample& s) const
    {
        return NormalCombine(d, s.alpha, s.red >> 8, s.green >> 8, s.blue >> 8);
    }
};

// Red is scaled from the full sum, green and blue from the rounded-down mean.
struct NormalColoured {
    static constexpr bool kScalesAlpha = true;
    explicit NormalColoured(const ClampedColor& c) : red(c.red + 1), green(c.green + 1), blue(c.blue + 1) {}
    uint32_t operator()(uint32_t d, const Sample& s) const
    {
        return NormalCombine(d, s.alpha, (s.red * red) >> 16, ((s.green >> 8) * green) >> 8,
                             ((s.blue >> 8) * blue) >> 8);
    }
    uint32_t red, green, blue;
};

struct AdditiveWhite {
    static constexpr bool kScalesAlpha = false;
    uint32_t operator()(uint32_t d, const Sample& s) const
    {
        return PixelBlend::AddSaturated(d, s.red >> 8, s.green >> 8, s.blue >> 8, table);
    }
    const uint8_t* table;
};

struct AdditiveColoured {
    static constexpr bool kScalesAlpha = false;
    AdditiveColoured(const ClampedColor& c, const uint8_t* t)
        : table(t), red(c.alpha * c.red / 255), green(c.alpha * c.green / 255), blue(c.alpha * c.blue / 255)
    {
    }
    uint32_t operator()(uint32_t d, const Sample& s) const
    {
        return PixelBlend::AddSaturated(d, ((s.red >> 8) * red) >> 8, (s.green * green) >> 16, (s.blue * blue) >> 16, table);
    }
    const uint8_t* table;
    uint32_t red, green, blue;
};

template <class Words, class Combine>
void DrawRotated(uint32_t* bits, int pitch, const Words& words, size_t origin, int srcPitch,
                 const RotatedBlitGeometry& geometry, uint32_t colourAlpha, const Combine& combine)
{
    const uint32_t alphaScale = Combine::kScalesAlpha ? colourAlpha : 256;
    const uint32_t du = static_cast<uint32_t>(geometry.CosStep());
    const uint32_t dv = static_cast<uint32_t>(geometry.SinStep());
    RotatedSpan span;
    for (int r = 0; r < geometry.RowCount(); ++r) {
        if (!geometry.Row(r, span))
            continue;
        uint32_t* d = bits + static_cast<ptrdiff_t>(span.destY) * pitch + span.destX;
        uint32_t u = static_cast<uint32_t>(span.u);
        uint32_t v = static_cast<uint32_t>(span.v);
        for (int i = 0; i < span.count; ++i, u += du, v += dv) {
            const Sample s = Bilinear(words, origin, srcPitch, u, v, alphaScale);
            if (s.alpha != 0)
                d[i] = combine(d[i], s);
        }
    }
}

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
    uint32_t* bits = GetBits();
    const size_t origin = static_cast<size_t>(srcRect.y) * source->mWidth + srcRect.x;
    const int srcPitch = source->mWidth;
    const uint8_t* table = SaturationTable(mApp);
    VisitSourceWords(*source, [&](const auto& words) {
        const auto draw = [&](const auto& combine) {
            DrawRotated(bits, mWidth, words, origin, srcPitch, geometry, c.alpha, combine);
        };
        if (drawMode == 0 && c.IsWhite())
            draw(NormalWhite());
        else if (drawMode == 0)
            draw(NormalColoured(c));
        else if (c.IsWhite())
            draw(AdditiveWhite{table});
        else
            draw(AdditiveColoured(c, table));
    });
    MarkBitsChanged();
}

} // namespace Tandry
