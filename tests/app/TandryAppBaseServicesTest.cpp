#include "app/TandryAppBase.h"

#include "AppTestSupport.h"
#include "app/AppFactories.h"
#include "app/DemoStreamSeam.h"
#include "app/UserDataDir.h"
#include "audio/BassMusicInterface.h"
#include "audio/DSoundManager.h"

#include <gtest/gtest.h>

namespace {

using namespace AppTest;

class AppServices : public AppFixture {
protected:
    // The application with a sound manager and music, as Init leaves it.
    struct Outputs {
        RecordingSoundManager* sound;
        RecordingMusic* music;
    };

    Outputs Attach(TestApp& app)
    {
        auto* sound = new RecordingSoundManager(nullptr, false);
        auto* music = new RecordingMusic("test");
        app.mSoundManager = sound;
        app.mMusicInterface = music;
        return {sound, music};
    }
};

TEST_F(AppServices, MuteIsCounted)
{
    struct Step {
        const char* name;
        void (*act)(TestApp&);
        bool muted;
        double sentMusic;
        double sentSfx;
    };
    const Step steps[] = {
        {"volumes set", [](TestApp& a) { a.SetMusicVolume(0.6); a.SetSfxVolume(0.7); }, false, 0.6, 0.7},
        {"mute", [](TestApp& a) { a.Mute(false); }, true, 0.0, 0.0},
        {"mute again", [](TestApp& a) { a.Mute(true); }, true, 0.0, 0.0},
        {"unmute once", [](TestApp& a) { a.Unmute(true); }, true, 0.0, 0.0},
        {"sfx while muted", [](TestApp& a) { a.SetSfxVolume(0.5); }, true, 0.0, 0.0},
        {"unmute again", [](TestApp& a) { a.Unmute(false); }, false, 0.6, 0.5},
        {"unmute at zero", [](TestApp& a) { a.Unmute(false); }, false, 0.6, 0.5},
    };
    TestApp app;
    const Outputs outputs = Attach(app);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act(app);
        EXPECT_EQ(app.IsMuted(), step.muted);
        EXPECT_EQ(outputs.music->volumes.back(), step.sentMusic);
        EXPECT_EQ(outputs.sound->volumes.back(), step.sentSfx);
    }
    EXPECT_EQ(app.GetSfxVolume(), 0.5);
    EXPECT_EQ(app.GetMusicVolume(), 0.6);
    EXPECT_EQ(app.mMuteCount, 0);
    EXPECT_EQ(app.mAutoMuteCount, 0);
}

TEST_F(AppServices, VolumesWithoutOutputsAreOnlyStored)
{
    TestApp app;
    app.SetMusicVolume(0.3);
    app.Mute(false);
    app.SetSfxVolume(0.2);
    EXPECT_EQ(app.GetMusicVolume(), 0.3);
    EXPECT_EQ(app.GetSfxVolume(), 0.2);
    EXPECT_EQ(app.GetSystemVolume(), 0.0);
    app.SetSystemVolume(0.9);
}

TEST_F(AppServices, SystemVolumeIsTheSoundManagers)
{
    TestApp app;
    const Outputs outputs = Attach(app);
    app.SetSystemVolume(0.75);
    EXPECT_EQ(outputs.sound->systemVolume, 0.75);
    EXPECT_EQ(app.GetSystemVolume(), 0.75);
}

TEST_F(AppServices, OneShotSounds)
{
    TestApp app;
    const Outputs outputs = Attach(app);
    app.PlaySoundOnce(4);
    outputs.sound->giveInstances = true;
    app.PlaySoundOnce(5);
    app.PlaySoundPanned(6, -300);
    const std::vector<std::string> expected = {"music test",
                                               "new instance 4",
                                               "new instance 5",
                                               "play looping=0 autoRelease=1",
                                               "new instance 6",
                                               "pan -300",
                                               "play looping=0 autoRelease=1"};
    EXPECT_EQ(std::vector<std::string>(Log().end() - 7, Log().end()), expected);
}

TEST_F(AppServices, MusicBackEndFollowsTheSoundChoices)
{
    struct Case {
        bool noSound;
        bool useFmod;
        const char* made;
    };
    const Case cases[] = {
        {true, true, "music silent"},
        {false, true, "music fmod"},
        {false, false, "music bass InvisWindow"},
    };
    TestApp app;
    app.Init();
    for (const Case& c : cases) {
        app.mNoSound = c.noSound;
        app.mUseFmod = c.useFmod;
        Log().clear();
        delete app.NewMusicInterface(app.mInvisWindow);
        EXPECT_EQ(Log()[1], c.made);
    }
}

TEST_F(AppServices, TheFmodBackEndIsGivenTheUserDataFolderNarrowed)
{
    std::string given = "none";
    Tandry::GetAppFactories().fmodMusic = [&](const std::string& folder) {
        given = folder;
        return new RecordingMusic("fmod");
    };
    TestApp app;
    app.Init();
    app.mUseFmod = true;
    Tandry::SetUserDataDir(L"/data/caf\u00e9");
    delete app.NewMusicInterface(app.mInvisWindow);
    EXPECT_EQ(given, "/data/caf\xe9\\");
}

TEST_F(AppServices, TheDefaultServicesAreSilentUntilTheyAreBuilt)
{
    Tandry::ResetAppFactories();
    TestApp app;
    app.Init();
    ASSERT_NE(dynamic_cast<Tandry::DSoundManager*>(app.mSoundManager), nullptr);
    EXPECT_NE(dynamic_cast<Tandry::BassMusicInterface*>(app.mMusicInterface), nullptr);
    // No sound device here: the manager runs silent, with instances that do not play.
    Tandry::SoundInstance* silent = app.mSoundManager->NewSoundInstance(1);
    ASSERT_NE(silent, nullptr);
    EXPECT_FALSE(silent->Play(false, false));
    app.PlaySoundOnce(1);
    app.PlaySoundPanned(1, 100);
    app.SetSfxVolume(0.4);
    EXPECT_EQ(static_cast<Tandry::DSoundManager*>(app.mSoundManager)->masterVolume, 0.4);
    EXPECT_NE(dynamic_cast<Tandry::DemoStreamSeam*>(&app.GetDemoSeam()), nullptr);
}

TEST_F(AppServices, CustomCursorsAreStoredAndApplied)
{
    TestApp app;
    app.SetCustomCursorsEnabled(true);
    EXPECT_TRUE(app.mCustomCursorsEnabled);
    EXPECT_EQ(Log().back(), "ApplyCursor");
}

TEST_F(AppServices, ClipboardOutsideADemo)
{
    TestApp app;
    app.SetClipboardText("copied \x80");
    EXPECT_EQ(platform->Clipboard().GetText(), std::optional<std::string>("copied \x80"));
    EXPECT_EQ(app.GetClipboardText(), "copied \x80");
    EXPECT_TRUE(LogEntriesStartingWith("demo").empty());

    // Text longer than a demo string passes whole when no demo runs.
    const std::string longText(40000, 'x');
    platform->Clipboard().SetText(longText);
    EXPECT_EQ(app.GetClipboardText(), longText);
}

TEST_F(AppServices, ClipboardWhileRecordingGoesIntoTheDemo)
{
    TestApp app;
    app.mRecordingDemo = true;
    platform->Clipboard().SetText("pasted");
    EXPECT_EQ(app.GetClipboardText(), "pasted");
    ASSERT_EQ(app.Seam().recordedBlocks.size(), 1u);
    Tandry::Buffer block;
    block.PutBytes(app.Seam().recordedBlocks[0].data(), static_cast<int>(app.Seam().recordedBlocks[0].size()));
    EXPECT_EQ(block.GetString(), "pasted");
}

TEST_F(AppServices, ClipboardWhilePlayingComesFromTheDemo)
{
    TestApp app;
    app.mPlayingDemo = true;
    platform->Clipboard().SetText("live");
    Tandry::Buffer recorded;
    recorded.PutString("recorded");
    app.Seam().replayedBlocks.emplace_back(recorded.GetData(), recorded.GetData() + recorded.GetByteSize());
    EXPECT_EQ(app.GetClipboardText(), "recorded");

    app.SetClipboardText("ignored");
    EXPECT_EQ(platform->Clipboard().GetText(), std::optional<std::string>("live"));

    // Once the demo has finished the stream is left alone.
    app.mDemoFinished = true;
    EXPECT_EQ(app.GetClipboardText(), "");
    EXPECT_EQ(LogEntriesStartingWith("demo replay block").size(), 1u);
}

TEST_F(AppServices, BoolsPassThroughTheDemo)
{
    TestApp app;
    bool value = true;
    app.SyncBoolWithDemo(value);
    EXPECT_TRUE(value);
    EXPECT_TRUE(LogEntriesStartingWith("demo").empty());

    app.mPlayingDemo = true;
    Tandry::Buffer recorded;
    recorded.PutBool(false);
    app.Seam().replayedBlocks.emplace_back(recorded.GetData(), recorded.GetData() + recorded.GetByteSize());
    app.SyncBoolWithDemo(value);
    EXPECT_FALSE(value);
}

TEST_F(AppServices, DemoHooksRunOnlyInTheirMode)
{
    TestApp app;
    app.makeDisplay = true;
    app.Init();
    app.mDDInterface->mRefreshRate = 75;
    Log().clear();
    app.ReplayDemoInput();
    app.RecordDisplayState();
    app.WriteDemoFile();
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(app.mRefreshRate, 75);

    app.mRecordingDemo = true;
    app.RecordDisplayState();
    app.WriteDemoFile();
    app.mRecordingDemo = false;
    app.mPlayingDemo = true;
    app.ReplayDemoInput();
    app.mShutdown = true;
    app.ReplayDemoInput();
    const std::vector<std::string> expected = {"demo record display state", "demo write file", "demo replay input"};
    EXPECT_EQ(Log(), expected);
}

class ChainedWidget : public Tandry::Widget {
public:
    ChainedWidget(Tandry::TandryAppBase& app, std::string widgetName, Tandry::Widget* next = nullptr)
        : mApp(app), mName(std::move(widgetName)), mNext(next)
    {
    }
    ~ChainedWidget() override
    {
        Note("delete " + mName);
        if (mNext != nullptr)
            mApp.DeferWidgetDelete(mNext);
    }

private:
    Tandry::TandryAppBase& mApp;
    std::string mName;
    Tandry::Widget* mNext;
};

TEST_F(AppServices, DeferredDeletesWaitForTheirUpdateStep)
{
    TestApp app;
    app.mUpdateDepth = 2;
    app.DeferWidgetDelete(new ChainedWidget(app, "inner", new ChainedWidget(app, "handed on")));
    app.mUpdateDepth = 1;
    app.DeferWidgetDelete(new ChainedWidget(app, "outer"));
    app.DeferWidgetDelete(nullptr);
    Log().clear();

    app.ProcessDeferredDeletes();
    const std::vector<std::string> atDepthOne = {"delete inner", "delete outer", "delete handed on"};
    EXPECT_EQ(Log(), atDepthOne);
    EXPECT_TRUE(app.mDeferredDeletes.empty());

    app.mUpdateDepth = 3;
    app.DeferWidgetDelete(new ChainedWidget(app, "kept"));
    app.mUpdateDepth = 4;
    app.ProcessDeferredDeletes();
    EXPECT_EQ(app.mDeferredDeletes.size(), 1u);
    app.mUpdateDepth = 0;
    app.ProcessDeferredDeletes();
    EXPECT_EQ(Log().back(), "delete kept");
}

} // namespace
