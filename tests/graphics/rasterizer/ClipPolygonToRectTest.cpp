#include "graphics/rasterizer/ClipPolygonToRect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using namespace Tandry;

struct Clipped {
    int count;
    int created;
    std::vector<TriVertex> vertices;
    std::vector<const TriVertex*> pointers;
};

Clipped Clip(TriVertex (&triangle)[3], float left, float right, float top, float bottom)
{
    ClipVertexPool pool;
    TriVertex* in[4] = {&triangle[0], &triangle[1], &triangle[2], nullptr};
    TriVertex* out[kClipListSize];
    Clipped result{ClipPolygonToRect(pool, out, in, left, right, top, bottom), 0, {}, {}};
    result.created = pool.count;
    for (int i = 0; i < result.count; ++i) {
        result.vertices.push_back(*out[i]);
        result.pointers.push_back(out[i]);
    }
    if (result.count > 0) {
        EXPECT_EQ(out[result.count], nullptr);
    }
    return result;
}

void ExpectPositions(const Clipped& c, const std::vector<std::pair<float, float>>& expected)
{
    ASSERT_EQ(c.vertices.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(c.vertices[i].x, expected[i].first) << "vertex " << i;
        EXPECT_EQ(c.vertices[i].y, expected[i].second) << "vertex " << i;
    }
}

TEST(ClipPolygonToRect, InsideTriangleKeepsItsVerticesAndOrder)
{
    TriVertex t[3] = {{10, 20, 0, 0, 1}, {50, 5, 0, 0, 2}, {30, 60, 0, 0, 3}};
    const Clipped c = Clip(t, 0, 99, 0, 99);
    EXPECT_EQ(c.count, 3);
    EXPECT_EQ(c.created, 0);
    EXPECT_EQ(c.pointers, (std::vector<const TriVertex*>{&t[0], &t[1], &t[2]}));
}

TEST(ClipPolygonToRect, VertexOnABoundIsInside)
{
    // 99 is the right bound of a clip 100 wide; 0 the top bound.
    TriVertex t[3] = {{10, 10, 0, 0, 0}, {99, 0, 0, 0, 0}, {10, 90, 0, 0, 0}};
    const Clipped c = Clip(t, 0, 99, 0, 99);
    EXPECT_EQ(c.count, 3);
    EXPECT_EQ(c.created, 0);
}

TEST(ClipPolygonToRect, CornerCrossingGivesFiveVerticesFromTheFirstSurvivor)
{
    // The corner (112, 112) lies outside the hypotenuse, so both edges cut.
    TriVertex t[3] = {{64, 64, 0, 0, 0}, {128, 64, 0, 0, 0}, {64, 128, 0, 0, 0}};
    const Clipped c = Clip(t, 0, 112, 0, 112);
    EXPECT_EQ(c.count, 5);
    ExpectPositions(c, {{64, 64}, {112, 64}, {112, 80}, {80, 112}, {64, 112}});
    EXPECT_EQ(c.pointers[0], &t[0]);
}

TEST(ClipPolygonToRect, FirstVertexCutAwayStartsAtTheFirstIntersection)
{
    TriVertex t[3] = {{-16, 0, 0, 0, 0}, {48, 64, 0, 0, 0}, {-16, 128, 0, 0, 0}};
    const Clipped c = Clip(t, 0, 200, 0, 200);
    ExpectPositions(c, {{0, 16}, {48, 64}, {0, 112}});
}

TEST(ClipPolygonToRect, TriangleOverAllFourEdgesGivesSeven)
{
    TriVertex t[3] = {{-64, -64, 0, 0, 0}, {40, 144, 0, 0, 0}, {144, 40, 0, 0, 0}};
    const Clipped c = Clip(t, 0, 128, 0, 128);
    EXPECT_EQ(c.count, 7);
    // Later passes do not clip the earlier passes' new vertices again, so
    // rounding may leave one a hair outside.
    for (const TriVertex& v : c.vertices) {
        EXPECT_NEAR(v.x, std::clamp(v.x, 0.0f, 128.0f), 1e-4);
        EXPECT_NEAR(v.y, std::clamp(v.y, 0.0f, 128.0f), 1e-4);
    }
}

// The new vertex is measured from the outside end: at the bound it carries
// the colour and texture position that run from there towards the inside one.
TEST(ClipPolygonToRect, IntersectionInterpolatesFromTheOutsideVertex)
{
    TriVertex t[3] = {
        {-32, 0, 0.0f, 0.0f, 0xFF000000}, {32, 0, 1.0f, 0.5f, 0xFF0000FF}, {32, 64, 1.0f, 1.0f, 0xFF0000FF}};
    const Clipped c = Clip(t, 0, 100, -10, 100);
    ASSERT_EQ(c.count, 4);
    EXPECT_EQ(c.vertices[0].x, 0);
    EXPECT_EQ(c.vertices[0].u, 0.5f);
    EXPECT_EQ(c.vertices[0].v, 0.25f);
    EXPECT_EQ(c.vertices[0].color, 0xFF00007Fu);
}

TEST(ClipPolygonToRect, NothingLeft)
{
    struct Case {
        const char* name;
        TriVertex t[3];
        float left, right, top, bottom;
    };
    Case cases[] = {
        {"left of the clip", {{-30, 0, 0, 0, 0}, {-10, 5, 0, 0, 0}, {-20, 40, 0, 0, 0}}, 0, 99, 0, 99},
        {"below the clip", {{10, 120, 0, 0, 0}, {50, 100.5f, 0, 0, 0}, {30, 160, 0, 0, 0}}, 0, 99, 0, 99},
        {"empty clip", {{10, 10, 0, 0, 0}, {50, 10, 0, 0, 0}, {30, 60, 0, 0, 0}}, 0, -1, 0, 99},
    };
    for (Case& c : cases)
        EXPECT_EQ(Clip(c.t, c.left, c.right, c.top, c.bottom).count, 0) << c.name;
}

} // namespace
