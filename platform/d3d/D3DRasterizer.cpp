#include "platform/d3d/D3DRasterizer.h"

#include <algorithm>
#include <cmath>

namespace Platform {
namespace {

// Products of snapped coordinates of a large target pass 64 bits; the edge
// set-up runs once per row, so it computes in 128 bits.
__extension__ typedef __int128 Wide;

constexpr int kMaxPolygon = 16;

struct Polygon {
    std::array<D3DRasterVertex, kMaxPolygon> vertices;
    int count = 0;
};

bool Finite(const D3DRasterVertex& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

D3DRasterVertex Lerp(const D3DRasterVertex& from, const D3DRasterVertex& to, double t)
{
    D3DRasterVertex v;
    v.x = from.x + t * (to.x - from.x);
    v.y = from.y + t * (to.y - from.y);
    for (int k = 0; k < kD3DAttributes; ++k)
        v.attributes[k] = from.attributes[k] + t * (to.attributes[k] - from.attributes[k]);
    return v;
}

// Where the edge crosses x (axis 0) or y (axis 1) = limit. The two ends are
// taken in a fixed order, so that the triangles on both sides of an edge get
// the very same point.
D3DRasterVertex Crossing(const D3DRasterVertex& a, const D3DRasterVertex& b, int axis, double limit)
{
    const bool swap = a.x > b.x || (a.x == b.x && a.y > b.y);
    const D3DRasterVertex& from = swap ? b : a;
    const D3DRasterVertex& to = swap ? a : b;
    const double start = axis == 0 ? from.x : from.y;
    const double end = axis == 0 ? to.x : to.y;
    D3DRasterVertex v = Lerp(from, to, (limit - start) / (end - start));
    (axis == 0 ? v.x : v.y) = limit;
    return v;
}

// Keeps the part with sign * (coordinate - limit) >= 0.
void ClipPolygon(const Polygon& in, Polygon& out, int axis, double limit, double sign)
{
    out.count = 0;
    if (in.count < 3)
        return;
    const auto inside = [&](const D3DRasterVertex& v) { return sign * ((axis == 0 ? v.x : v.y) - limit) >= 0.0; };
    for (int i = 0; i < in.count; ++i) {
        const D3DRasterVertex& a = in.vertices[(i + in.count - 1) % in.count];
        const D3DRasterVertex& b = in.vertices[i];
        const bool aIn = inside(a);
        const bool bIn = inside(b);
        if (aIn != bIn && out.count < kMaxPolygon)
            out.vertices[out.count++] = Crossing(a, b, axis, limit);
        if (bIn && out.count < kMaxPolygon)
            out.vertices[out.count++] = b;
    }
}

int64_t Snap(double value) { return static_cast<int64_t>(std::llround(value * 256.0)); }

Wide FloorDiv(Wide n, Wide d) // d > 0
{
    const Wide q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

Wide CeilDiv(Wide n, Wide d) // d > 0
{
    const Wide q = n / d;
    return (n % d != 0 && n > 0) ? q + 1 : q;
}

// n1 / d1 < n2 / d2 with positive denominators.
bool Less(Wide n1, Wide d1, Wide n2, Wide d2) { return n1 * d2 < n2 * d1; }

} // namespace

double D3DRasterizer::Winding(const D3DRasterVertex& a, const D3DRasterVertex& b, const D3DRasterVertex& c)
{
    const double area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    return std::isfinite(area) ? area : 0.0;
}

bool D3DRasterizer::Triangle(const D3DRasterVertex& a, const D3DRasterVertex& b, const D3DRasterVertex& c,
                             std::vector<D3DSpan>& spans, D3DAttributePlane& plane) const
{
    if (!Finite(a) || !Finite(b) || !Finite(c))
        return false;
    // Pixel centres lie on integers, so clipping at the half pixels outside the
    // viewport's outer centres cuts through no centre.
    const double left = mViewport.left - 0.5;
    const double top = mViewport.top - 0.5;
    const double right = mViewport.right - 0.5;
    const double bottom = mViewport.bottom - 0.5;
    Polygon polygon;
    polygon.vertices[0] = a;
    polygon.vertices[1] = b;
    polygon.vertices[2] = c;
    polygon.count = 3;
    const auto within = [&](const D3DRasterVertex& v) {
        return v.x >= left && v.x <= right && v.y >= top && v.y <= bottom;
    };
    if (!within(a) || !within(b) || !within(c)) {
        Polygon other;
        ClipPolygon(polygon, other, 0, left, 1.0);
        ClipPolygon(other, polygon, 1, top, 1.0);
        ClipPolygon(polygon, other, 0, right, -1.0);
        ClipPolygon(other, polygon, 1, bottom, -1.0);
    }
    if (polygon.count < 3)
        return false;

    // One plane for the whole polygon, from its widest fan triangle, so that no
    // sliver's rounding bends the attributes.
    int widest = 1;
    double widestArea = 0.0;
    for (int i = 1; i + 1 < polygon.count; ++i) {
        const double area = std::fabs(Winding(polygon.vertices[0], polygon.vertices[i], polygon.vertices[i + 1]));
        if (area > widestArea) {
            widestArea = area;
            widest = i;
        }
    }
    if (!(widestArea > 0.0))
        return false;
    const D3DRasterVertex& p0 = polygon.vertices[0];
    const D3DRasterVertex& p1 = polygon.vertices[widest];
    const D3DRasterVertex& p2 = polygon.vertices[widest + 1];
    const double ex1 = p1.x - p0.x;
    const double ey1 = p1.y - p0.y;
    const double ex2 = p2.x - p0.x;
    const double ey2 = p2.y - p0.y;
    const double det = ex1 * ey2 - ex2 * ey1;
    plane.originX = p0.x;
    plane.originY = p0.y;
    for (int k = 0; k < kD3DAttributes; ++k) {
        const double d1 = p1.attributes[k] - p0.attributes[k];
        const double d2 = p2.attributes[k] - p0.attributes[k];
        plane.base[k] = p0.attributes[k];
        plane.dx[k] = (d1 * ey2 - d2 * ey1) / det;
        plane.dy[k] = (d2 * ex1 - d1 * ex2) / det;
    }

    const size_t before = spans.size();
    for (int i = 1; i + 1 < polygon.count; ++i)
        CoverSnapped(polygon.vertices[0], polygon.vertices[i], polygon.vertices[i + 1], spans);
    return spans.size() > before;
}

void D3DRasterizer::CoverSnapped(const D3DRasterVertex& a, const D3DRasterVertex& b, const D3DRasterVertex& c,
                                 std::vector<D3DSpan>& spans) const
{
    int64_t x[3] = {Snap(a.x), Snap(b.x), Snap(c.x)};
    int64_t y[3] = {Snap(a.y), Snap(b.y), Snap(c.y)};
    const Wide area = Wide{x[1] - x[0]} * (y[2] - y[0]) - Wide{y[1] - y[0]} * (x[2] - x[0]);
    if (area == 0)
        return;
    if (area < 0) { // make the inside the positive side of every edge
        std::swap(x[1], x[2]);
        std::swap(y[1], y[2]);
    }
    struct Edge {
        int64_t px, py, dx, dy;
        int64_t bias; // 0 on a top or left edge, which owns the centres on it
    };
    Edge edges[3];
    for (int e = 0; e < 3; ++e) {
        const int n = (e + 1) % 3;
        Edge& edge = edges[e];
        edge.px = x[e];
        edge.py = y[e];
        edge.dx = x[n] - x[e];
        edge.dy = y[n] - y[e];
        const bool topLeft = (edge.dy == 0 && edge.dx > 0) || edge.dy < 0;
        edge.bias = topLeft ? 0 : 1;
    }
    const int64_t minY = std::min({y[0], y[1], y[2]});
    const int64_t maxY = std::max({y[0], y[1], y[2]});
    const int64_t firstRow = std::max<int64_t>(static_cast<int64_t>(CeilDiv(minY, 256)), mViewport.top);
    const int64_t lastRow = std::min<int64_t>(static_cast<int64_t>(FloorDiv(maxY, 256)), mViewport.bottom - 1);
    if (firstRow > lastRow)
        return;
    // Inside a target of up to 2^20 pixels a side every product below stays
    // under 2^60, so the rows step in 64 bits: each edge keeps the quotient and
    // remainder of its bound and adds the row-to-row change, with no division.
    constexpr int64_t kSmall = int64_t{1} << 28;
    bool small = true;
    for (int k = 0; k < 3; ++k)
        small = small && std::llabs(x[k]) < kSmall && std::llabs(y[k]) < kSmall;
    if (small) {
        struct Bound {
            int64_t quotient, remainder, divisor, quotientStep, remainderStep;
        };
        Bound bounds[3];
        for (int e = 0; e < 3; ++e) {
            const Edge& edge = edges[e];
            Bound& bound = bounds[e];
            // floor(constant / (256 |dy|)) is the last covered column of an edge
            // with dy > 0, and minus the first of one with dy < 0.
            const int64_t constant = edge.dx * (256 * firstRow - edge.py) + edge.dy * edge.px - edge.bias;
            bound.divisor = edge.dy == 0 ? 1 : 256 * std::llabs(edge.dy);
            bound.quotient = static_cast<int64_t>(FloorDiv(constant, bound.divisor));
            bound.remainder = constant - bound.quotient * bound.divisor;
            bound.quotientStep = static_cast<int64_t>(FloorDiv(256 * edge.dx, bound.divisor));
            bound.remainderStep = 256 * edge.dx - bound.quotientStep * bound.divisor;
        }
        for (int64_t row = firstRow; row <= lastRow; ++row) {
            int64_t low = mViewport.left;
            int64_t high = mViewport.right - 1;
            for (int e = 0; e < 3; ++e) {
                Bound& bound = bounds[e];
                if (edges[e].dy == 0) {
                    if (bound.quotient < 0)
                        high = low - 1;
                } else if (edges[e].dy > 0) {
                    high = std::min(high, bound.quotient);
                } else {
                    low = std::max(low, -bound.quotient);
                }
                bound.quotient += bound.quotientStep;
                bound.remainder += bound.remainderStep;
                if (bound.remainder >= bound.divisor) {
                    bound.remainder -= bound.divisor;
                    ++bound.quotient;
                }
            }
            if (low <= high)
                spans.push_back({static_cast<int32_t>(row), static_cast<int32_t>(low), static_cast<int32_t>(high + 1)});
        }
        return;
    }
    for (int64_t row = firstRow; row <= lastRow; ++row) {
        Wide low = mViewport.left;
        Wide high = mViewport.right - 1;
        for (const Edge& edge : edges) {
            // Covered when dx * (256 row - py) - dy * (256 i - px) - bias >= 0.
            const Wide constant = Wide{edge.dx} * (256 * row - edge.py) + Wide{edge.dy} * edge.px - edge.bias;
            if (edge.dy == 0) {
                if (constant < 0)
                    high = low - 1;
            } else if (edge.dy > 0) {
                high = std::min(high, FloorDiv(constant, Wide{256} * edge.dy));
            } else {
                low = std::max(low, CeilDiv(-constant, Wide{-256} * edge.dy));
            }
        }
        if (low <= high)
            spans.push_back({static_cast<int32_t>(row), static_cast<int32_t>(low), static_cast<int32_t>(high + 1)});
    }
}

void D3DRasterizer::Segment(const D3DRasterVertex& a, const D3DRasterVertex& b,
                            std::vector<D3DLinePixel>& pixels) const
{
    if (!Finite(a) || !Finite(b))
        return;
    // Cut to a box two pixels wider than the viewport: a cut end lies far
    // enough outside that no drawable diamond holds it.
    const double box[4] = {mViewport.left - 2.0, mViewport.top - 2.0, mViewport.right + 1.0, mViewport.bottom + 1.0};
    double t0 = 0.0;
    double t1 = 1.0;
    const double dxd = b.x - a.x;
    const double dyd = b.y - a.y;
    const double p[4] = {-dxd, -dyd, dxd, dyd};
    const double q[4] = {a.x - box[0], a.y - box[1], box[2] - a.x, box[3] - a.y};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0)
                return;
            continue;
        }
        const double r = q[k] / p[k];
        if (p[k] < 0.0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
    }
    if (!(t0 < t1))
        return;
    const D3DRasterVertex start = t0 > 0.0 ? Lerp(a, b, t0) : a;
    const D3DRasterVertex end = t1 < 1.0 ? Lerp(a, b, t1) : b;
    const int64_t x0 = Snap(start.x);
    const int64_t y0 = Snap(start.y);
    const int64_t x1 = Snap(end.x);
    const int64_t y1 = Snap(end.y);
    const int64_t dx = x1 - x0;
    const int64_t dy = y1 - y0;
    if (dx == 0 && dy == 0)
        return;

    const auto covered = [&](int64_t i, int64_t j) {
        const int64_t cx = 256 * i;
        const int64_t cy = 256 * j;
        // The end inside the diamond: the segment does not leave it.
        if (std::llabs(x1 - cx) + std::llabs(y1 - cy) < 128)
            return false;
        // Parameters t in [0, 1] with s * (P(t) - C) < 128 for the four sign pairs s.
        Wide lowN = 0, lowD = 1, highN = 1, highD = 1;
        for (const int sx : {1, -1}) {
            for (const int sy : {1, -1}) {
                const Wide pk = Wide{sx} * (x0 - cx) + Wide{sy} * (y0 - cy);
                const Wide qk = Wide{sx} * dx + Wide{sy} * dy;
                if (qk == 0) {
                    if (pk >= 128)
                        return false;
                } else if (qk > 0) {
                    if (Less(128 - pk, qk, highN, highD)) {
                        highN = 128 - pk;
                        highD = qk;
                    }
                } else if (Less(lowN, lowD, pk - 128, -qk)) {
                    lowN = pk - 128;
                    lowD = -qk;
                }
            }
        }
        return Less(lowN, lowD, highN, highD);
    };
    const double length2 = double(dx) * double(dx) + double(dy) * double(dy);
    const auto emit = [&](int64_t i, int64_t j) {
        if (i < mViewport.left || i >= mViewport.right || j < mViewport.top || j >= mViewport.bottom ||
            !covered(i, j))
            return;
        const double along = (double(256 * i - x0) * double(dx) + double(256 * j - y0) * double(dy)) / length2;
        // Back to the parameter of the segment as given.
        const double t = t0 + std::clamp(along, 0.0, 1.0) * (t1 - t0);
        pixels.push_back({static_cast<int32_t>(i), static_cast<int32_t>(j), t});
    };
    // Along the major axis, each step meets the diamonds of at most a few pixels across it.
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t from = xMajor ? std::min(x0, x1) : std::min(y0, y1);
    const int64_t to = xMajor ? std::max(x0, x1) : std::max(y0, y1);
    const int64_t lowLimit = xMajor ? mViewport.left : mViewport.top;
    const int64_t highLimit = xMajor ? mViewport.right - 1 : mViewport.bottom - 1;
    const int64_t first = std::max<int64_t>(static_cast<int64_t>(FloorDiv(from - 128, 256)), lowLimit);
    const int64_t last = std::min<int64_t>(static_cast<int64_t>(CeilDiv(to + 128, 256)), highLimit);
    for (int64_t major = first; major <= last; ++major) {
        const double m = 256.0 * double(major);
        const double minor = xMajor ? double(y0) + (m - double(x0)) * double(dy) / double(dx)
                                    : double(x0) + (m - double(y0)) * double(dx) / double(dy);
        const int64_t centre = static_cast<int64_t>(std::floor(minor / 256.0));
        for (int64_t k = centre - 1; k <= centre + 2; ++k) {
            if (xMajor)
                emit(major, k);
            else
                emit(k, major);
        }
    }
}

bool D3DRasterizer::Point(const D3DRasterVertex& a, int32_t& x, int32_t& y) const
{
    if (!Finite(a))
        return false;
    const double px = std::floor(a.x + 0.5);
    const double py = std::floor(a.y + 0.5);
    if (px < mViewport.left || px >= mViewport.right || py < mViewport.top || py >= mViewport.bottom)
        return false;
    x = static_cast<int32_t>(px);
    y = static_cast<int32_t>(py);
    return true;
}

} // namespace Platform
