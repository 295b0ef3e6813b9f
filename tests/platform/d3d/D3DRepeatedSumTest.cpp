// The integer runs of repeated double sums against the double additions
// themselves: every sum a run promises must carry the very bits that adding
// the step again and again gives, at binade edges, ties, zero crossings and
// extremes too; and ordinary coordinate steps must give long runs.
#include "platform/d3d/D3DRepeatedSum.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

using namespace Platform;

// The bits of value, value + step, ... as the span loops add them.
std::vector<uint64_t> AddedSums(double value, double step, int count)
{
    std::vector<uint64_t> sums;
    for (int i = 0; i < count; ++i) {
        sums.push_back(std::bit_cast<uint64_t>(value));
        value += step;
    }
    return sums;
}

// Walks `count` sums by runs where they hold and by one addition where they
// do not; checks every sum and returns how many additions were needed.
int ExpectRunsMatch(double value, double step, int count)
{
    const std::vector<uint64_t> expected = AddedSums(value, step, count);
    int additions = 0;
    int i = 0;
    while (i < count) {
        const D3DRepeatedSum run = D3DRepeatedSumOf(value, step);
        EXPECT_EQ(run.bits, std::bit_cast<uint64_t>(value));
        EXPECT_GE(run.steps, 0);
        const int64_t last = std::min<int64_t>(run.steps, count - 1 - i);
        for (int64_t j = 0; j <= last; ++j) {
            const uint64_t bits = run.bits + uint64_t(j * run.increment);
            if (bits != expected[size_t(i + j)]) {
                ADD_FAILURE() << "sum " << i + j << " from " << value << " step " << step << ": " << std::hexfloat
                              << std::bit_cast<double>(bits) << " instead of "
                              << std::bit_cast<double>(expected[size_t(i + j)]);
                return additions;
            }
        }
        i += int(last) + 1;
        if (i < count) {
            value = std::bit_cast<double>(run.bits + uint64_t(last * run.increment)) + step;
            ++additions;
        }
    }
    return additions;
}

TEST(D3DRepeatedSumTest, RunsGiveTheBitsOfRepeatedAdditionAtEdgesTiesAndExtremes)
{
    const double ulp1 = std::ldexp(1.0, -52); // the unit in the last place of [1, 2)
    const double tiny = std::numeric_limits<double>::denorm_min();
    const double big = std::numeric_limits<double>::max();
    struct Case {
        double value, step;
        int count;
    };
    const Case cases[] = {
        {0.3, 0.0007, 2000},                   // up through binades
        {0.9, -0.0011, 2000},                  // down through zero
        {-0.9, 0.0011, 2000},                  // negative, up through zero
        {-0.001, -0.0009, 2000},               // negative, away from zero
        {1.0 - ulp1 / 2, ulp1 / 2, 10},        // one step onto 1
        {1.0, -ulp1 / 4, 10},                  // one step below 1
        {1.0, -ulp1 / 8, 10},                  // too small to move 1 down
        {1.0, -0.3 * ulp1, 10},                // under a third of a unit, yet onto the finer grid below
        {1.5, 1.5 * ulp1, 10},                 // a tie of the rounded step
        {1.5, 0.5 * ulp1, 10},                 // half a unit: ties to even
        {1.5, 2.5 * ulp1, 10},                 // tie between two and three units
        {1.5, 0.49 * ulp1, 10},                // less than half: no change
        {1.75, -0.51 * ulp1, 10},              // more than half downwards
        {std::nextafter(2.0, 0.0), 0.6 * ulp1, 5},
        {2.0, -0.3 * ulp1, 5},
        {0.25, 0.0, 5},
        {-0.25, -0.0, 5},
        {0.0, 0.125, 5},
        {-0.0, 0.0, 5},
        {tiny, tiny, 5},
        {std::ldexp(1.0, -1022), -tiny, 5}, // into the subnormals
        {1e300, 1e290, 5},
        {big / 2, big / 4, 5}, // to infinity
        {1.0, 1e-300, 5},
        {1.0, tiny, 5},
        {3.0, std::ldexp(1.0, 52), 5},
        {1e15, 0.37, 2000},
        {4503599627370495.0, 0.5, 5}, // 2^52 - 1 with halves
        {0.5, std::numeric_limits<double>::quiet_NaN(), 3},
        {0.5, std::numeric_limits<double>::infinity(), 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hexfloat << c.value << " step " << c.step);
        ExpectRunsMatch(c.value, c.step, c.count);
    }
}

TEST(D3DRepeatedSumTest, RandomCoordinateStepsMatchAndNeedFewAdditions)
{
    uint64_t state = 88172645463325252u;
    const auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    const auto unit = [&] { return double(next() >> 11) / double(uint64_t{1} << 53); };
    for (int trial = 0; trial < 3000; ++trial) {
        // Starts and steps like those of a turned or scaled quad: starts around
        // [-2, 2], steps of a texel of 1 to 2048 texels, either sign.
        const double value = (unit() * 4.0 - 2.0) * (trial % 7 == 0 ? 1e-6 : 1.0);
        const double step = (unit() - 0.5) * std::ldexp(1.0, -int(next() % 12));
        SCOPED_TRACE(testing::Message() << std::hexfloat << value << " step " << step);
        const int additions = ExpectRunsMatch(value, step, 300);
        if (trial % 7 != 0) {
            EXPECT_LE(additions, 80); // a handful per binade crossed, not one per sum
        }
    }
    // A span across the whole of [0.3, 1.7) crosses three binades.
    EXPECT_LE(ExpectRunsMatch(0.3, 1.0 / 1024, 1434), 4);
}

} // namespace
