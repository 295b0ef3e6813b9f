#include "graphics/rasterizer/FixedPoint.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace Tandry::Fixed;

TEST(FixedPoint, ToFixedTruncatesAndPinsEverythingElse)
{
    struct Case {
        double value;
        int32_t expected;
    };
    const Case cases[] = {
        {-0.3 * 65536.0, -19660},
        {0.3 * 65536.0, 19660},
        {2147483647.9, 2147483647},
        {-2147483648.9, INT32_MIN},
        // Out of range and not a number: one defined answer on every machine.
        {2147483648.0, INT32_MIN},
        {-2147483649.0, INT32_MIN},
        {1e30, INT32_MIN},
        {std::numeric_limits<double>::infinity(), INT32_MIN},
        {-std::numeric_limits<double>::infinity(), INT32_MIN},
        {std::numeric_limits<double>::quiet_NaN(), INT32_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToFixed(c.value), c.expected) << c.value;
}

TEST(FixedPoint, Ceil16)
{
    struct Case {
        int32_t q;
        int32_t expected;
    };
    const Case cases[] = {
        {0, 0}, {1, 1}, {0x10000, 1}, {0x10001, 2}, {-1, 0}, {-0x10000, -1}, {-0x10001, -1},
        // The sum wraps near the top of the range, as 32-bit arithmetic does.
        {INT32_MAX, -32768},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Ceil16(c.q), c.expected) << c.q;
}

TEST(FixedPoint, SlopeAndItsRange)
{
    // 1/3 through the truncated reciprocal: 21845, not 21845.33 rounded.
    EXPECT_EQ(Slope(1 << 16, 3 << 16), 21845);
    EXPECT_EQ(Slope(-(1 << 16), 3 << 16), -21846);
    EXPECT_EQ(Slope(5 << 16, 1 << 16), 5 << 16);
    EXPECT_TRUE(SlopeFits(32767 * 3, 3));
    EXPECT_FALSE(SlopeFits(32768 * 3, 3));
    EXPECT_FALSE(SlopeFits(-32768 * 3, -3));
    EXPECT_EQ(FloorDiv(-7, 2), -4);
    EXPECT_EQ(FloorDiv(7, -2), -4);
    EXPECT_EQ(FloorDiv(-8, 2), -4);
}

} // namespace
