#include "platform/time/LocalDateTime.h"

#include <gtest/gtest.h>

using namespace Platform;

namespace {

TEST(LocalDateTime, FormatsLikeStrtimeAndAsctime)
{
    LocalDateTime time{2026, 3, 5, 7, 8, 9, 4};
    EXPECT_EQ(FormatTimeOfDay(time), "07:08:09");
    EXPECT_EQ(FormatAsctime(time), "Thu Mar  5 07:08:09 2026\n");
    time.day = 25;
    time.weekday = 0;
    time.month = 12;
    EXPECT_EQ(FormatAsctime(time), "Sun Dec 25 07:08:09 2026\n");
}

TEST(LocalDateTime, SystemTimeIsAPlausibleCalendarDate)
{
    LocalDateTime now = ReadSystemLocalTime();
    EXPECT_GE(now.year, 2020);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12);
    EXPECT_TRUE(now.weekday >= 0 && now.weekday <= 6);
}

} // namespace
