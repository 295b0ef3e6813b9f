// The game object's services: the sound-effect volume kept for game code
// while the mixer plays at full volume, the custom-cursors choice across
// focus loss, the screen-mode change told to the profile, the dialogs, the
// cursor and the board, the per-update work, and the data language.
#include "GameServicesFixture.h"
#include "LevelTestSupport.h"
#include "ShellSoundTestSupport.h"
#include "app/SoundManagerStub.h"
#include "audio/SoundBank.h"
#include "game/shell/MusicPlaylist.h"
#include "game/shell/UiSound.h"
#include "resources/ini/GameIni.h"
#include "resources/pak/PakInterface.h"
#include "widgets/Dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using ShellTest::GameServicesFixture;

// A sound instance that notes the volume each play starts at.
class VolumeInstance : public AppTest::RecordingSoundInstance {
public:
    explicit VolumeInstance(std::vector<double>& played) : mPlayed(played) {}
    void SetPlayVolume(double volume) override { mVolume = volume; }
    bool Play(bool /*looping*/, bool /*autoRelease*/) override
    {
        mPlayed.push_back(mVolume);
        return true;
    }

private:
    std::vector<double>& mPlayed;
    double mVolume = -1.0;
};

// The UI sound bank's mixer: every file loads, every instance notes its volume.
class BankSoundManager : public AppTest::SoundManagerStub {
public:
    int LoadSoundFile(const std::string& /*path*/) override { return 0; }
    Tandry::SoundInstance* NewSoundInstance(int /*id*/) override
    {
        instances.push_back(std::make_unique<VolumeInstance>(played));
        return instances.back().get();
    }

    std::vector<double> played;
    std::vector<std::unique_ptr<VolumeInstance>> instances;
};

// Logs "<id> windowed" or "<id> full" for each screen-mode hook; the hook
// of closer closes that dialog first.
class ModeDialog : public Tandry::Dialog {
public:
    ModeDialog(int dialogId, std::vector<std::string>& log) : Dialog(dialogId, false, L"", L"", L"", 0), mLog(log) {}
    int ScreenModeChanged(bool windowed) override
    {
        if (closer != 0)
            Tandry::gApplication->CloseDialog(closer);
        mLog.push_back(std::to_string(id) + (windowed ? " windowed" : " full"));
        return 0;
    }

    int closer = 0;

private:
    std::vector<std::string>& mLog;
};

class GameAppServicesTest : public GameServicesFixture {
protected:
    void TearDown() override
    {
        Tandry::ResetUiSoundBank();
        GameServicesFixture::TearDown();
    }

    AppTest::RecordingSoundManager& Mixer()
    {
        return dynamic_cast<AppTest::RecordingSoundManager&>(*app->mSoundManager);
    }

    // The "FullScreen" of [Options] the current profile holds itself; empty when it holds none.
    static std::string StoredFullScreen()
    {
        Tandry::ProfileManager& store = Tandry::GetProfileManager();
        return store.HasKey("Options", "FullScreen") ? store.GetString("Options", "FullScreen") : std::string();
    }

    // A language file with the one text [Interface] "Hello".
    static void WriteLangFile(const std::string& folder, const std::wstring& hello)
    {
        std::filesystem::create_directories(folder + "/res");
        Tandry::WideIniDocument document;
        const auto section = document.FindOrAddSection(L"Interface");
        document.FindOrAddKey(section, L"Hello").SetValue(hello);
        ASSERT_TRUE(Tandry::WideIniDocument::SaveUtf16(folder + "/res/lang.ini", document));
    }

    static std::wstring Hello() { return Tandry::GetLangString("Hello", Tandry::GetLangTable(), L"Interface"); }
};

TEST_F(GameAppServicesTest, TheMixerPlaysAtFullVolumeAndUiSoundsAtTheKeptOne)
{
    BankSoundManager bankMixer;
    Tandry::SoundBank& bank = Tandry::GetUiSoundBank();
    bank.SetSoundManager(&bankMixer);
    const std::string document = "[sounds]\nbuttonPress=press\n";
    Tandry::NarrowIniDocument::LoadBytes(document.data(), document.size(), bank.document);

    app->SetSfxVolume(0.4);
    ASSERT_FALSE(Mixer().volumes.empty());
    EXPECT_EQ(Mixer().volumes.back(), 1.0);
    EXPECT_EQ(app->GetSfxVolume(), 0.4);
    Tandry::PlayUiSound(Tandry::kUiSoundButtonPress);
    EXPECT_EQ(bankMixer.played, std::vector<double>{0.4});

    // The framework's mute goes through the same setter: silence, then full
    // volume again, and the player's value survives both.
    app->Mute(true);
    EXPECT_EQ(Mixer().volumes.back(), 0.0);
    app->Unmute(true);
    EXPECT_EQ(Mixer().volumes.back(), 1.0);
    EXPECT_EQ(app->GetSfxVolume(), 0.4);
}

TEST_F(GameAppServicesTest, FocusLossTurnsCustomCursorsOffAndPausesTheBoardUntilItReturns)
{
    const struct {
        bool choice;
        bool withBoard;
    } cases[] = {{true, true}, {false, true}, {true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.choice) + " " + std::to_string(c.withBoard));
        board.hooks.clear();
        app->mCurrentBoard = c.withBoard ? &board : nullptr;
        app->SetCustomCursorsEnabled(c.choice);
        EXPECT_EQ(app->mCustomCursorsEnabled, c.choice);
        EXPECT_EQ(app->mCustomCursorsChoice, c.choice);

        app->OnAppFocusLost();
        EXPECT_FALSE(app->mCustomCursorsEnabled);
        EXPECT_EQ(app->mCustomCursorsChoice, c.choice);
        app->OnAppFocusGained();
        EXPECT_EQ(app->mCustomCursorsEnabled, c.choice);
        const std::vector<std::string> expected =
            c.withBoard ? std::vector<std::string>{"Pause", "Resume"} : std::vector<std::string>{};
        EXPECT_EQ(board.hooks, expected);
    }
}

TEST_F(GameAppServicesTest, AScreenModeChangeIsStoredAndToldToDialogsCursorAndBoard)
{
    UseNewProfile(L"Tester");
    UseBoard();
    std::vector<std::string> told;
    app->AddDialog(7, new ModeDialog(7, told));
    app->AddDialog(3, new ModeDialog(3, told));
    app->SetCursorType(6);

    for (const bool windowed : {true, false}) {
        SCOPED_TRACE(windowed);
        told.clear();
        board.hooks.clear();
        app->mCursorImages[0] = nullptr;
        app->mCursorKind = 5;

        app->ChangeScreenMode(windowed, false, false);
        EXPECT_EQ(app->mWindowed, windowed);
        EXPECT_EQ(StoredFullScreen(), windowed ? "0" : "1");
        const std::string mode = windowed ? " windowed" : " full";
        EXPECT_EQ(told, (std::vector<std::string>{"7" + mode, "3" + mode}));
        EXPECT_EQ(app->mCursorImages[0], &aim);
        EXPECT_EQ(app->mCursorKind, 0);
        EXPECT_EQ(board.hooks, std::vector<std::string>{"ScreenModeChanged" + mode});
    }
}

TEST_F(GameAppServicesTest, WithoutACurrentProfileTheModeChangesAndNothingIsStored)
{
    Tandry::ProfileManager& store = Tandry::GetProfileManager();
    ASSERT_TRUE(store.CreateProfile(L"Other"));
    ASSERT_TRUE(store.GetCurrentName().empty());

    app->ChangeScreenMode(!app->mWindowed, false, false);
    store.SelectProfile(L"Other");
    ASSERT_TRUE(store.LoadCurrentProfile());
    EXPECT_EQ(StoredFullScreen(), "");
}

TEST_F(GameAppServicesTest, AModeChangeBeforeTheStartUpMadeTheProfileStoreDoesNotMakeIt)
{
    // The folders are not final yet: a store made now would read and write the wrong one.
    Tandry::ResetGameFolders();
    app->ChangeScreenMode(!app->mWindowed, false, false);
    EXPECT_EQ(Tandry::FindProfileManager(), nullptr);
}

TEST_F(GameAppServicesTest, ADialogClosedByAnEarlierHookIsNotTold)
{
    std::vector<std::string> told;
    auto* first = new ModeDialog(1, told);
    first->closer = 2;
    app->AddDialog(1, first);
    app->AddDialog(2, new ModeDialog(2, told));
    app->AddDialog(4, new ModeDialog(4, told));

    app->ChangeScreenMode(true, false, true);
    EXPECT_EQ(told, (std::vector<std::string>{"1 windowed", "4 windowed"}));
}

TEST_F(GameAppServicesTest, AScreenModeChangeDuringTheLockKeepsTheDragAndTheKindAskedFor)
{
    app->SetCursorType(4);
    app->SetCursorLock(true);
    app->SetCursorType(5);

    app->ChangeScreenMode(true, false, true);
    EXPECT_EQ(overlay.useAlt, 1);
    EXPECT_EQ(overlay.ShownImage(), &hand2);
    EXPECT_EQ(app->mPendingCursorType, 5);

    app->SetCursorLock(false);
    EXPECT_EQ(app->mCursorType, 5);
    EXPECT_EQ(overlay.ShownImage(), &magnifier);
}

TEST_F(GameAppServicesTest, OneUpdateAdvancesThePlaylistOnceAndTheAmbientSetsByOneStep)
{
    TestSupport::WriteFile(ProgramFolder() + "/res/sounds.ini", "[Music]\nMusicList=a.ogg,b.ogg,c.ogg\nmenu=0,1,2\n");
    auto* music = new ShellSoundTest::RecordingMusic();
    delete app->mMusicInterface;
    app->mMusicInterface = music;

    Tandry::AmbientSet* set = Tandry::AmbientSounds::Load("none");
    auto sound = std::make_unique<Tandry::AmbientSound>("bird", false);
    Tandry::AmbientSound& bird = *sound;
    bird.running = true;
    bird.nextInterval = 100;
    set->sounds.push_back(std::move(sound));

    // Without a playlist the ambient sets still advance.
    app->UpdateTick();
    EXPECT_EQ(bird.timer, 0.01f);

    app->mMusicPlaylist = new Tandry::MusicPlaylist();
    app->mMusicPlaylist->SwitchTo("menu");
    ASSERT_EQ(music->FadedIn(), std::vector<int>{0});
    // The track has ended: each playlist update starts the next one.
    app->UpdateTick();
    EXPECT_EQ(music->FadedIn(), (std::vector<int>{0, 1}));
    EXPECT_EQ(bird.timer, 0.01f + 0.01f);
}

TEST_F(GameAppServicesTest, ALanguageReadsItsFolderFirstAndReloadsEveryClusterScene)
{
    WriteLangFile(ProgramFolder(), L"Hello");
    WriteLangFile(ProgramFolder() + "/data/fr", L"Bonjour");
    Tandry::gGameIni.LoadText("[Clusters]\nnorth=mill,bridge\nsouth=bridge,,well\n");
    ShellTest::RecordingSceneService scenes;
    Tandry::SetSceneService(&scenes);
    ASSERT_EQ(Hello(), L"Hello");

    app->SetLanguage("fr");
    EXPECT_EQ(app->GetLanguage(), "fr");
    EXPECT_EQ(Tandry::GetSharedPakInterface()->PrefixFolder(), "data\\fr\\");
    EXPECT_EQ(Hello(), L"Bonjour");
    EXPECT_EQ(scenes.calls, (std::vector<std::string>{"texts bridge", "texts mill", "texts well"}));

    app->SetLanguage("");
    EXPECT_EQ(app->GetLanguage(), "");
    EXPECT_EQ(Tandry::GetSharedPakInterface()->PrefixFolder(), "");
    EXPECT_EQ(Hello(), L"Hello");
}

TEST_F(GameAppServicesTest, ReloadingTextsWithoutTheQuestEngineReadsTheTableAgain)
{
    WriteLangFile(ProgramFolder(), L"Hello");
    Tandry::gGameIni.LoadText("[Clusters]\nnorth=mill\n");
    ASSERT_EQ(Hello(), L"Hello");

    WriteLangFile(ProgramFolder(), L"Hi");
    Tandry::ReloadLanguageTexts();
    EXPECT_EQ(Hello(), L"Hi");
}

} // namespace
