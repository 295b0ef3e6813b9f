#include "graphics/rasterizer/ReferenceRasterizer.h"

#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/ReferenceTexturing.h"

namespace Tandry::Testing {

namespace {

using Wide = __int128;

int32_t Low32(int64_t v)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
}

int64_t Low64(Wide v)
{
    return static_cast<int64_t>(static_cast<uint64_t>(static_cast<unsigned __int128>(v)));
}

// floor(a / b), worked through the 128-bit type so no step can overflow.
int64_t Floor(int64_t a, int64_t b)
{
    Wide n = a;
    Wide d = b;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    return static_cast<int64_t>(n >= 0 ? n / d : -((-n + d - 1) / d));
}

int32_t CeilRow(int32_t q)
{
    return static_cast<int32_t>(Floor(Low32(int64_t{q} + 0xFFFF), 65536));
}

int32_t ProductShift(int32_t a, int32_t b, int k)
{
    return Low32(Floor(int64_t{a} * b, int64_t{1} << k));
}

int64_t Reciprocal(int32_t d)
{
    return (int64_t{1} << 48) / d;
}

int32_t HighOfProduct(int64_t a, int64_t b)
{
    return Low32(Floor(Low64(Wide{a} * b), int64_t{1} << 32));
}

int32_t EdgeSlope(int32_t dq, int32_t d)
{
    return HighOfProduct(dq, Reciprocal(d));
}

bool SlopeRepresentable(int32_t dx, int32_t dy)
{
    const int64_t ax = dx < 0 ? -int64_t{dx} : dx;
    const int64_t ay = dy < 0 ? -int64_t{dy} : dy;
    return ax < 32768 * ay;
}

// The x of the edge from s to e, `steps` rows below the row `firstRow`.
int32_t EdgeX(const RasterVertex& s, const RasterVertex& e, int32_t firstRow, int64_t steps)
{
    const int32_t dx = Low32(int64_t{e.x} - s.x);
    const int32_t dy = Low32(int64_t{e.y} - s.y);
    const int32_t offset = Low32(int64_t{firstRow} * 65536 - s.y);
    if (SlopeRepresentable(dx, dy)) {
        const int32_t slope = EdgeSlope(dx, dy);
        return Low32(s.x + int64_t{ProductShift(slope, offset, 16)} + steps * slope);
    }
    const int32_t rowOffset = Low32(offset + steps * 65536);
    return Low32(s.x + Floor(int64_t{dx} * rowOffset, dy));
}

int32_t SplitX(const RasterVertex& top, const RasterVertex& mid, const RasterVertex& bot)
{
    const int32_t dx = Low32(int64_t{bot.x} - top.x);
    const int32_t dy = Low32(int64_t{bot.y} - top.y);
    const int32_t midDy = Low32(int64_t{mid.y} - top.y);
    if (SlopeRepresentable(dx, dy))
        return Low32(top.x + int64_t{ProductShift(EdgeSlope(dx, dy), midDy, 16)});
    return Low32(top.x + Floor(int64_t{dx} * midDy, dy));
}

int32_t Field(const RasterVertex& v, int i)
{
    switch (i) {
    case 0: return v.alpha;
    case 1: return v.red;
    case 2: return v.green;
    case 3: return v.blue;
    case 4: return v.u;
    default: return v.v;
    }
}

int32_t Modulated(int32_t value, int32_t k)
{
    return static_cast<int32_t>((static_cast<uint32_t>(value) * static_cast<uint32_t>(k)) >> 8);
}

bool Wide32(int32_t format)
{
    return format != 0x565 && format != 0x555;
}

uint32_t Opaque(int32_t format, uint32_t r, uint32_t g, uint32_t b)
{
    switch (format) {
    case 0x565: return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
    case 0x555: return (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
    default: return 0xFF000000 | r << 16 | g << 8 | b;
    }
}

// Scales a field of `bits` bits at `shift` by the 5-bit weight k.
uint32_t ScaledField(uint32_t d, int shift, int bits, uint32_t k)
{
    const uint32_t field = (d >> shift) & ((1u << bits) - 1);
    return ((field * k) >> 5) << shift;
}

} // namespace

uint32_t ReferenceBlend(int32_t format, uint32_t d, const uint32_t p[3], uint32_t w)
{
    switch (format) {
    case 0x888: {
        uint32_t out = 0xFF000000;
        for (int c = 0; c < 3; ++c) {
            const int shift = 16 - 8 * c;
            out |= (((((d >> shift) & 0xFF) * (255 - w)) >> 8) + p[c]) << shift;
        }
        return out;
    }
    case 0x565: {
        const uint32_t k = (255 - w) >> 3;
        const uint32_t scaled = ScaledField(d, 11, 5, k) | ScaledField(d, 5, 6, k) | ScaledField(d, 0, 5, k);
        return (scaled + ((p[0] >> 3) << 11 | (p[1] >> 2) << 5 | (p[2] >> 3))) & 0xFFFF;
    }
    case 0x555: {
        const uint32_t k = (255 - w) >> 3;
        const uint32_t scaled = ScaledField(d, 10, 5, k) | ScaledField(d, 5, 5, k) | ScaledField(d, 0, 5, k);
        return (scaled + ((p[0] >> 3) << 10 | (p[1] >> 3) << 5 | (p[2] >> 3))) & 0xFFFF;
    }
    default: {
        const uint32_t da = d >> 24;
        const uint32_t f = 256 - w;
        const uint32_t g = 256 - (((256 - da) * f) >> 8);
        if (g == 0)
            return d;
        uint32_t out = (g - 1) << 24;
        for (int c = 0; c < 3; ++c) {
            const int shift = 16 - 8 * c;
            const uint32_t dc = (d >> shift) & 0xFF;
            out |= ((((((dc * da) >> 8) * f) + (p[c] << 8)) / g) & 0xFF) << shift;
        }
        return out;
    }
    }
}

namespace {

// What one pixel of a vertex-coloured triangle becomes.
void VertexColorPixel(uint8_t* at, int32_t format, const int32_t q[6])
{
    const auto a = static_cast<uint32_t>(q[0]);
    const auto r = static_cast<uint32_t>(q[1]);
    const auto g = static_cast<uint32_t>(q[2]);
    const auto b = static_cast<uint32_t>(q[3]);
    if (a > 0xF00000) {
        RasterCanvas::Write(at, format, Opaque(format, (r >> 16) & 0xFF, (g >> 16) & 0xFF, (b >> 16) & 0xFF));
        return;
    }
    if (a <= 0x80000)
        return;
    const uint32_t w = a >> 16;
    uint32_t p[3];
    if (Wide32(format) && format != 0x888) {
        p[0] = (r * w) >> 24;
        p[1] = (((g >> 8) * w) >> 16) & 0xFF;
        p[2] = (((b >> 16) * w) >> 8) & 0xFF;
    } else {
        const uint32_t rb = ((((r & 0xFF0000) | (b >> 16)) * w) >> 8) & 0x00FF00FF;
        p[0] = rb >> 16;
        p[1] = (((g >> 16) & 0xFF) * w) >> 8;
        p[2] = rb & 0xFF;
    }
    RasterCanvas::Write(at, format, ReferenceBlend(format, RasterCanvas::Read(at, format), p, w));
}

} // namespace

ReferenceFeatures FeaturesOfIndex(int index)
{
    return {(index & 16) != 0, (index & 8) != 0, (index & 4) != 0, (index & 2) != 0, (index & 1) != 0};
}

int32_t FormatOfIndex(int index)
{
    static constexpr int32_t kFormats[] = {0x8888, 0x888, 0x565, 0x555};
    return kFormats[(index >> 5) & 3];
}

void ReferenceTriangle(const RasterVertex* vertices, uint8_t* destination, int32_t pitch, int32_t format,
                       const ReferenceFeatures& features, const RasterColor& color, const Rect& clip,
                       const RasterTexture& texture)
{
    if (!features.textured && !features.vertexColors)
        return;

    RasterVertex v[3] = {vertices[0], vertices[1], vertices[2]};
    // The colour goes into the vertex colours when there are any; otherwise
    // the textured pixel applies it.
    if (features.modulate && features.vertexColors) {
        for (RasterVertex& c : v) {
            c.alpha = Modulated(c.alpha, color.alpha);
            c.red = Modulated(c.red, color.red);
            c.green = Modulated(c.green, color.green);
            c.blue = Modulated(c.blue, color.blue);
        }
    }

    int order[3] = {0, 1, 2};
    const auto sortPair = [&](int i, int j) {
        if (v[order[i]].y > v[order[j]].y) {
            const int t = order[i];
            order[i] = order[j];
            order[j] = t;
        }
    };
    sortPair(0, 1);
    sortPair(1, 2);
    sortPair(0, 1);
    const RasterVertex& top = v[order[0]];
    const RasterVertex& mid = v[order[1]];
    const RasterVertex& bot = v[order[2]];

    const int32_t r0 = CeilRow(top.y);
    const int32_t r1 = CeilRow(mid.y);
    const int32_t r2 = CeilRow(bot.y);
    if (r0 == r2)
        return;
    const int32_t xm = SplitX(top, mid, bot);
    if (xm == mid.x)
        return;
    const bool longOnLeft = xm < mid.x;

    const int32_t longDy = Low32(int64_t{bot.y} - top.y);
    const int32_t midDy = Low32(int64_t{mid.y} - top.y);
    const int32_t prestep = Low32(int64_t{r0} * 65536 - top.y);
    const int64_t recipWidth = Reciprocal(Low32(int64_t{mid.x} - xm));
    int32_t longSlope[6];
    int32_t gradient[6];
    for (int i = 0; i < 6; ++i) {
        longSlope[i] = EdgeSlope(Low32(int64_t{Field(bot, i)} - Field(top, i)), longDy);
        const int64_t across = Field(mid, i) - (Field(top, i) + Floor(int64_t{longSlope[i]} * midDy, 65536));
        gradient[i] = HighOfProduct(across, recipWidth);
    }

    const int64_t pixelSize = Wide32(format) ? 4 : 2;
    const int64_t rowStep = static_cast<uint32_t>(pitch) / pixelSize * pixelSize;
    const int64_t upperRows = r1 > r0 ? r1 - r0 : 0;

    const auto drawRow = [&](int32_t row, int64_t longSteps, int32_t shortX) {
        if (row < clip.y || row >= int64_t{clip.y} + clip.height)
            return;
        const int32_t longX = EdgeX(top, bot, r0, longSteps);
        const int32_t left = longOnLeft ? longX : shortX;
        const int32_t right = longOnLeft ? shortX : longX;
        int32_t longValue[6];
        for (int i = 0; i < 6; ++i)
            longValue[i] = Low32(Field(top, i) + int64_t{ProductShift(longSlope[i], prestep, 16)} +
                                 longSteps * longSlope[i]);
        for (int64_t px = CeilRow(left); px < CeilRow(right); ++px) {
            if (px < clip.x || px >= int64_t{clip.x} + clip.width)
                continue;
            int32_t q[6];
            for (int i = 0; i < 6; ++i)
                q[i] = Low32(longValue[i] + Floor(int64_t{gradient[i]} * (px * 65536 - longX), 65536));
            uint8_t* at = destination + row * rowStep + px * pixelSize;
            if (features.textured)
                ReferenceTexturedPixel(at, format, features, color, texture, q);
            else
                VertexColorPixel(at, format, q);
        }
    };

    for (int32_t row = r0; row < r1; ++row)
        drawRow(row, row - r0, EdgeX(top, mid, r0, row - r0));
    for (int32_t row = r1; row < r2; ++row)
        drawRow(row, upperRows + (row - r1), EdgeX(mid, bot, r1, row - r1));
}

} // namespace Tandry::Testing
