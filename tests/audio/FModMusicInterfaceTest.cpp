// The FMOD music back end over the recording table, whose FSOUND calls
// reach the stand-in on the headless mixer, so sample tracks really play,
// and whose FMUSIC calls answer a song where a test asks for one.
#include "audio/AudioTestSupport.h"
#include "audio/FModMusicInterface.h"
#include "audio/RecordingFmod.h"
#include "platform/fs/SafeWrite.h"
#include "platform/music/FmodRuntime.h"
#include "tests/support/PcmFixtures.h"

#include <filesystem>
#include <memory>

namespace {

using namespace AudioTest;
using Platform::FmodRuntime;
using Tandry::DSoundManager;
using Tandry::FModMusicInterface;

std::vector<uint8_t> FileBytes(const std::string& path)
{
    const std::string text = TestSupport::ReadFile(path);
    return {text.begin(), text.end()};
}

uint32_t U32At(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

uint32_t U16At(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8);
}

// A plain WAV of 16-bit frames, as a cache file would hold them.
void WriteWav(const std::string& path, uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples)
{
    const std::vector<uint8_t> bytes = TestSupport::MakeWav(channels, rate, 16, TestSupport::SampleBytes(samples));
    TestSupport::WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<int16_t> Ramp(size_t frames, int start)
{
    return TestSupport::StereoRamp(frames, start);
}

class FModMusicInterfaceTest : public SoundFixture {
protected:
    void SetUp() override
    {
        SoundFixture::SetUp();
        FmodRuntime::Get().Reset();
        InstallRecordingFmod();
        std::filesystem::create_directories("data/music");
        std::filesystem::copy_file("sounds/tone.ogg", "data/music/theme.ogg");
        std::filesystem::create_directory("user");
        mUserDir = (std::filesystem::current_path() / "user").string() + "/";
        // The sound manager starts the library, as in the program.
        mManager = std::make_unique<DSoundManager>(FakeWindow(), true);
        mMusic = std::make_unique<FModMusicInterface>(mUserDir);
        RecordingFmod().calls.clear();
    }

    void TearDown() override
    {
        Platform::SafeWrite::SetFaultForTests(Platform::SafeWrite::Fault::None);
        mMusic.reset();
        mManager.reset();
        Platform::ResetLibraryOpener();
        FmodRuntime::Get().Reset();
        SoundFixture::TearDown();
    }

    std::string CachePath(const std::string& base) const { return mUserDir + "cached/" + base + ".wav"; }

    std::string mUserDir;
    std::unique_ptr<DSoundManager> mManager;
    std::unique_ptr<FModMusicInterface> mMusic;
};

TEST_F(FModMusicInterfaceTest, ASampleTrackDecodesTheOggOnceIntoACachedWav)
{
    ASSERT_TRUE(mMusic->LoadSampleTrack(1, "data\\music\\theme", false));
    int channels = 0;
    const std::vector<int16_t> ogg = DecodeOggWholeFile("data/music/theme.ogg", channels);
    ASSERT_EQ(channels, 2);
    ASSERT_TRUE(std::filesystem::is_regular_file(CachePath("theme")));
    const std::vector<uint8_t> wav = FileBytes(CachePath("theme"));
    const auto dataLength = static_cast<uint32_t>(ogg.size() * 2);
    ASSERT_EQ(wav.size(), 44u + dataLength);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(U32At(wav, 4), dataLength + 36);
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(std::vector<uint32_t>({U32At(wav, 16), U16At(wav, 20), U16At(wav, 22), U32At(wav, 24), U32At(wav, 28),
                                     U16At(wav, 32), U16At(wav, 34)}),
              std::vector<uint32_t>({16, 1, 2, 44100, 176400, 4, 16}));
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    EXPECT_EQ(U32At(wav, 40), dataLength);
    std::vector<int16_t> pcm(ogg.size());
    std::memcpy(pcm.data(), wav.data() + 44, dataLength);
    EXPECT_EQ(pcm, ogg);
    // Only the folder was made, not one named after the cache file.
    EXPECT_TRUE(std::filesystem::is_directory(mUserDir + "cached"));

    // A later load takes the cache, whatever the Ogg has become.
    std::filesystem::copy_file("sounds/click.ogg", "data/music/theme.ogg",
                               std::filesystem::copy_options::overwrite_existing);
    RecordingFmod().calls.clear();
    ASSERT_TRUE(mMusic->LoadSampleTrack(2, "data\\music\\theme", true));
    EXPECT_EQ(FmodCallsOf("FSOUND_Sample_Load").size(), 1u);
    EXPECT_TRUE(FmodCallsOf("FSOUND_Sample_Lock").empty());
    EXPECT_EQ(FmodRuntime::Get().SampleGetLength(mMusic->FindTrack(2)->sample), ogg.size() / 2);
    EXPECT_TRUE(mMusic->FindTrack(2)->loop);
    EXPECT_FALSE(mMusic->FindTrack(1)->loop);
}

TEST_F(FModMusicInterfaceTest, ADamagedCacheIsRefusedAndWrittenAgain)
{
    ASSERT_TRUE(mMusic->LoadSampleTrack(1, "data/music/theme", false));
    const std::vector<uint8_t> good = FileBytes(CachePath("theme"));
    TestSupport::WriteFile(CachePath("theme"), std::string(good.begin(), good.begin() + 100));
    ASSERT_TRUE(mMusic->LoadSampleTrack(2, "data/music/theme", false));
    EXPECT_EQ(FileBytes(CachePath("theme")), good);
    EXPECT_EQ(FmodRuntime::Get().SampleGetLength(mMusic->FindTrack(2)->sample), (good.size() - 44) / 4);
}

TEST_F(FModMusicInterfaceTest, ACacheThatCannotBeWrittenLeavesNoFileAndTheOggStillPlays)
{
    Platform::SafeWrite::SetFaultForTests(Platform::SafeWrite::Fault::Write);
    ASSERT_TRUE(mMusic->LoadSampleTrack(1, "data/music/theme", false));
    EXPECT_FALSE(std::filesystem::exists(CachePath("theme")));
    EXPECT_TRUE(std::filesystem::is_empty(mUserDir + "cached"));
    EXPECT_NE(mMusic->FindTrack(1)->sample, nullptr);
    EXPECT_FALSE(mMusic->LoadSampleTrack(2, "data/music/missing", false));
    EXPECT_EQ(mMusic->FindTrack(2), nullptr);
}

TEST_F(FModMusicInterfaceTest, ASampleTrackPlaysOnItsChannelOnceOrLooping)
{
    ASSERT_TRUE(mMusic->LoadSampleTrack(3, "data/music/theme", false));
    ASSERT_TRUE(mMusic->LoadSampleTrack(4, "data/music/theme", true));
    const uint32_t frames = FmodRuntime::Get().SampleGetLength(mMusic->FindTrack(3)->sample);
    RecordingFmod().calls.clear();
    mMusic->PlayTrack(3, -1, false);
    EXPECT_EQ(RecordingFmod().calls,
              (std::vector<FmodCall>{{"FSOUND_PlaySound", {3}}, {"FSOUND_SetLoopMode", {3, 1}},
                                     {"FSOUND_SetVolume", {3, 100}}}));
    mMusic->PlayTrack(4, -1, true); // noLoop is not used by sample tracks
    EXPECT_EQ(FmodCallsOf("FSOUND_SetLoopMode").back(), (FmodCall{"FSOUND_SetLoopMode", {4, 2}}));
    EXPECT_TRUE(mMusic->IsTrackPlaying(3));
    Render(frames - 10);
    EXPECT_TRUE(mMusic->IsTrackPlaying(3));
    Render(1034);
    EXPECT_FALSE(mMusic->IsTrackPlaying(3));
    EXPECT_TRUE(mMusic->IsTrackPlaying(4));
    Render(frames * 2);
    EXPECT_TRUE(mMusic->IsTrackPlaying(4));

    // Pause keeps it playing; stop ends it.
    mMusic->PauseTrack(4);
    EXPECT_TRUE(mMusic->IsTrackPlaying(4));
    mMusic->ResumeTrack(4);
    mMusic->StopTrack(4);
    EXPECT_FALSE(mMusic->IsTrackPlaying(4));
    EXPECT_EQ(FmodCallsOf("FSOUND_SetPaused"),
              (std::vector<FmodCall>{{"FSOUND_SetPaused", {4, 1}}, {"FSOUND_SetPaused", {4, 0}}}));
}

TEST_F(FModMusicInterfaceTest, VolumesGoOutAsTruncatedHundredths)
{
    ASSERT_TRUE(mMusic->LoadSampleTrack(0, "data/music/theme", false));
    mMusic->PlayTrack(0, -1, false);
    RecordingFmod().calls.clear();
    mMusic->SetMusicMasterVolume(0.5);
    mMusic->SetTrackVolume(0, 0.333);
    mMusic->SetMusicMasterVolume(1.0);
    EXPECT_EQ(RecordingFmod().calls,
              (std::vector<FmodCall>{{"FSOUND_SetVolume", {0, 50}}, {"FSOUND_SetVolume", {0, 16}},
                                     {"FSOUND_SetVolume", {0, 33}}}));
    EXPECT_EQ(FmodRuntime::Get().GetVolume(0), 33);
}

TEST_F(FModMusicInterfaceTest, FadingOutThreeTracksStopsThemAtTheEleventhUpdate)
{
    for (int id : {0, 1, 2}) {
        ASSERT_TRUE(mMusic->LoadSampleTrack(id, "data/music/theme", true));
        mMusic->PlayTrack(id, -1, false);
    }
    mMusic->FadeOutAllTracks(true, 0.1);
    for (int update = 1; update <= 10; ++update)
        mMusic->UpdateFades();
    EXPECT_TRUE(FmodCallsOf("FSOUND_StopSound").empty());
    EXPECT_GT(mMusic->FindTrack(1)->volume, 0.0);
    mMusic->UpdateFades();
    EXPECT_EQ(FmodCallsOf("FSOUND_StopSound"),
              (std::vector<FmodCall>{{"FSOUND_StopSound", {0}}, {"FSOUND_StopSound", {1}}, {"FSOUND_StopSound", {2}}}));
    for (int id : {0, 1, 2})
        EXPECT_FALSE(mMusic->IsTrackPlaying(id));
    EXPECT_EQ(FmodCallsOf("FSOUND_SetVolume").back(), (FmodCall{"FSOUND_SetVolume", {2, 0}}));

    // A fade-in rises to the ceiling and stops there, starting a track that is not playing.
    RecordingFmod().calls.clear();
    mMusic->FadeInTrack(1, -1, 0.4, false);
    EXPECT_EQ(FmodCallsOf("FSOUND_PlaySound").size(), 1u);
    for (int update = 0; update < 4; ++update)
        mMusic->UpdateFades();
    EXPECT_EQ(mMusic->FindTrack(1)->volume, 1.0);
    EXPECT_EQ(mMusic->FindTrack(1)->volumeAdd, 0.0);
    mMusic->FadeInTrack(1, -1, 0.4, false);
    EXPECT_EQ(FmodCallsOf("FSOUND_PlaySound").size(), 1u);
}

TEST_F(FModMusicInterfaceTest, AJoinedTrackPlaysItsIntroOnceThenItsLoopPart)
{
    std::filesystem::create_directory(mUserDir + "cached");
    const std::vector<int16_t> intro = Ramp(1500, 1);
    const std::vector<int16_t> loop = Ramp(900, 8000);
    WriteWav(CachePath("intro"), 2, 44100, intro);
    WriteWav(CachePath("loop"), 2, 44100, loop);
    WriteWav(CachePath("slow"), 2, 22050, loop);
    WriteWav(CachePath("mono"), 1, 44100, std::vector<int16_t>(loop.begin(), loop.begin() + 900));
    ASSERT_TRUE(mMusic->LoadJoinedTrack(5, "music\\intro", "music\\loop", true));
    EXPECT_EQ(FmodCallsOf("FSOUND_Sample_SetLoopPoints"),
              (std::vector<FmodCall>{{"FSOUND_Sample_SetLoopPoints", {1500, 900}}}));
    EXPECT_EQ(FmodCallsOf("FSOUND_Sample_Alloc"),
              (std::vector<FmodCall>{{"FSOUND_Sample_Alloc", {-1, 2400, 0x53, 44100, 255, 128, 0}}}));
    mMusic->PlayTrack(5, -1, false);
    const std::vector<int16_t> rendered = Render(1500 + 900 * 3);
    std::vector<int16_t> expected = intro;
    for (int i = 0; i < 3; ++i)
        expected.insert(expected.end(), loop.begin(), loop.end());
    EXPECT_TRUE(rendered == expected);

    EXPECT_FALSE(mMusic->LoadJoinedTrack(6, "intro", "slow", true));
    EXPECT_FALSE(mMusic->LoadJoinedTrack(7, "mono", "loop", true));
    EXPECT_FALSE(mMusic->LoadJoinedTrack(8, "intro", "missing", true));
    EXPECT_EQ(mMusic->FindTrack(6), nullptr);
    EXPECT_EQ(mMusic->FindTrack(7), nullptr);
}

TEST_F(FModMusicInterfaceTest, UnknownIdsAreIgnoredAndSongsDoNotLoadHere)
{
    EXPECT_FALSE(mMusic->IsTrackPlaying(9));
    EXPECT_FALSE(mMusic->LoadTrack(9, "music/theme.ogg"));
    mMusic->PlayTrack(9, 0, false);
    mMusic->StopTrack(9);
    mMusic->FadeInTrack(9, 0, 0.1, false);
    mMusic->SetTrackVolume(9, 1.0);
    EXPECT_EQ(RecordingFmod().calls, (std::vector<FmodCall>{{"FMUSIC_LoadSong", {}}}));
}

TEST_F(FModMusicInterfaceTest, SongsGoThroughTheModuleCalls)
{
    RecordingFmod().song = reinterpret_cast<Platform::Fmod::FMUSIC_MODULE*>(kSongHandle);
    ASSERT_TRUE(mMusic->LoadTrack(1, "music/theme.ogg"));
    const int64_t s = kSongHandle;
    RecordingFmod().calls.clear();
    mMusic->PlayTrack(1, 3, true);
    mMusic->PlayTrack(1, 0, false);
    EXPECT_EQ(RecordingFmod().calls,
              (std::vector<FmodCall>{{"FMUSIC_SetMasterVolume", {s, 100}}, {"FMUSIC_SetLooping", {s, 1}},
                                     {"FMUSIC_PlaySong", {s}}, {"FMUSIC_SetOrder", {s, 3}},
                                     {"FMUSIC_SetMasterVolume", {s, 100}}, {"FMUSIC_SetLooping", {s, 2}},
                                     {"FMUSIC_PlaySong", {s}}, {"FMUSIC_SetOrder", {s, 0}}}));

    // A fade-in plays only a song that is not playing, and sets an order only when given one.
    RecordingFmod().calls.clear();
    mMusic->StopTrack(1);
    RecordingFmod().songPlaying = 1;
    mMusic->FadeInTrack(1, -1, 0.25, false);
    RecordingFmod().songPlaying = 0;
    mMusic->FadeInTrack(1, 4, 0.25, true);
    EXPECT_EQ(RecordingFmod().calls,
              (std::vector<FmodCall>{{"FMUSIC_StopSong", {s}}, {"FMUSIC_SetMasterVolume", {s, 0}},
                                     {"FMUSIC_SetLooping", {s, 2}}, {"FMUSIC_IsPlaying", {s}},
                                     {"FMUSIC_SetMasterVolume", {s, 0}}, {"FMUSIC_SetLooping", {s, 1}},
                                     {"FMUSIC_IsPlaying", {s}}, {"FMUSIC_PlaySong", {s}}, {"FMUSIC_SetOrder", {s, 4}}}));

    RecordingFmod().calls.clear();
    mMusic->UpdateFades();
    mMusic->PauseTrack(1);
    mMusic->ResumeTrack(1);
    RecordingFmod().songPlaying = 1;
    EXPECT_TRUE(mMusic->IsTrackPlaying(1));
    mMusic->FadeOutTrack(1, true, 0.5);
    mMusic->UpdateFades();
    EXPECT_EQ(RecordingFmod().calls,
              (std::vector<FmodCall>{{"FMUSIC_SetMasterVolume", {s, 25}}, {"FMUSIC_SetPaused", {s, 1}},
                                     {"FMUSIC_SetPaused", {s, 0}}, {"FMUSIC_IsPlaying", {s}},
                                     {"FMUSIC_StopSong", {s}}, {"FMUSIC_SetMasterVolume", {s, 0}}}));
}

} // namespace
