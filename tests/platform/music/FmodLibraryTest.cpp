#include "platform/dsound/DSoundRuntime.h"
#include "platform/dsound/SoundMixer.h"
#include "platform/fs/ScratchFolder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/music/BassTestSupport.h"
#include "platform/music/FmodRuntime.h"
#include "platform/music/FmodSample.h"
#include "platform/music/FmodTypes.h"
#include "platform/music/LibraryOpener.h"
#include "tests/support/Mp3Reference.h"
#include "tests/support/PcmFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using namespace Platform::Fmod;
using Platform::FmodRuntime;

std::vector<uint8_t> FixtureBytes(const std::string& name)
{
    std::ifstream in(std::string(MOORGLEN_TEST_DATA) + "/sounds/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

template <class Fn>
Fn Entry(const char* name)
{
    const auto table = Platform::OpenLibrary("fmod.dll");
    const Platform::AnyFunction found = table ? table->Find(name) : nullptr;
    EXPECT_NE(found, nullptr) << name;
    return reinterpret_cast<Fn>(found);
}

FSOUND_SAMPLE* Load(const std::string& name)
{
    return Entry<SampleLoadFn>("_FSOUND_Sample_Load@16")(kFreeIndex, name.c_str(), 0, 0);
}

bool Init()
{
    return Entry<InitFn>("_FSOUND_Init@12")(44100, 64, 2) != 0;
}

int32_t PlaySound(int32_t channel, FSOUND_SAMPLE* sample)
{
    return Entry<PlaySoundFn>("_FSOUND_PlaySound@8")(channel, sample);
}

bool IsPlaying(int32_t channel)
{
    return Entry<ChannelFn>("_FSOUND_IsPlaying@4")(channel) != 0;
}

// The sample's whole memory, through its lock.
std::vector<uint8_t> LockedBytes(FSOUND_SAMPLE* sample)
{
    void* part1 = nullptr;
    void* part2 = reinterpret_cast<void*>(1);
    uint32_t length1 = 0;
    uint32_t length2 = 7;
    if (!Entry<SampleLockFn>("_FSOUND_Sample_Lock@28")(sample, 0, 0, &part1, &part2, &length1, &length2))
        return {};
    EXPECT_EQ(part2, nullptr);
    EXPECT_EQ(length2, 0u);
    std::vector<uint8_t> bytes(static_cast<uint8_t*>(part1), static_cast<uint8_t*>(part1) + length1);
    Entry<SampleUnlockFn>("_FSOUND_Sample_Unlock@20")(sample, part1, part2, length1, length2);
    return bytes;
}

std::vector<uint8_t> AsBytes(const std::vector<int16_t>& samples)
{
    std::vector<uint8_t> bytes(samples.size() * 2);
    std::memcpy(bytes.data(), samples.data(), bytes.size());
    return bytes;
}

// A stereo 16-bit sample at the output rate holding the given frames, so
// what renders can be compared sample for sample.
FSOUND_SAMPLE* StereoSample(const std::vector<int16_t>& samples)
{
    FSOUND_SAMPLE* sample = Entry<SampleAllocFn>("_FSOUND_Sample_Alloc@28")(
        kFreeIndex, static_cast<int32_t>(samples.size() / 2), kLoopOff | k16Bits | kStereo, 44100, 255, 128, 0);
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t length1 = 0;
    uint32_t length2 = 0;
    EXPECT_TRUE(Entry<SampleLockFn>("_FSOUND_Sample_Lock@28")(sample, 0, 0, &part1, &part2, &length1, &length2));
    EXPECT_EQ(length1, samples.size() * 2);
    std::memcpy(part1, samples.data(), length1);
    Entry<SampleUnlockFn>("_FSOUND_Sample_Unlock@20")(sample, part1, part2, length1, length2);
    return sample;
}

std::vector<int16_t> Ramp(size_t frames, int start)
{
    return TestSupport::StereoRamp(frames, start);
}

class FmodLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FmodRuntime::Get().Reset();
        Platform::DSoundRuntime::Get().Reset();
        Platform::ResetLibraryOpener();
        Platform::SoundMixer::ResetSpeakerVolume();
        mPlatform = &Platform::InstallHeadlessPlatform();
        std::filesystem::create_directory("sounds");
        for (const auto& entry : std::filesystem::directory_iterator(std::string(MOORGLEN_TEST_DATA) + "/sounds"))
            std::filesystem::copy_file(entry.path(), std::filesystem::path("sounds") / entry.path().filename());
    }

    void TearDown() override
    {
        FmodRuntime::Get().Reset();
        Platform::DSoundRuntime::Get().Reset();
        Platform::ResetPlatform();
    }

    std::vector<int16_t> Render(uint32_t frames) { return mPlatform->Audio().Render(frames); }

    TestSupport::ScratchFolder mScratch{TestSupport::ScratchFolder::Enter};
    Platform::HeadlessPlatform* mPlatform = nullptr;
};

TEST_F(FmodLibraryTest, TheLibraryHasTheThirtyDecoratedNames)
{
    const auto table = Platform::OpenLibrary("fmod.dll");
    ASSERT_NE(table, nullptr);
    const char* names[] = {
        "_FSOUND_SetBufferSize@4", "_FSOUND_SetHWND@4", "_FSOUND_Init@12", "_FSOUND_Close@0",
        "_FSOUND_Sample_Load@16", "_FSOUND_Sample_Alloc@28", "_FSOUND_Sample_Free@4", "_FSOUND_Sample_Lock@28",
        "_FSOUND_Sample_Unlock@20", "_FSOUND_Sample_SetLoopPoints@12", "_FSOUND_Sample_GetLength@4",
        "_FSOUND_Sample_GetDefaults@20", "_FSOUND_Sample_GetMode@4", "_FSOUND_PlaySound@8", "_FSOUND_StopSound@4",
        "_FSOUND_SetVolume@8", "_FSOUND_SetPaused@8", "_FSOUND_SetLoopMode@8", "_FSOUND_IsPlaying@4",
        "_FSOUND_Stream_OpenFile@12", "_FSOUND_Stream_Close@4", "_FSOUND_Stream_Play@8", "_FMUSIC_LoadSong@4",
        "_FMUSIC_PlaySong@4", "_FMUSIC_StopSong@4", "_FMUSIC_SetLooping@8", "_FMUSIC_SetOrder@8",
        "_FMUSIC_SetPaused@8", "_FMUSIC_SetMasterVolume@8", "_FMUSIC_IsPlaying@4"};
    for (const char* name : names)
        EXPECT_NE(table->Find(name), nullptr) << name;
    EXPECT_EQ(table->entries.size(), 30u);
    EXPECT_EQ(table->Find("FSOUND_Init"), nullptr);
    EXPECT_EQ(Platform::OpenLibrary("fmod64.dll"), nullptr);
}

TEST_F(FmodLibraryTest, InitJoinsTheMixerOnceAndCloseFreesEverything)
{
    int dummy = 0;
    auto* window = reinterpret_cast<Platform::WindowHandle>(&dummy);
    EXPECT_TRUE(Entry<SetHWNDFn>("_FSOUND_SetHWND@4")(window));
    EXPECT_TRUE(Entry<SetBufferSizeFn>("_FSOUND_SetBufferSize@4")(200));
    EXPECT_EQ(FmodRuntime::Get().GetWindow(), window);
    EXPECT_EQ(FmodRuntime::Get().GetBufferSize(), 200);
    // No channel plays before Init.
    FSOUND_SAMPLE* early = StereoSample(Ramp(100, 1));
    EXPECT_EQ(PlaySound(0, early), -1);
    ASSERT_TRUE(Init());
    EXPECT_FALSE(Init());
    ASSERT_EQ(PlaySound(3, early), 3);
    ASSERT_NE(Load("sounds/tone.mp3"), nullptr);
    EXPECT_EQ(FmodRuntime::Get().LiveSamples(), 2u);
    Entry<CloseFn>("_FSOUND_Close@0")();
    EXPECT_EQ(FmodRuntime::Get().LiveSamples(), 0u);
    EXPECT_FALSE(IsPlaying(3));
    EXPECT_FALSE(FmodRuntime::Get().IsInitialised());
    EXPECT_EQ(Render(100), std::vector<int16_t>(200, 0));

    mPlatform->Audio().SetDeviceMissing(true);
    EXPECT_FALSE(Init());
}

TEST_F(FmodLibraryTest, LoadedFilesDecodeBySuffixToTheirOwnFormat)
{
    const TestSupport::Mp3Decoded tone = TestSupport::DecodeMp3Whole(FixtureBytes("tone.mp3"));
    const TestSupport::Mp3Decoded beep = TestSupport::DecodeMp3Whole(FixtureBytes("beep.mp3"));
    ASSERT_EQ(tone.channels, 2);
    ASSERT_EQ(beep.channels, 1);
    int oggChannels = 0;
    const std::vector<int16_t> ogg = BassTest::DecodeOggWhole("sounds/tone.ogg", oggChannels);
    const std::vector<uint8_t> stereoWav = FixtureBytes("stereo.wav");
    std::filesystem::copy_file("sounds/tone.mp3", "sounds/Upper.MP3");
    const struct {
        const char* name;
        uint32_t mode;
        int32_t frequency;
        std::vector<uint8_t> pcm;
    } cases[] = {
        {"sounds/tone.mp3", kLoopOff | k16Bits | kStereo, 44100, AsBytes(tone.samples)},
        {"SOUNDS\\upper.mp3", kLoopOff | k16Bits | kStereo, 44100, AsBytes(tone.samples)},
        {"sounds/beep.mp3", kLoopOff | k16Bits | kMono, 22050, AsBytes(beep.samples)},
        {"sounds/tone.ogg", kLoopOff | k16Bits | kStereo, 44100, AsBytes(ogg)},
        {"sounds/stereo.wav", kLoopOff | k16Bits | kStereo, 44100, {stereoWav.begin() + 44, stereoWav.end()}},
    };
    for (const auto& c : cases) {
        FSOUND_SAMPLE* sample = Load(c.name);
        ASSERT_NE(sample, nullptr) << c.name;
        EXPECT_EQ(Entry<SampleGetModeFn>("_FSOUND_Sample_GetMode@4")(sample), c.mode) << c.name;
        int32_t frequency = 0;
        EXPECT_TRUE(Entry<SampleGetDefaultsFn>("_FSOUND_Sample_GetDefaults@20")(sample, &frequency, nullptr, nullptr,
                                                                               nullptr));
        EXPECT_EQ(frequency, c.frequency) << c.name;
        const uint32_t blockAlign = (c.mode & kMono) != 0 ? 2 : 4;
        EXPECT_EQ(Entry<SampleGetLengthFn>("_FSOUND_Sample_GetLength@4")(sample) * blockAlign, c.pcm.size())
            << c.name;
        EXPECT_TRUE(LockedBytes(sample) == c.pcm) << c.name;
        Entry<SampleFreeFn>("_FSOUND_Sample_Free@4")(sample);
    }
    EXPECT_EQ(FmodRuntime::Get().LiveSamples(), 0u);
}

TEST_F(FmodLibraryTest, EightBitWavsKeepTheirBits)
{
    std::vector<uint8_t> wav = {'R', 'I', 'F', 'F', 40, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                                1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0, 1, 0, 8, 0,
                                'd', 'a', 't', 'a', 4, 0, 0, 0, 0x80, 0xFF, 0x00, 0x90};
    std::ofstream("eight.wav", std::ios::binary).write(reinterpret_cast<const char*>(wav.data()),
                                                       static_cast<std::streamsize>(wav.size()));
    FSOUND_SAMPLE* sample = Load("eight.wav");
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(Entry<SampleGetModeFn>("_FSOUND_Sample_GetMode@4")(sample), kLoopOff | k8Bits | kMono);
    EXPECT_EQ(Entry<SampleGetLengthFn>("_FSOUND_Sample_GetLength@4")(sample), 4u);
    EXPECT_EQ(LockedBytes(sample), (std::vector<uint8_t>{0x80, 0xFF, 0x00, 0x90}));
}

TEST_F(FmodLibraryTest, FilesThatDoNotDecodeGiveNoSample)
{
    std::vector<uint8_t> cut = FixtureBytes("tone.mp3");
    std::ofstream("sounds/cut.mp3", std::ios::binary).write(reinterpret_cast<const char*>(cut.data()), 3);
    std::filesystem::copy_file("sounds/tone.mp3", "sounds/tone.wav2");
    std::filesystem::copy_file("sounds/tone.mp3", "sounds/mp3.ogg");
    for (const char* name : {"sounds/missing.mp3", "sounds/click.mp3", "sounds/cut.mp3", "sounds/mulaw.au",
                             "sounds/tone.wav2", "sounds/mp3.ogg", "sounds/float.wav", "sounds/tone"})
        EXPECT_EQ(Load(name), nullptr) << name;
    EXPECT_EQ(Entry<SampleLoadFn>("_FSOUND_Sample_Load@16")(kFreeIndex, nullptr, 0, 0), nullptr);

    // The decoded size is capped as the DirectSound buffers are.
    const size_t toneBytes = TestSupport::DecodeMp3Whole(FixtureBytes("tone.mp3")).samples.size() * 2;
    Platform::DSoundSettings settings;
    settings.maxBufferBytes = static_cast<uint32_t>(toneBytes - 1);
    Platform::DSoundRuntime::Get().SetSettings(settings);
    EXPECT_EQ(Load("sounds/tone.mp3"), nullptr);
    settings.maxBufferBytes = static_cast<uint32_t>(toneBytes);
    Platform::DSoundRuntime::Get().SetSettings(settings);
    EXPECT_NE(Load("sounds/tone.mp3"), nullptr);
}

TEST_F(FmodLibraryTest, ALockGivesTheRestOfTheSampleAndNothingPastItsEnd)
{
    FSOUND_SAMPLE* sample = StereoSample(Ramp(10, 100));
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t length1 = 0;
    uint32_t length2 = 0;
    auto lock = Entry<SampleLockFn>("_FSOUND_Sample_Lock@28");
    ASSERT_TRUE(lock(sample, 8, 4, &part1, &part2, &length1, &length2));
    EXPECT_EQ(length1, 32u);
    EXPECT_EQ(static_cast<int16_t*>(part1)[0], 102);
    EXPECT_FALSE(lock(sample, 40, 4, &part1, &part2, &length1, &length2));
    EXPECT_FALSE(lock(sample, -1, 4, &part1, &part2, &length1, &length2));
    EXPECT_FALSE(lock(nullptr, 0, 4, &part1, &part2, &length1, &length2));
    // A freed sample is unknown from then on.
    Entry<SampleFreeFn>("_FSOUND_Sample_Free@4")(sample);
    EXPECT_FALSE(lock(sample, 0, 4, &part1, &part2, &length1, &length2));
    EXPECT_EQ(Entry<SampleGetLengthFn>("_FSOUND_Sample_GetLength@4")(sample), 0u);
}

TEST_F(FmodLibraryTest, AOneShotPlaysItsSamplesOnceAndPauseKeepsItPlaying)
{
    ASSERT_TRUE(Init());
    const std::vector<int16_t> ramp = Ramp(3000, 1);
    FSOUND_SAMPLE* sample = StereoSample(ramp);
    EXPECT_EQ(PlaySound(64, sample), -1);
    EXPECT_EQ(PlaySound(-1, sample), -1);
    EXPECT_EQ(PlaySound(5, nullptr), -1);
    ASSERT_EQ(PlaySound(5, sample), 5);
    EXPECT_TRUE(IsPlaying(5));
    std::vector<int16_t> rendered = Render(1000);
    EXPECT_TRUE(Entry<ChannelValueFn>("_FSOUND_SetPaused@8")(5, 1));
    EXPECT_TRUE(IsPlaying(5));
    EXPECT_EQ(Render(500), std::vector<int16_t>(1000, 0));
    EXPECT_TRUE(Entry<ChannelValueFn>("_FSOUND_SetPaused@8")(5, 0));
    const std::vector<int16_t> rest = Render(2500);
    rendered.insert(rendered.end(), rest.begin(), rest.end());
    EXPECT_FALSE(IsPlaying(5));
    ASSERT_EQ(rendered.size(), 7000u);
    EXPECT_TRUE(std::equal(ramp.begin(), ramp.end(), rendered.begin()));
    EXPECT_TRUE(std::all_of(rendered.begin() + 6000, rendered.end(), [](int16_t s) { return s == 0; }));

    ASSERT_EQ(PlaySound(5, sample), 5);
    Render(10);
    EXPECT_TRUE(Entry<ChannelFn>("_FSOUND_StopSound@4")(5));
    EXPECT_FALSE(IsPlaying(5));
    EXPECT_FALSE(IsPlaying(6));
    EXPECT_FALSE(IsPlaying(99));
}

TEST_F(FmodLibraryTest, VolumeIsLinearUpToOneHundredAndLoopingGoesOn)
{
    ASSERT_TRUE(Init());
    std::vector<int16_t> level(2 * 1000, 20000);
    FSOUND_SAMPLE* sample = StereoSample(level);
    ASSERT_EQ(PlaySound(0, sample), 0);
    auto setVolume = Entry<ChannelValueFn>("_FSOUND_SetVolume@8");
    EXPECT_TRUE(setVolume(0, 50));
    EXPECT_TRUE(Entry<ChannelModeFn>("_FSOUND_SetLoopMode@8")(0, kLoopNormal));
    EXPECT_FALSE(Entry<ChannelModeFn>("_FSOUND_SetLoopMode@8")(0, 3));
    std::vector<int16_t> half = Render(100);
    EXPECT_TRUE(std::all_of(half.begin(), half.end(), [](int16_t s) { return s == 10000; }));
    setVolume(0, 250);
    EXPECT_EQ(FmodRuntime::Get().GetVolume(0), 100);
    setVolume(0, -4);
    EXPECT_EQ(FmodRuntime::Get().GetVolume(0), 0);
    EXPECT_EQ(Render(10), std::vector<int16_t>(20, 0));
    setVolume(0, 100);
    // Looping: still playing, and at full level, well past its length.
    const std::vector<int16_t> later = Render(5000);
    EXPECT_TRUE(IsPlaying(0));
    EXPECT_TRUE(std::all_of(later.begin(), later.end(), [](int16_t s) { return s == 20000; }));
}

TEST_F(FmodLibraryTest, LoopPointsPlayTheStartOnceThenTheLoopPart)
{
    ASSERT_TRUE(Init());
    const std::vector<int16_t> intro = Ramp(1500, 1);
    const std::vector<int16_t> loop = Ramp(700, 5000);
    std::vector<int16_t> joined = intro;
    joined.insert(joined.end(), loop.begin(), loop.end());
    FSOUND_SAMPLE* sample = StereoSample(joined);
    auto setLoopPoints = Entry<SampleSetLoopPointsFn>("_FSOUND_Sample_SetLoopPoints@12");
    EXPECT_FALSE(setLoopPoints(sample, 1500, 701));
    EXPECT_FALSE(setLoopPoints(sample, -1, 700));
    ASSERT_TRUE(setLoopPoints(sample, 1500, 700));
    ASSERT_EQ(PlaySound(1, sample), 1);
    ASSERT_TRUE(Entry<ChannelModeFn>("_FSOUND_SetLoopMode@8")(1, kLoopNormal));
    const std::vector<int16_t> rendered = Render(1500 + 700 * 4);
    std::vector<int16_t> expected = intro;
    for (int i = 0; i < 4; ++i)
        expected.insert(expected.end(), loop.begin(), loop.end());
    EXPECT_TRUE(rendered == expected);
}

TEST_F(FmodLibraryTest, InjectedFailuresFailOnceAndAreLogged)
{
    FmodRuntime& runtime = FmodRuntime::Get();
    runtime.InjectFailure(FmodRuntime::Fault::Init);
    EXPECT_FALSE(Init());
    ASSERT_TRUE(Init());
    runtime.InjectFailure(FmodRuntime::Fault::SampleLoad);
    EXPECT_EQ(Load("sounds/tone.mp3"), nullptr);
    FSOUND_SAMPLE* sample = Load("sounds/tone.mp3");
    ASSERT_NE(sample, nullptr);
    runtime.InjectFailure(FmodRuntime::Fault::SampleLock);
    EXPECT_TRUE(LockedBytes(sample).empty());
    EXPECT_FALSE(LockedBytes(sample).empty());
    runtime.InjectFailure(FmodRuntime::Fault::PlaySound);
    EXPECT_EQ(PlaySound(2, sample), -1);
    EXPECT_EQ(PlaySound(2, sample), 2);

    std::vector<std::string> names;
    std::vector<bool> results;
    for (const FmodRuntime::Call& call : runtime.GetCallLog()) {
        names.push_back(call.name);
        results.push_back(call.ok);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"FSOUND_Init", "FSOUND_Init", "FSOUND_Sample_Load",
                                               "FSOUND_Sample_Load", "FSOUND_Sample_Lock", "FSOUND_Sample_Lock",
                                               "FSOUND_Sample_Unlock", "FSOUND_PlaySound", "FSOUND_PlaySound"}));
    EXPECT_EQ(results, (std::vector<bool>{false, true, false, true, false, true, true, false, true}));
    EXPECT_EQ(runtime.GetCallLog()[2].text, "sounds/tone.mp3");
    EXPECT_EQ(runtime.GetCallLog()[0].values, (std::vector<int64_t>{44100, 64, 2}));
}

TEST_F(FmodLibraryTest, SongsAndStreamsNeverOpen)
{
    EXPECT_EQ(Entry<MusicLoadSongFn>("_FMUSIC_LoadSong@4")("sounds/tone.mp3"), nullptr);
    for (const char* name : {"_FMUSIC_PlaySong@4", "_FMUSIC_StopSong@4", "_FMUSIC_IsPlaying@4"})
        EXPECT_FALSE(Entry<MusicFn>(name)(nullptr)) << name;
    for (const char* name : {"_FMUSIC_SetLooping@8", "_FMUSIC_SetOrder@8", "_FMUSIC_SetPaused@8",
                             "_FMUSIC_SetMasterVolume@8"})
        EXPECT_FALSE(Entry<MusicValueFn>(name)(nullptr, 1)) << name;
    EXPECT_EQ(Entry<StreamOpenFileFn>("_FSOUND_Stream_OpenFile@12")("sounds/tone.mp3", 0, 0), nullptr);
    EXPECT_FALSE(Entry<StreamCloseFn>("_FSOUND_Stream_Close@4")(nullptr));
    EXPECT_EQ(Entry<StreamPlayFn>("_FSOUND_Stream_Play@8")(0, nullptr), -1);
}

} // namespace
