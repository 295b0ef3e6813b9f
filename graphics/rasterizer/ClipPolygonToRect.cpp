#include "graphics/rasterizer/ClipPolygonToRect.h"

#include <cassert>

namespace Tandry {

namespace {

enum class Edge { Left, Right, Top, Bottom };

template <Edge kEdge>
bool Outside(const TriVertex& v, float bound)
{
    if constexpr (kEdge == Edge::Left)
        return v.x < bound;
    else if constexpr (kEdge == Edge::Right)
        return v.x > bound;
    else if constexpr (kEdge == Edge::Top)
        return v.y < bound;
    else
        return v.y > bound;
}

// The new vertex is measured from the outside end towards the inside one.
template <Edge kEdge>
TriVertex* Intersect(ClipVertexPool& pool, const TriVertex& inside, const TriVertex& outside, float bound)
{
    TriVertex* v = pool.Take();
    if constexpr (kEdge == Edge::Left || kEdge == Edge::Right)
        TriVertex::LerpAtX(*v, outside, inside, bound);
    else
        TriVertex::LerpAtY(*v, outside, inside, bound);
    return v;
}

template <Edge kEdge>
int ClipPass(ClipVertexPool& pool, TriVertex* const* in, TriVertex** out, float bound)
{
    int n = 0;
    while (in[n] != nullptr)
        ++n;
    int written = 0;
    for (int i = 0; i < n; ++i) {
        TriVertex* s = in[i];
        TriVertex* next = in[i + 1 < n ? i + 1 : 0];
        const bool sInside = !Outside<kEdge>(*s, bound);
        const bool nextInside = !Outside<kEdge>(*next, bound);
        // At most two outputs per input vertex: the lists cannot overflow.
        assert(written + 2 < kClipListSize);
        if (sInside) {
            out[written++] = s;
            if (!nextInside)
                out[written++] = Intersect<kEdge>(pool, *s, *next, bound);
        } else if (nextInside) {
            out[written++] = Intersect<kEdge>(pool, *next, *s, bound);
        }
    }
    out[written] = nullptr;
    return written;
}

} // namespace

int ClipPolygonLeft(ClipVertexPool& pool, TriVertex* const* in, TriVertex** out, float bound)
{
    return ClipPass<Edge::Left>(pool, in, out, bound);
}

int ClipPolygonRight(ClipVertexPool& pool, TriVertex* const* in, TriVertex** out, float bound)
{
    return ClipPass<Edge::Right>(pool, in, out, bound);
}

int ClipPolygonTop(ClipVertexPool& pool, TriVertex* const* in, TriVertex** out, float bound)
{
    return ClipPass<Edge::Top>(pool, in, out, bound);
}

int ClipPolygonBottom(ClipVertexPool& pool, TriVertex* const* in, TriVertex** out, float bound)
{
    return ClipPass<Edge::Bottom>(pool, in, out, bound);
}

int ClipPolygonToRect(ClipVertexPool& pool, TriVertex** out, TriVertex* const* in, float left, float right,
                      float top, float bottom)
{
    pool.count = 0;
    TriVertex* temporary[kClipListSize];
    if (ClipPolygonLeft(pool, in, temporary, left) < 3)
        return 0;
    if (ClipPolygonRight(pool, temporary, out, right) < 3)
        return 0;
    if (ClipPolygonTop(pool, out, temporary, top) < 3)
        return 0;
    return ClipPolygonBottom(pool, temporary, out, bottom);
}

} // namespace Tandry
