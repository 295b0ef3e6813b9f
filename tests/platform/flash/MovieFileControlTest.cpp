#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/flash/FlashControlFactory.h"
#include "platform/flash/MovieFileControl.h"
#include "platform/flash/NullFlashControl.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/platform/flash/RecordingFlashSink.h"
#include "tests/platform/fs/ScratchFolder.h"

namespace {

using namespace Platform;
using TestSupport::RecordingFlashSink;
using TestSupport::ScratchFolder;
using TestSupport::WriteFile;
using Events = std::vector<std::string>;

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

class MovieFileControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mPlatform = &InstallHeadlessPlatform();
        mControl.SetClientSite(&mSink);
        mControl.Advise(&mSink);
    }
    void TearDown() override { ResetPlatform(); }

    // Writes the movie into the scratch folder and loads it by absolute path.
    bool Load(const std::string& body, const std::string& name = "movie.dat")
    {
        WriteFile(mFolder.Path() / name, body);
        return mControl.PutMovie(Wide(mFolder / name));
    }
    void Advance(uint32_t ms) { mPlatform->Clock().Advance(ms); }

    ScratchFolder mFolder;
    HeadlessPlatform* mPlatform = nullptr;
    RecordingFlashSink mSink;
    MovieFileControl mControl;
};

// One step of a table: what the test does, then the events it expects
// since the previous step and the answer of IsPlaying afterwards.
struct Step {
    const char* what;
    std::function<void(MovieFileControlTest&, MovieFileControl&)> act;
    Events events;
    bool playing;
};

TEST_F(MovieFileControlTest, PlaysTheTimelineWaitingForItsVariable)
{
    ASSERT_TRUE(Load("MOORGLEN MOVIE 1\n0 next 1\n0 wait myPlay 1\n500 sound door\n250 ambient forest\n0 end\n"));
    EXPECT_TRUE(mControl.IsPlaying()) << "an accepted movie plays until its last line";
    EXPECT_TRUE(mSink.TakeEvents().empty()) << "nothing before Play";

    ASSERT_TRUE(mControl.Play());
    EXPECT_EQ(mSink.TakeEvents(), Events{"150 next|1"});

    auto advance = [this](uint32_t ms) { return [this, ms](MovieFileControlTest&, MovieFileControl&) { Advance(ms); }; };
    const Step steps[] = {
        {"the wait holds", advance(10'000), {}, true},
        {"another variable does not pass it",
         [](MovieFileControlTest&, MovieFileControl& c) { c.SetVariable(L"myPlay", L"2"); }, {}, true},
        {"the right value passes it",
         [](MovieFileControlTest&, MovieFileControl& c) { c.SetVariable(L"myPlay", L"1"); }, {}, true},
        {"499 ms after the setting", advance(499), {}, true},
        {"500 ms after the setting", advance(1), {"150 sound|door"}, true},
        {"249 ms later", advance(249), {}, true},
        {"250 ms later, with the end at the same time", advance(1), {"150 ambient|forest", "150 end|"}, false},
        {"nothing after the end", advance(100'000), {}, false},
    };
    for (const Step& step : steps) {
        step.act(*this, mControl);
        EXPECT_EQ(mControl.IsPlaying(), step.playing) << step.what;
        EXPECT_EQ(mSink.TakeEvents(), step.events) << step.what;
    }
}

TEST_F(MovieFileControlTest, EachWaitTakesOneSettingAndAnEarlyOneIsKept)
{
    ASSERT_TRUE(Load("MOORGLEN MOVIE 1\n100 a\n0 wait myPlay 1\n0 b\n0 wait myPlay 1\n0 c\n"));
    ASSERT_TRUE(mControl.Play());
    mControl.SetVariable(L"myPlay", L"1");
    EXPECT_TRUE(mSink.TakeEvents().empty());
    Advance(100);
    EXPECT_TRUE(mControl.IsPlaying());
    EXPECT_EQ(mSink.TakeEvents(), (Events{"150 a|", "150 b|"})) << "the setting made before the wait passes it at once";
    Advance(1000);
    EXPECT_TRUE(mControl.IsPlaying());
    EXPECT_TRUE(mSink.TakeEvents().empty()) << "the second wait needs a second setting";
    mControl.SetVariable(L"myPlay", L"1");
    EXPECT_EQ(mSink.TakeEvents(), Events{"150 c|"});
    EXPECT_FALSE(mControl.IsPlaying());
}

TEST_F(MovieFileControlTest, SpeedScalesMovieTimeAndStopPlayHoldsIt)
{
    ASSERT_TRUE(Load("MOORGLEN MOVIE 1\n1000 a\n1000 b\n1000 c\n1000 d\n"));
    ASSERT_TRUE(mControl.Play());
    mControl.SetVariable(L"_root.speed", L"fast");
    Advance(249);
    EXPECT_TRUE(mControl.IsPlaying());
    EXPECT_TRUE(mSink.TakeEvents().empty());
    Advance(1);
    EXPECT_TRUE(mControl.IsPlaying());
    EXPECT_EQ(mSink.TakeEvents(), Events{"150 a|"}) << "a delay of 1000 in 250 ms when fast";

    mControl.SetVariable(L"_root.speed", L"slow");
    Advance(250);
    EXPECT_TRUE(mControl.IsPlaying());
    EXPECT_EQ(mSink.TakeEvents(), Events{"150 b|"}) << "another value keeps the rate";

    mControl.SetVariable(L"_root.speed", L"normal");
    mControl.StopPlay();
    Advance(5000);
    EXPECT_TRUE(mControl.IsPlaying());
    mControl.SetVariable(L"x", L"y");
    EXPECT_TRUE(mSink.TakeEvents().empty()) << "nothing is sent while stopped";
    ASSERT_TRUE(mControl.Play());
    Advance(999);
    EXPECT_TRUE(mControl.IsPlaying());
    EXPECT_TRUE(mSink.TakeEvents().empty()) << "normal speed and the stop held the clock";
    Advance(1);
    EXPECT_TRUE(mControl.IsPlaying());
    EXPECT_EQ(mSink.TakeEvents(), Events{"150 c|"});
}

TEST_F(MovieFileControlTest, SeveralDueLinesGoInOneCallInFileOrder)
{
    ASSERT_TRUE(Load("MOORGLEN MOVIE 1\n10 a\n20 b\n30 c\n"));
    ASSERT_TRUE(mControl.Play());
    Advance(59);
    mControl.OnWindowMessage(WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(mSink.TakeEvents(), (Events{"150 a|", "150 b|"}));
    Advance(1);
    mControl.Draw(nullptr, 0, 0, 0, FlashRect{});
    EXPECT_EQ(mSink.TakeEvents(), Events{"150 c|"});
}

TEST_F(MovieFileControlTest, MovieTimeRunsOnAcrossTheWrapOfTheTickCounter)
{
    HeadlessPlatform::Options options;
    options.startTick = 0xFFFFFF00u;
    mPlatform = &InstallHeadlessPlatform(options);
    ASSERT_TRUE(Load("MOORGLEN MOVIE 1\n1000 a\n"));
    ASSERT_TRUE(mControl.Play());
    Advance(999);
    EXPECT_TRUE(mControl.IsPlaying());
    Advance(1);
    EXPECT_FALSE(mControl.IsPlaying());
    EXPECT_EQ(mSink.TakeEvents(), Events{"150 a|"});
}

TEST_F(MovieFileControlTest, AnyCaseAndSeparatorFindTheLooseFile)
{
    WriteFile(mFolder.Path() / "res/movies/intro.dat", "MOORGLEN MOVIE 1\n0 next 7\n");
    ASSERT_TRUE(mControl.PutMovie(Wide(mFolder.Path().string() + "\\RES\\Movies\\Intro.DAT")));
    ASSERT_TRUE(mControl.Play());
    EXPECT_EQ(mSink.TakeEvents(), Events{"150 next|7"});
}

TEST_F(MovieFileControlTest, ArgumentBytesArriveAsTheyStand)
{
    ASSERT_TRUE(Load(std::string("MOORGLEN MOVIE 1\n0 say \x80\x9f\xa0\xff  two  words\n")));
    ASSERT_TRUE(mControl.Play());
    EXPECT_EQ(mSink.TakeEvents(), Events{std::string("150 say|\x80\x9f\xa0\xff  two  words")});
}

TEST_F(MovieFileControlTest, AMovieWithoutLinesEndsAtOnce)
{
    ASSERT_TRUE(Load("MOORGLEN MOVIE 1\n# nothing\n"));
    ASSERT_TRUE(mControl.Play());
    EXPECT_FALSE(mControl.IsPlaying());
}

TEST_F(MovieFileControlTest, RefusedFilesLeaveTheControlAsTheNullControl)
{
    std::string tooLarge = "MOORGLEN MOVIE 1\n0 a\n";
    tooLarge.resize(MovieLimits::kMaxFileBytes + 1, '\n');
    std::string manyLines = "MOORGLEN MOVIE 1\n";
    for (int i = 0; i < 10'001; ++i)
        manyLines += "0 a\n";
    const struct {
        const char* name;
        const char* file; // null: missing
        std::string body;
    } cases[] = {
        {"missing", nullptr, ""},
        {"empty", "m.dat", ""},
        {"other first line", "m.dat", "MOVIE\n0 a\n"},
        {"delay without digits", "m.dat", "MOORGLEN MOVIE 1\nx a\n"},
        {"delay of 3600001", "m.dat", "MOORGLEN MOVIE 1\n3600001 a\n"},
        {"wait with one name", "m.dat", "MOORGLEN MOVIE 1\n0 wait myPlay\n"},
        {"10001 lines", "m.dat", manyLines},
        {"1 MiB + 1 byte", "m.dat", tooLarge},
        {"a folder", "folder.dat", ""},
    };
    for (const auto& c : cases) {
        MovieFileControl control;
        RecordingFlashSink sink;
        control.SetClientSite(&sink);
        control.Advise(&sink);
        // A movie loaded before stays loaded only until the next PutMovie.
        WriteFile(mFolder.Path() / "good.dat", "MOORGLEN MOVIE 1\n0 a\n");
        ASSERT_TRUE(control.PutMovie(Wide(mFolder / "good.dat")));
        std::string name = "missing.dat";
        if (c.file != nullptr) {
            name = c.file;
            if (name == "folder.dat")
                std::filesystem::create_directories(mFolder.Path() / name);
            else
                WriteFile(mFolder.Path() / name, c.body);
        }
        NullFlashControl null;
        EXPECT_EQ(control.PutMovie(Wide(mFolder / name)), null.PutMovie(L"x")) << c.name;
        EXPECT_EQ(control.Play(), null.Play()) << c.name;
        control.SetVariable(L"myPlay", L"1");
        Advance(4'000'000);
        EXPECT_EQ(control.IsPlaying(), null.IsPlaying()) << c.name;
        EXPECT_EQ(control.GetCursor(), nullptr) << c.name;
        uint32_t pixel = 0x12345678;
        control.Draw(&pixel, 1, 1, 1, FlashRect{0, 0, 1, 1});
        EXPECT_EQ(pixel, 0x12345678u) << c.name;
        EXPECT_TRUE(sink.events.empty()) << c.name;
        EXPECT_TRUE(sink.invalidated.empty()) << c.name;
    }
}

TEST_F(MovieFileControlTest, NothingIsSentAfterClose)
{
    ASSERT_TRUE(Load("MOORGLEN MOVIE 1\n10 a\n"));
    ASSERT_TRUE(mControl.Play());
    mControl.Close();
    Advance(100);
    EXPECT_FALSE(mControl.IsPlaying());
    EXPECT_FALSE(mControl.Play());
    EXPECT_FALSE(mControl.PutMovie(Wide(mFolder / "movie.dat")));
    EXPECT_TRUE(mSink.events.empty());
}

TEST_F(MovieFileControlTest, TheDefaultFactoryMakesTheMovieFileControl)
{
    SetFlashControlFactory([] { return std::make_unique<NullFlashControl>(); });
    EXPECT_NE(dynamic_cast<NullFlashControl*>(CreateFlashControl().get()), nullptr);
    ResetFlashControlFactory();
    EXPECT_NE(dynamic_cast<MovieFileControl*>(CreateFlashControl().get()), nullptr);
}

} // namespace
