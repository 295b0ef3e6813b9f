// The nearest-pixel stretch of a surface image: the source's display-format
// words are sampled in 16.16 steps and blended into the locked surface
// through its own masks, left to right or, mirrored, right to left. One loop
// over the depth, the walk's direction, the source reader and a per-pixel
// policy for each of normal white, normal coloured, additive white and
// additive coloured; any draw mode but 0 adds.
#include "graphics/display/DDImage.h"

#include "graphics/display/SurfaceSourceFormat.h"
#include "graphics/types/ClampedColor.h"
#include "graphics/types/DoubleRect.h"

#include <cstddef>
#include <cstdint>

namespace Tandry {

using namespace SurfacePixels;

namespace {

// The clipped destination and the 16.16 walk through the source.
struct StretchWalk {
    int x;
    int y;
    int width;
    int height;
    int32_t x0;
    int32_t y0;
    int32_t stepX;
    int32_t stepY;
    size_t srcWidth;
};

struct NormalWhite {
    uint32_t masks[3];

    template <class Pixel>
    void operator()(uint32_t s, Pixel& d) const
    {
        const uint32_t sa = s >> 24;
        if (sa == 0)
            return;
        // An opaque pixel's scaled destination terms all mask to 0.
        d = static_cast<Pixel>(sa == 255 ? s : s + ScaleByMasks(d, 256 - sa, masks));
    }
};

struct NormalColoured {
    MaskFactors f;
    uint32_t alpha;

    template <class Pixel>
    void operator()(uint32_t s, Pixel& d) const
    {
        const uint32_t a = (s >> 24) * alpha / 255;
        if (a != 0)
            d = static_cast<Pixel>(BlendByMasks(d, s, 256 - a, f));
    }
};

// White adds the source's fields as they are, a colour scales them first.
template <bool White>
struct Additive {
    AddChannels channels;
    uint32_t factor[3];

    template <class Pixel>
    void operator()(uint32_t s, Pixel& d) const
    {
        if (s == 0)
            return;
        d = static_cast<Pixel>(channels.Apply(d, [&](uint32_t dm, int i) {
            const AddChannel& c = channels.c[i];
            if constexpr (White)
                return ((s & c.mask) + dm) >> c.shift;
            else
                return (((s & c.mask) >> c.shift) * factor[i]) / 256 + (dm >> c.shift);
        }));
    }
};

template <class Pixel, int Step, class Words, class Op>
void Walk(const Target& t, const StretchWalk& s, const Words& words, const Op& op)
{
    Pixel* row = t.At<Pixel>(Step > 0 ? s.x : s.x + s.width - 1, s.y);
    const ptrdiff_t rowStep = t.RowStep<Pixel>();
    uint32_t fy = static_cast<uint32_t>(s.y0);
    for (int j = 0; j < s.height; ++j, row += rowStep, fy += static_cast<uint32_t>(s.stepY)) {
        const size_t base = static_cast<size_t>(fy >> 16) * s.srcWidth;
        uint32_t fx = static_cast<uint32_t>(s.x0);
        Pixel* d = row;
        for (int i = 0; i < s.width; ++i, d += Step, fx += static_cast<uint32_t>(s.stepX))
            op(words[base + (fx >> 16)], *d);
    }
}

template <int Step, class Words, class Op>
void WalkDepth(const Target& t, const StretchWalk& s, const Words& words, const Op& op)
{
    if (t.bitsPerPixel == 32)
        Walk<uint32_t, Step>(t, s, words, op);
    else
        Walk<uint16_t, Step>(t, s, words, op);
}

template <class Words, class Op>
void WalkAny(const Target& t, const StretchWalk& s, bool mirrored, const Words& words, const Op& op)
{
    if (mirrored)
        WalkDepth<-1>(t, s, words, op);
    else
        WalkDepth<1>(t, s, words, op);
}

// The last column and row the walk samples lie inside the source; rectangles
// outside it would read beyond its pixels.
bool InsideSource(const StretchWalk& s, int srcHeight)
{
    if (s.x0 < 0 || s.y0 < 0 || s.stepX < 0 || s.stepY < 0)
        return false;
    const int64_t lastX = (int64_t{s.x0} + int64_t{s.stepX} * (s.width - 1)) >> 16;
    const int64_t lastY = (int64_t{s.y0} + int64_t{s.stepY} * (s.height - 1)) >> 16;
    return lastX < static_cast<int64_t>(s.srcWidth) && lastY < srcHeight;
}

} // namespace

void DDImage::SurfaceStretchBlt(Image* src, const Rect& clipped, const DoubleRect& srcF, const Color& color,
                                int drawMode, bool mirrored)
{
    auto* source = dynamic_cast<MemoryImage*>(src);
    if (source == nullptr || clipped.width <= 0 || clipped.height <= 0 || !(srcF.width > 0 && srcF.height > 0))
        return;
    const StretchWalk walk{clipped.x,
                           clipped.y,
                           clipped.width,
                           clipped.height,
                           static_cast<int32_t>(srcF.x * 65536),
                           static_cast<int32_t>(srcF.y * 65536),
                           static_cast<int32_t>(srcF.width * 65536 / clipped.width),
                           static_cast<int32_t>(srcF.height * 65536 / clipped.height),
                           static_cast<size_t>(source->mWidth)};
    if (!InsideSource(walk, source->mHeight))
        return;
    // The saturating-add tables are the display's.
    const bool additive = drawMode != 0;
    if (additive && mDDInterface == nullptr)
        return;
    source->ScanAlpha();

    Target t;
    if (!LockForDrawing(t))
        return;
    if (t.Drawable()) {
        const ClampedColor c(color);
        const ColourFactors k(c);
        const SourceFormat format(mDDInterface, t);
        WithDisplayWords(*source, *format.display, [&](const auto& words) {
            if (additive) {
                const AddChannels channels = SaturatingChannels(t, *mDDInterface);
                if (c.IsWhite())
                    WalkAny(t, walk, mirrored, words, Additive<true>{channels, {}});
                else
                    WalkAny(t, walk, mirrored, words, Additive<false>{channels, {k.red, k.green, k.blue}});
            } else if (c.IsWhite()) {
                WalkAny(t, walk, mirrored, words, NormalWhite{{t.red, t.green, t.blue}});
            } else {
                WalkAny(t, walk, mirrored, words,
                        NormalColoured{MaskFactors{{t.red, t.green, t.blue}, {k.red, k.green, k.blue}}, k.alpha});
            }
        });
    }
    UnlockSurface();
}

} // namespace Tandry
