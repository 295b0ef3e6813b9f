#include <gtest/gtest.h>

#include <limits>

#include "graphics/types/FadeGreyColor.h"

namespace {

using Tandry::Color;
using Tandry::FadeGreyColor;

TEST(FadeGreyColorTest, GreyAndAlphaTruncatedAndLimited)
{
    const struct {
        float x;
        Color expected;
    } cases[] = {
        {0.0f, Color(100, 100, 100, 0)},
        {1.0f, Color(255, 255, 255, 255)},
        {0.5f, Color(177, 177, 177, 127)},
        {0.1f, Color(115, 115, 115, 25)},
        // Below 0 the grey keeps falling toward 0 while alpha stays 0.
        {-0.1f, Color(84, 84, 84, 0)},
        {-1.0f, Color(0, 0, 0, 0)},
        {2.0f, Color(255, 255, 255, 255)},
        {std::numeric_limits<float>::infinity(), Color(255, 255, 255, 255)},
        {-std::numeric_limits<float>::infinity(), Color(0, 0, 0, 0)},
        {std::numeric_limits<float>::quiet_NaN(), Color(100, 100, 100, 0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FadeGreyColor(c.x), c.expected) << c.x;
}

} // namespace
