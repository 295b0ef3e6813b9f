#include "platform/music/BassTestSupport.h"

#include "platform/dsound/SoundMixer.h"
#include "platform/fs/ScratchFolder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/music/BassRuntime.h"
#include "tests/support/Mp3Reference.h"
#include "tests/support/PcmFixtures.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using namespace BassTest;
using Platform::BassRuntime;

std::vector<uint8_t> FixtureBytes(const std::string& name)
{
    std::ifstream in(std::string(MOORGLEN_TEST_DATA) + "/sounds/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The 16-bit samples of a WAV file written by the sound tool (a 44-byte header).
std::vector<int16_t> WavSamples(const std::vector<uint8_t>& bytes, size_t headerBytes)
{
    std::vector<int16_t> samples((bytes.size() - headerBytes) / 2);
    std::memcpy(samples.data(), bytes.data() + headerBytes, samples.size() * 2);
    return samples;
}

using TestSupport::MakeWav;

class BassLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        BassRuntime::Get().Reset();
        Platform::ResetLibraryOpener();
        Platform::SoundMixer::ResetSpeakerVolume();
        mPlatform = &Platform::InstallHeadlessPlatform();
    }

    void TearDown() override
    {
        BassRuntime::Get().Reset();
        Platform::ResetPlatform();
    }

    std::vector<int16_t> Render(uint32_t frames) { return mPlatform->Audio().Render(frames); }

    TestSupport::ScratchFolder mScratch{TestSupport::ScratchFolder::Enter};
    Platform::HeadlessPlatform* mPlatform = nullptr;
};

TEST_F(BassLibraryTest, TheShippedLibraryHasEveryNameAndOtherLibrariesDoNotOpen)
{
    const auto table = Platform::OpenLibrary(".\\bass.dll");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->entries.size(), 48u);
    for (const char* name : {"BASS_Init", "BASS_SetConfig", "BASS_SetVolume", "BASS_PluginLoad",
                             "BASS_ChannelGetLength", "BASS_ChannelPreBuf", "BASS_StreamCreateFile"})
        EXPECT_NE(table->Find(name), nullptr) << name;
    EXPECT_EQ(table->Find("BASS_Nothing"), nullptr);
    EXPECT_EQ(Platform::OpenLibrary("bass.dll"), nullptr);
    EXPECT_EQ(Platform::OpenLibrary(".\\fmod.dll"), nullptr);

    Platform::SetLibraryOpener([](const std::string&) { return nullptr; });
    EXPECT_EQ(Platform::OpenLibrary(".\\bass.dll"), nullptr);
    Platform::ResetLibraryOpener();
    EXPECT_NE(Platform::OpenLibrary(".\\bass.dll"), nullptr);
}

TEST_F(BassLibraryTest, WithoutASoundOutputInitFailsAndEveryLaterCallFails)
{
    mPlatform->Audio().SetDeviceMissing(true);
    EXPECT_FALSE(Init());
    EXPECT_EQ(Entry<SetConfigFn>("BASS_SetConfig")(kConfigStreamVolume, 50), 0u);
    EXPECT_EQ(Entry<VoidFn>("BASS_Start")(), 0);
    const std::vector<uint8_t> wav = FixtureBytes("stereo.wav");
    EXPECT_EQ(StreamFromMemory(wav), 0u);
    EXPECT_EQ(IsActive(0x10000001), kActiveStopped);
}

TEST_F(BassLibraryTest, AStreamPlayedOnceRendersItsSamplesAndEndsAfterItsLength)
{
    ASSERT_TRUE(Init());
    const std::vector<uint8_t> wav = FixtureBytes("stereo.wav");
    const std::vector<int16_t> expected = WavSamples(wav, 44);
    const uint32_t frames = static_cast<uint32_t>(expected.size() / 2);
    const HANDLE h = StreamFromMemory(wav);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(IsActive(h), kActiveStopped);
    ASSERT_TRUE(Play(h, true));
    EXPECT_EQ(IsActive(h), kActivePlaying);
    std::vector<int16_t> rendered = Render(frames - 1);
    EXPECT_EQ(IsActive(h), kActivePlaying);
    const std::vector<int16_t> rest = Render(1001);
    rendered.insert(rendered.end(), rest.begin(), rest.end());
    EXPECT_EQ(IsActive(h), kActiveStopped);
    ASSERT_EQ(rendered.size(), expected.size() + 2000);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), rendered.begin()));
    EXPECT_TRUE(std::all_of(rendered.begin() + static_cast<std::ptrdiff_t>(expected.size()), rendered.end(),
                            [](int16_t s) { return s == 0; }));
    // Played again without restart, an ended stream starts over.
    ASSERT_TRUE(Play(h, false));
    EXPECT_EQ(Render(10), std::vector<int16_t>(expected.begin(), expected.begin() + 20));
}

TEST_F(BassLibraryTest, StopPauseAndResumeKeepThePosition)
{
    ASSERT_TRUE(Init());
    const std::vector<uint8_t> wav = FixtureBytes("stereo.wav");
    const std::vector<int16_t> expected = WavSamples(wav, 44);
    const HANDLE h = StreamFromMemory(wav);
    ASSERT_TRUE(Play(h, true));
    Render(1000);
    const auto stop = Entry<ChannelFn>("BASS_ChannelStop");
    const auto pause = Entry<ChannelFn>("BASS_ChannelPause");
    ASSERT_TRUE(stop(h));
    EXPECT_EQ(IsActive(h), kActiveStopped);
    EXPECT_EQ(Render(300), std::vector<int16_t>(600, 0));
    ASSERT_TRUE(Play(h, false));
    EXPECT_EQ(IsActive(h), kActivePlaying);
    EXPECT_EQ(Render(500), std::vector<int16_t>(expected.begin() + 2000, expected.begin() + 3000));
    ASSERT_TRUE(pause(h));
    EXPECT_EQ(IsActive(h), kActivePaused);
    EXPECT_EQ(Render(300), std::vector<int16_t>(600, 0));
    ASSERT_TRUE(Play(h, false));
    EXPECT_EQ(Render(100), std::vector<int16_t>(expected.begin() + 3000, expected.begin() + 3200));
    ASSERT_TRUE(Play(h, true));
    EXPECT_EQ(Render(100), std::vector<int16_t>(expected.begin(), expected.begin() + 200));
    // A byte position in the decoded format: 4 bytes per stereo frame.
    ASSERT_TRUE(Entry<ChannelSetPositionFn>("BASS_ChannelSetPosition")(h, 4 * 2500));
    EXPECT_EQ(Render(10), std::vector<int16_t>(expected.begin() + 5000, expected.begin() + 5020));
    EXPECT_FALSE(Entry<ChannelSetPositionFn>("BASS_ChannelSetPosition")(h, 0xFFFFFFFF80000003ull));
    EXPECT_FALSE(Play(0x7777, true));
}

TEST_F(BassLibraryTest, ALoopingStreamGoesRoundAndFreeingSilencesIt)
{
    ASSERT_TRUE(Init());
    const std::vector<uint8_t> wav = FixtureBytes("stereo.wav");
    const std::vector<int16_t> expected = WavSamples(wav, 44);
    const uint32_t frames = static_cast<uint32_t>(expected.size() / 2);
    const HANDLE h = StreamFromMemory(wav);
    ASSERT_TRUE(Entry<ChannelSetFlagsFn>("BASS_ChannelSetFlags")(h, kSampleLoop | 0x100));
    ASSERT_TRUE(Play(h, true));
    std::vector<int16_t> rendered = Render(frames * 2 + 7);
    EXPECT_EQ(IsActive(h), kActivePlaying);
    for (size_t i = 0; i < rendered.size(); ++i)
        ASSERT_EQ(rendered[i], expected[i % expected.size()]) << i;
    ASSERT_TRUE(Entry<ChannelFn>("BASS_StreamFree")(h));
    EXPECT_EQ(IsActive(h), kActiveStopped);
    EXPECT_EQ(Render(100), std::vector<int16_t>(200, 0));
    EXPECT_FALSE(Entry<ChannelFn>("BASS_StreamFree")(h));
}

TEST_F(BassLibraryTest, ChannelAndStreamVolumesMultiplyAndPanTurnsTheFarSideDown)
{
    ASSERT_TRUE(Init());
    const std::vector<uint8_t> wav = FixtureBytes("stereo.wav");
    const std::vector<int16_t> expected = WavSamples(wav, 44);
    const auto attributes = Entry<ChannelSetAttributesFn>("BASS_ChannelSetAttributes");
    const auto config = Entry<SetConfigFn>("BASS_SetConfig");
    const struct {
        int32_t streamVolume;
        int32_t volume;
        int32_t pan;
        double left;
        double right;
    } cases[] = {
        {100, 100, 0, 1, 1},        {50, 100, 0, 0.5, 0.5},   {100, 50, 0, 0.5, 0.5},  {50, 50, 0, 0.25, 0.25},
        {100, 100, 60, 0.4, 1},     {100, 100, -100, 1, 0},   {250, 100, 0, 1, 1},     {100, 100, -101, 1, 1},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(config(kConfigStreamVolume, static_cast<DWORD>(c.streamVolume)));
        const HANDLE h = StreamFromMemory(wav);
        ASSERT_TRUE(attributes(h, -1, c.volume, c.pan));
        ASSERT_TRUE(Play(h, true));
        const std::vector<int16_t> rendered = Render(2000);
        for (size_t i = 0; i < rendered.size(); ++i) {
            const double gain = i % 2 == 0 ? c.left : c.right;
            ASSERT_NEAR(rendered[i], expected[i] * gain, 1.0) << c.streamVolume << " " << c.volume << " " << c.pan;
        }
        Entry<ChannelFn>("BASS_StreamFree")(h);
    }
    EXPECT_EQ(BassRuntime::Get().GetStreamVolume(), 100u); // 250 was clamped
    ASSERT_TRUE(config(kConfigMusicVolume, 40));
    EXPECT_EQ(BassRuntime::Get().GetMusicVolume(), 40u);
    ASSERT_TRUE(config(kConfigBuffer, 2000));
    EXPECT_EQ(BassRuntime::Get().GetBufferMilliseconds(), 2000u);
}

TEST_F(BassLibraryTest, AnOggStreamRendersWhatTremorDecodesFromMemoryOrFromAFile)
{
    ASSERT_TRUE(Init());
    int channels = 0;
    const std::vector<int16_t> expected =
        DecodeOggWhole(std::string(MOORGLEN_TEST_DATA) + "/sounds/tone.ogg", channels);
    ASSERT_EQ(channels, 2);
    std::filesystem::create_directories(mScratch.Path() / "Data" / "Music");
    std::filesystem::copy_file(std::string(MOORGLEN_TEST_DATA) + "/sounds/tone.ogg",
                               mScratch.Path() / "Data" / "Music" / "Tone.ogg");
    const std::vector<uint8_t> bytes = FixtureBytes("tone.ogg");
    const HANDLE fromMemory = StreamFromMemory(bytes);
    const HANDLE fromFile =
        Entry<StreamCreateFileFn>("BASS_StreamCreateFile")(false, "data\\music\\TONE.OGG", 0, 0, 0);
    ASSERT_NE(fromMemory, 0u);
    ASSERT_NE(fromFile, 0u);
    for (HANDLE h : {fromMemory, fromFile}) {
        ASSERT_TRUE(Play(h, true));
        const std::vector<int16_t> rendered = Render(static_cast<uint32_t>(expected.size() / 2));
        EXPECT_EQ(rendered, expected);
        Entry<ChannelFn>("BASS_ChannelStop")(h);
    }
    EXPECT_EQ(Entry<StreamCreateFileFn>("BASS_StreamCreateFile")(false, "data\\music\\none.ogg", 0, 0, 0), 0u);
}

TEST_F(BassLibraryTest, EightBitAndMonoWavsAreWidenedAndResampledToTheOutput)
{
    ASSERT_TRUE(Init());
    const std::vector<uint8_t> eightBit = MakeWav(1, 44100, 8, {0x80, 0xFF, 0x00, 0x40});
    const HANDLE h = StreamFromMemory(eightBit);
    ASSERT_NE(h, 0u);
    ASSERT_TRUE(Play(h, true));
    EXPECT_EQ(Render(4), BothSides({0, 127 * 256, -128 * 256, -64 * 256}));
    // A mono stream at 22050 Hz takes twice the time at the output rate.
    const std::vector<uint8_t> halfRate = MakeWav(1, 22050, 16, std::vector<uint8_t>(2000, 0x10));
    const HANDLE slow = StreamFromMemory(halfRate);
    ASSERT_TRUE(Play(slow, true));
    Render(1990);
    EXPECT_EQ(IsActive(slow), kActivePlaying);
    Render(30);
    EXPECT_EQ(IsActive(slow), kActiveStopped);
}

TEST_F(BassLibraryTest, UnreadableBytesAndModulesGiveNoHandle)
{
    ASSERT_TRUE(Init());
    std::vector<uint8_t> truncated = FixtureBytes("stereo.wav");
    truncated.resize(truncated.size() - 3);
    std::vector<uint8_t> truncatedOgg = FixtureBytes("tone.ogg");
    truncatedOgg.resize(40);
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"mp3", FixtureBytes("click.mp3")},
        {"float wav", FixtureBytes("float.wav")},
        {"wav without format", FixtureBytes("plain.wav")},
        {"truncated data chunk", truncated},
        {"truncated ogg", truncatedOgg},
        {"three channels", MakeWav(3, 44100, 16, std::vector<uint8_t>(12))},
        {"24 bits", MakeWav(1, 44100, 24, std::vector<uint8_t>(12))},
        {"text", {'h', 'e', 'l', 'l', 'o'}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StreamFromMemory(c.bytes), 0u) << c.what;
    const char name[] = "x.mod";
    EXPECT_EQ(Entry<MusicLoadFn>("BASS_MusicLoad")(false, name, 0, 0, 0x204, 0), 0u);
    EXPECT_EQ(Entry<StreamCreateFileFn>("BASS_StreamCreateFile")(true, nullptr, 0, 10, 0), 0u);
}

} // namespace

namespace {

TEST_F(BassLibraryTest, AnMp3StreamPlaysWhatLibmpg123DecodesToItsEnd)
{
    ASSERT_TRUE(Init());
    const std::vector<uint8_t> mp3 = FixtureBytes("tone.mp3");
    const TestSupport::Mp3Decoded expected = TestSupport::DecodeMp3Whole(mp3);
    ASSERT_EQ(expected.rate, 44100);
    ASSERT_EQ(expected.channels, 2);
    const HANDLE h = StreamFromMemory(mp3);
    ASSERT_NE(h, 0u);
    ASSERT_TRUE(Play(h, true));
    const uint32_t frames = static_cast<uint32_t>(expected.samples.size() / 2);
    std::vector<int16_t> rendered = Render(frames - 1);
    EXPECT_EQ(IsActive(h), kActivePlaying);
    const std::vector<int16_t> rest = Render(1001);
    rendered.insert(rendered.end(), rest.begin(), rest.end());
    EXPECT_EQ(IsActive(h), kActiveStopped);
    EXPECT_TRUE(std::equal(expected.samples.begin(), expected.samples.end(), rendered.begin()));
    EXPECT_TRUE(Entry<ChannelFn>("BASS_StreamFree")(h) != 0);
}

} // namespace
