#include "graphics/display/SurfaceReference.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace SurfaceReference {

namespace {

using Tandry::Color;
using Tandry::Rect;

struct Channel {
    uint32_t mask;
    uint32_t shift;
    uint32_t bits;
    uint32_t argbShift; // where the matching 8-bit channel sits in an ARGB word
};

std::vector<Channel> ChannelsOf(const Layout& l)
{
    std::vector<Channel> out;
    const uint32_t masks[3] = {l.red, l.green, l.blue};
    const uint32_t argbShifts[3] = {16, 8, 0};
    for (int i = 0; i < 3; ++i) {
        out.push_back({masks[i], static_cast<uint32_t>(std::countr_zero(masks[i])),
                       static_cast<uint32_t>(std::popcount(masks[i])), argbShifts[i]});
    }
    return out;
}

uint32_t Clamp(int v)
{
    return static_cast<uint32_t>(std::clamp(v, 0, 255));
}

struct Rgba {
    uint32_t r, g, b, a;
    explicit Rgba(const Color& c) : r(Clamp(c.red)), g(Clamp(c.green)), b(Clamp(c.blue)), a(Clamp(c.alpha)) {}
    bool White() const { return r == 255 && g == 255 && b == 255 && a == 255; }
    uint32_t Of(const Channel& ch) const { return ch.argbShift == 16 ? r : ch.argbShift == 8 ? g : b; }
};

bool Is565(const Layout& l)
{
    return l.bits == 16 && l.red == 0xF800 && l.green == 0x7E0 && l.blue == 0x1F;
}

bool Is555(const Layout& l)
{
    return l.bits == 16 && l.red == 0x7C00 && l.green == 0x3E0 && l.blue == 0x1F;
}

uint32_t SpreadMask(const Layout& l)
{
    return Is565(l) ? 0x07E0F81Fu : 0x03E07C1Fu;
}

uint32_t Spread(uint32_t p, uint32_t mask)
{
    return (p | p << 16) & mask;
}

uint32_t Fold(uint32_t v)
{
    return (v | v >> 16) & 0xFFFF;
}

uint32_t Store(const Layout& l, uint32_t v)
{
    return l.bits == 16 ? (v & 0xFFFF) : v;
}

int Saturated(const Channel& ch, uint32_t index)
{
    const uint32_t max = (1u << ch.bits) - 1;
    if (index > 2 * max)
        throw std::out_of_range("saturation table index");
    return static_cast<int>(std::min(index, max));
}

// The destination column of source column j.
int Column(int x, int width, int j, bool mirror)
{
    return mirror ? x + width - 1 - j : x + j;
}

uint32_t RawPixel(const Layout& l, uint32_t d, uint32_t s, bool rgbOrdered)
{
    const uint32_t sa = s >> 24;
    const uint32_t ia = 256 - sa;
    if (l.bits == 16 && rgbOrdered && (l.green == 0x7E0 || l.green == 0x3E0)) {
        const bool is565 = l.green == 0x7E0;
        const uint32_t mask = is565 ? 0x07E0F81Fu : 0x03E07C1Fu;
        const uint32_t dd = Spread(d, mask);
        const uint32_t xx = is565 ? ((s & 0xFC00) << 11) + ((s >> 3) & 0x1F) + ((s >> 8) & 0xF800)
                                  : ((s & 0xF800) << 10) + ((s >> 3) & 0x1F) + ((s >> 9) & 0x7C00);
        const uint32_t a5 = s >> 27;
        return Fold(((((xx - dd) * a5) >> 5) + dd) & mask);
    }
    if (l.bits == 32 && rgbOrdered) {
        const uint32_t rb = ((((s & 0xFF00FF) - (d & 0xFF00FF)) * sa >> 8) + (d & 0xFF00FF)) & 0xFF00FF;
        const uint32_t g = ((((s & 0xFF00) - (d & 0xFF00)) * sa >> 8) + (d & 0xFF00)) & 0xFF00;
        return rb | g;
    }
    uint32_t sum = 0;
    for (const Channel& ch : ChannelsOf(l)) {
        const uint32_t m = ch.mask;
        const uint32_t c = (s >> ch.argbShift) & 0xFF;
        if (l.bits == 16)
            sum += ((((d & m) * ia) + ((c * sa * m) >> 8) + (m >> 1)) >> 8) & m;
        else
            sum += ((((d & m) * ia) + ((c * sa) >> 8) * m + (m >> 1)) >> 8) & m;
    }
    return sum;
}

// The compositing path for one pixel whose display word is s.
uint32_t CompositePixel(const Layout& l, uint32_t d, uint32_t s, const Rgba& c)
{
    const uint32_t sa = s >> 24;
    if (c.White()) {
        if (sa == 255)
            return s;
        const uint32_t ia = 256 - sa;
        if (l.bits == 32)
            return ((((d & 0xFF00) * ia) >> 8) & 0xFF00) + ((((d & 0xFF00FF) * ia) >> 8) & 0xFF00FF) + s;
        if (Is565(l) || Is555(l)) {
            const uint32_t mask = SpreadMask(l);
            return Fold(((Spread(d, mask) * (ia >> 3)) >> 5) & mask) + (s & 0xFFFF);
        }
        uint32_t sum = 0;
        for (const Channel& ch : ChannelsOf(l))
            sum += (((d & ch.mask) * ia) >> 8) & ch.mask;
        return sum + (s & 0xFFFF);
    }
    const uint32_t kr = c.r * c.a / 255, kg = c.g * c.a / 255, kb = c.b * c.a / 255;
    const bool opaque = sa == 255 && c.a == 255;
    const uint32_t ia = 256 - (sa * c.a) / 255;
    const bool grey = kr == kg && kg == kb;
    if (grey && (Is565(l) || Is555(l))) {
        const uint32_t mask = SpreadMask(l);
        const uint32_t k = kr;
        if (opaque)
            return Fold(((Spread(s & 0xFFFF, mask) * (k >> 3)) >> 5) & mask);
        return Fold(((Spread(s & 0xFFFF, mask) * (k >> 3) + Spread(d, mask) * (ia >> 3)) >> 5) & mask);
    }
    if (grey && l.bits == 32) {
        const uint32_t k = kr;
        if (opaque)
            return ((((s & 0xFF00FF) * k) >> 8) & 0xFF00FF) + ((((s & 0xFF00) * k) >> 8) & 0xFF00);
        return ((((d & 0xFF00FF) * ia + (s & 0xFF00FF) * k) >> 8) & 0xFF00FF)
            + ((((d & 0xFF00) * ia + (s & 0xFF00) * k) >> 8) & 0xFF00);
    }
    uint32_t sum = 0;
    for (const Channel& ch : ChannelsOf(l)) {
        const uint32_t m = ch.mask;
        const uint32_t k = ch.argbShift == 16 ? kr : ch.argbShift == 8 ? kg : kb;
        if (opaque)
            sum += (((s & m) * k) >> 8) & m;
        else
            sum += ((((d & m) * ia + (s & m) * k) >> 8) & m);
    }
    return sum;
}

void Composite(Surface& dest, const Source& src, int x, int y, const Rect& r, const Color& color, bool mirror)
{
    const Rgba c(color);
    for (int j = 0; j < r.height; ++j) {
        for (int i = 0; i < r.width; ++i) {
            const uint32_t s = DisplayWord(dest.layout, src.argb[static_cast<size_t>(r.y + j) * src.width + r.x + i]);
            if (s >> 24 == 0)
                continue;
            uint32_t& d = dest.At(Column(x, r.width, i, mirror), y + j);
            d = Store(dest.layout, CompositePixel(dest.layout, d, s, c));
        }
    }
}

} // namespace

uint32_t DisplayWord(const Layout& layout, uint32_t p)
{
    const uint32_t a = p >> 24;
    const uint32_t m = a + 1;
    const std::vector<Channel> ch = ChannelsOf(layout);
    const uint32_t red = ((((p & 0xFF0000) * m) >> 8) >> (24 - ch[0].bits) << ch[0].shift) & ch[0].mask;
    const uint32_t green = ((((p & 0xFF00) * m) >> 8) >> (16 - ch[1].bits) << ch[1].shift) & ch[1].mask;
    const uint32_t blue = ((((p & 0xFF) * m) >> 8) >> (8 - ch[2].bits) << ch[2].shift) & ch[2].mask;
    return red | green | blue | a << 24;
}

void Blt(Surface& dest, const Source& src, int x, int y, const Rect& r, const Color& color, bool rgbOrdered)
{
    const Rgba c(color);
    if (src.isVolatile && c.White()) {
        for (int j = 0; j < r.height; ++j) {
            for (int i = 0; i < r.width; ++i) {
                const uint32_t s = src.argb[static_cast<size_t>(r.y + j) * src.width + r.x + i];
                uint32_t& d = dest.At(x + i, y + j);
                d = Store(dest.layout, RawPixel(dest.layout, d, s, rgbOrdered));
            }
        }
        return;
    }
    if (!src.hasAlpha && c.White()) {
        for (int j = 0; j < r.height; ++j) {
            for (int i = 0; i < r.width; ++i) {
                const uint32_t q = DisplayWord(dest.layout, src.argb[static_cast<size_t>(r.y + j) * src.width + r.x + i]);
                if (src.hasTrans && (q >> 24) == 0)
                    continue;
                dest.At(x + i, y + j) = Store(dest.layout, q);
            }
        }
        return;
    }
    Composite(dest, src, x, y, r, color, false);
}

void BltMirror(Surface& dest, const Source& src, int x, int y, const Rect& r, const Color& color)
{
    Composite(dest, src, x, y, r, color, true);
}

void BltAdditive(Surface& dest, const Source& src, int x, int y, const Rect& r, const Color& color, bool mirror)
{
    const Rgba c(color);
    const uint32_t k[3] = {c.r * c.a / 255, c.g * c.a / 255, c.b * c.a / 255};
    const std::vector<Channel> chs = ChannelsOf(dest.layout);
    for (int j = 0; j < r.height; ++j) {
        for (int i = 0; i < r.width; ++i) {
            const uint32_t s = DisplayWord(dest.layout, src.argb[static_cast<size_t>(r.y + j) * src.width + r.x + i]);
            if ((s & 0xFFFFFF) == 0)
                continue;
            uint32_t& d = dest.At(Column(x, r.width, i, mirror), y + j);
            uint32_t out = 0;
            for (int n = 0; n < 3; ++n) {
                const Channel& ch = chs[n];
                const uint32_t m = ch.mask;
                const uint32_t index = c.White() ? ((d & m) + (s & m)) >> ch.shift
                                                 : ((((s & m) >> ch.shift) * k[n]) >> 8) + ((d & m) >> ch.shift);
                out |= static_cast<uint32_t>(Saturated(ch, index)) << ch.shift;
            }
            d = Store(dest.layout, out);
        }
    }
}

namespace {

// The colour of a fill or a line as surface terms; blend(d) gives the new pixel.
struct Solid {
    bool opaque;
    uint32_t value;
    uint32_t keep;
    std::vector<Channel> chs;
    std::vector<uint32_t> round;

    uint32_t Blend(uint32_t d) const
    {
        if (opaque)
            return value;
        uint32_t sum = value;
        for (size_t i = 0; i < chs.size(); ++i)
            sum += (((d & chs[i].mask) * keep + round[i]) >> 8) & chs[i].mask;
        return sum;
    }
};

Solid FillSolid(const Layout& l, const Rgba& c)
{
    Solid s{c.a == 255, 0, 256 - c.a, ChannelsOf(l), {}};
    for (const Channel& ch : s.chs) {
        const uint32_t m = ch.mask;
        const uint32_t v = c.Of(ch);
        if (s.opaque) {
            s.value |= l.bits == 16 ? (((v + 1) * m) >> 8) & m : ((v * m) >> 8) & m;
        } else if (l.bits == 16) {
            s.value += (((((v * c.a + 0x80) >> 8) + 1) * m) >> 8) & m;
            s.round.push_back(m);
        } else {
            s.value += (((((v * c.a + 0x7F) >> 8) + 1) * m) >> 8) & m;
            s.round.push_back(0);
        }
    }
    return s;
}

Solid LineSolid(const Layout& l, const Rgba& c)
{
    Solid s{c.a == 255, 0, 256 - c.a, ChannelsOf(l), {}};
    for (const Channel& ch : s.chs) {
        const uint32_t m = ch.mask;
        const uint32_t v = c.Of(ch);
        s.round.push_back(m >> 1);
        if (s.opaque)
            s.value |= ((v * m + (m >> 1)) >> 8) & m;
        else
            s.value += ((((v * c.a + 0x80) >> 8) * m + (m >> 1)) >> 8) & m;
    }
    return s;
}

uint32_t AddPixel(const Layout& l, uint32_t d, const Rgba& c)
{
    uint32_t out = 0;
    for (const Channel& ch : ChannelsOf(l)) {
        const uint32_t addend = static_cast<uint32_t>(static_cast<int>(c.Of(ch) * c.a / 255) >> (8 - ch.bits));
        out |= static_cast<uint32_t>(Saturated(ch, ((d & ch.mask) >> ch.shift) + addend)) << ch.shift;
    }
    return out;
}

int T(double v)
{
    return static_cast<int>(v);
}

} // namespace

void FillRect(Surface& dest, const Rect& rect, const Color& color)
{
    const Solid s = FillSolid(dest.layout, Rgba(color));
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        for (int x = rect.x; x < rect.x + rect.width; ++x)
            dest.At(x, y) = Store(dest.layout, s.Blend(dest.At(x, y)));
    }
}

void FillRectAdditive(Surface& dest, const Rect& rect, const Color& color)
{
    const Rgba c(color);
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        for (int x = rect.x; x < rect.x + rect.width; ++x)
            dest.At(x, y) = Store(dest.layout, AddPixel(dest.layout, dest.At(x, y), c));
    }
}

std::vector<std::pair<int, int>> LinePixels(double x1, double y1, double x2, double y2)
{
    std::vector<std::pair<int, int>> out;
    const double minX = std::min(x1, x2), maxX = std::max(x1, x2);
    const double minY = std::min(y1, y2), maxY = std::max(y1, y2);
    double dx = x2 - x1, dy = y2 - y1;
    const auto outside = [&](int x, int y) { return x < minX || y < minY || x > maxX || y > maxY; };
    if (std::fabs(dx) > std::fabs(dy)) {
        if (dx < 0) {
            std::swap(x1, x2);
            std::swap(y1, y2);
            dx = -dx;
            dy = -dy;
        }
        int ystep = 1;
        if (dy < 0) {
            ystep = -1;
            dy = -dy;
        }
        const int ix = T(x1);
        int y = T(y1);
        const int e = T(2 * dy), k = T(2 * (dy - dx));
        int d = T((y1 - y) * e + T(2 * dy - dx));
        out.emplace_back(ix, y);
        for (int x = T(x1 + 1.0); x <= x2; ++x) {
            if (d > 0) {
                y += ystep;
                d += k;
                if (outside(x, y))
                    return out;
            } else {
                d += e;
            }
            out.emplace_back(x, y);
        }
        return out;
    }
    if (dy < 0) {
        std::swap(x1, x2);
        std::swap(y1, y2);
        dx = -dx;
        dy = -dy;
    }
    int xstep = 1;
    if (dx < 0) {
        xstep = -1;
        dx = -dx;
    }
    int x = T(x1);
    const int iy = T(y1);
    const int e = T(2 * dx), k = T(2 * (dx - dy));
    int d = T((x1 - x) * e + T(2 * dx - dy));
    out.emplace_back(x, iy);
    for (int y = T(y1 + 1.0); y <= y2; ++y) {
        if (d > 0) {
            x += xstep;
            d += k;
            if (outside(x, y))
                return out;
        } else {
            d += e;
        }
        out.emplace_back(x, y);
    }
    return out;
}

void DrawLine(Surface& dest, double x1, double y1, double x2, double y2, const Color& color)
{
    const Solid s = LineSolid(dest.layout, Rgba(color));
    for (const auto& [x, y] : LinePixels(x1, y1, x2, y2))
        dest.At(x, y) = Store(dest.layout, s.Blend(dest.At(x, y)));
}

void DrawLineAdditive(Surface& dest, double x1, double y1, double x2, double y2, const Color& color)
{
    const Rgba c(color);
    for (const auto& [x, y] : LinePixels(x1, y1, x2, y2))
        dest.At(x, y) = Store(dest.layout, AddPixel(dest.layout, dest.At(x, y), c));
}

} // namespace SurfaceReference
