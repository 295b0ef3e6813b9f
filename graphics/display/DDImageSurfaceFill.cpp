// The fills and one-pixel lines of a surface image into its locked surface,
// normal and additive. Fills and lines turn the colour into surface values
// each in their own way (a fill rounds up, a line to the nearest), so an
// opaque white fill is brighter than an opaque white line on purpose.
#include "graphics/display/DDImage.h"

#include "graphics/display/DDInterface.h"
#include "graphics/display/SurfacePixels.h"
#include "graphics/image/LineWalk.h"
#include "graphics/image/PixelLanes.h"
#include "graphics/types/ClampedColor.h"

#include <algorithm>

namespace Tandry {

using namespace SurfacePixels;

namespace {

// The colour in surface values: a plain store when opaque, else the source
// terms' sum plus each channel of the destination scaled by 256 - a with a
// rounding term of its own.
struct SolidColour {
    bool opaque = true;
    uint32_t value = 0;
    uint32_t keep = 0;
    uint32_t mask[3] = {};
    uint32_t round[3] = {};

    uint32_t operator()(uint32_t d) const
    {
        if (opaque)
            return value;
        uint32_t sum = value;
        for (int i = 0; i < 3; ++i)
            sum += (((d & mask[i]) * keep + round[i]) >> 8) & mask[i];
        return sum;
    }
};

uint32_t ChannelOf(const ClampedColor& c, int i)
{
    return i == 0 ? c.red : i == 1 ? c.green : c.blue;
}

SolidColour FillColour(const Target& t, const ClampedColor& c)
{
    SolidColour out;
    const uint32_t masks[3] = {t.red, t.green, t.blue};
    const bool wide = t.bitsPerPixel == 32;
    out.opaque = c.alpha == 255;
    out.keep = 256 - c.alpha;
    for (int i = 0; i < 3; ++i) {
        const uint32_t m = masks[i];
        const uint32_t ch = ChannelOf(c, i);
        out.mask[i] = m;
        if (out.opaque) {
            out.value |= wide ? ((ch * m) >> 8) & m : (((ch + 1) * m) >> 8) & m;
        } else {
            const uint32_t scaled = (ch * c.alpha + (wide ? 0x7Fu : 0x80u)) >> 8;
            out.value += (((scaled + 1) * m) >> 8) & m;
            out.round[i] = wide ? 0 : m;
        }
    }
    return out;
}

SolidColour LineColour(const Target& t, const ClampedColor& c)
{
    SolidColour out;
    const uint32_t masks[3] = {t.red, t.green, t.blue};
    out.opaque = c.alpha == 255;
    out.keep = 256 - c.alpha;
    for (int i = 0; i < 3; ++i) {
        const uint32_t m = masks[i];
        const uint32_t ch = ChannelOf(c, i);
        out.mask[i] = m;
        out.round[i] = m >> 1;
        if (out.opaque)
            out.value |= ((ch * m + (m >> 1)) >> 8) & m;
        else
            out.value += ((((ch * c.alpha + 0x80) >> 8) * m + (m >> 1)) >> 8) & m;
    }
    return out;
}

// The additive colour: each channel's addend in the display's bits of that
// channel, added through its saturation table.
struct AddColour {
    AddChannels channels;
    uint32_t addend[3];

    uint32_t operator()(uint32_t d) const
    {
        return channels.Apply(d, [&](uint32_t dm, int i) { return (dm >> channels.c[i].shift) + addend[i]; });
    }
};

AddColour AdditiveColour(const Target& t, const DDInterface& display, const ClampedColor& c)
{
    const int bits[3] = {display.mRedBits, display.mGreenBits, display.mBlueBits};
    AddColour out{{{{t.red, static_cast<uint32_t>(display.mRedShift), display.mRedAddTable.data()},
                    {t.green, static_cast<uint32_t>(display.mGreenShift), display.mGreenAddTable.data()},
                    {t.blue, static_cast<uint32_t>(display.mBlueShift), display.mBlueAddTable.data()}}},
                  {}};
    for (int i = 0; i < 3; ++i)
        out.addend[i] = static_cast<uint32_t>(static_cast<int32_t>(ChannelOf(c, i) * c.alpha / 255) >> (8 - bits[i]));
    return out;
}

// Calls rowFn(first pixel of the row) for each row of rect.
template <class Pixel, class RowFn>
void ForEachRow(const Target& t, const Rect& rect, const RowFn& rowFn)
{
    Pixel* row = t.At<Pixel>(rect.x, rect.y);
    const ptrdiff_t rowStep = t.RowStep<Pixel>();
    for (int j = 0; j < rect.height; ++j, row += rowStep)
        rowFn(row);
}

template <class Pixel, class Shade>
void FillRows(const Target& t, const Rect& rect, const Shade& shade)
{
    ForEachRow<Pixel>(t, rect, [&](Pixel* row) {
        for (int i = 0; i < rect.width; ++i)
            row[i] = static_cast<Pixel>(shade(row[i]));
    });
}

template <class Shade>
void Fill(const Target& t, const Rect& rect, const Shade& shade)
{
    if (t.bitsPerPixel == 32)
        FillRows<uint32_t>(t, rect, shade);
    else
        FillRows<uint16_t>(t, rect, shade);
}

TANDRY_LANE_CLONES
void StoreRow32(uint32_t* row, int count, uint32_t value)
{
    std::fill_n(row, count, value);
}

TANDRY_LANE_CLONES
void StoreRow16(uint16_t* row, int count, uint16_t value)
{
    std::fill_n(row, count, value);
}

// The translucent fill's destination term on 8-bit fields at bits 16, 8 and
// 0: each field times keep (at most 256) stays below 2^16, so the red and
// blue products share one lane and green has its own, and
// ((d & m) * keep >> 8) & m is the field's product shifted into place.
template <class T>
TANDRY_LANE_INLINE T FillOver888(const T& d, uint32_t value, const T& keep)
{
    using PixelLanes::MulHalves;
    return value + ((MulHalves(d & 0xFF00FFu, keep) >> 8) & 0xFF00FFu) + (MulHalves((d >> 8) & 0xFFu, keep) & 0xFF00u);
}

TANDRY_LANE_CLONES
void FillOverRow888(uint32_t* row, int count, uint32_t value, uint32_t keep)
{
    using namespace PixelLanes;
    const U32x8 keeps = Splat(keep);
    int i = 0;
    for (; i + kLanes <= count; i += kLanes)
        Store(row + i, FillOver888(Load(row + i), value, keeps));
    for (; i < count; ++i)
        row[i] = FillOver888(row[i], value, keep);
}

bool Is888(const Target& t)
{
    return t.bitsPerPixel == 32 && t.red == 0xFF0000u && t.green == 0xFF00u && t.blue == 0xFFu;
}

// The fill: a plain store when opaque; the translucent 8-8-8 blend eight
// pixels at a time; every other layout pixel by pixel.
void Fill(const Target& t, const Rect& rect, const SolidColour& colour)
{
    if (rect.width <= 0)
        return;
    if (colour.opaque) {
        if (t.bitsPerPixel == 32)
            ForEachRow<uint32_t>(t, rect, [&](uint32_t* row) { StoreRow32(row, rect.width, colour.value); });
        else
            ForEachRow<uint16_t>(t, rect, [&](uint16_t* row) {
                StoreRow16(row, rect.width, static_cast<uint16_t>(colour.value));
            });
        return;
    }
    if (Is888(t)) {
        ForEachRow<uint32_t>(t, rect,
                             [&](uint32_t* row) { FillOverRow888(row, rect.width, colour.value, colour.keep); });
        return;
    }
    Fill<SolidColour>(t, rect, colour);
}

template <class Pixel, class Shade>
void Walk(const Target& t, double x1, double y1, double x2, double y2, const Shade& shade)
{
    LineWalk::WalkLine(x1, y1, x2, y2, true, [&](int x, int y) {
        Pixel* p = t.At<Pixel>(x, y);
        *p = static_cast<Pixel>(shade(*p));
    });
}

template <class Shade>
void Line(const Target& t, double x1, double y1, double x2, double y2, const Shade& shade)
{
    if (t.bitsPerPixel == 32)
        Walk<uint32_t>(t, x1, y1, x2, y2, shade);
    else
        Walk<uint16_t>(t, x1, y1, x2, y2, shade);
}

} // namespace

void DDImage::SurfaceFillRect(const Rect& rect, const Color& color)
{
    Target t;
    if (mNoDraw || !LockForDrawing(t))
        return;
    if (t.Drawable())
        Fill(t, rect, FillColour(t, ClampedColor(color)));
    UnlockSurface();
}

void DDImage::SurfaceFillRectAdditive(const Rect& rect, const Color& color)
{
    Target t;
    if (mNoDraw || !LockForDrawing(t))
        return;
    // The saturation tables are the display's.
    if (t.Drawable() && mDDInterface != nullptr)
        Fill(t, rect, AdditiveColour(t, *mDDInterface, ClampedColor(color)));
    UnlockSurface();
}

void DDImage::SurfaceDrawLine(double x1, double y1, double x2, double y2, const Color& color)
{
    Target t;
    if (mNoDraw || !LockForDrawing(t))
        return;
    if (t.Drawable())
        Line(t, x1, y1, x2, y2, LineColour(t, ClampedColor(color)));
    UnlockSurface();
}

void DDImage::SurfaceDrawLineAdditive(double x1, double y1, double x2, double y2, const Color& color)
{
    Target t;
    if (mNoDraw || !LockForDrawing(t))
        return;
    if (t.Drawable() && mDDInterface != nullptr)
        Line(t, x1, y1, x2, y2, AdditiveColour(t, *mDDInterface, ClampedColor(color)));
    UnlockSurface();
}

} // namespace Tandry
