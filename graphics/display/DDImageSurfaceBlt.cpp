// The four blits of a surface image into its locked surface: SurfaceBlt with
// its DirectDraw, raw, copy and compositing paths, its mirrored twin, and the
// two additive blits. Each path is one loop over a small per-pixel policy;
// the policies hold the formulas, one per layout (565, 555, other 16-bit
// masks, 32 bits).
#include "graphics/display/DDImage.h"

#include "graphics/display/DDInterface.h"
#include "graphics/display/SurfacePixels.h"
#include "graphics/display/SurfaceSourceFormat.h"
#include "graphics/image/SourceWords.h"
#include "graphics/types/ClampedColor.h"
#include "platform/ddraw/DDrawConstants.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace Tandry {

using namespace Platform;
using namespace SurfacePixels;

namespace {

enum class Kind { P565, P555, Masks16, Word32 };

Kind KindOf(const Target& t)
{
    if (t.bitsPerPixel == 32)
        return Kind::Word32;
    if (t.red == 0xF800u && t.green == kGreen565 && t.blue == 0x1Fu)
        return Kind::P565;
    if (t.red == 0x7C00u && t.green == kGreen555 && t.blue == 0x1Fu)
        return Kind::P555;
    return Kind::Masks16;
}

template <Kind K>
constexpr uint32_t kSpreadMask = K == Kind::P565 ? kSpread565 : kSpread555;

// Where a blit reads and writes.
struct Placement {
    int x;
    int y;
    Rect src;
    int srcWidth;

    size_t SourceIndex(int row) const
    {
        return static_cast<size_t>(src.y + row) * static_cast<size_t>(srcWidth) + static_cast<size_t>(src.x);
    }
};

// The destination pixels of each row, walked left to right (Step 1) or right
// to left (Step -1); rowFn(destination of the row's first source pixel, source index).
template <class Pixel, int Step, class RowFn>
void ForEachRow(const Target& t, const Placement& p, const RowFn& rowFn)
{
    Pixel* row = t.At<Pixel>(Step > 0 ? p.x : p.x + p.src.width - 1, p.y);
    const ptrdiff_t rowStep = t.RowStep<Pixel>();
    // Rows of sprites lie a pitch apart, and their first pixels are often
    // skipped, so the hardware does not see them coming: the cache lines of
    // the row ten ahead are asked for while this one is drawn (a short row
    // takes far less time than a line takes to arrive), up to a short row's
    // worth with its last line (longer rows stream on their own).
    constexpr ptrdiff_t kLine = 64 / static_cast<ptrdiff_t>(sizeof(Pixel));
    constexpr int kRowsAhead = 10;
    const ptrdiff_t ahead = std::min<ptrdiff_t>(p.src.width, 8 * kLine);
    const Pixel* first = Step > 0 ? row : row - (p.src.width - 1);
    const auto prefetchRow = [&](int j) {
        if (j < p.src.height) {
            const Pixel* at = first + j * rowStep;
            for (ptrdiff_t k = 0; k < ahead; k += kLine)
                __builtin_prefetch(at + k, 1);
            __builtin_prefetch(at + ahead - 1, 1);
        }
    };
    for (int j = 1; j < kRowsAhead; ++j)
        prefetchRow(j);
    for (int j = 0; j < p.src.height; ++j, row += rowStep) {
        prefetchRow(j + kRowsAhead);
        rowFn(row, p.SourceIndex(j));
    }
}

// The run-length walk: each run is classified by its first source word and
// handed whole to op.Run. An op with a span form (kSpans) takes the drawn
// runs that follow one another (first word's alpha not 0) in one call
// instead, for a source whose display words are stored one per pixel,
// walked left to right on 32 bits: a sprite's row is then one span between
// its transparent margins, without a branch at each edge of its opaque part.
template <class Pixel, int Step, class Words, class Op>
void WalkRuns(const Target& t, const Placement& p, const Words& words, const uint8_t* runs, const Op& op)
{
    // Run bytes are at least 1; a 0 would stand still.
    const auto runAt = [&](size_t si, int remaining) {
        return std::min<int>(std::max<int>(runs[si], 1), remaining);
    };
    ForEachRow<Pixel, Step>(t, p, [&](Pixel* dst, size_t si) {
        int remaining = p.src.width;
        while (remaining > 0) {
            if constexpr (Op::kSpans && Step == 1 && sizeof(Pixel) == 4 && std::is_same_v<Words, ArgbWords>) {
                if ((words[si] >> 24) != 0) {
                    int n = runAt(si, remaining);
                    while (n < remaining && (words[si + static_cast<size_t>(n)] >> 24) != 0)
                        n += runAt(si + static_cast<size_t>(n), remaining - n);
                    op.Span(dst, words.bits + si, n);
                    si += static_cast<size_t>(n);
                    dst += n;
                    remaining -= n;
                    continue;
                }
            }
            const int n = runAt(si, remaining);
            op.template Run<Pixel, Step>(words, si, n, dst);
            si += static_cast<size_t>(n);
            dst += Step * n;
            remaining -= n;
        }
    });
}

// The white blend on 32 bits: the destination scaled by the source's
// transparency plus the premultiplied source, whose alpha lands in the top
// byte. Each field times ia (at most 256) stays below 2^16, so red and blue
// share a lane product and ((d & 0xFF00) * ia >> 8) & 0xFF00 is green's
// product masked in place.
template <class T>
TANDRY_LANE_INLINE T WhiteOver32(const T& s, const T& d)
{
    const T ia = 256 - (s >> 24);
    return (MulHalves((d >> 8) & 0xFFu, ia) & 0xFF00u) + ((MulHalves(d & 0xFF00FFu, ia) >> 8) & 0xFF00FFu) + s;
}

// dst[i] = blend(src[i], dst[i]) over a row, eight pixels at a time; blend
// is a generic lambda over the lane type. A row of eight or more ends with
// the last eight pixels, blended from the destination as it was before any
// store and stored last: each result depends only on its own pixel's source
// and destination, so pixels that two groups share get the same value twice.
// Shorter rows go one by one.
template <class Blend>
TANDRY_LANE_INLINE void BlendRow32(uint32_t* dst, const uint32_t* src, int n, const Blend& blend)
{
    using namespace PixelLanes;
    if (n < kLanes) {
        for (int i = 0; i < n; ++i)
            dst[i] = blend(src[i], dst[i]);
        return;
    }
    const int last = n - kLanes;
    const auto tail = blend(Load(src + last), Load(dst + last));
    for (int i = 0; i < last; i += kLanes)
        Store(dst + i, blend(Load(src + i), Load(dst + i)));
    Store(dst + last, tail);
}

TANDRY_LANE_CLONES
void WhiteOverRow32(uint32_t* dst, const uint32_t* src, int n)
{
    BlendRow32(dst, src, n,
               [](const auto& s, const auto& d) __attribute__((always_inline)) { return WhiteOver32(s, d); });
}

// Runs of alpha 0 are skipped; runs of alpha 255 take op.Opaque when
// op.OpaqueRuns(), every other pixel op.Blend with its own alpha. An op with
// a row form (kRows) blends the long runs of a source whose display words
// are stored one per pixel (not palettised), walked left to right, eight
// pixels at a time.
template <class Op>
struct CompositeRuns {
    Op op;

    static constexpr bool kSpans = Op::kSpans;
    void Span(uint32_t* dst, const uint32_t* src, int n) const { op.SpanRow(dst, src, n); }

    template <class Pixel, int Step, class Words>
    void Run(const Words& words, size_t si, int n, Pixel* dst) const
    {
        const uint32_t a = words[si] >> 24;
        if (a == 0)
            return;
        if (a == 255 && op.OpaqueRuns()) {
            for (int i = 0; i < n; ++i, dst += Step)
                *dst = static_cast<Pixel>(op.Opaque(words[si + i], *dst));
            return;
        }
        // Short runs (the edges of sprites) stay inline.
        if constexpr (Op::kRows && Step == 1 && sizeof(Pixel) == 4 && std::is_same_v<Words, ArgbWords>) {
            if (n >= PixelLanes::kLanes) {
                op.BlendRow(dst, words.bits + si, n);
                return;
            }
        }
        for (int i = 0; i < n; ++i, dst += Step)
            *dst = static_cast<Pixel>(op.Blend(words[si + i], *dst));
    }
};

// White: opaque runs are copied, partial pixels scale the destination by
// their transparency and add the premultiplied source.
template <Kind K>
struct WhiteOp {
    uint32_t masks[3];

    static constexpr bool kRows = K == Kind::Word32;
    // On 32 bits the blend of an opaque pixel is the pixel itself (its
    // transparency 1 scales every field of the destination to 0), so opaque
    // and partial runs blend alike.
    static constexpr bool kSpans = K == Kind::Word32;
    void SpanRow(uint32_t* dst, const uint32_t* src, int n) const { WhiteOverRow32(dst, src, n); }
    bool OpaqueRuns() const { return true; }
    uint32_t Opaque(uint32_t s, uint32_t) const { return s; }
    void BlendRow(uint32_t* dst, const uint32_t* src, int n) const { WhiteOverRow32(dst, src, n); }
    uint32_t Blend(uint32_t s, uint32_t d) const
    {
        const uint32_t ia = 256 - (s >> 24);
        if constexpr (K == Kind::Word32) {
            // The masks are not looked at.
            return WhiteOver32(s, d);
        } else if constexpr (K == Kind::Masks16) {
            return ScaleByMasks(d, ia, masks) + (s & 0xFFFFu);
        } else {
            constexpr uint32_t m = kSpreadMask<K>;
            return Fold(((Spread(d, m) * (ia >> 3)) >> 5) & m) + (s & 0xFFFFu);
        }
    }
};

// A grey colour on 565, 555 or 32 bits: one factor for all channels.
template <Kind K>
struct GreyOp {
    uint32_t k;
    uint32_t ca;

    static constexpr bool kRows = false;
    static constexpr bool kSpans = false;
    void BlendRow(uint32_t*, const uint32_t*, int) const {}
    void SpanRow(uint32_t*, const uint32_t*, int) const {}

    bool OpaqueRuns() const { return ca == 255; }
    uint32_t Opaque(uint32_t s, uint32_t) const
    {
        if constexpr (K == Kind::Word32) {
            return ((((s & 0xFF00FFu) * k) >> 8) & 0xFF00FFu) + ((((s & 0xFF00u) * k) >> 8) & 0xFF00u);
        } else {
            constexpr uint32_t m = kSpreadMask<K>;
            return Fold(((Spread(s & 0xFFFFu, m) * (k >> 3)) >> 5) & m);
        }
    }
    uint32_t Blend(uint32_t s, uint32_t d) const
    {
        const uint32_t ia = 256 - ((s >> 24) * ca) / 255;
        if constexpr (K == Kind::Word32) {
            return ((((d & 0xFF00FFu) * ia + (s & 0xFF00FFu) * k) >> 8) & 0xFF00FFu)
                + ((((d & 0xFF00u) * ia + (s & 0xFF00u) * k) >> 8) & 0xFF00u);
        } else {
            constexpr uint32_t m = kSpreadMask<K>;
            return Fold(((Spread(s & 0xFFFFu, m) * (k >> 3) + Spread(d, m) * (ia >> 3)) >> 5) & m);
        }
    }
};

// Any other colour, and grey on other 16-bit masks: channel by channel.
struct MaskTintOp {
    MaskFactors f;
    uint32_t ca;

    static constexpr bool kRows = false;
    static constexpr bool kSpans = false;
    void BlendRow(uint32_t*, const uint32_t*, int) const {}
    void SpanRow(uint32_t*, const uint32_t*, int) const {}

    bool OpaqueRuns() const { return ca == 255; }
    uint32_t Opaque(uint32_t s, uint32_t) const { return TintByMasks(s, f); }
    uint32_t Blend(uint32_t s, uint32_t d) const { return BlendByMasks(d, s, 256 - ((s >> 24) * ca) / 255, f); }
};

MaskFactors FactorsOf(const Target& t, const ColourFactors& k)
{
    return MaskFactors{{t.red, t.green, t.blue}, {k.red, k.green, k.blue}};
}

template <int Step, class Words, class Op>
void CompositeAs(const Target& t, const Placement& p, const Words& words, const uint8_t* runs, const Op& op)
{
    if (t.bitsPerPixel == 32)
        WalkRuns<uint32_t, Step>(t, p, words, runs, CompositeRuns<Op>{op});
    else
        WalkRuns<uint16_t, Step>(t, p, words, runs, CompositeRuns<Op>{op});
}

template <int Step, Kind K, class Words>
void CompositeKind(const Target& t, const Placement& p, const Words& words, const uint8_t* runs,
                   const ClampedColor& c)
{
    if (c.IsWhite()) {
        CompositeAs<Step>(t, p, words, runs, WhiteOp<K>{{t.red, t.green, t.blue}});
        return;
    }
    const ColourFactors k(c);
    if constexpr (K != Kind::Masks16) {
        if (k.Grey()) {
            CompositeAs<Step>(t, p, words, runs, GreyOp<K>{k.red, k.alpha});
            return;
        }
    }
    CompositeAs<Step>(t, p, words, runs, MaskTintOp{FactorsOf(t, k), k.alpha});
}

template <int Step, class Words>
void Composite(const Target& t, const Placement& p, const Words& words, const uint8_t* runs, const ClampedColor& c)
{
    switch (KindOf(t)) {
    case Kind::P565:
        return CompositeKind<Step, Kind::P565>(t, p, words, runs, c);
    case Kind::P555:
        return CompositeKind<Step, Kind::P555>(t, p, words, runs, c);
    case Kind::Masks16:
        return CompositeKind<Step, Kind::Masks16>(t, p, words, runs, c);
    case Kind::Word32:
        return CompositeKind<Step, Kind::Word32>(t, p, words, runs, c);
    }
}

// The additive blit on 8-bit fields, whose saturation tables are min(i, 255):
// white adds the source's fields, a colour first scales each field by its
// factor (below 256; red and blue in the halves of factorRB).
template <class T>
TANDRY_LANE_INLINE T AddWhite888(const T& s, const T& d)
{
    return AddBytesSaturated(d & 0xFFFFFFu, s & 0xFFFFFFu);
}

template <class T>
TANDRY_LANE_INLINE T AddScaled888(const T& s, const T& d, const T& factorRB, const T& factorG)
{
    const T rb = (MulPacked(s & 0xFF00FFu, factorRB) >> 8) & 0xFF00FFu;
    const T g = MulPacked((s >> 8) & 0xFFu, factorG) & 0xFF00u;
    return AddBytesSaturated(d & 0xFFFFFFu, rb | g);
}

TANDRY_LANE_CLONES
void AddRow888(uint32_t* dst, const uint32_t* src, int n, bool white, uint32_t factorRB, uint32_t factorG)
{
    if (white) {
        BlendRow32(dst, src, n,
                   [](const auto& s, const auto& d) __attribute__((always_inline)) { return AddWhite888(s, d); });
        return;
    }
    BlendRow32(dst, src, n, [=](const auto& s, const auto& d) __attribute__((always_inline)) {
        using T = std::decay_t<decltype(s)>;
        return AddScaled888(s, d, T{} + factorRB, T{} + factorG);
    });
}

// Additive: runs without colour bits are skipped, every other pixel is added
// channel by channel through the display's saturation tables.
struct AddRuns {
    static constexpr bool kSpans = false;
    void Span(uint32_t*, const uint32_t*, int) const {}

    AddChannels channels;
    bool white;
    uint32_t factor[3];
    // 8-bit fields at bits 16, 8 and 0 whose tables saturate at 255.
    bool bytes;

    template <class Pixel, int Step, class Words>
    void Run(const Words& words, size_t si, int n, Pixel* dst) const
    {
        if ((words[si] & 0xFFFFFFu) == 0)
            return;
        if constexpr (Step == 1 && sizeof(Pixel) == 4 && std::is_same_v<Words, ArgbWords>) {
            if (bytes && n >= PixelLanes::kLanes) {
                AddRow888(dst, words.bits + si, n, white, factor[0] << 16 | factor[2], factor[1]);
                return;
            }
        }
        for (int i = 0; i < n; ++i, dst += Step) {
            const uint32_t s = words[si + i];
            if (white) {
                *dst = static_cast<Pixel>(channels.Apply(*dst, [&](uint32_t dm, int ch) {
                    return (dm + (s & channels.c[ch].mask)) >> channels.c[ch].shift;
                }));
            } else {
                *dst = static_cast<Pixel>(channels.Apply(*dst, [&](uint32_t dm, int ch) {
                    const AddChannel& c = channels.c[ch];
                    return ((((s & c.mask) >> c.shift) * factor[ch]) >> 8) + (dm >> c.shift);
                }));
            }
        }
    }
};

bool AddsBytes(const Target& t, const DDInterface& display)
{
    return t.bitsPerPixel == 32 && t.red == 0xFF0000u && t.green == 0xFF00u && t.blue == 0xFFu
        && display.mRedBits == 8 && display.mGreenBits == 8 && display.mBlueBits == 8;
}

// The copy path: display-format words as they are; with transparency the
// words of alpha 0 leave the destination alone.
template <class Pixel, class Words>
void CopyWords(const Target& t, const Placement& p, const Words& words, bool keyed)
{
    ForEachRow<Pixel, 1>(t, p, [&](Pixel* dst, size_t si) {
        if constexpr (sizeof(Pixel) == 4 && std::is_same_v<Words, ArgbWords>) {
            if (!keyed) {
                std::memcpy(dst, words.bits + si, static_cast<size_t>(p.src.width) * 4);
                return;
            }
        }
        for (int i = 0; i < p.src.width; ++i) {
            const uint32_t q = words[si + static_cast<size_t>(i)];
            if (!keyed || (q >> 24) != 0)
                dst[i] = static_cast<Pixel>(q);
        }
    });
}

// The raw path: straight ARGB words blended by their own alpha, pixel by pixel.
template <class Pixel, class Words, class Blend>
void RawRows(const Target& t, const Placement& p, const Words& words, const Blend& blend)
{
    ForEachRow<Pixel, 1>(t, p, [&](Pixel* dst, size_t si) {
        for (int i = 0; i < p.src.width; ++i)
            dst[i] = static_cast<Pixel>(blend(words[si + static_cast<size_t>(i)], dst[i]));
    });
}

// The raw blend on 32 bits in display order: each field moves from the
// destination toward the straight source by sa / 256, with wrap-around.
template <class T>
TANDRY_LANE_INLINE T RawOver32(const T& s, const T& d)
{
    const T sa = s >> 24;
    const T rb = (((((s & 0xFF00FFu) - (d & 0xFF00FFu)) * sa) >> 8) + (d & 0xFF00FFu)) & 0xFF00FFu;
    const T g = (((((s & 0xFF00u) - (d & 0xFF00u)) * sa) >> 8) + (d & 0xFF00u)) & 0xFF00u;
    return rb | g;
}

TANDRY_LANE_CLONES
void RawOverRow32(uint32_t* dst, const uint32_t* src, int n)
{
    BlendRow32(dst, src, n,
               [](const auto& s, const auto& d) __attribute__((always_inline)) { return RawOver32(s, d); });
}

// The source's 8-bit channel that goes with each mask: red, green, blue.
constexpr uint32_t kChannelShift[3] = {16, 8, 0};

template <class Words>
void RawBlit(const Target& t, const Placement& p, const Words& words, bool rgbOrdered)
{
    const uint32_t masks[3] = {t.red, t.green, t.blue};
    if (t.bitsPerPixel == 16) {
        if (rgbOrdered && (t.green == kGreen565 || t.green == kGreen555)) {
            const bool is565 = t.green == kGreen565;
            const uint32_t m = is565 ? kSpread565 : kSpread555;
            RawRows<uint16_t>(t, p, words, [=](uint32_t s, uint32_t d) {
                const uint32_t dd = Spread(d, m);
                const uint32_t x = is565 ? ArgbToSpread565(s) : ArgbToSpread555(s);
                return Fold(((((x - dd) * (s >> 27)) >> 5) + dd) & m);
            });
            return;
        }
        RawRows<uint16_t>(t, p, words, [&](uint32_t s, uint32_t d) {
            const uint32_t sa = s >> 24;
            uint32_t sum = 0;
            for (int i = 0; i < 3; ++i) {
                const uint32_t c = (s >> kChannelShift[i]) & 0xFFu;
                const uint32_t m = masks[i];
                sum += ((((d & m) * (256 - sa)) + ((c * sa * m) >> 8) + (m >> 1)) >> 8) & m;
            }
            return sum;
        });
        return;
    }
    if (rgbOrdered) {
        if constexpr (std::is_same_v<Words, ArgbWords>) {
            ForEachRow<uint32_t, 1>(t, p, [&](uint32_t* dst, size_t si) {
                RawOverRow32(dst, words.bits + si, p.src.width);
            });
        } else {
            RawRows<uint32_t>(t, p, words, [](uint32_t s, uint32_t d) { return RawOver32(s, d); });
        }
        return;
    }
    RawRows<uint32_t>(t, p, words, [&](uint32_t s, uint32_t d) {
        const uint32_t sa = s >> 24;
        uint32_t sum = 0;
        for (int i = 0; i < 3; ++i) {
            const uint32_t c = (s >> kChannelShift[i]) & 0xFFu;
            const uint32_t m = masks[i];
            sum += ((((d & m) * (256 - sa)) + ((c * sa) >> 8) * m + (m >> 1)) >> 8) & m;
        }
        return sum;
    });
}


} // namespace

bool DDImage::LockForDrawing(SurfacePixels::Target& target)
{
    if (GetSurface() == nullptr || !LockSurface())
        return false;
    target = Target::Of(mLockDesc);
    if (target.Drawable())
        ++mSurfaceWrites;
    return true;
}

HRESULT DDImage::DirectDrawBlt(RECT destRect, DDImage& src, RECT srcRect)
{
    IDirectDrawSurface* surface = GetSurface();
    if (surface == nullptr)
        return DDERR_NOTINITIALIZED;
    const bool outerLock = mLockCount > 0;
    if (outerLock)
        surface->Unlock(nullptr);
    DDBLTFX effects;
    effects.dwSize = sizeof(effects);
    const uint32_t flags = DDBLT_WAIT | (src.mHasTrans ? DDBLT_KEYSRC : 0u);
    surface->Blt(&destRect, src.mSurface, &srcRect, flags, &effects);
    ++mSurfaceWrites;
    if (!outerLock)
        return DD_OK;
    mLockDesc = DDSURFACEDESC();
    mLockDesc.dwSize = sizeof(mLockDesc);
    const HRESULT relock = surface->Lock(nullptr, &mLockDesc, DDLOCK_WAIT, nullptr);
    // The outer pass must not write through the memory of the old lock.
    if (relock != DD_OK)
        mLockDesc = DDSURFACEDESC();
    return relock;
}

void DDImage::SurfaceBlt(Image* src, int x, int y, const Rect& srcRect, const Color& color)
{
    src->mDrawn = true;
    auto* source = dynamic_cast<MemoryImage*>(src);
    if (source == nullptr)
        return;
    auto* surfaceSource = dynamic_cast<DDImage*>(src);
    if (surfaceSource != nullptr && surfaceSource->mSurface == nullptr)
        surfaceSource = nullptr;
    source->ScanAlpha();
    const ClampedColor c(color);
    const Placement p{x, y, srcRect, source->mWidth};

    if (source->mVolatile && surfaceSource == nullptr && !mNoDraw && c.IsWhite()) {
        Target t;
        if (!LockForDrawing(t))
            return;
        if (t.Drawable()) {
            const bool ordered = gDisplayRGBOrdered.load(std::memory_order_relaxed);
            if (source->mColorIndices && source->mColorTable) {
                RawBlit(t, p, PaletteWords{source->mColorIndices.get(), source->mColorTable.get()}, ordered);
            } else if (const uint32_t* bits = source->GetBits()) {
                RawBlit(t, p, ArgbWords{bits}, ordered);
            }
        }
        UnlockSurface();
        return;
    }

    if (!source->mHasAlpha && c.IsWhite()) {
        if (surfaceSource != nullptr && (mVideoMemory || !surfaceSource->mVideoMemory)) {
            DirectDrawBlt(RECT{x, y, x + srcRect.width, y + srcRect.height}, *surfaceSource,
                          RECT{srcRect.x, srcRect.y, srcRect.x + srcRect.width, srcRect.y + srcRect.height});
            return;
        }
        Target t;
        if (mNoDraw || !LockForDrawing(t))
            return;
        if (t.Drawable()) {
            const bool keyed = source->mHasTrans;
            const SourceFormat format(mDDInterface, t);
            WithDisplayWords(*source, *format.display, [&](const auto& words) {
                if (t.bitsPerPixel == 32)
                    CopyWords<uint32_t>(t, p, words, keyed);
                else
                    CopyWords<uint16_t>(t, p, words, keyed);
            });
        }
        UnlockSurface();
        return;
    }

    Target t;
    if (mNoDraw || !LockForDrawing(t))
        return;
    if (t.Drawable()) {
        const SourceFormat format(mDDInterface, t);
        WithDisplayWords(*source, *format.display, [&](const auto& words) {
            Composite<1>(t, p, words, source->GetAlphaRunTable(), c);
        });
    }
    UnlockSurface();
}

void DDImage::SurfaceBltMirror(Image* src, int x, int y, const Rect& srcRect, const Color& color)
{
    src->mDrawn = true;
    auto* source = dynamic_cast<MemoryImage*>(src);
    if (source == nullptr)
        return;
    source->ScanAlpha();
    Target t;
    if (mNoDraw || !LockForDrawing(t))
        return;
    if (t.Drawable()) {
        const ClampedColor c(color);
        const Placement p{x, y, srcRect, source->mWidth};
        const SourceFormat format(mDDInterface, t);
        WithDisplayWords(*source, *format.display, [&](const auto& words) {
            Composite<-1>(t, p, words, source->GetAlphaRunTable(), c);
        });
    }
    UnlockSurface();
}

template <int Step>
void DDImage::AdditiveBlt(Image* src, int x, int y, const Rect& srcRect, const Color& color)
{
    src->mDrawn = true;
    if (mNoDraw)
        return;
    auto* source = dynamic_cast<MemoryImage*>(src);
    if (source == nullptr)
        return;
    Target t;
    if (!LockForDrawing(t))
        return;
    // The saturation tables are the display's.
    if (t.Drawable() && mDDInterface != nullptr) {
        source->ScanAlpha();
        const ClampedColor c(color);
        const ColourFactors k(c);
        const AddRuns op{SaturatingChannels(t, *mDDInterface), c.IsWhite(), {k.red, k.green, k.blue},
                         AddsBytes(t, *mDDInterface)};
        const Placement p{x, y, srcRect, source->mWidth};
        WithDisplayWords(*source, *mDDInterface, [&](const auto& words) {
            const uint8_t* runs = source->GetAdditiveRunTable(mDDInterface);
            if (t.bitsPerPixel == 32)
                WalkRuns<uint32_t, Step>(t, p, words, runs, op);
            else
                WalkRuns<uint16_t, Step>(t, p, words, runs, op);
        });
    }
    UnlockSurface();
}

void DDImage::SurfaceBltAdditive(Image* src, int x, int y, const Rect& srcRect, const Color& color)
{
    AdditiveBlt<1>(src, x, y, srcRect, color);
}

void DDImage::SurfaceBltMirrorAdditive(Image* src, int x, int y, const Rect& srcRect, const Color& color)
{
    AdditiveBlt<-1>(src, x, y, srcRect, color);
}

} // namespace Tandry
