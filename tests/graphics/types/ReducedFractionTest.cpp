#include "graphics/types/ReducedFraction.h"

#include <gtest/gtest.h>

namespace {

using Tandry::ReducedFraction;

ReducedFraction Make(int a, int b)
{
    ReducedFraction f;
    f.Assign(a, b);
    return f;
}

TEST(ReducedFraction, AssignReducesByTheGreatestCommonDivisor)
{
    const struct {
        int a, b, numerator, denominator;
    } cases[] = {
        {1024, 768, 4, 3}, {1920, 1080, 16, 9}, {800, 600, 4, 3}, {1280, 1024, 5, 4},
        {7, 5, 7, 5}, {5, 0, 1, 0}, {0, 4, 0, 1},
    };
    for (const auto& c : cases) {
        const ReducedFraction f = Make(c.a, c.b);
        EXPECT_EQ(f.numerator, c.numerator) << c.a << ":" << c.b;
        EXPECT_EQ(f.denominator, c.denominator) << c.a << ":" << c.b;
    }
}

TEST(ReducedFraction, ScaleIntTruncates)
{
    EXPECT_EQ(Make(4, 3).ScaleInt(768), 1024);
    EXPECT_EQ(Make(16, 9).ScaleInt(100), 177);
    EXPECT_EQ(Make(16, 9).ScaleInt(-100), -177);
    // The product would overflow 32 bits; the quotient does not.
    EXPECT_EQ(Make(16, 9).ScaleInt(1'000'000'000), 1'777'777'777);
}

TEST(ReducedFraction, LessThanNeedsOnlyOneOfTheTwoCrossTests)
{
    const struct {
        ReducedFraction a, b;
        bool less;
    } cases[] = {
        {Make(4, 3), Make(16, 9), true},
        {Make(16, 9), Make(4, 3), false},
        {Make(4, 3), Make(4, 3), false},
        {Make(16, 10), Make(16, 9), true},
        {Make(5, 4), Make(4, 3), true},
        // 3/2 against 5/3: 3*3/2 = 4 < 5 says smaller, though 3 < 5*2/3 = 3 does not.
        {Make(3, 2), Make(5, 3), true},
        {Make(5, 3), Make(7, 4), true},
        {Make(7, 4), Make(5, 3), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.a < c.b, c.less) << c.a.numerator << "/" << c.a.denominator << " < "
                                     << c.b.numerator << "/" << c.b.denominator;
}

} // namespace
