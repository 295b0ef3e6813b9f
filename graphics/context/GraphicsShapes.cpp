// Rectangles, outlines, lines and polygons of the drawing context, clipped
// here (by intersection, in double precision, by scan conversion) before they
// reach the destination image.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <utility>
#include <vector>

#include "graphics/context/Graphics.h"
#include "graphics/context/GraphicsTrunc.h"
#include "graphics/image/Image.h"
#include "graphics/types/Span.h"

namespace Tandry {

namespace {

// The span list's limit; spans beyond it are dropped.
constexpr size_t kMaxSpans = 8192;

struct PolyEdge {
    double x = 0.0;
    double step = 0.0;
    int startVertex = 0;
};

// The polygon being filled and its scanline sweep, all local to one fill.
class PolygonScan {
public:
    PolygonScan(const Point* points, int count, double transX, double transY)
        : mPoints(points), mCount(count), mTransX(transX), mTransY(transY)
    {
        mEdges.reserve(static_cast<size_t>(count));
    }

    double Y(int vertex) const { return mPoints[vertex].y + mTransY; }

    // Sweeps in the vertices at or above the centre of scanline, adding the
    // edges that cross it and removing those that ended.
    void Sweep(int vertex, int scanline)
    {
        const double above = scanline - 0.5;
        const double below = scanline + 0.5;
        const int prev = vertex == 0 ? mCount - 1 : vertex - 1;
        const int next = vertex == mCount - 1 ? 0 : vertex + 1;
        if (Y(prev) <= above)
            Remove(prev);
        else if (Y(prev) > below)
            Add(prev, scanline);
        if (Y(next) <= above)
            Remove(vertex);
        else if (Y(next) > below)
            Add(vertex, scanline);
    }

    std::vector<PolyEdge>& Edges() { return mEdges; }

private:
    // The edge from vertex k to the next one, at the centre of scanline.
    void Add(int k, int scanline)
    {
        const Point& first = mPoints[k];
        const Point& second = mPoints[k == mCount - 1 ? 0 : k + 1];
        const Point& top = first.y < second.y ? first : second;
        const Point& bottom = first.y < second.y ? second : first;
        PolyEdge edge;
        edge.step = (static_cast<double>(bottom.x) - top.x) / (static_cast<double>(bottom.y) - top.y);
        edge.x = edge.step * (scanline + 0.5 - top.y - mTransY) + top.x + mTransX;
        edge.startVertex = k;
        mEdges.push_back(edge);
    }

    void Remove(int k)
    {
        const auto found = std::find_if(mEdges.begin(), mEdges.end(),
                                        [k](const PolyEdge& e) { return e.startVertex == k; });
        if (found != mEdges.end())
            mEdges.erase(found);
    }

    const Point* mPoints;
    int mCount;
    double mTransX;
    double mTransY;
    std::vector<PolyEdge> mEdges;
};

} // namespace

void Graphics::FillRect(int x, int y, int width, int height)
{
    if (mColor.alpha == 0)
        return;
    const Rect placed(TruncToInt(mTransX + static_cast<float>(x)), TruncToInt(mTransY + static_cast<float>(y)),
                      width, height);
    mDestImage->FillRect(Rect::Intersection(placed, mClipRect), mColor, mDrawMode);
}

void Graphics::FillRect(const Rect& rect)
{
    FillRect(rect.x, rect.y, rect.width, rect.height);
}

void Graphics::ClearRect(int x, int y, int width, int height)
{
    const Rect placed(TruncToInt(mTransX + static_cast<float>(x)), TruncToInt(mTransY + static_cast<float>(y)),
                      width, height);
    mDestImage->ClearRect(Rect::Intersection(placed, mClipRect));
}

void Graphics::ClearRect(const Rect& rect)
{
    ClearRect(rect.x, rect.y, rect.width, rect.height);
}

void Graphics::DrawRect(int x, int y, int width, int height)
{
    if (mColor.alpha == 0)
        return;
    const int destX = TruncToInt(mTransX + static_cast<float>(x));
    const int destY = TruncToInt(mTransY + static_cast<float>(y));
    const Rect outline(destX, destY, width + 1, height + 1);
    if (Rect::Intersection(outline, mClipRect) == outline) {
        mDestImage->DrawRect(Rect(destX, destY, width, height), mColor, mDrawMode);
        return;
    }
    // Partly clipped: four strips, each clipped on its own.
    FillRect(x, y, width + 1, 1);
    FillRect(x, y + height, width + 1, 1);
    FillRect(x, y + 1, 1, height - 1);
    FillRect(x + width, y + 1, 1, height - 1);
}

void Graphics::DrawRect(const Rect& rect)
{
    DrawRect(rect.x, rect.y, rect.width, rect.height);
}

void Graphics::DrawLine(int x1, int y1, int x2, int y2)
{
    double ax = x1 + static_cast<double>(mTransX);
    double ay = y1 + static_cast<double>(mTransY);
    double bx = x2 + static_cast<double>(mTransX);
    double by = y2 + static_cast<double>(mTransY);
    if (ClipLine(ax, ay, bx, by))
        mDestImage->DrawLine(ax, ay, bx, by, mColor, mDrawMode);
}

bool Graphics::ClipLine(double& x1, double& y1, double& x2, double& y2) const
{
    // A translation that is not a finite number leaves no line to draw.
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return false;
    const double left = mClipRect.x;
    const double right = left + mClipRect.width;
    const double top = mClipRect.y;
    const double bottom = top + mClipRect.height;

    double xa = x1, ya = y1, xb = x2, yb = y2;
    if (xb < xa) {
        std::swap(xa, xb);
        std::swap(ya, yb);
    }
    if (xa < left) {
        if (xb < left)
            return false;
        ya += (yb - ya) / (xb - xa) * (left - xa);
        xa = left;
    }
    // The kept range ends one unit inside the far edges. An end point that
    // already lies beyond that, between R - 1 and R, leaves nothing of the
    // line in the range: pulling the other end back to R - 1 would
    // extrapolate past it and could carry the line outside the destination.
    if (xb >= right) {
        if (xa > right - 1)
            return false;
        yb += (yb - ya) / (xb - xa) * (right - 1 - xb);
        xb = right - 1;
    }

    if (yb < ya) {
        std::swap(xa, xb);
        std::swap(ya, yb);
    }
    if (ya < top) {
        if (yb < top)
            return false;
        xa += (xb - xa) / (yb - ya) * (top - ya);
        ya = top;
    }
    if (yb >= bottom) {
        if (ya > bottom - 1)
            return false;
        xb += (xb - xa) / (yb - ya) * (bottom - 1 - yb);
        yb = bottom - 1;
    }

    x1 = xa;
    y1 = ya;
    x2 = xb;
    y2 = yb;
    return true;
}

void Graphics::PolyFill(const Point* points, int count)
{
    if (points == nullptr || count < 1)
        return;
    const int transX = TruncToInt(mTransX);
    const int transY = TruncToInt(mTransY);
    if (mDestImage->PolyFill3D(points, count, &mClipRect, mColor, mDrawMode, transX, transY, true))
        return;

    const int64_t left = mClipRect.x;
    const int64_t right = left + mClipRect.width - 1;
    const int64_t top = mClipRect.y;
    const int64_t bottom = top + mClipRect.height - 1;

    // Vertices of equal y keep their index order, so every run gives the same spans.
    std::vector<int> sorted(static_cast<size_t>(count));
    std::iota(sorted.begin(), sorted.end(), 0);
    std::stable_sort(sorted.begin(), sorted.end(), [points](int a, int b) { return points[a].y < points[b].y; });

    PolygonScan scan(points, count, mTransX, mTransY);
    std::vector<Span> spans;
    const double first = std::max<double>(top, std::ceil(scan.Y(sorted.front()) - 0.5));
    const double last = std::min<double>(bottom, std::floor(scan.Y(sorted.back()) - 0.5));
    if (first <= last) {
        const int y0 = static_cast<int>(first);
        const int y1 = static_cast<int>(last);
        size_t j = 0;
        std::vector<PolyEdge>& edges = scan.Edges();
        for (int i = y0; i <= y1; ++i) {
            while (j < sorted.size() && scan.Y(sorted[j]) <= i + 0.5) {
                scan.Sweep(sorted[j], i);
                ++j;
            }
            std::stable_sort(edges.begin(), edges.end(),
                             [](const PolyEdge& a, const PolyEdge& b) { return a.x < b.x; });
            for (size_t e = 0; e + 1 < edges.size(); e += 2) {
                const double xl = std::max<double>(left, std::ceil(edges[e].x - 0.5));
                const double xr = std::min<double>(right, std::floor(edges[e + 1].x - 0.5));
                if (xl <= xr && spans.size() < kMaxSpans) {
                    Span span;
                    span.y = i;
                    span.x = static_cast<int>(xl);
                    span.width = static_cast<int>(xr) - static_cast<int>(xl) + 1;
                    spans.push_back(span);
                }
                edges[e].x += edges[e].step;
                edges[e + 1].x += edges[e + 1].step;
            }
        }
    }
    mDestImage->FillScanLines(spans.data(), static_cast<int>(spans.size()), mColor, mDrawMode);
}

} // namespace Tandry
