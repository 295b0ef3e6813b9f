#include "graphics/display/D3DPolygonClip.h"

#include <algorithm>
#include <cstdint>

namespace Tandry {

namespace {

float Component(const D3DVertex& v, VertexComponent c)
{
    switch (c) {
    case VertexComponent::X:
        return v.x;
    case VertexComponent::Y:
        return v.y;
    case VertexComponent::Z:
        return v.z;
    case VertexComponent::U:
        return v.u;
    case VertexComponent::V:
        return v.v;
    }
    return 0.0f;
}

uint32_t LerpChannel(uint32_t a, uint32_t b, int shift, float t)
{
    const float from = static_cast<float>((a >> shift) & 255u);
    const float to = static_cast<float>((b >> shift) & 255u);
    // t lies in 0..1 up to rounding; the clamp keeps a rounded end inside the
    // byte.
    const float value = std::clamp(from + t * (to - from), 0.0f, 255.0f);
    return static_cast<uint32_t>(value) << shift;
}

template <class Inside>
void Clip(const VertexList& in, VertexList& out, VertexComponent component, float limit, Inside inside)
{
    out.Clear();
    const int count = in.Count();
    if (count < 2)
        return;
    const D3DVertex* a = &in[count - 1];
    bool aInside = inside(Component(*a, component));
    for (int i = 0; i < count; ++i) {
        const D3DVertex* b = &in[i];
        const bool bInside = inside(Component(*b, component));
        if (aInside != bInside) {
            const float ac = Component(*a, component);
            const float t = (limit - ac) / (Component(*b, component) - ac);
            out.Add(LerpVertex(*a, *b, t));
        }
        if (bInside)
            out.Add(*b);
        a = b;
        aInside = bInside;
    }
}

} // namespace

D3DVertex LerpVertex(const D3DVertex& a, const D3DVertex& b, float t)
{
    D3DVertex r = a;
    r.x = a.x + t * (b.x - a.x);
    r.y = a.y + t * (b.y - a.y);
    r.u = a.u + t * (b.u - a.u);
    r.v = a.v + t * (b.v - a.v);
    if (a.color != b.color) {
        r.color = LerpChannel(a.color, b.color, 24, t) | LerpChannel(a.color, b.color, 16, t)
                  | LerpChannel(a.color, b.color, 8, t) | LerpChannel(a.color, b.color, 0, t);
    }
    return r;
}

void ClipPolygonAtLeast(const VertexList& in, VertexList& out, VertexComponent component, float limit)
{
    Clip(in, out, component, limit, [limit](float value) { return value >= limit; });
}

void ClipPolygonBelow(const VertexList& in, VertexList& out, VertexComponent component, float limit)
{
    Clip(in, out, component, limit, [limit](float value) { return value < limit; });
}

void ClipPolygonToUnitUV(VertexList& polygon)
{
    VertexList other;
    ClipPolygonAtLeast(polygon, other, VertexComponent::U, 0.0f);
    ClipPolygonAtLeast(other, polygon, VertexComponent::V, 0.0f);
    ClipPolygonBelow(polygon, other, VertexComponent::U, 1.0f);
    ClipPolygonBelow(other, polygon, VertexComponent::V, 1.0f);
}

void ClipPolygonToRect(VertexList& polygon, float left, float top, float right, float bottom)
{
    VertexList other;
    ClipPolygonAtLeast(polygon, other, VertexComponent::X, left);
    ClipPolygonAtLeast(other, polygon, VertexComponent::Y, top);
    ClipPolygonBelow(polygon, other, VertexComponent::X, right);
    ClipPolygonBelow(other, polygon, VertexComponent::Y, bottom);
}

} // namespace Tandry
