#include "graphics/image/AnimInfo.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using Tandry::AnimInfo;

struct SetupCase {
    const char* name;
    int type;
    int frameDelay;
    std::vector<int> frameDelays;
    std::vector<int> frameOrder;
    int n;
    int begin;
    int end;
    // Expected:
    int celCount;
    int frameDelayAfter;
    std::vector<int> frameDelaysAfter;
    std::vector<int> frameOrderAfter;
    int totalTime;
};

TEST(AnimInfo, SetupFollowsTheFrameRules)
{
    const std::vector<SetupCase> cases = {
        {"plain loop", AnimInfo::Loop, 10, {}, {}, 4, 0, 0, 4, 10, {}, {}, 40},
        {"count below 1", AnimInfo::Loop, 10, {}, {}, 0, 0, 0, 1, 10, {}, {}, 10},
        {"delay below 1", AnimInfo::Once, -5, {}, {}, 3, 0, 0, 3, 1, {}, {}, 3},
        {"ping-pong of 4", AnimInfo::PingPong, 1, {}, {}, 4, 0, 0, 6, 1, {}, {0, 1, 2, 3, 2, 1}, 6},
        {"ping-pong of 2", AnimInfo::PingPong, 2, {}, {}, 2, 0, 0, 2, 2, {}, {0, 1}, 4},
        {"ping-pong of 1", AnimInfo::PingPong, 2, {}, {7}, 1, 0, 0, 1, 2, {}, {7}, 2},
        {"ping-pong overwrites a frame map", AnimInfo::PingPong, 1, {}, {5, 5}, 3, 0, 0, 4, 1, {}, {0, 1, 2, 1}, 4},
        {"frame map sets the count", AnimInfo::Loop, 2, {}, {0, 0, 1, 1, 2}, 3, 0, 0, 5, 2, {}, {0, 0, 1, 1, 2}, 10},
        {"begin delay", AnimInfo::Once, 10, {}, {}, 3, 30, 0, 3, 10, {30, 10, 10}, {}, 50},
        {"end delay", AnimInfo::Once, 10, {}, {}, 3, 0, 25, 3, 10, {10, 10, 25}, {}, 45},
        {"both on one frame", AnimInfo::Once, 10, {}, {}, 1, 30, 40, 1, 10, {40}, {}, 40},
        {"per-frame list cut and filled", AnimInfo::Loop, 3, {0, 5, -1, 8, 9}, {}, 3, 0, 0, 3, 3, {3, 5, 3}, {}, 11},
        {"short per-frame list", AnimInfo::Loop, 3, {4}, {}, 3, 0, 0, 3, 3, {4, 3, 3}, {}, 10},
        {"total stops at the int range", AnimInfo::Loop, INT_MAX, {}, {}, 3, 0, 0, 3, INT_MAX, {}, {}, INT_MAX},
        {"sum stops at the int range", AnimInfo::Loop, 1, {INT_MAX, INT_MAX, INT_MAX}, {}, 3, 0, 0, 3, 1,
         {INT_MAX, INT_MAX, INT_MAX}, {}, INT_MAX},
    };
    for (const SetupCase& c : cases) {
        SCOPED_TRACE(c.name);
        AnimInfo info;
        info.type = c.type;
        info.frameDelay = c.frameDelay;
        info.frameDelays = c.frameDelays;
        info.frameOrder = c.frameOrder;
        info.Setup(c.n, c.begin, c.end);
        EXPECT_EQ(info.celCount, c.celCount);
        EXPECT_EQ(info.frameDelay, c.frameDelayAfter);
        EXPECT_EQ(info.frameDelays, c.frameDelaysAfter);
        EXPECT_EQ(info.frameOrder, c.frameOrderAfter);
        EXPECT_EQ(info.totalTime, c.totalTime);
    }
}

} // namespace
