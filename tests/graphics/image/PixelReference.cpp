#include "graphics/image/PixelReference.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace PixelReference {

using Tandry::Color;
using Tandry::DoubleRect;
using Tandry::Rect;

namespace {

struct Px {
    int r, g, b, a;
};

Px Unpack(uint32_t w)
{
    return {static_cast<int>((w >> 16) & 255), static_cast<int>((w >> 8) & 255), static_cast<int>(w & 255),
            static_cast<int>(w >> 24)};
}

uint32_t Pack(const Px& p)
{
    for (int v : {p.r, p.g, p.b, p.a}) {
        if (v < 0 || v > 255)
            throw std::logic_error("channel out of range");
    }
    return static_cast<uint32_t>(p.a) << 24 | static_cast<uint32_t>(p.r) << 16 | static_cast<uint32_t>(p.g) << 8
        | static_cast<uint32_t>(p.b);
}

// The saturating-add table: entry i is min(i, 255).
int Saturate(int i)
{
    if (i < 0 || i > 511)
        throw std::logic_error("saturation table read out of range");
    return std::min(i, 255);
}

// A source pixel, which must lie inside the source.
uint32_t Read(const Picture& p, int x, int y)
{
    if (x < 0 || y < 0 || x >= p.width || y >= p.height)
        throw std::out_of_range("source pixel outside the picture");
    return p.At(x, y);
}

// Division rounding towards minus infinity, for positions that may be negative.
int64_t FloorDiv(int64_t a, int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}

uint32_t& Write(Picture& p, int x, int y)
{
    if (x < 0 || y < 0 || x >= p.width || y >= p.height)
        throw std::out_of_range("destination pixel outside the picture");
    return p.At(x, y);
}

// The source-over rule of the fills and the anti-aliased line.
void Blended(uint32_t& word, const Color& c, int a)
{
    if (a == 0)
        return;
    Px d = Unpack(word);
    const int newA = d.a + (255 - d.a) * a / 255;
    const int l = a * 255 / newA;
    d.r = (d.r * (256 - l) + c.red * l) >> 8;
    d.g = (d.g * (256 - l) + c.green * l) >> 8;
    d.b = (d.b * (256 - l) + c.blue * l) >> 8;
    d.a = newA;
    word = Pack(d);
}

bool StraightLine(Picture& dest, double x1, double y1, double x2, double y2, const Color& color)
{
    if (y1 == y2) {
        const int lo = static_cast<int>(std::min(x1, x2));
        const int hi = static_cast<int>(std::max(x1, x2));
        FillRect(dest, Rect(lo, static_cast<int>(y1), hi - lo + 1, 1), color);
        return true;
    }
    if (x1 == x2) {
        const int lo = static_cast<int>(std::min(y1, y2));
        const int hi = static_cast<int>(std::max(y1, y2));
        FillRect(dest, Rect(static_cast<int>(x1), lo, 1, hi - lo + 1), color);
        return true;
    }
    return false;
}

void PlotNormalLine(uint32_t& word, const Color& c)
{
    Px d = Unpack(word);
    const auto line = [](int v) { return (255 * v + 127) / 256; };
    if (c.alpha == 255) {
        d = {line(c.red), line(c.green), line(c.blue), 255};
    } else {
        const int a = c.alpha;
        const auto mix = [&](int cc, int dc) { return line((cc * a + 128) >> 8) + (dc * (256 - a) + 127) / 256; };
        d = {mix(c.red, d.r), mix(c.green, d.g), mix(c.blue, d.b), 255};
    }
    word = Pack(d);
}

void PlotAdditiveLine(uint32_t& word, const Color& c)
{
    Px d = Unpack(word);
    d.r = Saturate(d.r + c.alpha * c.red / 255);
    d.g = Saturate(d.g + c.alpha * c.green / 255);
    d.b = Saturate(d.b + c.alpha * c.blue / 255);
    d.a = 255;
    word = Pack(d);
}

// Part of the rotated blit: keeps position p + j * step and the one after it
// inside 0 .. size - 1.
bool NarrowAxis(int64_t p, int64_t step, int64_t size, bool isV, int64_t& first, int64_t& last)
{
    if (step >= 1) {
        if ((p >> 16) >= size - 1)
            return false;
        const int64_t f = (0x10000 - p) / step;
        if (f > 0 && f > first)
            first = f;
        last = std::min(last, (size * 65536 - p - 0x17FFF) / step);
        return true;
    }
    if (step <= -1) {
        if ((p >> 16) < 0)
            return false;
        const int64_t f = (size * 65536 - p - 0x27FFF) / step;
        if (f >= 0 && f > first)
            first = f;
        if (isV)
            last = std::min(last, -(p / step));
        else
            last = std::min(last, (0x7FFF - p) / step);
        return true;
    }
    return !(p < 0 || p >= size * 65536 - 0x10000);
}

} // namespace

Color Clamped(const Color& c)
{
    const auto k = [](int v) { return std::clamp(v, 0, 255); };
    return Color(k(c.red), k(c.green), k(c.blue), k(c.alpha));
}

void FillRect(Picture& dest, const Rect& rect, const Color& color)
{
    const Color c = Clamped(color);
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        for (int x = rect.x; x < rect.x + rect.width; ++x) {
            uint32_t& p = Write(dest, x, y);
            if (c.alpha == 255)
                p = Pack({c.red, c.green, c.blue, 255});
            else
                Blended(p, c, c.alpha);
        }
    }
}

void FillScanLinesWithCoverage(Picture& dest, const Tandry::Span* spans, int count, const Color& color,
                               const uint8_t* coverage, int coverageX, int coverageY, int coveragePitch)
{
    const Color c = Clamped(color);
    for (int i = 0; i < count; ++i) {
        for (int k = 0; k < spans[i].width; ++k) {
            const int x = spans[i].x + k;
            const int y = spans[i].y;
            const int cov = coverage[(y - coverageY) * coveragePitch + (x - coverageX)];
            Blended(Write(dest, x, y), c, (c.alpha * (cov + 1)) >> 8);
        }
    }
}

void DrawLine(Picture& dest, double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    if (StraightLine(dest, x1, y1, x2, y2, color) || (drawMode != 0 && drawMode != 1))
        return;
    const Color c = Clamped(color);
    const double minX = std::min(x1, x2), maxX = std::max(x1, x2);
    const double minY = std::min(y1, y2), maxY = std::max(y1, y2);
    double start[2] = {x1, y1};
    double end[2] = {x2, y2};
    double delta[2] = {x2 - x1, y2 - y1};
    const int major = std::fabs(delta[0]) > std::fabs(delta[1]) ? 0 : 1;
    const int minor = 1 - major;
    if (delta[major] < 0) {
        std::swap(start, end);
        delta[0] = -delta[0];
        delta[1] = -delta[1];
    }
    int step = 1;
    if (delta[minor] < 0) {
        step = -1;
        delta[minor] = -delta[minor];
    }
    const auto plot = [&](const int* pixel) {
        uint32_t& word = Write(dest, pixel[0], pixel[1]);
        if (drawMode == 0)
            PlotNormalLine(word, c);
        else
            PlotAdditiveLine(word, c);
    };
    int pixel[2] = {static_cast<int>(start[0]), static_cast<int>(start[1])};
    plot(pixel);
    const int e = static_cast<int>(2 * delta[minor]);
    const int k = static_cast<int>(2 * (delta[minor] - delta[major]));
    int d = static_cast<int>(2 * delta[minor] - delta[major]);
    if (drawMode == 0)
        d = static_cast<int>((start[minor] - static_cast<int>(start[minor])) * e + d);
    for (int m = static_cast<int>(start[major] + 1.0); m <= end[major]; ++m) {
        pixel[major] = m;
        if (d > 0) {
            pixel[minor] += step;
            d += k;
            if (pixel[0] < minX || pixel[1] < minY || pixel[0] > maxX || pixel[1] > maxY)
                return;
        } else {
            d += e;
        }
        plot(pixel);
    }
}

// The anti-aliased line steps one pixel at a time along its major axis, x
// when its run of whole columns is at least its run of whole rows, going down
// the rows and across the columns the way the line goes. At step i its place
// on the minor axis is the 16.16 value t(i) = t(0) + i * slope, the slope
// truncated to 16.16 and t(0) the product of the two sub-pixel fractions of
// the upper end point. With f the top 8 bits of t's fraction, the step's main
// pixel takes coverage 255 - f and its partner, one pixel further along the
// minor axis, takes f. Where the walk departs from the plain floor of t:
// - the minor coordinate moves at most one pixel a step, and only forwards,
//   once for each whole pixel t has moved either way: a line that rises
//   within its one row drops a row at its first step;
// - a y-major partner is drawn only while the main pixel lies left of the
//   last column, on whichever side the partner falls;
// - the end points are plotted at their own pixels, the upper with t(0)'s
//   coverage and the lower with that of the last step.
void DrawLineAA(Picture& dest, double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    if (StraightLine(dest, x1, y1, x2, y2, color) || drawMode != 0)
        return;
    const Color c = Clamped(color);
    // Pixels outside the picture are skipped.
    const auto plot = [&](const int* at, int w) {
        if (at[0] < 0 || at[1] < 0 || at[0] >= dest.width || at[1] >= dest.height)
            return;
        Blended(dest.At(at[0], at[1]), c, (w * (c.alpha + 1)) >> 8);
    };
    double top[2] = {x1, y1};
    double bottom[2] = {x2, y2};
    if (static_cast<int>(y2) < static_cast<int>(y1))
        std::swap(top, bottom);
    const int from[2] = {static_cast<int>(top[0]), static_cast<int>(top[1])};
    const int to[2] = {static_cast<int>(bottom[0]), static_cast<int>(bottom[1])};
    const int direction[2] = {to[0] < from[0] ? -1 : 1, 1};
    const int run[2] = {(to[0] - from[0]) * direction[0], to[1] - from[1]};
    const int major = run[0] >= run[1] ? 0 : 1;
    const int minor = 1 - major;
    const double delta[2] = {(bottom[0] - top[0]) * direction[0], bottom[1] - top[1]};

    const int64_t t0 = static_cast<int>(std::fabs(top[0] - from[0]) * std::fabs(top[1] - from[1]) * 65536.0);
    // The top 8 bits of the 16-bit fraction of t.
    const auto partnerShare = [](int64_t t) { return static_cast<int>((t - FloorDiv(t, 65536) * 65536) >> 8); };
    plot(from, 255 - partnerShare(t0));
    int64_t last = t0;
    const int steps = run[major] - 1;
    if (steps > 0) {
        const int64_t slope = static_cast<int>(delta[minor] / delta[major] * 65536.0);
        for (int i = 1; i <= steps; ++i) {
            const int64_t t = t0 + i * slope;
            const int64_t moved = std::min<int64_t>(i, std::abs(FloorDiv(t, 65536)));
            int at[2];
            at[major] = from[major] + i * direction[major];
            at[minor] = from[minor] + static_cast<int>(moved) * direction[minor];
            const int f = partnerShare(t);
            plot(at, 255 - f);
            int partner[2] = {at[0], at[1]};
            partner[minor] += direction[minor];
            if (major == 0 || at[0] < dest.width - 1)
                plot(partner, f);
            last = t;
        }
    }
    plot(to, 255 - partnerShare(last));
}

void Blt(Picture& dest, bool destHasAlpha, bool destHasTrans, const Source& src, int x, int y, const Rect& srcRect,
         const Color& color, int drawMode)
{
    if (drawMode != 0 && drawMode != 1)
        return;
    const Color c = Clamped(color);
    const bool white = c == Color::White;
    for (int j = 0; j < srcRect.height; ++j) {
        for (int i = 0; i < srcRect.width; ++i) {
            const Px s = Unpack(Read(src.picture, srcRect.x + i, srcRect.y + j));
            uint32_t& word = Write(dest, x + i, y + j);
            Px d = Unpack(word);
            if (drawMode == 1) {
                int ar, ag, ab;
                if (white && src.hasAlpha) {
                    ar = s.r * s.a / 256;
                    ag = s.g * s.a / 256;
                    ab = s.b * s.a / 256;
                } else if (white) {
                    ar = s.r;
                    ag = s.g;
                    ab = s.b;
                } else {
                    const int kr = c.alpha * c.red / 255, kg = c.alpha * c.green / 255, kb = c.alpha * c.blue / 255;
                    if (src.hasAlpha) {
                        ar = s.r * kr * s.a / 65536;
                        ag = (s.g * kg * s.a / 256) / 256;
                        ab = (s.b * kb / 256) * s.a / 256;
                    } else {
                        ar = s.r * kr / 256;
                        ag = s.g * kg / 256;
                        ab = s.b * kb / 256;
                    }
                }
                d.r = Saturate(d.r + ar);
                d.g = Saturate(d.g + ag);
                d.b = Saturate(d.b + ab);
            } else if (white && !destHasAlpha && !destHasTrans) {
                // The run path: opaque pixels copied, transparent ones skipped.
                if (s.a == 255) {
                    d = s;
                } else if (s.a != 0) {
                    d.r = (d.r * (256 - s.a) + s.r * s.a) / 256;
                    d.g = (d.g * (256 - s.a) + s.g * s.a) / 256;
                    d.b = d.b * (256 - s.a) / 256 + s.b * s.a / 256;
                    d.a = 255;
                }
            } else {
                const int a = white ? s.a : s.a * c.alpha / 255;
                if (a == 0)
                    continue;
                const int newA = d.a + (255 - d.a) * a / 255;
                const int l = a * 255 / newA;
                if (white) {
                    d.r = (d.r * (256 - l) + s.r * l) / 256;
                    d.g = (d.g * (256 - l) + s.g * l) / 256;
                    d.b = d.b * (256 - l) / 256 + s.b * l / 256;
                } else if (c.red == c.green && c.green == c.blue) {
                    const int k = c.red;
                    d.r = ((s.r * k / 256) * l + d.r * (256 - l)) / 256;
                    d.g = (s.g * l * k / 256 + d.g * (256 - l)) / 256;
                    d.b = (s.b * k / 256) * l / 256 + d.b * (256 - l) / 256;
                } else {
                    d.r = (s.r * l * c.red + d.r * (256 - l) * 256) / 65536;
                    d.g = (s.g * l * c.green / 256 + d.g * (256 - l)) / 256;
                    d.b = s.b * l * c.blue / 65536 + d.b * (256 - l) / 256;
                }
                d.a = newA;
            }
            word = Pack(d);
        }
    }
}

void StretchBltFast(Picture& dest, const Source& src, const Rect& clipped, const DoubleRect& srcF, const Color& color)
{
    if (Clamped(color) != Color::White)
        return;
    const double stepX = srcF.width / clipped.width;
    const double stepY = srcF.height / clipped.height;
    double sy = srcF.y;
    for (int r = 0; r < clipped.height; ++r, sy += stepY) {
        double sx = srcF.x;
        for (int j = 0; j < clipped.width; ++j, sx += stepX) {
            const Px s = Unpack(Read(src.picture, static_cast<int>(sx), static_cast<int>(sy)));
            if (s.a == 0)
                continue;
            uint32_t& word = Write(dest, clipped.x + j, clipped.y + r);
            Px d = Unpack(word);
            const int newA = d.a + (255 - d.a) * s.a / 255;
            const int l = s.a * 255 / newA;
            d.r = (d.r * (256 - l) + s.r * l) / 256;
            d.g = (d.g * (256 - l) + s.g * l) / 256;
            d.b = d.b * (256 - l) / 256 + s.b * l / 256;
            d.a = newA;
            word = Pack(d);
        }
    }
}

void StretchBltFiltered(Picture& dest, const Source& src, const Rect& clipped, const DoubleRect& srcF)
{
    int c0 = static_cast<int>(std::floor(srcF.x));
    int r0 = static_cast<int>(std::floor(srcF.y));
    int n = static_cast<int>(std::ceil(srcF.x - c0 + srcF.width));
    int m = static_cast<int>(std::ceil(srcF.y - r0 + srcF.height));
    c0 = std::max(c0, 0);
    r0 = std::max(r0, 0);
    n = std::min(n, src.picture.width - c0);
    m = std::min(m, src.picture.height - r0);
    if (n <= 0 || m <= 0)
        return;
    const int W = clipped.width;
    const int H = clipped.height;
    // [row][cell][channel: blue, green, red, alpha], 32-bit words.
    using Cell = std::array<uint32_t, 4>;
    std::vector<std::vector<Cell>> hbuf(m, std::vector<Cell>(W + 4, Cell{}));
    std::vector<std::vector<Cell>> vbuf(H + 4, std::vector<Cell>(W + 4, Cell{}));
    const auto channels = [](uint32_t w) { return Cell{w & 255, (w >> 8) & 255, (w >> 16) & 255, w >> 24}; };
    const int lastCol = src.picture.width - 1;

    for (int row = 0; row < m; ++row) {
        const int sy = r0 + row;
        if (W <= srcF.width) {
            const double h = W / srcF.width;
            for (int i = 0; i < n; ++i) {
                const Cell s = channels(Read(src.picture, c0 + i, sy));
                const double pos = (c0 - srcF.x) * h + 1.0 + i * h;
                const double end = pos + h;
                const int u = static_cast<int>(pos);
                const int v = static_cast<int>(end);
                for (int ch = 0; ch < 4; ++ch) {
                    if (u == v) {
                        hbuf[row].at(u)[ch] += static_cast<uint32_t>(static_cast<int>(h * 257)) * s[ch];
                    } else {
                        hbuf[row].at(u)[ch] += static_cast<uint32_t>(static_cast<int>((v - pos) * 257)) * s[ch];
                        hbuf[row].at(v)[ch] += static_cast<uint32_t>(static_cast<int>((end - v) * 257)) * s[ch];
                    }
                }
            }
        } else {
            const double f = W == 1 ? srcF.width : (srcF.width - 1) / (W - 1);
            for (int i = 1; i <= W + 2; ++i) {
                const double t = srcF.x + (i - 1) * f;
                const int ix = static_cast<int>(t);
                const uint32_t w = static_cast<uint32_t>(static_cast<int>((1 - (t - ix)) * 257));
                // Columns past the row's end read its last pixel.
                const Cell a = channels(Read(src.picture, std::clamp(ix, 0, lastCol), sy));
                const Cell b = channels(Read(src.picture, std::clamp(ix + 1, 0, lastCol), sy));
                for (int ch = 0; ch < 4; ++ch)
                    hbuf[row][i][ch] = w * a[ch] + (257 - w) * b[ch];
            }
        }
    }

    if (H <= srcF.height) {
        const double h2 = H / srcF.height;
        for (int i = 0; i < m; ++i) {
            const double pos = (r0 - srcF.y) * h2 + 1.0 + i * h2;
            const double end = pos + h2;
            const int u = static_cast<int>(std::floor(pos));
            const int v = static_cast<int>(std::floor(end));
            const uint32_t wu = static_cast<uint32_t>(static_cast<int>((u == v ? h2 : v - pos) * 256));
            const uint32_t wv = u == v ? 0 : static_cast<uint32_t>(static_cast<int>((end - v) * 256));
            for (int cell = 0; cell < W + 4; ++cell) {
                for (int ch = 0; ch < 4; ++ch) {
                    vbuf.at(u)[cell][ch] += wu * hbuf[i][cell][ch];
                    vbuf.at(v)[cell][ch] += wv * hbuf[i][cell][ch];
                }
            }
        }
    } else {
        const double g = H == 1 ? srcF.height : (srcF.height - 1) / (H - 1);
        for (int i = 1; i <= H; ++i) {
            const double L = (srcF.y - static_cast<int>(srcF.y)) + (i - 1) * g;
            const int o = static_cast<int>(L);
            const uint32_t t = static_cast<uint32_t>(static_cast<int>((1 - (L - o)) * 256));
            // The row below the last row read is that row again.
            const int near = std::clamp(o, 0, m - 1);
            const int far = std::clamp(o + 1, 0, m - 1);
            for (int cell = 1; cell <= W + 2; ++cell) {
                for (int ch = 0; ch < 4; ++ch)
                    vbuf[i][cell][ch] = t * hbuf[near][cell][ch] + (256 - t) * hbuf[far][cell][ch];
            }
        }
    }

    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const Cell& cell = vbuf[y + 1][x + 1];
            const int A = static_cast<int>(std::min<uint32_t>(cell[3] >> 16, 255));
            if (A == 0)
                continue;
            uint32_t& word = Write(dest, clipped.x + x, clipped.y + y);
            Px d = Unpack(word);
            const auto out = [&](int ch, int dc) {
                const int v = static_cast<int>(std::min<uint32_t>(cell[ch] >> 16, 255));
                return v * A / 256 + dc * (256 - A) / 256;
            };
            d = {out(2, d.r), out(1, d.g), out(0, d.b), d.a + (255 - d.a) * A / 255};
            word = Pack(d);
        }
    }
}

void BltRotated(Picture& dest, const Source& src, float x, float y, const Rect& srcRect, const Rect& clipRect,
                const Color& color, int drawMode, double angle, float centerX, float centerY)
{
    // Bounds, with the angle in single precision.
    const float af = static_cast<float>(angle);
    const double cf = std::cos(static_cast<double>(af));
    const double sf = std::sin(static_cast<double>(af));
    double minX = 10000000.0, minY = 10000000.0, maxX = -10000000.0, maxY = -10000000.0;
    const double corners[4][2] = {{0.0, 0.0},
                                  {static_cast<double>(srcRect.width), 0.0},
                                  {static_cast<double>(srcRect.width), static_cast<double>(srcRect.height)},
                                  {0.0, static_cast<double>(srcRect.height)}};
    for (const auto& p : corners) {
        const double mx = x + centerX + (p[0] - centerX) * cf + (p[1] - centerY) * sf;
        const double my = y + centerY + (p[1] - centerY) * cf - (p[0] - centerX) * sf;
        minX = std::min(minX, mx);
        minY = std::min(minY, my);
        maxX = std::max(maxX, mx);
        maxY = std::max(maxY, my);
    }
    const double left = std::max(minX, static_cast<double>(clipRect.x));
    const double top = std::max(minY, static_cast<double>(clipRect.y));
    const double boxW = std::min(maxX, static_cast<double>(clipRect.x) + clipRect.width) - left;
    const double boxH = std::min(maxY, static_cast<double>(clipRect.y) + clipRect.height) - top;
    if (!(boxW > 0 && boxH > 0))
        return;

    const Color c = Clamped(color);
    const bool white = c == Color::White;
    const double cd = std::cos(angle);
    const double sd = std::sin(angle);
    const int64_t cosF = static_cast<int64_t>(cd * 65536);
    const int64_t sinF = static_cast<int64_t>(sd * 65536);
    const int destX0 = static_cast<int>(left);
    const int destY0 = static_cast<int>(top);
    const int64_t lastColumn = static_cast<int>(boxW - 1.0);

    for (int r = 0; r < boxH; ++r) {
        const double dx = static_cast<float>(destX0 - static_cast<double>(centerX) - x);
        const double dy = static_cast<float>((destY0 + r) - static_cast<double>(centerY) - y);
        int64_t u = static_cast<int64_t>((dx * cd - dy * sd + centerX) * 65536);
        int64_t v = static_cast<int64_t>((dy * cd + dx * sd + centerY) * 65536);
        int64_t first = 0, last = lastColumn;
        if (!NarrowAxis(u, cosF, srcRect.width, false, first, last)
            || !NarrowAxis(v, sinF, srcRect.height, true, first, last) || first > last)
            continue;
        u += first * cosF;
        v += first * sinF;
        for (int64_t col = first; col <= last; ++col, u += cosF, v += sinF) {
            const int sx = srcRect.x + static_cast<int>(u >> 16);
            const int sy = srcRect.y + static_cast<int>(v >> 16);
            const Px p[4] = {Unpack(Read(src.picture, sx, sy)), Unpack(Read(src.picture, sx + 1, sy)),
                             Unpack(Read(src.picture, sx, sy + 1)), Unpack(Read(src.picture, sx + 1, sy + 1))};
            const int64_t fu = (u & 0xFFFE) + 1;
            const int64_t fv = (v & 0xFFFE) + 1;
            const int64_t w[4] = {((65536 - fu) * (65536 - fv)) >> 16, (fu * (65536 - fv)) >> 16,
                                  ((65536 - fu) * fv) >> 16, (fu * fv) >> 16};
            int64_t ai[4];
            int64_t A = 0, sumR = 0, sumG = 0, sumB = 0;
            for (int i = 0; i < 4; ++i) {
                ai[i] = (w[i] * p[i].a) >> 16;
                if (drawMode == 0 && !white)
                    ai[i] = (ai[i] * c.alpha) >> 8;
                A += ai[i];
                sumR += p[i].r * ai[i];
                sumG += p[i].g * ai[i];
                sumB += p[i].b * ai[i];
            }
            if (A == 0)
                continue;
            uint32_t& word = Write(dest, destX0 + static_cast<int>(col), destY0 + r);
            Px d = Unpack(word);
            if (drawMode == 0) {
                int64_t mr = sumR / 256, mg = sumG / 256, mb = sumB / 256;
                if (!white) {
                    mr = sumR * (c.red + 1) / 65536;
                    mg = mg * (c.green + 1) / 256;
                    mb = mb * (c.blue + 1) / 256;
                }
                if (A > 250) {
                    d = {static_cast<int>(mr), static_cast<int>(mg), static_cast<int>(mb), 255};
                } else {
                    const int64_t n = 256 - (256 - d.a) * (256 - A) / 256;
                    const auto mix = [&](int64_t mc, int dc) {
                        return static_cast<int>((mc * 256 + (dc * d.a / 256) * (256 - A)) / n);
                    };
                    d = {mix(mr, d.r), mix(mg, d.g), mix(mb, d.b), static_cast<int>(n - 1)};
                }
            } else {
                int64_t addR = sumR / 256, addG = sumG / 256, addB = sumB / 256;
                if (!white) {
                    const int kr = c.alpha * c.red / 255, kg = c.alpha * c.green / 255, kb = c.alpha * c.blue / 255;
                    addR = (sumR / 256) * kr / 256;
                    addG = sumG * kg / 65536;
                    addB = sumB * kb / 65536;
                }
                d.r = Saturate(d.r + static_cast<int>(addR));
                d.g = Saturate(d.g + static_cast<int>(addG));
                d.b = Saturate(d.b + static_cast<int>(addB));
            }
            word = Pack(d);
        }
    }
}

} // namespace PixelReference
