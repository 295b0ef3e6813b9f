#include "game/shell/MoveTowards.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    float from;
    float target;
    // After the first call, and what the first and second calls answer.
    float after;
    bool first;
    bool second;
};

TEST(MoveTowards, StepsTowardsTheTargetAndReportsArrival)
{
    const Case cases[] = {
        {0.875f, 1.0f, 1.0f, true, true},  // closer than a step: lands and arrives
        {0.75f, 1.0f, 1.0f, false, true},  // exactly a step: lands, arrives on the next call
        {1.0f, 1.0f, 1.0f, true, true},    // already there
        {0.0f, 1.0f, 0.25f, false, false}, // far: one step
        {0.125f, 0.0f, 0.0f, true, true},
        {0.25f, 0.0f, 0.0f, false, true},
        {0.0f, 0.0f, 0.0f, true, true},
        {1.0f, 0.0f, 0.75f, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " towards " << c.target);
        float value = c.from;
        EXPECT_EQ(Tandry::MoveTowards(&value, 0.25f, c.target), c.first);
        EXPECT_EQ(value, c.after);
        EXPECT_EQ(Tandry::MoveTowards(&value, 0.25f, c.target), c.second);
        if (c.first) {
            EXPECT_EQ(value, c.after) << "an arrived value stays";
        }
    }
}

} // namespace
