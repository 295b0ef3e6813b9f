#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "graphics/types/PopScaleCurve.h"

namespace {

using Tandry::PopScaleCurve;

TEST(PopScaleCurveTest, StartsAtNothingPeaksAndSettlesExactly)
{
    EXPECT_EQ(PopScaleCurve(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(PopScaleCurve(0.8f), 1.2f);
    EXPECT_EQ(PopScaleCurve(1.0f), 1.0f);
}

// Written again from the two pieces of the curve, in double precision.
TEST(PopScaleCurveTest, FollowsTheQuarterSineThenTheHalfCosine)
{
    for (int i = 0; i <= 100; ++i) {
        const double x = i / 100.0;
        const double expected = x < 0.8 ? 1.2 * std::sin(x / 0.8 * std::numbers::pi / 2.0)
                                        : (std::cos((x - 0.8) / 0.2 * std::numbers::pi) + 1.0) * 0.1 + 1.0;
        EXPECT_NEAR(PopScaleCurve(static_cast<float>(x)), expected, 1e-5) << x;
    }
}

} // namespace
