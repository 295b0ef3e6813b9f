#include "graphics/display/DrawnSurfaceReference.h"

#include "graphics/image/RotatedBlitGeometry.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace SurfaceReference {

namespace {

using Tandry::Color;
using Tandry::Rect;

// One colour channel of a layout, red, green or blue.
struct Field {
    uint32_t m;  // mask
    uint32_t s;  // shift
    uint32_t n;  // bit count
    int channel; // 0 red, 1 green, 2 blue
};

std::vector<Field> FieldsOf(const Layout& l)
{
    const uint32_t masks[3] = {l.red, l.green, l.blue};
    std::vector<Field> fields;
    for (int i = 0; i < 3; ++i) {
        fields.push_back(Field{masks[i], static_cast<uint32_t>(std::countr_zero(masks[i])),
                               static_cast<uint32_t>(std::popcount(masks[i])), i});
    }
    return fields;
}

uint32_t Clamp255(int v)
{
    return static_cast<uint32_t>(std::clamp(v, 0, 255));
}

// The colour as (r, g, b, a), each in 0..255.
struct Col {
    uint32_t v[4];
    explicit Col(const Color& c) : v{Clamp255(c.red), Clamp255(c.green), Clamp255(c.blue), Clamp255(c.alpha)} {}
    bool White() const { return v[0] == 255 && v[1] == 255 && v[2] == 255 && v[3] == 255; }
    uint32_t a() const { return v[3]; }
};

// The display's saturating-add table: entry i is min(i, 2^n - 1).
uint32_t Table(const Field& f, uint32_t index)
{
    const uint32_t max = (1u << f.n) - 1;
    if (index > 2 * max)
        throw std::out_of_range("saturating-add index");
    return std::min(index, max);
}

uint32_t Keep(const Layout& l, uint32_t v)
{
    return l.bits == 16 ? (v & 0xFFFFu) : v;
}

// --- the stretch ---

uint32_t StretchPixel(const Layout& l, uint32_t d, uint32_t s, const Col& c, bool additive, bool& write)
{
    const std::vector<Field> fields = FieldsOf(l);
    write = true;
    if (!additive) {
        const uint32_t sa = s >> 24;
        if (c.White()) {
            if (sa == 0) {
                write = false;
                return d;
            }
            const uint32_t ia = 256 - sa;
            uint32_t out = s;
            for (const Field& f : fields)
                out += (((d & f.m) * ia) >> 8) & f.m;
            return out;
        }
        const uint32_t a2 = sa * c.a() / 255;
        if (a2 == 0) {
            write = false;
            return d;
        }
        const uint32_t ia = 256 - a2;
        uint32_t out = 0;
        for (const Field& f : fields) {
            const uint32_t k = c.v[f.channel] * c.a() / 255;
            out += (((d & f.m) * ia + (s & f.m) * k) >> 8) & f.m;
        }
        return out;
    }
    if (s == 0) {
        write = false;
        return d;
    }
    uint32_t out = 0;
    for (const Field& f : fields) {
        uint32_t index;
        if (c.White()) {
            index = ((s & f.m) + (d & f.m)) >> f.s;
        } else {
            const uint32_t k = c.v[f.channel] * c.a() / 255;
            index = ((s & f.m) >> f.s) * k / 256 + ((d & f.m) >> f.s);
        }
        out |= Table(f, index) << f.s;
    }
    return out;
}

// --- the rotated blit ---

struct Sums {
    uint32_t A = 0;
    uint32_t Sr = 0;
    uint32_t Sg = 0;
    uint32_t Sb = 0;
};

Sums Sample(const Source& src, const Rect& srcRect, uint32_t u, uint32_t v, bool scaleByAlpha, uint32_t alpha)
{
    const size_t w = static_cast<size_t>(src.width);
    const size_t at = (static_cast<size_t>(srcRect.y) + (v >> 16)) * w + static_cast<size_t>(srcRect.x) + (u >> 16);
    const uint32_t texel[4] = {src.argb.at(at), src.argb.at(at + 1), src.argb.at(at + w), src.argb.at(at + w + 1)};
    const uint32_t fu = (u & 0xFFFE) + 1;
    const uint32_t fv = (v & 0xFFFE) + 1;
    const uint32_t weight[4] = {((65536 - fu) * (65536 - fv)) >> 16, (fu * (65536 - fv)) >> 16,
                                ((65536 - fu) * fv) >> 16, (fu * fv) >> 16};
    Sums s;
    for (int i = 0; i < 4; ++i) {
        uint32_t ai = (weight[i] * (texel[i] >> 24)) >> 16;
        if (scaleByAlpha)
            ai = (ai * alpha) >> 8;
        s.A += ai;
        s.Sb += (texel[i] & 0xFF) * ai;
        s.Sg += (texel[i] & 0xFF00) * ai;
        s.Sr += (texel[i] & 0xFF0000) * ai;
    }
    return s;
}

uint32_t RotatedPixel(const Layout& l, uint32_t d, const Sums& s, const Col& c, bool additive, bool rgbOrdered)
{
    const std::vector<Field> fields = FieldsOf(l);
    const Field& R = fields[0];
    const Field& G = fields[1];
    const Field& B = fields[2];
    if (additive) {
        const uint32_t kR = c.v[0] * c.a() / 255, kG = c.v[1] * c.a() / 255, kB = c.v[2] * c.a() / 255;
        const uint32_t red = Table(R, (((s.Sr >> (32 - R.n)) * kR) >> 8) + ((d & R.m) >> R.s)) << R.s;
        const uint32_t green = Table(G, ((s.Sg * kG) >> (32 - G.n)) + ((d & G.m) >> G.s)) << G.s;
        const uint32_t blue = Table(B, ((s.Sb * kB) >> (24 - B.n)) + ((d & B.m) >> B.s)) << B.s;
        return red | green | blue;
    }
    const uint32_t ia = 256 - s.A;
    if (c.White() && rgbOrdered) {
        const uint32_t SR = s.Sr >> 16, SG = s.Sg >> 8, SB = s.Sb;
        const uint32_t k = ia >> 3;
        if (l.bits == 16 && (l.green == 0x07E0 || l.green == 0x03E0)) {
            const bool is565 = l.green == 0x07E0;
            const uint32_t dr = is565 ? (d >> 11) & 31 : (d >> 10) & 31;
            const uint32_t dg = is565 ? (d >> 5) & 63 : (d >> 5) & 31;
            const uint32_t db = d & 31;
            const uint32_t red = (SR >> 11) + dr * k / 32;
            const uint32_t green = (SG >> (is565 ? 10 : 11)) + dg * k / 32;
            const uint32_t blue = (SB >> 11) + db * k / 32;
            return is565 ? red << 11 | green << 5 | blue : red << 10 | green << 5 | blue;
        }
        if (l.bits == 32) {
            const uint32_t red = SR / 256 + ((d >> 16) & 255) * ia / 256;
            const uint32_t green = SG / 256 + ((d >> 8) & 255) * ia / 256;
            const uint32_t blue = SB / 256 + (d & 255) * ia / 256;
            return red << 16 | green << 8 | blue;
        }
    }
    uint32_t red, green, blue;
    if (c.White()) {
        blue = (s.Sb >> (16 - B.n)) << B.s;
        green = (s.Sg >> (24 - G.n)) << G.s;
        red = (s.Sr >> (32 - R.n)) << R.s;
    } else {
        blue = (((s.Sb >> 8) * (c.v[2] + 1)) >> (16 - B.n)) << B.s;
        green = (((s.Sg >> 8) * (c.v[1] + 1)) >> (24 - G.n)) << G.s;
        red = (((s.Sr >> 8) * (c.v[0] + 1)) >> (32 - R.n)) << R.s;
    }
    return (red + ((((d & R.m) * ia) >> 8) & R.m)) | (green + ((((d & G.m) * ia) >> 8) & G.m))
        | (blue + ((((d & B.m) * ia) >> 8) & B.m));
}

// --- the anti-aliased line and the coverage fill ---

uint32_t ColourValue(const Layout& l, const Col& c)
{
    uint32_t col = 0;
    for (const Field& f : FieldsOf(l))
        col |= ((c.v[f.channel] * f.m) >> 8) & f.m;
    return col;
}

uint32_t BlendByMask(const Layout& l, uint32_t d, uint32_t col, uint32_t w)
{
    uint32_t out = 0;
    for (const Field& f : FieldsOf(l))
        out |= ((((d & f.m) * (256 - w) + (col & f.m) * w) >> 8) & f.m);
    return out;
}

uint32_t LineBlend(const Layout& l, uint32_t d, uint32_t col, uint32_t w)
{
    if (l.bits == 32) {
        const uint32_t rb = (((d & 0xFF00FF) * (256 - w) + (col & 0xFF00FF) * w) >> 8) & 0xFF00FF;
        const uint32_t g = (((d & 0xFF00) * (256 - w) + (col & 0xFF00) * w) >> 8) & 0xFF00;
        return rb | g;
    }
    if (l.green == 0x07E0 || l.green == 0x03E0) {
        const uint32_t mask = l.green == 0x07E0 ? 0x07E0F81Fu : 0x03E07C1Fu;
        const auto spread = [mask](uint32_t p) { return (p | p << 16) & mask; };
        const auto fold = [](uint32_t v) { return (v | v >> 16) & 0xFFFF; };
        return (fold((((w >> 3) * spread(col)) >> 5) & mask) + fold(((spread(d) * ((256 - w) >> 3)) >> 5) & mask))
            & 0xFFFF;
    }
    return BlendByMask(l, d, col, w);
}

} // namespace

void Stretch(Surface& dest, const Source& src, const Rect& clipped, const Tandry::DoubleRect& srcF,
             const Color& color, int drawMode, bool mirrored)
{
    const Col c(color);
    const int32_t x0 = static_cast<int32_t>(srcF.x * 65536), y0 = static_cast<int32_t>(srcF.y * 65536);
    const int32_t stepX = static_cast<int32_t>(srcF.width * 65536 / clipped.width);
    const int32_t stepY = static_cast<int32_t>(srcF.height * 65536 / clipped.height);
    for (int j = 0; j < clipped.height; ++j) {
        const int row = (y0 + j * stepY) >> 16;
        for (int i = 0; i < clipped.width; ++i) {
            const int column = (x0 + i * stepX) >> 16;
            const uint32_t s = DisplayWord(dest.layout, src.argb.at(static_cast<size_t>(row) * src.width + column));
            const int dx = mirrored ? clipped.x + clipped.width - 1 - i : clipped.x + i;
            uint32_t& d = dest.At(dx, clipped.y + j);
            bool write = false;
            const uint32_t out = StretchPixel(dest.layout, d, s, c, drawMode != 0, write);
            if (write)
                d = Keep(dest.layout, out);
        }
    }
}

void Rotated(Surface& dest, const Source& src, float x, float y, const Rect& srcRect, const Rect& clipRect,
             const Color& color, int drawMode, double angle, float centerX, float centerY, bool rgbOrdered)
{
    const Tandry::DoubleRect box = Tandry::RotatedBounds(x, y, srcRect, clipRect, angle, centerX, centerY);
    if (!(box.width > 0 && box.height > 0))
        return;
    const Tandry::RotatedBlitGeometry geometry(x, y, srcRect, angle, centerX, centerY, box);
    const Col c(color);
    const bool additive = drawMode != 0;
    const bool scale = !additive && !c.White();
    Tandry::RotatedSpan span;
    for (int r = 0; r < geometry.RowCount(); ++r) {
        if (!geometry.Row(r, span))
            continue;
        for (int i = 0; i < span.count; ++i) {
            const uint32_t u = static_cast<uint32_t>(span.u) + static_cast<uint32_t>(i) * geometry.CosStep();
            const uint32_t v = static_cast<uint32_t>(span.v) + static_cast<uint32_t>(i) * geometry.SinStep();
            const Sums s = Sample(src, srcRect, u, v, scale, c.a());
            uint32_t& d = dest.At(span.destX + i, span.destY);
            d = Keep(dest.layout, RotatedPixel(dest.layout, d, s, c, additive, rgbOrdered));
        }
    }
}

void LineAA(Surface& dest, double x1, double y1, double x2, double y2, const Color& color, int rowLength)
{
    const Col c(color);
    const uint32_t col = ColourValue(dest.layout, c);
    const auto blend = [&](int px, int py, uint32_t w) {
        if (px < 0 || py < 0 || px >= dest.width || py >= dest.height)
            return;
        if (c.a() < 255)
            w = (w * (c.a() + 1)) >> 8;
        uint32_t& d = dest.At(px, py);
        d = Keep(dest.layout, LineBlend(dest.layout, d, col, w));
    };
    int ix1 = static_cast<int>(x1), iy1 = static_cast<int>(y1), ix2 = static_cast<int>(x2), iy2 = static_cast<int>(y2);
    if (iy1 > iy2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
        std::swap(ix1, ix2);
        std::swap(iy1, iy2);
    }
    int dx = ix2 - ix1;
    const int dy = iy2 - iy1;
    double fdx = x2 - x1;
    const double fdy = y2 - y1;
    int step = 1;
    if (dx < 0) {
        dx = -dx;
        fdx = -fdx;
        step = -1;
    }
    uint32_t e = static_cast<uint32_t>(static_cast<int>(std::fabs(x1 - ix1) * std::fabs(y1 - iy1) * 65536));
    const auto weight = [&e]() { return 255 - ((e >> 8) & 0xFF); };
    blend(ix1, iy1, weight());
    int px = ix1, py = iy1;
    if (dx >= dy) {
        if (dx >= 1) {
            const uint32_t slope = static_cast<uint32_t>(static_cast<int>(fdy / fdx * 65536));
            for (int i = 0; i < dx - 1; ++i) {
                e += slope;
                if (e >= 0x10000) {
                    e &= 0xFFFF;
                    ++py;
                }
                px += step;
                const uint32_t w = weight();
                blend(px, py, w);
                if (py < dest.height - 1)
                    blend(px, py + 1, 255 - w);
            }
        }
    } else {
        const uint32_t slope = static_cast<uint32_t>(static_cast<int>(fdx / fdy * 65536));
        for (int i = 0; i < dy - 1; ++i) {
            e += slope;
            if (e >= 0x10000) {
                e &= 0xFFFF;
                px += step;
            }
            ++py;
            const uint32_t w = weight();
            blend(px, py, w);
            if (px < rowLength - 1)
                blend(px + step, py, 255 - w);
        }
    }
    blend(ix2, iy2, weight());
}

void CoverageFill(Surface& dest, const std::vector<Tandry::Span>& spans, const Color& color, const uint8_t* coverage,
                  int coverX, int coverY, int coverPitch)
{
    const Col c(color);
    const uint32_t col = ColourValue(dest.layout, c);
    for (const Tandry::Span& span : spans) {
        for (int i = 0; i < span.width; ++i) {
            const int px = span.x + i;
            const uint32_t cov = coverage[(span.y - coverY) * coverPitch + (px - coverX)];
            const uint32_t w = ((cov + 1) * c.a()) >> 8;
            uint32_t& d = dest.At(px, span.y);
            d = Keep(dest.layout, BlendByMask(dest.layout, d, col, w));
        }
    }
}

} // namespace SurfaceReference
