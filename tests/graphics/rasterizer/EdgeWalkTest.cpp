#include "graphics/rasterizer/EdgeWalk.h"

#include <gtest/gtest.h>

namespace {

using Tandry::EdgeWalk;
using Tandry::RasterVertex;

RasterVertex At(int32_t x, int32_t y) { return {x, y, 0, 0, 0, 0, 0, 0}; }

TEST(EdgeWalk, XAtHeightOffsets)
{
    struct Case {
        const char* name;
        RasterVertex from, to;
        int32_t offset;
        int32_t expected;
    };
    const Case cases[] = {
        // A slope that fits is the truncated 16.16 slope, not the exact ratio:
        // 3/6 comes out as 32767, so one row down gives 32767, not 32768.
        {"slope", At(0, 0), At(3 << 16, 6 << 16), 1 << 16, 32767},
        {"slope from an offset start", At(100, 50), At(100 - (3 << 16), 50 + (6 << 16)), 1 << 16, 100 - 32768},
        // Just inside the slope's range the slope is used...
        {"last slope that fits", At(0, 0), At(98303, 3), 3, 98302},
        // ...at 32768 pixels per row it no longer fits and x comes from the
        // end points: the slope would have overflowed.
        {"first flat edge", At(0, 0), At(98304, 3), 1, 32768},
        // Floor, not truncation, for edges running left.
        {"flat edge running left", At(0, 0), At(-1000000000, 7), 3, -428571429},
        {"flat edge from an offset start", At(5, 10), At(5 + 700000000, 12), 1, 5 + 350000000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EdgeWalk(c.from, c.to).XAt(c.offset), c.expected) << c.name;
}

TEST(EdgeWalk, StepsRowByRow)
{
    EdgeWalk slope(At(0, 0), At(3 << 16, 6 << 16));
    slope.Start(1 << 15);
    EXPECT_EQ(slope.X(), 16383);
    slope.Step();
    EXPECT_EQ(slope.X(), 16383 + 32767);

    EdgeWalk flat(At(0, 0), At(-1000000000, 7));
    flat.Start(3);
    EXPECT_EQ(flat.X(), -428571429);
    flat.Step();
    // floor(-1e9 * 65539 / 7), kept to 32 bits like every position.
    EXPECT_EQ(flat.X(), 314419565);
}

} // namespace
