#include "platform/debug/DebugOutput.h"

#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <thread>

using namespace Platform;

namespace {

TEST(DebugOutput, TextReachesTheInstalledPlatformUnchanged)
{
    HeadlessPlatform& platform = InstallHeadlessPlatform();
    OutputDebugText("a line\r\n");
    OutputDebugStringA("100%");
    EXPECT_EQ(platform.Debug().GetTexts(), (std::vector<std::string>{"a line\r\n", "100%"}));
    ResetPlatform();
}

TEST(DebugOutput, AnInstalledSinkCatchesEverythingUntilRemoved)
{
    HeadlessPlatform& platform = InstallHeadlessPlatform();
    std::string seen;
    SetDebugSink([&](const std::string& text) { seen += text; });
    OutputDebugText("to the sink");
    SetDebugSink({});
    OutputDebugText("to the platform");
    EXPECT_EQ(seen, "to the sink");
    EXPECT_EQ(platform.Debug().GetAll(), "to the platform");
    ResetPlatform();
}

TEST(DebugOutput, TextsFromManyThreadsArriveWhole)
{
    HeadlessPlatform& platform = InstallHeadlessPlatform();
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([t] {
            for (int i = 0; i < 200; ++i)
                OutputDebugText(std::string(50, static_cast<char>('a' + t)) + "\n");
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    std::vector<std::string> texts = platform.Debug().GetTexts();
    ASSERT_EQ(texts.size(), 800u);
    for (const std::string& text : texts)
        EXPECT_EQ(text, std::string(50, text[0]) + "\n");
    ResetPlatform();
}

} // namespace
