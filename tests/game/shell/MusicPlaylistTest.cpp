#include "game/shell/ShellSoundTestSupport.h"

#include "audio/BassMusicInterface.h"
#include "game/shell/MusicPlaylist.h"
#include "platform/dsound/SoundMixer.h"
#include "platform/music/BassRuntime.h"

namespace {

using namespace ShellSoundTest;
using Tandry::MusicPlaylist;

const std::string kEightFiles = "MusicList=a.ogg,b.ogg,c.ogg,d.ogg,e.ogg,f.ogg,g.ogg,h.ogg\n";

class MusicPlaylistTest : public ShellSoundFixture {
protected:
    RecordingMusic& WithSounds(const std::string& musicSection)
    {
        WriteFile("res/sounds.ini", "[Music]\n" + musicSection);
        return UseRecordingMusic();
    }
};

TEST_F(MusicPlaylistTest, TheMusicListLoadsInOrderAndIdsOutsideItAreDropped)
{
    RecordingMusic& music = WithSounds("MusicList=One.ogg, two.wav,three\nx=0,9,-1,2,junk\nempty=\n");
    MusicPlaylist playlist;
    EXPECT_EQ(music.loads, (std::vector<std::string>{"0 data\\music\\one.ogg", "1 data\\music\\two.wav",
                                                     "2 data\\music\\three"}));
    EXPECT_EQ(playlist.GetPlaylist("X").tracks, (std::vector<int>{0, 2, 0}));
    EXPECT_TRUE(playlist.GetPlaylist("empty").tracks.empty());
    EXPECT_TRUE(playlist.GetPlaylist("").tracks.empty());
}

TEST_F(MusicPlaylistTest, ARandomPlaylistPlaysItsFirstTrackOnceAndNeverRepeatsTheCurrentOne)
{
    RecordingMusic& music = WithSounds(kEightFiles + "menu=rand,play_first_once,0,3,4,6,7\n");
    MusicPlaylist playlist;
    playlist.SwitchTo("menu");
    ASSERT_EQ(music.FadedIn(), std::vector<int>{0});
    playlist.Update();
    const int second = music.FadedIn().back();
    EXPECT_TRUE(second == 4 || second == 6 || second == 7) << second;
    std::set<int> seen;
    for (int i = 0; i < 300; ++i) {
        const int before = music.FadedIn().back();
        playlist.Update();
        const int now = music.FadedIn().back();
        EXPECT_NE(now, before);
        EXPECT_NE(now, 0);
        seen.insert(now);
    }
    EXPECT_EQ(seen, (std::set<int>{3, 4, 6, 7}));
}

TEST_F(MusicPlaylistTest, PlaylistsPlayInTheOrderTheirShapeGives)
{
    const struct {
        const char* line;
        std::vector<int> fadedIn;
    } cases[] = {
        {"k=rand,play_first_once,0,3,4\n", {0, 3, 0, 3, 0}},
        {"k=1,2,5\n", {1, 2, 5, 1, 2}},
        {"k=7,8\n", {7, 7, 7, 7, 7}},
        {"k=play_first_once,5,6,7\n", {5, 6, 7, 5, 6}},
    };
    for (const auto& c : cases) {
        RecordingMusic& music = WithSounds(kEightFiles + c.line);
        MusicPlaylist playlist;
        playlist.SwitchTo("k");
        for (int i = 0; i < 4; ++i)
            playlist.Update();
        EXPECT_EQ(music.FadedIn(), c.fadedIn) << c.line;
    }
}

TEST_F(MusicPlaylistTest, EachChangeFadesTheOldTrackOutAndTheNewOneIn)
{
    RecordingMusic& music = WithSounds(kEightFiles + "game=1,2,5\n");
    MusicPlaylist playlist;
    playlist.SwitchTo("game");
    music.playing = true;
    playlist.Update(); // still playing: nothing
    music.playing = false;
    playlist.Update();
    EXPECT_EQ(music.calls, (std::vector<MusicCall>{{"in", 1, 0.002, true}, {"out", 1, 0.004, true},
                                                   {"in", 2, 0.002, true}}));
    EXPECT_EQ(playlist.GetCurrentMusicId(), 2);
    EXPECT_EQ(playlist.GetCurrentPosition(), 1);
}

TEST_F(MusicPlaylistTest, KeyChangesCompareExactlyWhilePlaylistsIgnoreCase)
{
    RecordingMusic& music = WithSounds(kEightFiles + "menu=1,2,5\n");
    MusicPlaylist playlist;
    playlist.SwitchTo("Menu");
    playlist.Update();
    music.calls.clear();
    playlist.SwitchTo("do_not_change_music");
    playlist.SwitchTo("Menu");
    EXPECT_TRUE(music.calls.empty());
    playlist.SwitchTo("menu"); // a new key: the first track again
    EXPECT_EQ(music.calls, (std::vector<MusicCall>{{"out", 2, 0.004, true}, {"in", 1, 0.002, true}}));
    music.calls.clear();
    playlist.SwitchTo("MENU"); // the same track: nothing changes
    EXPECT_TRUE(music.calls.empty());

    playlist.SwitchTo("nowhere");
    EXPECT_EQ(music.calls, (std::vector<MusicCall>{{"out", 1, 0.004, true}}));
    playlist.Update();
    EXPECT_EQ(playlist.GetCurrentMusicId(), -1);
    EXPECT_EQ(music.calls.size(), 1u);
}

TEST_F(MusicPlaylistTest, WithoutTheFileThereAreNoPlaylists)
{
    RecordingMusic& music = UseRecordingMusic();
    MusicPlaylist playlist;
    playlist.SwitchTo("menu");
    playlist.Update();
    EXPECT_TRUE(music.loads.empty());
    EXPECT_TRUE(music.calls.empty());
    // Without any music interface nothing breaks either.
    delete mGame->mMusicInterface;
    mGame->mMusicInterface = nullptr;
    MusicPlaylist silent;
    silent.SwitchTo("menu");
    silent.Update();
}

TEST_F(MusicPlaylistTest, OverTheLibraryTheEndOfATrackStartsTheNextOne)
{
    Platform::BassRuntime::Get().Reset();
    const std::string sounds = std::string(MOORGLEN_TEST_DATA) + "/sounds/";
    std::filesystem::create_directories("data/music");
    for (const char* name : {"stereo.wav", "tone.ogg"})
        std::filesystem::copy_file(sounds + name, std::string("data/music/") + name);
    WriteFile("res/sounds.ini", "[Music]\nMusicList=stereo.wav,tone.ogg,stereo.wav\ngame=0,1,2\n");
    auto* music = new Tandry::BassMusicInterface(nullptr);
    mGame->mMusicInterface = music;
    MusicPlaylist playlist;
    EXPECT_EQ(music->tracks.size(), 3u);
    playlist.SwitchTo("game");
    EXPECT_TRUE(music->IsTrackPlaying(0));
    playlist.Update();
    EXPECT_EQ(playlist.GetCurrentMusicId(), 0);
    mPlatform->Audio().Render(4410 + 10); // the length of stereo.wav
    EXPECT_FALSE(music->IsTrackPlaying(0));
    playlist.Update();
    EXPECT_EQ(playlist.GetCurrentMusicId(), 1);
    EXPECT_TRUE(music->IsTrackPlaying(1));
    mGame.reset();
    Platform::BassRuntime::Get().Reset();
}

} // namespace
