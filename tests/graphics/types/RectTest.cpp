#include "graphics/types/Rect.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

namespace Tandry {
void PrintTo(const Rect& r, std::ostream* os)
{
    *os << "(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")";
}
} // namespace Tandry

namespace {

using Tandry::Rect;

TEST(Rect, Intersection)
{
    const struct {
        Rect a, b, expected;
    } cases[] = {
        {{0, 0, 10, 10}, {5, 5, 10, 10}, {5, 5, 5, 5}},
        {{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}},
        // Touching edges give an empty rectangle that keeps its position.
        {{0, 0, 10, 10}, {10, 0, 10, 10}, {10, 0, 0, 10}},
        {{0, 0, 10, 10}, {0, 10, 10, 10}, {0, 10, 10, 0}},
        // Disjoint ones give the all-zero rectangle.
        {{0, 0, 10, 10}, {11, 0, 5, 5}, {0, 0, 0, 0}},
        {{0, 0, 10, 10}, {0, -20, 10, 5}, {0, 0, 0, 0}},
        // An "unbounded" clip does not overflow.
        {{0, 0, INT_MAX, INT_MAX}, {100, 200, 30, 40}, {100, 200, 30, 40}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Rect::Intersection(c.a, c.b), c.expected);
        EXPECT_EQ(Rect::Intersection(c.b, c.a), c.expected);
    }
}

TEST(Rect, UnionCountsAnEmptyRectangleAsItsPosition)
{
    EXPECT_EQ(Rect::Union({0, 0, 0, 0}, {5, 5, 2, 2}), Rect(0, 0, 7, 7));
    EXPECT_EQ(Rect::Union({-3, 4, 2, 2}, {5, 0, 1, 1}), Rect(-3, 0, 9, 6));
    EXPECT_EQ(Rect::Union({1, 1, 8, 8}, {2, 2, 2, 2}), Rect(1, 1, 8, 8));
}

TEST(Rect, ContainsExcludesTheRightAndBottomEdges)
{
    const Rect r(10, 20, 5, 3);
    const struct {
        int px, py;
        bool inside;
    } cases[] = {
        {10, 20, true}, {14, 22, true}, {15, 20, false}, {10, 23, false},
        {9, 20, false}, {10, 19, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(r.Contains(c.px, c.py), c.inside) << c.px << ", " << c.py;
    EXPECT_FALSE(Rect(3, 3, 0, 0).Contains(3, 3));
    EXPECT_TRUE(Rect(0, 0, INT_MAX, INT_MAX).Contains(INT_MAX - 1, 5));
}

} // namespace
