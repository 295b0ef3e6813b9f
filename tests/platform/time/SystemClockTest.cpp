#include "platform/time/SystemClock.h"

#include <gtest/gtest.h>

using namespace Platform;

namespace {

TEST(SystemClock, SleepNeverEndsEarlyAndTicksFollowThePerformanceCounter)
{
    SystemClock clock;
    int64_t before = clock.QueryPerformanceCounter();
    uint32_t tickBefore = clock.GetTickCount();
    clock.Sleep(5);
    int64_t after = clock.QueryPerformanceCounter();
    EXPECT_GE(after - before, 5'000'000);
    EXPECT_GE(static_cast<uint32_t>(clock.GetTickCount() - tickBefore), 4u);
    EXPECT_FALSE(clock.GetLastInputTick().has_value());
}

} // namespace
