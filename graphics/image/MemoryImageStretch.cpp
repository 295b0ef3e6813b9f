// StretchBlt of MemoryImage and its nearest-pixel path.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <typeinfo>
#include <vector>

#include "graphics/image/AsMemoryImage.h"
#include "graphics/image/ClipStretchRects.h"
#include "graphics/image/LaneTail.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/image/MemoryImageStretchBatch.h"
#include "graphics/image/PixelBlend.h"
#include "graphics/image/PixelLanes.h"
#include "graphics/image/SourceWords.h"
#include "graphics/types/ClampedColor.h"
#include "graphics/types/Rect.h"

namespace Tandry {

namespace {

using PixelLanes::kLanes;
using PixelLanes::U32x8;

// Unstretched nearest-pixel blits from one source onto one destination array:
// each part is a clipped destination rectangle and the source word at its top
// left. The arrays are looked up once for all the parts.
struct UnstretchedJob {
    uint32_t* bits;
    int pitch;
    // The number of words in the destination and in the source.
    size_t destCount;
    int srcPitch;
    size_t srcCount;
    const MemoryImageStretchBatch::Part* parts;
    size_t partCount;
};

// The white blend of eight pixels without a branch: glyph edges over text
// already drawn mix transparent, translucent and opaque pixels in every
// group, so the shortcuts for groups of one kind would mostly be
// mispredicted. Over an opaque pixel the quotient is the source alpha, over a
// transparent one 255, as the shortcuts give. The alpha product fits 16 bits.
// A transparent source lane needs no select to keep its pixel: its result
// alpha is the pixel's, its share 0, and a mix at share 0 gives each channel
// back whole. Its quotient is 0 / max(da, 1), never 0 / 0.
TANDRY_LANE_INLINE U32x8 WhiteBlend(const U32x8& d, const U32x8& s)
{
    using namespace PixelLanes;
    const U32x8 a = s >> 24;
    const U32x8 da = d >> 24;
    const U32x8 newA = da + PixelBlend::Div255(MulHalves(255 - da, a));
    const U32x8 share = Quotient(a * 255, newA - IsZero(newA));
    return newA << 24 | PixelBlend::MixSplitBlue(d, s, share);
}

// Eight pixels through the white blend; a transparent source pixel leaves
// its pixel alone, so eight of them are skipped.
TANDRY_LANE_INLINE void WhiteLanes(uint32_t* d, const U32x8& source)
{
    if (!PixelLanes::AllZero(source >> 24))
        PixelLanes::Store(d, WhiteBlend(PixelLanes::Load(d), source));
}

// Each row eight pixels at a time. The tail of fewer than eight goes through
// the same eight-lane blend with the source lanes past the row made
// transparent, which leaves their pixels as they are: read and written in
// place where eight words are left in both arrays (narrow glyphs are mostly
// tail, and a copy costs a stalled load), else on copies padded with opaque
// black of which only the tail is written back.
template <class Words>
TANDRY_LANE_INLINE void RunUnstretchedPart(const UnstretchedJob& job, const MemoryImageStretchBatch::Part& part,
                                           const Words& words)
{
    // Locals, so that the stores to the pixels need not reload them.
    const Rect c(part.x, part.y, part.width, part.height);
    uint32_t* const bits = job.bits;
    const size_t pitch = static_cast<size_t>(job.pitch);
    const size_t srcPitch = static_cast<size_t>(job.srcPitch);
    const size_t destCount = job.destCount;
    const size_t srcCount = job.srcCount;
    const size_t srcOrigin = part.srcOrigin;
    const int whole = c.width - c.width % kLanes;
    const size_t tail = static_cast<size_t>(c.width - whole);
    const U32x8 inTail = reinterpret_cast<U32x8>(U32x8{0, 1, 2, 3, 4, 5, 6, 7} < static_cast<uint32_t>(tail));
    for (int r = 0; r < c.height; ++r) {
        const size_t at = static_cast<size_t>(c.y + r) * pitch + static_cast<size_t>(c.x);
        uint32_t* d = bits + at;
        const size_t s = srcOrigin + static_cast<size_t>(r) * srcPitch;
        for (int i = 0; i < whole; i += kLanes)
            WhiteLanes(d + i, words.Lanes(s + static_cast<size_t>(i)));
        if (tail == 0)
            continue;
        const size_t sTail = s + static_cast<size_t>(whole);
        uint32_t* dTail = d + whole;
        if (sTail + kLanes <= srcCount && at + static_cast<size_t>(whole) + kLanes <= destCount) {
            WhiteLanes(dTail, words.Lanes(sTail) & inTail);
            continue;
        }
        uint32_t source[kLanes] = {};
        for (size_t k = 0; k < tail; ++k)
            source[k] = words[sTail + k];
        const U32x8 sourceLanes = PixelLanes::Load(source);
        if (PixelLanes::AllZero(sourceLanes >> 24))
            continue;
        uint32_t below[kLanes] = {0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF000000u,
                                  0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF000000u};
        LaneTail::CopyFew(below, dTail, tail);
        PixelLanes::Store(below, PixelBlend::BlitWhite(PixelLanes::Load(below), sourceLanes));
        LaneTail::CopyFew(dTail, below, tail);
    }
}

// The parts in order: where glyphs overlap, the later one blends over the earlier.
template <class Words>
TANDRY_LANE_INLINE void RunUnstretched(const UnstretchedJob& job, const Words& words)
{
    for (size_t i = 0; i < job.partCount; ++i)
        RunUnstretchedPart(job, job.parts[i], words);
}

TANDRY_SOURCE_WORDS_ENTRY(RunUnstretchedOf, UnstretchedJob, RunUnstretched)

// Whole pixel positions that advance by exactly one read the source
// rectangle as it is, with no column table and no clamping.
bool IsUnstretched(const Rect& clipped, const DoubleRect& srcF, int srcWidth, int srcHeight)
{
    return srcF.width / clipped.width == 1.0 && srcF.height / clipped.height == 1.0 && srcF.x >= 0
        && srcF.y >= 0 && srcF.x == std::floor(srcF.x) && srcF.y == std::floor(srcF.y)
        && srcF.x + clipped.width <= srcWidth && srcF.y + clipped.height <= srcHeight;
}

// The parts, each inside the destination and the source, then the
// destination marked changed once.
void BlitUnstretched(MemoryImage& dest, MemoryImage& source, const MemoryImageStretchBatch::Part* parts,
                     size_t count)
{
    const UnstretchedJob job{dest.GetBits(),
                             dest.mWidth,
                             static_cast<size_t>(dest.mWidth) * static_cast<size_t>(dest.mHeight),
                             source.mWidth,
                             static_cast<size_t>(source.mWidth) * static_cast<size_t>(source.mHeight),
                             parts,
                             count};
    VisitSourceWords(source, [&job](const auto& words) { RunUnstretchedOf(job, words); });
    dest.MarkBitsChanged();
}

// The clipped rectangle from source position (x, y), inside the source.
void BlitUnstretched(MemoryImage& dest, MemoryImage& source, const Rect& clipped, int x, int y)
{
    const MemoryImageStretchBatch::Part part{clipped.x, clipped.y, clipped.width, clipped.height,
                                             static_cast<size_t>(y) * source.mWidth + static_cast<size_t>(x)};
    BlitUnstretched(dest, source, &part, 1);
}

// The part of a same-size rectangle left by clipping, when it lies inside
// source (else the general path must handle it).
bool SameSizePart(const MemoryImage& source, const Rect& destRect, const Rect& srcRect, const Rect& clipped,
                  MemoryImageStretchBatch::Part& part)
{
    const int64_t x = int64_t{srcRect.x} + clipped.x - destRect.x;
    const int64_t y = int64_t{srcRect.y} + clipped.y - destRect.y;
    if (x < 0 || y < 0 || x + clipped.width > source.mWidth || y + clipped.height > source.mHeight)
        return false;
    part = {clipped.x, clipped.y, clipped.width, clipped.height,
            static_cast<size_t>(y) * static_cast<size_t>(source.mWidth) + static_cast<size_t>(x)};
    return true;
}

// A rectangle drawn at its own size (the glyphs of bitmap fonts) steps by
// exactly one pixel, so its clipped part maps onto whole source positions
// without the proportional arithmetic; false for the cases the general path
// must handle (another kind of source, a colour, a part outside the source).
bool BlitSameSize(MemoryImage& dest, Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                  const Color& color)
{
    const Rect clipped = Rect::Intersection(destRect, clipRect);
    if (clipped.width <= 0 || clipped.height <= 0)
        return true;
    MemoryImage* source = AsMemoryImage(src);
    if (!source || !ClampedColor(color).IsWhite())
        return false;
    MemoryImageStretchBatch::Part part{};
    if (!SameSizePart(*source, destRect, srcRect, clipped, part))
        return false;
    BlitUnstretched(dest, *source, &part, 1);
    return true;
}

} // namespace

// The draw mode is not used; the filtered path ignores the colour as well.
void MemoryImage::StretchBlt(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                             const Color& color, int, bool fastStretch)
{
    src->mDrawn = true;
    if (fastStretch && destRect.width == srcRect.width && destRect.height == srcRect.height
        && BlitSameSize(*this, src, destRect, srcRect, clipRect, color))
        return;
    Rect clipped;
    DoubleRect srcF;
    if (!ClipStretchRects(destRect, srcRect, clipRect, clipped, srcF))
        return;
    if (fastStretch)
        StretchBltFast(src, clipped, srcF, color);
    else
        StretchBltFiltered(src, clipped, srcF);
}

// Only a white colour draws; the destination is marked changed in any case.
void MemoryImage::StretchBltFast(Image* src, const Rect& clipped, const DoubleRect& srcF, const Color& color)
{
    MemoryImage* source = AsMemoryImage(src);
    if (source && ClampedColor(color).IsWhite() && clipped.width > 0 && clipped.height > 0 && source->mWidth > 0
        && source->mHeight > 0) {
        if (IsUnstretched(clipped, srcF, source->mWidth, source->mHeight)) {
            BlitUnstretched(*this, *source, clipped, static_cast<int>(srcF.x), static_cast<int>(srcF.y));
            return;
        }
        uint32_t* bits = GetBits();
        // Positions advance by repeated addition of the step; every row reads
        // the same columns, so they are worked out once, into a table kept
        // per thread. The source part lies inside the source; the limits only
        // guard against rounding.
        const double stepX = srcF.width / clipped.width;
        const double stepY = srcF.height / clipped.height;
        thread_local std::vector<int> columns;
        columns.resize(static_cast<size_t>(clipped.width));
        double sx = srcF.x;
        for (int& column : columns) {
            column = std::clamp(static_cast<int>(sx), 0, source->mWidth - 1);
            sx += stepX;
        }
        VisitSourceWords(*source, [&](const auto& words) {
            double sy = srcF.y;
            for (int r = 0; r < clipped.height; ++r) {
                const int row = std::clamp(static_cast<int>(sy), 0, source->mHeight - 1);
                sy += stepY;
                const size_t base = static_cast<size_t>(row) * source->mWidth;
                uint32_t* d = bits + static_cast<ptrdiff_t>(clipped.y + r) * mWidth + clipped.x;
                for (int j = 0; j < clipped.width; ++j)
                    d[j] = PixelBlend::BlitWhite(d[j], words[base + columns[j]]);
            }
        });
    }
    MarkBitsChanged();
}

MemoryImageStretchBatch::MemoryImageStretchBatch(Image& dest, const Rect& clipRect, const Color& color, int drawMode,
                                                 bool fastStretch)
    : mDest(dest),
      mMemoryDest(typeid(dest) == typeid(MemoryImage) ? static_cast<MemoryImage*>(&dest) : nullptr),
      mClip(clipRect),
      mColor(color),
      mDrawMode(drawMode),
      mFastStretch(fastStretch),
      mGathers(mMemoryDest != nullptr && fastStretch && ClampedColor(color).IsWhite())
{
}

// Each step as MemoryImage::StretchBlt and BlitSameSize take it, with the
// source's class asked once per source instead of once per rectangle.
void MemoryImageStretchBatch::StretchBlt(Image* src, const Rect& destRect, const Rect& srcRect)
{
    if (mGathers && destRect.width == srcRect.width && destRect.height == srcRect.height && src != &mDest) {
        src->mDrawn = true;
        const Rect clipped = Rect::Intersection(destRect, mClip);
        if (clipped.width <= 0 || clipped.height <= 0)
            return;
        if (src != mSource) {
            Flush();
            mSource = src;
            mMemorySource = AsMemoryImage(src);
        }
        if (mMemorySource != nullptr && SameSizePart(*mMemorySource, destRect, srcRect, clipped, mParts[mCount])) {
            if (++mCount == kMaxParts)
                Flush();
            return;
        }
    }
    // The general path may change either image's forms, so the source is
    // looked at afresh after it.
    Flush();
    mSource = nullptr;
    mMemorySource = nullptr;
    mDest.StretchBlt(src, destRect, srcRect, mClip, mColor, mDrawMode, mFastStretch);
}

void MemoryImageStretchBatch::Flush()
{
    if (mCount == 0)
        return;
    const size_t count = mCount;
    mCount = 0;
    BlitUnstretched(*mMemoryDest, *mMemorySource, mParts.data(), count);
}

} // namespace Tandry
