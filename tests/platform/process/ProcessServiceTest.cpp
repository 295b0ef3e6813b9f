#include "platform/headless/HeadlessProcess.h"
#include "platform/process/SystemProcess.h"

#include <gtest/gtest.h>

using namespace Platform;

namespace {

TEST(ProcessService, CommandLineQuotesTheProgramAndArgumentsWithBlanks)
{
    struct Case {
        std::vector<std::string> arguments;
        const char* line;
    };
    const Case cases[] = {
        {{}, "\"/opt/m g/moorglen\""},
        {{"-play"}, "\"/opt/m g/moorglen\" -play"},
        {{"-demofile=my demo.dmo", "-play"}, "\"/opt/m g/moorglen\" \"-demofile=my demo.dmo\" -play"},
        {{"a\tb", ""}, "\"/opt/m g/moorglen\" \"a\tb\" \"\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildCommandLine("/opt/m g/moorglen", c.arguments), c.line);
}

TEST(ProcessService, ProductVersionBelongsToTheProgramFileOnly)
{
    SystemProcess process({});
    std::string program = process.GetModuleFileName();
    ASSERT_FALSE(program.empty());
    EXPECT_FALSE(process.ReadProductVersion(program).empty());
    EXPECT_EQ(process.ReadProductVersion("/bin/sh"), "");
    EXPECT_EQ(process.ReadProductVersion(""), "");
    EXPECT_EQ(process.GetCommandLine(), "\"" + program + "\"");
}

TEST(ProcessService, FixedAnswersAboutTheSystem)
{
    HeadlessProcess process;
    EXPECT_TRUE(process.IsWindowsNT());
    EXPECT_TRUE(process.IsVistaOrLater());
    EXPECT_FALSE(process.IsTabletPc());
    EXPECT_TRUE(process.AreRuntimesPresent());
    process.SetRuntimesPresent(false);
    EXPECT_FALSE(process.AreRuntimesPresent());
}

TEST(ProcessService, HeadlessExitRecordsTheCodeAndThrows)
{
    HeadlessProcess process;
    process.SetArguments({"-screensaver"});
    EXPECT_EQ(process.GetCommandLine(), "\"/opt/moorglen/moorglen\" -screensaver");
    try {
        process.Exit(0);
        FAIL() << "Exit returned";
    } catch (const HeadlessExit& exit) {
        EXPECT_EQ(exit.GetCode(), 0);
    }
    EXPECT_EQ(process.GetExitCode(), 0);
    process.PlaySystemSound("menu.wav");
    EXPECT_EQ(process.GetPlayedSounds(), std::vector<std::string>{"menu.wav"});
}

TEST(ProcessServiceDeathTest, SystemExitEndsTheProcessWithTheCode)
{
    EXPECT_EXIT(SystemProcess({}).Exit(3), testing::ExitedWithCode(3), "");
}

} // namespace
