#include "app/TandryAppBase.h"

#include "AppTestSupport.h"
#include "app/AppFactories.h"
#include "app/NullDemoSeam.h"
#include "app/UserDataDir.h"
#include "platform/dialog/DialogService.h"
#include "resources/pak/PakWriter.h"
#include "util/RandomGenerator.h"
#include "util/StringUtils.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace AppTest;

class AppStartup : public AppFixture {
protected:
    void WriteMainPak()
    {
        std::string error;
        ASSERT_TRUE(Tandry::WritePakFile({Tandry::PakWriteEntry::FromBytes("HELLO.TXT", {'h', 'i'})},
                                         ProgramFolder() + "/main.pak", error))
            << error;
    }

    static bool SeededWith(uint32_t seed)
    {
        Tandry::RandomGenerator expected;
        expected.Seed(seed);
        Tandry::RandomGenerator copy = Tandry::RandomGenerator::Global();
        return copy.Next() == expected.Next() && copy.Next() == expected.Next();
    }
};

TEST_F(AppStartup, InitRunsItsStepsInOrder)
{
    WriteMainPak();
    const char* names[] = {"MusicVolume", "SfxVolume",    "ScreenMode",   "Muted",     "PreferredX",
                           "PreferredY",  "CustomCursors", "WaitForVSync", "InProgress"};
    // Each value tells by its number which one the recording saw.
    for (uint32_t i = 0; i < 9; ++i)
        StoreDword(names[i], 11 + i);
    platform->Process().SetArguments({"-record"});

    TestApp app;
    Log().clear();
    app.Init();

    const std::vector<std::string> expected = {
        "data folder",
        "command line",
        "option [-record] []",
        "change folder " + ProgramFolder(),
        "current folder is the program's",
        "main.pak added",
        "OnBeforeSettingsLoad",
        "load settings",
        "registry read 11",
        "registry read 12",
        "registry read 13",
        "registry read 14",
        "registry read 15",
        "registry read 16",
        "registry read 17",
        "ApplyCursor",
        "registry read 18",
        "registry read 19",
        "registry write",
        "mutex MoorglenMutex",
        "class MainWindow",
        "class InvisWindow",
        "window InvisWindow",
        "cursor 11,4",
        "cursor 15,10",
        "OnCursorsCreated",
        "CreateAppWindow",
        "window MainWindow",
        "sound manager MainWindow",
        "SetSfxVolume 0.12",
        "NewMusicInterface InvisWindow",
        "music bass InvisWindow",
        "SetMusicVolume 0.11",
        "OnInitDone",
    };
    EXPECT_EQ(Log(), expected);
    EXPECT_TRUE(app.mInitDone);

    EXPECT_EQ(StoredDword("InProgress"), 1u);
    EXPECT_NE(app.mNotifyMessage, 0u);
    EXPECT_EQ(app.mNotifyMessage, platform->Instance().RegisterWindowMessage("NotifyMoorglen"));
    EXPECT_EQ(app.mRandomSeed, platform->Clock().GetTickCount());
    EXPECT_TRUE(SeededWith(app.mRandomSeed));
    EXPECT_TRUE(app.mUnicodeWindows);
    // Muted 14 times by the stored value: both outputs get silence.
    auto* sound = static_cast<RecordingSoundManager*>(app.mSoundManager);
    EXPECT_EQ(sound->volumes, std::vector<double>{0.0});
    EXPECT_EQ(Platform::GetPlatform().GetWindows().GetWindowUserData(app.mInvisWindow), &app);
    EXPECT_EQ(app.mWidgetManager->width, 1024);
    EXPECT_EQ(app.mWidgetManager->mouseRect, Tandry::Rect(0, 0, 1024, 768));
    EXPECT_EQ(app.mWidgetManager->drawOffsetRect, Tandry::Rect(0, 0, 1024, 768));
}

TEST_F(AppStartup, DataFolderIsUnderApplicationDataWithCompanyAndProduct)
{
    TestApp app;
    app.Init();
    const std::string appData = *platform->Folders().HeadlessFolders::GetAppDataFolder();
    EXPECT_EQ(Tandry::GetUserDataDir(), Tandry::WidenString(appData + "\\Hollowmere\\Moorglen\\"));
    EXPECT_EQ(app.mDemoFileName, appData + "\\Hollowmere\\Moorglen\\tandryapp.dmo");
}

TEST_F(AppStartup, WithoutADataFolderTheDemoNameStaysRelative)
{
    platform->Folders().noAppData = true;
    TestApp app;
    app.Init();
    EXPECT_EQ(Tandry::GetUserDataDir(), L"");
    EXPECT_EQ(app.mDemoFileName, "tandryapp.dmo");
    EXPECT_TRUE(app.mInitDone);
}

TEST_F(AppStartup, AnAbsoluteDemoNameIsKept)
{
    TestApp app;
    app.mDemoFileName = "/srv/demos/one.dmo";
    app.Init();
    EXPECT_EQ(app.mDemoFileName, "/srv/demos/one.dmo");
}

TEST_F(AppStartup, ALogicalScreenAsLargeAsTheDesktopForcesFullScreen)
{
    TestApp app;
    app.mWidth = 1280;
    app.mHeight = 720;
    app.Init();
    EXPECT_FALSE(app.mWindowed);
    EXPECT_TRUE(app.mForceFullScreen);
}

TEST_F(AppStartup, MissingRuntimesEndTheProgramBeforeTheSettings)
{
    platform->Process().SetRuntimesPresent(false);
    TestApp app;
    EXPECT_EQ(ExitCodeOf([&] { app.Init(); }), 0);
    const auto boxes = platform->Dialogs().GetBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"You need DirectX");
    EXPECT_EQ(boxes[0].text.rfind(L"This application requires DirectX to run.", 0), 0u);
    EXPECT_EQ(boxes[0].flags, Platform::MB_ICONERROR);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_FALSE(app.mSettingsLoaded);
    EXPECT_EQ(IndexOf("load settings"), -1);
    EXPECT_FALSE(app.mInitDone);
}

TEST_F(AppStartup, ASecondInstanceNotifiesTheFirstAndExits)
{
    Platform::HeadlessPlatform::Options options;
    options.system = system;
    Platform::HeadlessPlatform first(options);
    ASSERT_FALSE(first.Instance().CreateMutex("MoorglenMutex").alreadyExisted);
    // The first instance registered the name at its own start; it maps only
    // names it knows to its message numbers.
    const uint32_t notify = first.Instance().RegisterWindowMessage("NotifyMoorglen");

    TestApp app;
    EXPECT_EQ(ExitCodeOf([&] { app.Init(); }), 0);
    EXPECT_EQ(first.Instance().TakeNotifications(), std::vector<uint32_t>{notify});
    EXPECT_TRUE(LogEntriesStartingWith("window ").empty());
    EXPECT_TRUE(LogEntriesStartingWith("class ").empty());
}

TEST_F(AppStartup, InScreensaverModeASecondInstanceGoesOn)
{
    Platform::HeadlessPlatform::Options options;
    options.system = system;
    Platform::HeadlessPlatform first(options);
    first.Instance().CreateMutex("MoorglenMutex");
    // Registered, so that a notification would show below.
    first.Instance().RegisterWindowMessage("NotifyMoorglen");
    platform->Process().SetArguments({"-screensaver"});

    TestApp app;
    app.Init();
    EXPECT_TRUE(app.mInitDone);
    EXPECT_FALSE(app.mSingleInstance);
    EXPECT_TRUE(first.Instance().TakeNotifications().empty());
    EXPECT_EQ(app.mCursorKind, 11);
    // A screen saver does not mark the run as in progress.
    EXPECT_EQ(StoredDword("InProgress"), std::nullopt);
}

TEST_F(AppStartup, SecondInstanceWithoutSingleInstanceDoesNothing)
{
    TestApp app;
    app.mSingleInstance = false;
    app.mNotifyMessage = 0xC001;
    app.HandleSecondInstance();
    EXPECT_EQ(platform->Process().GetExitCode(), std::nullopt);
}

TEST_F(AppStartup, PlayingWithoutDemoSupportShowsWhyAndExits)
{
    Tandry::GetAppFactories().demoSeam = [](Tandry::TandryAppBase*) {
        return std::make_unique<Tandry::NullDemoSeam>();
    };
    platform->Process().SetArguments({"-play"});
    TestApp app;
    EXPECT_EQ(ExitCodeOf([&] { app.Init(); }), 0);
    const auto boxes = platform->Dialogs().GetBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Demo playback is not available in this build.");
    EXPECT_EQ(boxes[0].caption, L"FATAL ERROR");
    EXPECT_FALSE(app.mPlayingDemo);
    EXPECT_EQ(IndexOf("load settings"), -1);
}

TEST_F(AppStartup, APlayedDemoIsReadBeforeTheSettingsAndGivesTheSeed)
{
    platform->Process().SetArguments({"-play"});
    TestApp app;
    app.Seam().recordedSeed = 4242;
    platform->Clock().Advance(500);
    app.Init();

    const int readFile = IndexOf("demo read file");
    ASSERT_GE(readFile, 0);
    const auto replays = LogEntriesStartingWith("demo replay registry read");
    ASSERT_FALSE(replays.empty());
    EXPECT_LT(readFile, IndexOf(replays.front()));
    EXPECT_LT(readFile, IndexOf("OnBeforeSettingsLoad"));
    EXPECT_LT(IndexOf("change folder " + ProgramFolder()), readFile);
    // Replay reads get the caller's buffer: a DWORD's four bytes.
    EXPECT_EQ(replays.front(), "demo replay registry read into 4");

    EXPECT_EQ(app.mRandomSeed, 4242u);
    EXPECT_TRUE(SeededWith(4242));

    // The display state recorded after the window was made is consumed there.
    EXPECT_LT(IndexOf("CreateAppWindow"), IndexOf("demo display state"));
    EXPECT_LT(IndexOf("demo display state"), IndexOf("sound manager MainWindow"));
    // Playback never writes the registry.
    EXPECT_EQ(StoredDword("InProgress"), std::nullopt);
}

TEST_F(AppStartup, AnUnreadableDemoShowsTheSeamsTextAndExits)
{
    platform->Process().SetArguments({"-play"});
    TestApp app;
    app.Seam().readFileSucceeds = false;
    app.Seam().readFileError = "Demo file not found: x.dmo";
    EXPECT_EQ(ExitCodeOf([&] { app.Init(); }), 0);
    const auto boxes = platform->Dialogs().GetBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Demo file not found: x.dmo");
    EXPECT_FALSE(app.mPlayingDemo);
}

TEST_F(AppStartup, NoSoundGivesTheSoundManagerNoWindowAndSilentMusic)
{
    TestApp app;
    app.mNoSound = true;
    app.Init();
    EXPECT_GE(IndexOf("sound manager none"), 0);
    EXPECT_GE(IndexOf("music silent"), 0);
}

TEST_F(AppStartup, InitAfterShutdownDoesNothing)
{
    TestApp app;
    app.Shutdown();
    Log().clear();
    app.Init();
    EXPECT_TRUE(Log().empty());
    EXPECT_FALSE(app.mInitDone);
}

class LoopApp : public TestApp {
public:
    explicit LoopApp(Platform::HeadlessClock& clock) : mClock(clock)
    {
        // Waiting for a loading thread would move the virtual clock by an unknown amount.
        mAutoStartLoadingThread = false;
    }
    void RunMainLoop() override
    {
        Note("RunMainLoop");
        mClock.Advance(1500);
    }

private:
    Platform::HeadlessClock& mClock;
};

TEST_F(AppStartup, StartWritesTheRunStatistics)
{
    LoopApp app(platform->Clock());
    app.mDrawCount = 50;
    app.mDrawTimeMs = 200;
    app.mScreenBltMs = 50;
    app.mSleepCount = 3;
    app.mUpdateCount = 700;
    app.Start();
    EXPECT_EQ(platform->Debug().GetAll(), "Seconds       = 1.5\r\n"
                                          "Sleep Count   = 3\r\n"
                                          "Update Count  = 700\r\n"
                                          "Draw Count    = 50\r\n"
                                          "Draw Time     = 200\r\n"
                                          "Screen Blt    = 50\r\n"
                                          "Avg FPS       = 200\r\n");
    EXPECT_FALSE(app.mInMainLoop);
    const int ended = IndexOf("OnMainLoopEnded");
    ASSERT_GE(ended, 0);
    EXPECT_LT(IndexOf("RunMainLoop"), ended);
    EXPECT_EQ(Log().back(), "save settings");
}

TEST_F(AppStartup, NoFramesMeansNoAverage)
{
    LoopApp app(platform->Clock());
    app.Start();
    EXPECT_EQ(platform->Debug().GetAll().find("Avg FPS"), std::string::npos);
    EXPECT_NE(platform->Debug().GetAll().find("Screen Blt    = 0\r\n"), std::string::npos);
}

TEST_F(AppStartup, StartAfterShutdownReturnsAtOnce)
{
    LoopApp app(platform->Clock());
    app.Shutdown();
    Log().clear();
    app.Start();
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(platform->Debug().GetAll(), "");
}

TEST_F(AppStartup, StartShowsTheMainWindow)
{
    LoopApp app(platform->Clock());
    app.Init();
    Log().clear();
    app.Start();
    EXPECT_EQ(Log().front(), "show MainWindow");
    EXPECT_EQ(platform->Windows().GetActiveWindow(), app.mMainWindow);
}

TEST_F(AppStartup, ShutdownTwiceRunsOnce)
{
    TestApp app;
    app.Init();
    app.Shutdown();
    app.Shutdown();
    EXPECT_EQ(LogEntriesStartingWith("OnShutdownBegin").size(), 1u);
    EXPECT_TRUE(app.mShutdown);
    EXPECT_TRUE(app.mLeaveUpdateLoop);
}

TEST_F(AppStartup, ShutdownFromAnotherThreadOnlyAsks)
{
    TestApp app;
    app.Init();
    std::thread other([&] { app.Shutdown(); });
    other.join();
    EXPECT_TRUE(app.mShutdownRequested);
    EXPECT_FALSE(app.mShutdown);
    EXPECT_EQ(IndexOf("OnShutdownBegin"), -1);
}

TEST_F(AppStartup, ShutdownStepsInOrderLeavingFullScreen)
{
    StoreDword("ScreenMode", 1);
    TestApp app;
    app.makeDisplay = true;
    app.Init();
    ASSERT_FALSE(app.mIsWindowed);
    ASSERT_TRUE(app.mDDInterface->IsFullScreenActive());
    Log().clear();

    app.Shutdown();
    std::vector<std::string> steps;
    for (const std::string& entry : Log()) {
        if (entry.rfind("registry", 0) != 0)
            steps.push_back(entry);
    }
    const std::vector<std::string> expected = {"OnShutdownBegin", "stop tracks (full screen)", "hide MainWindow",
                                               "save settings"};
    EXPECT_EQ(steps, expected);
    EXPECT_FALSE(app.mDDInterface->IsFullScreenActive());
    EXPECT_EQ(StoredDword("InProgress"), 0u);
}

TEST_F(AppStartup, ShutdownLeavesFullScreenOnlyWhenTheWindowWasMadeFullScreen)
{
    StoreDword("ScreenMode", 1);
    TestApp app;
    app.makeDisplay = true;
    app.Init();
    app.mIsWindowed = true;
    app.Shutdown();
    EXPECT_TRUE(app.mDDInterface->IsFullScreenActive());
}

TEST_F(AppStartup, ShutdownOfAPlayedDemoRestoresTheSavedVolumes)
{
    TestApp app;
    app.mPlayingDemo = true;
    app.mSavedMusicVolume = 0.25;
    app.mSavedSfxVolume = 0.5;
    app.Shutdown();
    const std::vector<std::string> expected = {"OnShutdownBegin", "SetMusicVolume 0.25", "SetSfxVolume 0.5"};
    EXPECT_EQ(Log(), expected);
}

TEST_F(AppStartup, ShutdownWithoutLoadedSettingsSavesNothing)
{
    TestApp app;
    app.Shutdown();
    EXPECT_EQ(IndexOf("save settings"), -1);
    EXPECT_TRUE(platform->Registry().Snapshot().Keys().empty());
}

TEST(UserDataDir, SeparatorIsAppendedOnce)
{
    struct Case {
        const wchar_t* given;
        const wchar_t* kept;
    };
    const Case cases[] = {
        {L"/data/Moorglen", L"/data/Moorglen\\"},
        {L"/data/Moorglen/", L"/data/Moorglen/"},
        {L"C:\\Data\\", L"C:\\Data\\"},
        {L"", L"\\"},
    };
    for (const Case& c : cases) {
        Tandry::SetUserDataDir(c.given);
        EXPECT_EQ(Tandry::GetUserDataDir(), c.kept);
    }
    Tandry::ResetUserDataDir();
    EXPECT_EQ(Tandry::GetUserDataDir(), L"");
}

} // namespace
