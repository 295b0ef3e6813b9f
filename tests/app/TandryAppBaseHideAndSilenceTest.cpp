// Hiding the application silences the music without losing the player's
// volume; the loading progress as the loading screen reads it.
#include "LoopTestSupport.h"

#include "audio/MusicInterface.h"
#include "platform/window/WindowMessages.h"

namespace LoopTest {
namespace {

class VolumeMusic : public Tandry::MusicInterface {
public:
    void SetMusicMasterVolume(double volume) override { sent.push_back(volume); }
    std::vector<double> sent;
};

class HideAndSilence : public LoopFixture {};

TEST_F(HideAndSilence, TheMusicStopsButItsVolumeIsKept)
{
    OpenWindow();
    auto* music = new VolumeMusic();
    mApp->mMusicInterface = music;
    mApp->mRegistryKey = "Hollowmere\\Moorglen";
    mApp->SetMusicVolume(0.6);
    mApp->mMouseInWindow = true;
    mApp->mCursorKind = 3;

    mApp->HideAndSilence();
    EXPECT_TRUE(mApp->mWindowHidden);
    // Hiding again finds the window already hidden.
    EXPECT_FALSE(mPlatform->Windows().ShowWindow(mApp->mMainWindow, Platform::SW_HIDE));
    EXPECT_EQ(mPlatform->Cursors().GetShown().back(), mPlatform->Cursors().LoadSystemCursor(Platform::IDC_ARROW));
    EXPECT_EQ(music->sent.back(), 0.0);
    EXPECT_EQ(mApp->GetMusicVolume(), 0.6);

    // A focus loss and gain while hidden keep the silence.
    music->sent.clear();
    mApp->Mute(true);
    mApp->Unmute(true);
    EXPECT_EQ(music->sent, (std::vector<double>{0.0, 0.0}));

    mApp->SaveSettingsToRegistry();
    int stored = -1;
    EXPECT_TRUE(mApp->ReadRegistryDword("MusicVolume", &stored));
    EXPECT_EQ(stored, 60);
}

TEST_F(HideAndSilence, LoadingProgress)
{
    struct Case {
        bool started;
        bool acknowledged;
        int total;
        int done;
        double progress;
    };
    const Case cases[] = {
        {false, false, 4, 3, 0.0}, {true, false, 4, 3, 0.75}, {true, false, 4, 5, 1.0},
        {true, false, 0, 3, 0.0},  {true, false, -2, 1, 0.0}, {true, true, 4, 0, 1.0},
        {false, true, 0, 0, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.started << c.acknowledged << " " << c.done << "/" << c.total);
        mApp->mLoadingThreadStarted = c.started;
        mApp->mLoadingAcknowledged = c.acknowledged;
        mApp->mLoadingTasksTotal = c.total;
        mApp->mLoadingTasksDone = c.done;
        EXPECT_EQ(mApp->GetLoadingProgress(), c.progress);
    }
}

} // namespace
} // namespace LoopTest
