#include "platform/headless/HeadlessClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace Platform;

namespace {

TEST(HeadlessClock, StartsWhereAskedAndWrapsAtTwoToTheThirtyTwo)
{
    HeadlessClock standard;
    EXPECT_EQ(standard.GetTickCount(), 1000u);

    HeadlessClock clock(0xFFFFFFF0u);
    clock.Advance(32);
    EXPECT_EQ(clock.GetTickCount(), 0x10u);
    EXPECT_EQ(clock.TimeGetTime(), 0x10u);
    EXPECT_EQ(clock.QueryPerformanceCounter(), 32'000'000);
    EXPECT_EQ(clock.QueryPerformanceFrequency(), 1'000'000'000);
}

TEST(HeadlessClock, SleepOnTheClockThreadAdvancesTimeAndIsRecorded)
{
    HeadlessClock clock;
    clock.Sleep(10);
    clock.Sleep(0);
    EXPECT_EQ(clock.GetTickCount(), 1010u);
    auto sleeps = clock.GetSleeps();
    ASSERT_EQ(sleeps.size(), 2u);
    EXPECT_EQ(sleeps[0].milliseconds, 10u);
    EXPECT_TRUE(sleeps[0].onClockThread);
}

TEST(HeadlessClock, SleepOnAnotherThreadReturnsOnlyAfterTheTestAdvancesTime)
{
    HeadlessClock clock;
    std::atomic<bool> woke{false};
    std::thread sleeper([&] {
        clock.Sleep(10);
        woke = true;
    });
    while (clock.CountWaitingSleepers() == 0)
        std::this_thread::yield();
    clock.Advance(9);
    // The sleeper may only run when its end is reached; give it every chance to misbehave.
    for (int i = 0; i < 1000; ++i)
        std::this_thread::yield();
    EXPECT_FALSE(woke.load());
    clock.Advance(1);
    sleeper.join();
    EXPECT_TRUE(woke.load());
    EXPECT_EQ(clock.GetTickCount(), 1010u);
    EXPECT_FALSE(clock.GetSleeps()[0].onClockThread);
}

TEST(HeadlessClock, LocalTimeAndLastInputAreSettable)
{
    HeadlessClock clock;
    EXPECT_FALSE(clock.GetLastInputTick().has_value());
    clock.SetLastInputTick(1234u);
    EXPECT_EQ(clock.GetLastInputTick(), 1234u);
    clock.SetLocalTime({2026, 12, 10, 9, 5, 7, 4});
    EXPECT_EQ(FormatTimeOfDay(clock.GetLocalTime()), "09:05:07");
}

} // namespace
