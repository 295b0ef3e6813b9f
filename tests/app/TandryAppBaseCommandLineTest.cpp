#include "app/TandryAppBase.h"

#include "AppTestSupport.h"
#include "app/CommandLineSplitter.h"
#include "app/FindHighestDemoNumber.h"
#include "app/LeadingInt.h"
#include "app/UserDataDir.h"
#include "platform/fs/FileOps.h"
#include "platform/fs/FindData.h"
#include "util/StringUtils.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

namespace {

using namespace AppTest;

TEST(CommandLineOptionsText, ProgramNameIsSkipped)
{
    struct Case {
        const char* line;
        const char* options;
    };
    const Case cases[] = {
        {"\"C:\\Program Files\\Moorglen\\game.exe\" -play", "-play"},
        {"\"/opt/moorglen/moorglen\"", ""},
        {"\"/opt/moorglen/moorglen\" ", ""},
        {"\"never closed -play", ""},
        {"game.exe", ""},
        {"game.exe -a -b", "-a -b"},
        {"\"prog\"-x -y", "-y"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Tandry::CommandLineOptionsText(c.line), c.options) << c.line;
}

using Options = std::vector<std::pair<std::string, std::string>>;

Options Split(const std::string& text)
{
    Options handed;
    Tandry::SplitCommandLineOptions(text, [&](const std::string& name, const std::string& value) {
        handed.emplace_back(name, value);
    });
    return handed;
}

TEST(SplitCommandLine, OptionsAsTheRulesCutThem)
{
    struct Case {
        const char* text;
        Options handed;
    };
    const Case cases[] = {
        {"-demofile=\"my demo.dmo\" -play", {{"-demofile", "my demo.dmo"}, {"-play", ""}}},
        {"=x -play", {}},
        {"", {}},
        {"=", {}},
        {"-record", {{"-record", ""}}},
        {"-x=1 -y", {{"-x", "1"}, {"-y", ""}}},
        {"a=b=c", {{"a", "bc"}}},
        {"\"-a b\" -c", {{"-a b", ""}, {"-c", ""}}},
        {"-a \"b c", {{"-a", ""}, {"b c", ""}}},
        {"  -a   -b  ", {{"-a", ""}, {"-b", ""}}},
        {"-a\t-b", {{"-a\t-b", ""}}},
        {"\"\"", {}},
        {"-n=\"x\"y", {{"-n", "x"}, {"y", ""}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Split(c.text), c.handed) << c.text;
}

TEST(SplitCommandLine, AnyBytesAndNeverAnEmptyName)
{
    const std::string text("\0=\x01\"\xff \"=\"\" =\0", 13);
    for (const auto& [name, value] : Split(text))
        EXPECT_FALSE(name.empty());
}

TEST(LeadingInt, SignAndLeadingDigitsHeldAtTheIntRange)
{
    struct Case {
        const char* text;
        std::optional<int> value;
    };
    const Case cases[] = {
        {"3", 3},
        {"-12abc", -12},
        {"+7", 7},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"x3", std::nullopt},
        {" 3", std::nullopt},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999999999999", INT_MIN},
        {"007", 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Tandry::ReadLeadingInt(c.text), c.value) << c.text;
}

class AppCommandLine : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        const std::string appData = *platform->Folders().HeadlessFolders::GetAppDataFolder();
        Platform::MakeFolder(appData + "/Hollowmere");
        Platform::MakeFolder(DataFolder());
        // Spelled as start-up spells it.
        mData = appData + "\\Hollowmere\\Moorglen";
        Tandry::SetUserDataDir(Tandry::WidenString(mData + "\\"));
    }

    void Demos(std::initializer_list<const char*> names)
    {
        for (const char* name : names) {
            FILE* file = Platform::OpenFile(mData + "\\" + name, "w");
            ASSERT_NE(file, nullptr);
            std::fclose(file);
        }
    }

    bool Exists(const std::string& name)
    {
        return Platform::GetFileAttributes(mData + "\\" + name) != Platform::kInvalidFileAttributes;
    }

    std::string mData;
};

TEST_F(AppCommandLine, ReadCommandLineHandsTheOptionsOnce)
{
    platform->Process().SetArguments({"-changedir=/srv/x", "-screensaver"});
    TestApp app;
    app.ReadCommandLine();
    EXPECT_TRUE(app.mCommandLineParsed);
    EXPECT_EQ(app.mChangeDir, "/srv/x");
    EXPECT_TRUE(app.mScreensaverMode);
    EXPECT_EQ(LogEntriesStartingWith("option").size(), 2u);
}

TEST_F(AppCommandLine, ALineWithoutOptionsStillCountsAsRead)
{
    TestApp app;
    app.ReadCommandLine();
    EXPECT_TRUE(app.mCommandLineParsed);
    EXPECT_TRUE(LogEntriesStartingWith("option").empty());
}

TEST_F(AppCommandLine, OptionsChangeTheirFields)
{
    TestApp app;
    app.SplitCommandLine("-play");
    EXPECT_TRUE(app.mPlayingDemo);
    app.SplitCommandLine("-record");
    EXPECT_TRUE(app.mRecordingDemo);
    EXPECT_FALSE(app.mPlayingDemo);
    app.SplitCommandLine("-play=ignored");
    EXPECT_TRUE(app.mPlayingDemo);
    EXPECT_FALSE(app.mRecordingDemo);
    app.SplitCommandLine("-crash");
    app.SplitCommandLine("-demofile=run.dmo");
    EXPECT_EQ(app.mDemoFileName, mData + "\\run.dmo");
    app.SplitCommandLine("-demofile=/srv/run.dmo");
    EXPECT_EQ(app.mDemoFileName, "/srv/run.dmo");
    app.SplitCommandLine("-demofile=D:\\run.dmo");
    EXPECT_EQ(app.mDemoFileName, "D:\\run.dmo");
    EXPECT_TRUE(app.mPlayingDemo);
    EXPECT_EQ(platform->Process().GetExitCode(), std::nullopt);
}

TEST_F(AppCommandLine, NamesAreComparedExactly)
{
    TestApp app;
    EXPECT_EQ(ExitCodeOf([&] { app.SplitCommandLine("-Play"); }), 0);
    const auto boxes = platform->Dialogs().GetBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Invalid command line parameter: -Play");
    EXPECT_EQ(boxes[0].caption, L"FATAL ERROR");
    EXPECT_FALSE(app.mPlayingDemo);
}

TEST_F(AppCommandLine, NumberedRecordingPrunesAndRecordsInTheDataFolder)
{
    Demos({"tandryapp1.dmo", "tandryapp2.dmo", "tandryapp7.dmo"});
    TestApp app;
    app.SplitCommandLine("-recnum=3");
    EXPECT_FALSE(Exists("tandryapp1.dmo"));
    EXPECT_TRUE(Exists("tandryapp2.dmo"));
    EXPECT_TRUE(Exists("tandryapp7.dmo"));
    EXPECT_EQ(app.mDemoFileName, mData + "\\tandryapp8.dmo");
    EXPECT_TRUE(app.mRecordingDemo);
    EXPECT_FALSE(app.mPlayingDemo);
}

TEST_F(AppCommandLine, NumberedPlaybackCountsBackFromTheNewestThere)
{
    Demos({"tandryapp4.dmo", "tandryapp5.dmo"});
    TestApp app;
    app.SplitCommandLine("-playnum=2");
    EXPECT_EQ(app.mDemoFileName, mData + "\\tandryapp4.dmo");
    EXPECT_TRUE(app.mPlayingDemo);
    app.SplitCommandLine("-playnum");
    EXPECT_EQ(app.mDemoFileName, mData + "\\tandryapp5.dmo");
}

TEST_F(AppCommandLine, WhatARecordingMakesPlaybackFinds)
{
    Demos({"tandryapp3.dmo"});
    TestApp recorder;
    recorder.SplitCommandLine("-recnum");
    Demos({"tandryapp4.dmo"});
    ASSERT_EQ(recorder.mDemoFileName, mData + "\\tandryapp4.dmo");
    TestApp player;
    player.SplitCommandLine("-playnum=1");
    EXPECT_EQ(player.mDemoFileName, recorder.mDemoFileName);
}

TEST_F(AppCommandLine, KeepCountDefaultsToFive)
{
    struct Case {
        const char* option;
        int files;
        bool firstDeleted;
        const char* recordsTo;
    };
    const Case cases[] = {
        {"-recnum", 5, true, "tandryapp6.dmo"},
        {"-recnum=0", 4, false, "tandryapp5.dmo"},
        {"-recnum=-3", 5, true, "tandryapp6.dmo"},
        {"-recnum=99999999999", 5, false, "tandryapp6.dmo"},
        {"-recnum=x", 0, false, "tandryapp1.dmo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        for (int i = 1; i <= 6; ++i)
            Platform::RemoveFile(mData + "\\tandryapp" + std::to_string(i) + ".dmo");
        for (int i = 1; i <= c.files; ++i)
            Demos({("tandryapp" + std::to_string(i) + ".dmo").c_str()});
        TestApp app;
        app.SplitCommandLine(c.option);
        EXPECT_EQ(Exists("tandryapp1.dmo"), c.files >= 1 && !c.firstDeleted);
        EXPECT_EQ(app.mDemoFileName, mData + "\\" + c.recordsTo);
    }
}

TEST_F(AppCommandLine, HugeNumbersInNamesAndValuesDoNotOverflow)
{
    Demos({"tandryapp2147483647.dmo"});
    TestApp app;
    app.SplitCommandLine("-recnum=5");
    EXPECT_EQ(app.mDemoFileName, mData + "\\tandryapp2147483648.dmo");
    app.SplitCommandLine("-playnum=-2147483648");
    EXPECT_EQ(app.mDemoFileName, mData + "\\tandryapp2147483647.dmo");
    app.SplitCommandLine("-playnum=2147483647");
    EXPECT_EQ(app.mDemoFileName, mData + "\\tandryapp1.dmo");
}

TEST_F(AppCommandLine, WithoutADataFolderNumberedDemosLiveInTheCurrentFolder)
{
    Tandry::ResetUserDataDir();
    FILE* file = Platform::OpenFile("tandryapp9.dmo", "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    TestApp app;
    app.SplitCommandLine("-recnum");
    EXPECT_EQ(app.mDemoFileName, "tandryapp10.dmo");
}

TEST_F(AppCommandLine, OnlyNumberedNamesCount)
{
    Demos({"tandryapp3.dmo", "TANDRYAPP9.DMO", "tandryappx.dmo", "tandryapp-2.dmo", "other5.dmo", "tandryapp12.txt"});
    EXPECT_EQ(Tandry::FindHighestDemoNumber(mData + "\\", "tandryapp", 5, false), 3);
    EXPECT_EQ(Tandry::FindHighestDemoNumber(mData + "\\", "tandryapp", 2, true), 3);
    EXPECT_FALSE(Exists("tandryapp-2.dmo"));
    EXPECT_TRUE(Exists("tandryapp3.dmo"));
    EXPECT_EQ(Tandry::FindHighestDemoNumber(mData + "\\missing\\", "tandryapp", 1, true), 0);
}

} // namespace
