#include "platform/debug/DebugOutput.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DebugOutput, InstalledSinkReceivesTextUnchangedAndResetRestoresDefault)
{
    std::string seen;
    Platform::SetDebugSink([&](const std::string& text) { seen += text; });
    Platform::OutputDebugText("a line\n");
    Platform::OutputDebugText("100%");
    EXPECT_EQ(seen, "a line\n100%");

    Platform::SetDebugSink({});
    Platform::OutputDebugText("not captured");
    EXPECT_EQ(seen, "a line\n100%");
}

} // namespace
