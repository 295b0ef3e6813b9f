#include "platform/debug/StderrDebugOutput.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace Platform;

namespace {

TEST(StderrDebugOutput, ListensOnlyWhenSwitchedOn)
{
    testing::internal::CaptureStderr();
    setenv("MOORGLEN_DEBUG", "0", 1);
    StderrDebugOutput().Write("hidden");
    setenv("MOORGLEN_DEBUG", "1", 1);
    StderrDebugOutput().Write("shown\n");
    unsetenv("MOORGLEN_DEBUG");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "shown\n");
}

} // namespace
