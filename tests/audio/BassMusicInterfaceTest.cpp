#include "audio/AudioTestSupport.h"
#include "audio/BassMusicInterface.h"
#include "audio/RecordingBass.h"
#include "platform/music/BassRuntime.h"
#include "platform/music/BassTestSupport.h"

#include <cmath>
#include <fstream>
#include <memory>

namespace {

using namespace AudioTest;
using Tandry::BassMusicInterface;
using Tandry::BassTrack;

constexpr int64_t kHandle = 100; // the first stream handle of the recording library

class BassMusicInterfaceTest : public SoundFixture {
protected:
    void SetUp() override
    {
        SoundFixture::SetUp();
        Platform::BassRuntime::Get().Reset();
        InstallRecordingBass();
    }

    void TearDown() override
    {
        mMusic.reset();
        Platform::ResetLibraryOpener();
        Platform::BassRuntime::Get().Reset();
        SoundFixture::TearDown();
    }

    // The interface over the recording library, with one stream loaded under id 1.
    BassMusicInterface& WithStream()
    {
        mMusic = std::make_unique<BassMusicInterface>(FakeWindow());
        RecordingBass().nextStream = kHandle;
        EXPECT_TRUE(mMusic->LoadTrack(1, "sounds/tone.ogg"));
        RecordingBass().calls.clear();
        return *mMusic;
    }

    // The volumes handed to the library, in hundredths.
    static std::vector<int64_t> VolumesSent()
    {
        std::vector<int64_t> volumes;
        for (const BassCall& call : CallsOf("BASS_ChannelSetAttributes")) {
            EXPECT_EQ(call.args[1], -1);
            EXPECT_EQ(call.args[3], -101);
            volumes.push_back(call.args[2]);
        }
        return volumes;
    }

    std::unique_ptr<BassMusicInterface> mMusic;
};

TEST_F(BassMusicInterfaceTest, StartUpInitialisesWithTheBufferAndKeepsTheSpeakerVolume)
{
    SoundMixer::SetSpeakerVolume(30000);
    mMusic = std::make_unique<BassMusicInterface>(FakeWindow());
    const int64_t window = reinterpret_cast<intptr_t>(FakeWindow());
    EXPECT_EQ(RecordingBass().calls, (std::vector<BassCall>{{"BASS_Init", {1, 44100, 0, window, 0}},
                                                            {"BASS_SetConfig", {0, 2000}},
                                                            {"BASS_Start", {}}}));
    EXPECT_EQ(SoundMixer::GetSpeakerVolume(), 30000u);
    RecordingBass().calls.clear();
    mMusic.reset();
    EXPECT_EQ(RecordingBass().calls, (std::vector<BassCall>{{"BASS_Stop", {}}, {"BASS_Free", {}}}));
}

TEST_F(BassMusicInterfaceTest, FadeTrackToLandsOnTheTargetWhenTheRestIsNotLargerThanAStep)
{
    BassMusicInterface& music = WithStream();
    music.SetTrackVolume(1, 0.2);
    music.FadeTrackTo(1, 0.5, 0.1);
    music.UpdateFades();
    EXPECT_DOUBLE_EQ(music.tracks[1].volume, 0.2 + 0.1);
    music.UpdateFades();
    EXPECT_EQ(music.tracks[1].volume, 0.5);
    EXPECT_EQ(music.tracks[1].volumeAdd, 0);
    EXPECT_EQ(music.tracks[1].targetVolume, -1);
    music.UpdateFades();
    EXPECT_EQ(VolumesSent(), (std::vector<int64_t>{20, 30, 50}));
    // The same volume again starts nothing.
    music.FadeTrackTo(1, 0.5, 0.1);
    EXPECT_EQ(music.tracks[1].volumeAdd, 0);
}

TEST_F(BassMusicInterfaceTest, FadeOutStopsTheChannelOnlyOnceTheVolumeFallsBelowZero)
{
    const struct {
        double speed;
        size_t updatesUntilStop;
    } cases[] = {{0.3, 4}, {0.25, 5}};
    for (const auto& c : cases) {
        BassMusicInterface& music = WithStream();
        music.SetTrackVolume(1, 1.0);
        music.FadeOutTrack(1, true, c.speed);
        double expected = 1.0;
        std::vector<int64_t> sent = {100};
        for (size_t update = 1; update <= c.updatesUntilStop; ++update) {
            EXPECT_TRUE(CallsOf("BASS_ChannelStop").empty()) << c.speed << " " << update;
            music.UpdateFades();
            expected -= c.speed;
            if (expected < 0)
                expected = 0;
            EXPECT_EQ(music.tracks[1].volume, expected) << c.speed << " " << update;
            sent.push_back(static_cast<int64_t>(std::trunc(expected * 100)));
        }
        EXPECT_EQ(CallsOf("BASS_ChannelStop"), (std::vector<BassCall>{{"BASS_ChannelStop", {kHandle}}}));
        EXPECT_EQ(VolumesSent(), sent);
        mMusic.reset();
    }
    BassMusicInterface& music = WithStream();
    music.FadeOutTrack(1, true, 0.3);
    EXPECT_TRUE(music.tracks[1].stopWhenFaded);
    EXPECT_EQ(music.tracks[1].volumeAdd, 0);
}

TEST_F(BassMusicInterfaceTest, FadeInRisesByTheSpeedToTheMaximum)
{
    BassMusicInterface& music = WithStream();
    music.SetTrackMaxVolume(1, 0.5);
    music.FadeInTrack(1, 0, 0.2, true);
    std::vector<double> volumes;
    for (int i = 0; i < 4; ++i) {
        music.UpdateFades();
        volumes.push_back(music.tracks[1].volume);
    }
    EXPECT_DOUBLE_EQ(volumes[0], 0.2);
    EXPECT_DOUBLE_EQ(volumes[1], 0.4);
    EXPECT_EQ(volumes[2], 0.5);
    EXPECT_EQ(volumes[3], 0.5);
    EXPECT_EQ(music.tracks[1].volumeAdd, 0);
}

TEST_F(BassMusicInterfaceTest, SetTrackMaxVolumeLowersOnlyALouderVolume)
{
    BassMusicInterface& music = WithStream();
    music.SetTrackVolume(1, 0.8);
    music.SetTrackMaxVolume(1, 0.3);
    EXPECT_EQ(music.tracks[1].volume, 0.3);
    music.SetTrackVolume(1, 0.1);
    music.SetTrackMaxVolume(1, 0.3);
    EXPECT_EQ(music.tracks[1].volume, 0.1);
    EXPECT_EQ(VolumesSent(), (std::vector<int64_t>{80, 30, 10, 10}));
}

TEST_F(BassMusicInterfaceTest, PlayingAStreamSetsItsVolumeFlagsAndPosition)
{
    const struct {
        int offset;
        bool noLoop;
        int64_t flags;
        int64_t restart;
        bool position;
    } cases[] = {{-1, false, 4, 0, false}, {0, true, 0, 1, false}, {1, false, 4, 1, true}, {5000, true, 0, 1, true}};
    for (const auto& c : cases) {
        BassMusicInterface& music = WithStream();
        music.PlayTrack(1, c.offset, c.noLoop);
        std::vector<BassCall> expected = {{"BASS_ChannelSetAttributes", {kHandle, -1, 100, -101}},
                                          {"BASS_ChannelStop", {kHandle}},
                                          {"BASS_ChannelSetFlags", {kHandle, c.flags}},
                                          {"BASS_ChannelPlay", {kHandle, c.restart}}};
        if (c.position)
            expected.push_back({"BASS_ChannelSetPosition", {kHandle, c.offset}});
        EXPECT_EQ(RecordingBass().calls, expected) << c.offset;
        EXPECT_EQ(music.tracks[1].stopWhenFaded, c.noLoop);
        // A fade in plays the same way, at the volume it had.
        RecordingBass().calls.clear();
        music.StopTrack(1);
        music.FadeInTrack(1, c.offset, 0.1, c.noLoop);
        std::vector<BassCall> fade = {{"BASS_ChannelStop", {kHandle}},
                                      {"BASS_ChannelStop", {kHandle}},
                                      {"BASS_ChannelSetAttributes", {kHandle, -1, 0, -101}}};
        fade.insert(fade.end(), expected.begin() + 2, expected.end());
        EXPECT_EQ(RecordingBass().calls, fade) << c.offset;
        mMusic.reset();
    }
}

TEST_F(BassMusicInterfaceTest, ModuleMusicPlaysAtAnOrder)
{
    RecordingBass().moduleHandle = 77;
    std::ofstream("song.xm") << "module";
    mMusic = std::make_unique<BassMusicInterface>(FakeWindow());
    ASSERT_TRUE(mMusic->LoadTrack(2, "song.xm"));
    EXPECT_EQ(CallsOf("BASS_MusicLoad"), (std::vector<BassCall>{{"BASS_MusicLoad", {0, 0, 0, 0x204, 0}}}));
    RecordingBass().calls.clear();
    mMusic->PlayTrack(2, 0x12345, true);
    EXPECT_EQ(RecordingBass().calls,
              (std::vector<BassCall>{{"BASS_ChannelSetAttributes", {77, -1, 100, -101}},
                                     {"BASS_ChannelStop", {77}},
                                     {"BASS_ChannelStop", {77}},
                                     {"BASS_ChannelSetPosition", {77, static_cast<int64_t>(0xFFFFFFFF80002345ull)}},
                                     {"BASS_ChannelSetFlags", {77, 0x8200}},
                                     {"BASS_ChannelPlay", {77, 0}}}));
    RecordingBass().calls.clear();
    mMusic->FadeInTrack(2, -1, 0.1, false);
    EXPECT_EQ(CallsOf("BASS_ChannelPlay"), (std::vector<BassCall>{{"BASS_ChannelPlay", {77, 1}}}));
    mMusic->SetTrackAmplification(2, 0.5);
    EXPECT_EQ(CallsOf("BASS_MusicSetAttribute"), (std::vector<BassCall>{{"BASS_MusicSetAttribute", {77, 0, 50}}}));
    RecordingBass().calls.clear();
    mMusic->UnloadTrack(2);
    EXPECT_EQ(CallsOf("BASS_MusicFree"), (std::vector<BassCall>{{"BASS_MusicFree", {77}}}));
    EXPECT_TRUE(mMusic->tracks.empty());
}

TEST_F(BassMusicInterfaceTest, TheMasterVolumeIsTruncatedInBothShapes)
{
    mMusic = std::make_unique<BassMusicInterface>(FakeWindow());
    RecordingBass().calls.clear();
    mMusic->SetMusicMasterVolume(0.57);
    EXPECT_EQ(RecordingBass().calls,
              (std::vector<BassCall>{{"BASS_SetConfig", {6, 56}}, {"BASS_SetConfig", {5, 56}}}));
    mMusic.reset();

    InstallRecordingBass({}, true);
    RecordingBass().moduleHandle = 9;
    mMusic = std::make_unique<BassMusicInterface>(FakeWindow());
    const int64_t window = reinterpret_cast<intptr_t>(FakeWindow());
    EXPECT_EQ(RecordingBass().calls,
              (std::vector<BassCall>{{"BASS_Init", {-1, 44100, 0, window}}, {"BASS_Start", {}}}));
    RecordingBass().calls.clear();
    mMusic->SetMusicMasterVolume(0.57);
    EXPECT_EQ(RecordingBass().calls, (std::vector<BassCall>{{"BASS_SetGlobalVolumes", {22, 22, 22}}}));
    std::ofstream("song") << "module";
    ASSERT_TRUE(mMusic->LoadTrack(3, "song"));
    EXPECT_EQ(CallsOf("BASS_MusicLoad"), (std::vector<BassCall>{{"BASS_MusicLoad", {0, 0, 0, 4}}}));
    mMusic.reset();

    // An older library with only "BASS_SetVolume" has no global volumes.
    InstallRecordingBass({"BASS_SetGlobalVolumes"}, true);
    mMusic = std::make_unique<BassMusicInterface>(FakeWindow());
    RecordingBass().calls.clear();
    mMusic->SetMusicMasterVolume(0.5);
    EXPECT_TRUE(RecordingBass().calls.empty());
}

TEST_F(BassMusicInterfaceTest, UnknownIdsAndTheSilentInterfaceDoNothing)
{
    BassMusicInterface& music = WithStream();
    EXPECT_FALSE(music.IsTrackPlaying(5));
    music.PlayTrack(5, 0, false);
    music.FadeInTrack(5, 0, 0.1, false);
    music.StopTrack(5);
    music.UnloadTrack(5);
    music.SetTrackVolume(5, 1);
    EXPECT_TRUE(RecordingBass().calls.empty());
    RecordingBass().activeAnswer = 1;
    EXPECT_TRUE(music.IsTrackPlaying(1));
    RecordingBass().activeAnswer = 3;
    EXPECT_FALSE(music.IsTrackPlaying(1));

    Tandry::MusicInterface silent;
    EXPECT_FALSE(silent.LoadTrack(0, "sounds/tone.ogg"));
    EXPECT_FALSE(silent.IsTrackPlaying(0));
    silent.PlayTrack(0, 0, false);
    silent.FadeInTrack(0, 0, 0.1, true);
    silent.FadeOutAllTracks(true, 0.1);
    silent.UpdateFades();
    silent.UnloadAllTracks();
}

TEST_F(BassMusicInterfaceTest, PauseAndResumeAllTouchOnlyPlayingOrPausedTracks)
{
    BassMusicInterface& music = WithStream();
    RecordingBass().activeAnswer = 1;
    music.PauseAllTracks();
    music.ResumeAllTracks();
    EXPECT_EQ(CallsOf("BASS_ChannelPause").size(), 1u);
    EXPECT_TRUE(CallsOf("BASS_ChannelPlay").empty());
    RecordingBass().activeAnswer = 3;
    music.PauseAllTracks();
    music.ResumeAllTracks();
    EXPECT_EQ(CallsOf("BASS_ChannelPause").size(), 1u);
    EXPECT_EQ(CallsOf("BASS_ChannelPlay"), (std::vector<BassCall>{{"BASS_ChannelPlay", {kHandle, 0}}}));
}

TEST_F(BassMusicInterfaceTest, StreamsLoadByExtensionFromPacksOrLooseFiles)
{
    AddPackOf({"tone.ogg"});
    mMusic = std::make_unique<BassMusicInterface>(FakeWindow());
    ASSERT_TRUE(mMusic->LoadTrack(0, "PACKED\\TONE.OGG"));
    ASSERT_EQ(mMusic->keptBlocks.size(), 1u);
    const std::vector<uint8_t> bytes = FixtureBytes("tone.ogg");
    EXPECT_EQ(CallsOf("BASS_StreamCreateFile"),
              (std::vector<BassCall>{{"BASS_StreamCreateFile", {1, 0, static_cast<int64_t>(bytes.size()), 0}}}));
    EXPECT_EQ(std::memcmp(mMusic->keptBlocks[0].get(), bytes.data(), bytes.size()), 0);

    RecordingBass().calls.clear();
    std::filesystem::copy_file("sounds/tone.ogg", "x.OGG");
    ASSERT_TRUE(mMusic->LoadTrack(1, "x.OGG"));
    EXPECT_EQ(CallsOf("BASS_StreamCreateFile"), (std::vector<BassCall>{{"BASS_StreamCreateFile", {0, 0, 0, 0}}}));
    EXPECT_EQ(RecordingBass().streamNames, std::vector<std::string>{"x.OGG"});
    EXPECT_EQ(mMusic->keptBlocks.size(), 1u);

    // Without a dot the name is module music, which this library refuses.
    std::filesystem::copy_file("sounds/tone.ogg", "x");
    EXPECT_FALSE(mMusic->LoadTrack(2, "x"));
    EXPECT_FALSE(mMusic->LoadTrack(3, "sounds/missing.ogg"));
    RecordingBass().nextStream = 0;
    EXPECT_FALSE(mMusic->LoadTrack(4, "PACKED\\TONE.OGG"));
    EXPECT_EQ(mMusic->keptBlocks.size(), 1u);

    // A taken id keeps its track; the new handle is freed at once.
    RecordingBass().nextStream = 300;
    RecordingBass().calls.clear();
    ASSERT_TRUE(mMusic->LoadTrack(0, "PACKED\\TONE.OGG"));
    EXPECT_EQ(mMusic->tracks[0].stream, 100u);
    EXPECT_EQ(CallsOf("BASS_StreamFree"), (std::vector<BassCall>{{"BASS_StreamFree", {300}}}));
    EXPECT_EQ(mMusic->tracks.size(), 2u);
}

TEST_F(BassMusicInterfaceTest, AMissingLibraryOrEntryEndsTheProgramWithABox)
{
    const struct {
        const char* what;
        std::set<std::string> leftOut;
        bool missingLibrary;
        const wchar_t* text;
    } cases[] = {
        {"no library", {}, true, L"Can't find bass.dll."},
        {"no ChannelPlay", {"BASS_ChannelPlay"}, false, L"BASS_ChannelPlay function not found in bass.dll"},
        {"no volume entries", {"BASS_SetGlobalVolumes", "BASS_SetVolume", "BASS_ChannelPlay"}, false,
         L"Neither BASS_SetGlobalVolumes or BASS_SetVolume found in bass.dll"},
        {"first missing in order", {"BASS_StreamFree", "BASS_Free"}, false, L"BASS_Free function not found in bass.dll"},
    };
    for (const auto& c : cases) {
        HeadlessPlatform& platform = InstallHeadlessPlatform();
        InstallRecordingBass(c.leftOut, false, c.missingLibrary);
        EXPECT_THROW(BassMusicInterface music(FakeWindow()), HeadlessExit) << c.what;
        EXPECT_EQ(platform.Process().GetExitCode(), 0) << c.what;
        const auto boxes = platform.Dialogs().GetBoxes();
        ASSERT_EQ(boxes.size(), 1u) << c.what;
        EXPECT_EQ(boxes[0].text, c.text);
        EXPECT_EQ(boxes[0].caption, L"Error");
        EXPECT_EQ(boxes[0].flags, MB_ICONERROR);
    }
    HeadlessPlatform& platform = InstallHeadlessPlatform();
    InstallRecordingBass({"BASS_SetVolume", "BASS_GetConfig", "BASS_PluginLoad", "BASS_ChannelGetLength",
                          "BASS_ChannelPreBuf"});
    { BassMusicInterface music(FakeWindow()); }
    EXPECT_TRUE(platform.Dialogs().GetBoxes().empty());
    mPlatform = &InstallHeadlessPlatform();
}

// The real stand-in, rendered by the test.
class BassMusicOverMixerTest : public BassMusicInterfaceTest {
protected:
    void SetUp() override
    {
        BassMusicInterfaceTest::SetUp();
        Platform::ResetLibraryOpener();
        mMusic = std::make_unique<BassMusicInterface>(FakeWindow());
    }
};

TEST_F(BassMusicOverMixerTest, ATrackPlayedOncePlaysUntilItsLengthIsRendered)
{
    const std::vector<uint8_t> wav = FixtureBytes("stereo.wav");
    const uint32_t frames = static_cast<uint32_t>((wav.size() - 44) / 4);
    ASSERT_TRUE(mMusic->LoadTrack(0, "sounds/stereo.wav"));
    mMusic->PlayTrack(0, 0, true);
    EXPECT_TRUE(mMusic->IsTrackPlaying(0));
    Render(frames - 1);
    EXPECT_TRUE(mMusic->IsTrackPlaying(0));
    Render(1);
    EXPECT_FALSE(mMusic->IsTrackPlaying(0));
    mMusic->PlayTrack(0, -1, false);
    Render(frames * 3);
    EXPECT_TRUE(mMusic->IsTrackPlaying(0)); // looping
    mMusic->PauseTrack(0);
    EXPECT_FALSE(mMusic->IsTrackPlaying(0));
    mMusic->ResumeTrack(0);
    EXPECT_TRUE(mMusic->IsTrackPlaying(0));
    mMusic->StopAllTracks();
    EXPECT_FALSE(mMusic->IsTrackPlaying(0));
}

TEST_F(BassMusicOverMixerTest, PackAndLooseStreamsRenderTheSameAndTheMasterVolumeHalvesThem)
{
    AddPackOf({"tone.ogg"});
    ASSERT_TRUE(mMusic->LoadTrack(0, "PACKED\\tone.ogg"));
    ASSERT_TRUE(mMusic->LoadTrack(1, "sounds\\TONE.ogg"));
    int channels = 0;
    const std::vector<int16_t> decoded = BassTest::DecodeOggWhole(FixturePath("tone.ogg"), channels);
    const uint32_t frames = static_cast<uint32_t>(decoded.size() / 2);
    std::vector<std::vector<int16_t>> rendered;
    for (int id : {0, 1}) {
        mMusic->PlayTrack(id, 0, true);
        rendered.push_back(Render(frames));
        mMusic->StopTrack(id);
    }
    EXPECT_EQ(rendered[0], decoded);
    EXPECT_EQ(rendered[1], decoded);

    mMusic->SetMusicMasterVolume(0.5);
    mMusic->PlayTrack(0, 0, true);
    const std::vector<int16_t> half = Render(frames);
    for (size_t i = 0; i < half.size(); ++i)
        ASSERT_NEAR(half[i], decoded[i] / 2.0, 1.0) << i;
}

} // namespace
