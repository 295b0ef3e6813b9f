#include "graphics/types/DoubleRect.h"

#include <gtest/gtest.h>

namespace {

using Tandry::DoubleRect;

TEST(DoubleRect, Intersection)
{
    const struct {
        DoubleRect a, b, expected;
    } cases[] = {
        {{0.5, 0.5, 10.0, 10.0}, {5.25, 2.0, 10.0, 4.0}, {5.25, 2.0, 5.25, 4.0}},
        // Touching: width 0 at the touching edge, not the all-zero rectangle.
        {{1.5, 2.0, 3.0, 4.0}, {4.5, 1.0, 3.0, 4.0}, {4.5, 2.0, 0.0, 3.0}},
        // Disjoint: all zero, whichever side is negative.
        {{1.5, 2.0, 3.0, 4.0}, {4.75, 1.0, 3.0, 4.0}, {0.0, 0.0, 0.0, 0.0}},
        {{1.5, 2.0, 3.0, 4.0}, {1.5, 6.5, 3.0, 4.0}, {0.0, 0.0, 0.0, 0.0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DoubleRect::Intersection(c.a, c.b), c.expected);
        EXPECT_EQ(DoubleRect::Intersection(c.b, c.a), c.expected);
    }
}

} // namespace
