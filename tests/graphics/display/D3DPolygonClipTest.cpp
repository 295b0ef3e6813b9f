#include "graphics/display/D3DPolygonClip.h"
#include "graphics/display/D3DVertex.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace Tandry;

D3DVertex At(float x, float y, uint32_t color = 0xFFFFFFFFu, float u = 0.0f, float v = 0.0f)
{
    return MakeD3DVertex(x, y, color, u, v);
}

VertexList ListOf(const std::vector<D3DVertex>& vertices)
{
    VertexList list;
    for (const D3DVertex& v : vertices)
        list.Add(v);
    return list;
}

TEST(LerpVertex, ColoursPerChannelTruncated)
{
    D3DVertex a = At(0.0f, 0.0f, 0xFF0000FFu, 0.0f, 0.0f);
    a.z = 0.25f;
    a.specular = 0x12345678u;
    const D3DVertex b = At(10.0f, 20.0f, 0xFF00FF00u, 1.0f, 0.5f);
    const D3DVertex mid = LerpVertex(a, b, 0.5f);
    EXPECT_EQ(mid.color, 0xFF007F7Fu);
    EXPECT_EQ(mid.x, 5.0f);
    EXPECT_EQ(mid.y, 10.0f);
    EXPECT_EQ(mid.u, 0.5f);
    EXPECT_EQ(mid.v, 0.25f);
    // z, rhw and specular come from the first end.
    EXPECT_EQ(mid.z, 0.25f);
    EXPECT_EQ(mid.rhw, 1.0f);
    EXPECT_EQ(mid.specular, 0x12345678u);
    // Falling channels: 200 + 0.25 * (10 - 200) = 152.5 becomes 152; alpha 128
    // becomes 96.
    EXPECT_EQ(LerpVertex(At(0, 0, 0x80C8C8C8u), At(0, 0, 0x000A0A0Au), 0.25f).color, 0x60989898u);
    // Equal colours stay as they are.
    EXPECT_EQ(LerpVertex(At(0, 0, 0x11223344u), At(9, 9, 0x11223344u), 0.7f).color, 0x11223344u);
}

// Clipping the square (0,0)-(10,10) by one boundary at 4 on each side of each
// axis.
TEST(PolygonClip, OneBoundary)
{
    const VertexList square = ListOf({At(0, 0), At(0, 10), At(10, 10), At(10, 0)});
    struct Case {
        const char* name;
        bool atLeast;
        VertexComponent component;
        std::vector<std::pair<float, float>> want;
    };
    const Case cases[] = {
        {"x >= 4", true, VertexComponent::X, {{4, 0}, {4, 10}, {10, 10}, {10, 0}}},
        {"x < 4", false, VertexComponent::X, {{4, 0}, {0, 0}, {0, 10}, {4, 10}}},
        {"y >= 4", true, VertexComponent::Y, {{0, 4}, {0, 10}, {10, 10}, {10, 4}}},
        {"y < 4", false, VertexComponent::Y, {{0, 0}, {0, 4}, {10, 4}, {10, 0}}},
    };
    for (const Case& c : cases) {
        VertexList out;
        if (c.atLeast)
            ClipPolygonAtLeast(square, out, c.component, 4.0f);
        else
            ClipPolygonBelow(square, out, c.component, 4.0f);
        ASSERT_EQ(out.Count(), static_cast<int>(c.want.size())) << c.name;
        for (int i = 0; i < out.Count(); ++i) {
            EXPECT_EQ(out[i].x, c.want[static_cast<size_t>(i)].first) << c.name << " vertex " << i;
            EXPECT_EQ(out[i].y, c.want[static_cast<size_t>(i)].second) << c.name << " vertex " << i;
        }
    }
}

TEST(PolygonClip, EdgeCases)
{
    VertexList out;
    // Fewer than 2 vertices give nothing, even when inside.
    ClipPolygonAtLeast(ListOf({At(5, 5)}), out, VertexComponent::X, 0.0f);
    EXPECT_EQ(out.Count(), 0);
    // A vertex on an at-least limit is kept; on a below limit it is not.
    ClipPolygonAtLeast(ListOf({At(4, 0), At(4, 10), At(8, 5)}), out, VertexComponent::X, 4.0f);
    EXPECT_EQ(out.Count(), 3);
    ClipPolygonBelow(ListOf({At(4, 0), At(4, 10), At(0, 5)}), out, VertexComponent::X, 4.0f);
    EXPECT_EQ(out.Count(), 3);
    EXPECT_EQ(out[0].x, 4.0f);
    // Wholly outside.
    ClipPolygonBelow(ListOf({At(5, 0), At(6, 10), At(7, 5)}), out, VertexComponent::X, 4.0f);
    EXPECT_EQ(out.Count(), 0);
}

TEST(PolygonClip, UnitUV)
{
    // A triangle reaching u 2 and v -1 keeps its part inside the unit square.
    VertexList polygon = ListOf({At(0, 0, 0, 0.5f, 0.5f), At(10, 0, 0, 2.0f, 0.5f), At(0, 10, 0, 0.5f, -1.0f)});
    ClipPolygonToUnitUV(polygon);
    ASSERT_GE(polygon.Count(), 3);
    for (int i = 0; i < polygon.Count(); ++i) {
        EXPECT_GE(polygon[i].u, 0.0f);
        EXPECT_LE(polygon[i].u, 1.0f);
        EXPECT_GE(polygon[i].v, 0.0f);
        EXPECT_LE(polygon[i].v, 1.0f);
    }
}

TEST(VertexList, GrowsByDoublingAndCopiesOnlyUsedVertices)
{
    VertexList list;
    EXPECT_EQ(list.Capacity(), 100);
    for (int i = 0; i < 250; ++i)
        list.Add(At(static_cast<float>(i), 0));
    EXPECT_EQ(list.Count(), 250);
    EXPECT_EQ(list.Capacity(), 400);
    for (int i = 0; i < 250; ++i)
        ASSERT_EQ(list[i].x, static_cast<float>(i));

    VertexList small;
    small.Add(At(1, 2));
    VertexList copy(small);
    EXPECT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy.Capacity(), 100);
    copy = list;
    EXPECT_EQ(copy.Count(), 250);
    EXPECT_EQ(copy[249].x, 249.0f);
    copy = small;
    EXPECT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy[0].y, 2.0f);
}

} // namespace
