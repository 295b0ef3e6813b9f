#include "platform/dsound/DSoundTestSupport.h"

#include <cmath>

namespace {

using namespace DSoundTest;

std::vector<int16_t> Constant(uint32_t frames, uint16_t channels, int16_t value)
{
    return std::vector<int16_t>(static_cast<size_t>(frames) * channels, value);
}

using MixerTest = DSoundFixture;

TEST_F(MixerTest, AFullVolumeBufferAtTheOutputRateRendersAsItsOwnBytesAndStopsAfterItsLastFrame)
{
    std::vector<int16_t> samples(441 * 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(i * 7919 % 65536 - 32768);
    DirectSoundBuffer* buffer = MakeBuffer16(2, 44100, samples);
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);

    std::vector<int16_t> out = Render(440);
    EXPECT_TRUE(Playing(buffer));
    std::vector<int16_t> last = Render(1);
    EXPECT_FALSE(Playing(buffer));
    out.insert(out.end(), last.begin(), last.end());
    EXPECT_EQ(out, samples);
    EXPECT_EQ(Render(4), Constant(4, 2, 0)); // nothing after the end
    buffer->Release();
}

TEST_F(MixerTest, ALoopingBufferWrapsToItsFirstFrameAndKeepsPlaying)
{
    const std::vector<int16_t> samples{1, -1, 2, -2, 3, -3};
    DirectSoundBuffer* buffer = MakeBuffer16(2, 44100, samples);
    ASSERT_NE(buffer, nullptr);
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    EXPECT_EQ(Render(7), (std::vector<int16_t>{1, -1, 2, -2, 3, -3, 1, -1, 2, -2, 3, -3, 1, -1}));
    uint32_t status = 0;
    buffer->GetStatus(&status);
    EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    buffer->Stop();
    EXPECT_FALSE(Playing(buffer));
    buffer->Release();
}

TEST_F(MixerTest, EightBitUnsignedMonoFeedsBothChannels)
{
    const uint8_t bytes[] = {0x80, 0xFF, 0x00, 0x81};
    DirectSoundBuffer* buffer = MakeBuffer(PcmFormat(1, 8, 44100), bytes, sizeof bytes);
    ASSERT_NE(buffer, nullptr);
    buffer->Play(0, 0, 0);
    EXPECT_EQ(Render(4), (std::vector<int16_t>{0, 0, 32512, 32512, -32768, -32768, 256, 256}));
    buffer->Release();
}

TEST_F(MixerTest, VolumeScalesByTenToTheHundredthsOverTwoThousand)
{
    DirectSoundBuffer* buffer = MakeBuffer16(2, 44100, Constant(8, 2, 16000));
    ASSERT_NE(buffer, nullptr);
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    ASSERT_EQ(buffer->SetVolume(-605), DS_OK);
    const double expected = 16000 * std::pow(10.0, -0.3025);
    std::vector<int16_t> out = Render(2);
    for (int16_t value : out)
        EXPECT_NEAR(value, expected, 1.0);

    EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(-10001), DSERR_INVALIDPARAM);
    int32_t volume = 0;
    buffer->GetVolume(&volume);
    EXPECT_EQ(volume, -605);
    EXPECT_EQ(Render(2), out);

    ASSERT_EQ(buffer->SetVolume(-10000), DS_OK);
    EXPECT_EQ(Render(2), Constant(2, 2, 0));
    buffer->Release();
}

TEST_F(MixerTest, PanAttenuatesTheOtherSideAndItsEndsSilenceIt)
{
    const struct {
        int32_t pan;
        double left, right;
    } cases[] = {
        {10000, 0, 16000},
        {-10000, 16000, 0},
        {5000, 16000 * std::pow(10.0, -2.5), 16000},
        {-2000, 16000, 16000 * std::pow(10.0, -1.0)},
        {0, 16000, 16000},
    };
    DirectSoundBuffer* buffer = MakeBuffer16(2, 44100, Constant(8, 2, 16000));
    ASSERT_NE(buffer, nullptr);
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    for (const auto& c : cases) {
        ASSERT_EQ(buffer->SetPan(c.pan), DS_OK);
        std::vector<int16_t> out = Render(1);
        EXPECT_NEAR(out[0], c.left, 1.0) << c.pan;
        EXPECT_NEAR(out[1], c.right, 1.0) << c.pan;
    }
    EXPECT_EQ(buffer->SetPan(10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetPan(-10001), DSERR_INVALIDPARAM);
    int32_t pan = 1;
    buffer->GetPan(&pan);
    EXPECT_EQ(pan, 0);
    buffer->Release();
}

TEST_F(MixerTest, VoicesAreSummedAndSaturatedOnceAtTheEnd)
{
    DirectSoundBuffer* a = MakeBuffer16(1, 44100, {30000, -30000, 30000});
    DirectSoundBuffer* b = MakeBuffer16(1, 44100, {30000, -30000, -20000});
    DirectSoundBuffer* c = MakeBuffer16(1, 44100, {-30000, 30000, 0});
    ASSERT_TRUE(a && b && c);
    a->Play(0, 0, 0);
    b->Play(0, 0, 0);
    c->Play(0, 0, 0);
    // Saturating after each voice would give 2767 and -2768 in the first two frames.
    EXPECT_EQ(Render(3), (std::vector<int16_t>{30000, 30000, -30000, -30000, 10000, 10000}));
    a->Release();
    b->Release();
    c->Release();
}

TEST_F(MixerTest, TheSpeakerVolumeScalesTheMixedOutput)
{
    DirectSoundBuffer* buffer = MakeBuffer16(1, 44100, Constant(4, 1, 30000));
    ASSERT_NE(buffer, nullptr);
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    SoundMixer::SetSpeakerVolume(65535 / 3);
    EXPECT_EQ(Render(1), (std::vector<int16_t>{10000, 10000}));
    SoundMixer::SetSpeakerVolume(0);
    EXPECT_EQ(Render(1), (std::vector<int16_t>{0, 0}));
    buffer->Release();
}

TEST_F(MixerTest, AHalfRateBufferLastsTwiceItsFramesAndInterpolatesBetweenThem)
{
    const uint32_t frames = 50;
    std::vector<int16_t> samples(frames);
    for (uint32_t i = 0; i < frames; ++i)
        samples[i] = static_cast<int16_t>(i * 400 - 10000);
    DirectSoundBuffer* buffer = MakeBuffer16(1, 22050, samples);
    ASSERT_NE(buffer, nullptr);
    buffer->Play(0, 0, 0);
    std::vector<int16_t> out;
    uint32_t rendered = 0;
    while (Playing(buffer) && rendered < 4 * frames) {
        std::vector<int16_t> one = Render(1);
        out.push_back(one[0]);
        ++rendered;
    }
    EXPECT_NEAR(rendered, 2.0 * frames, 1.0);
    // Output frame k lies at source position k / 2: on a frame, or halfway to
    // the next (the last frame holds its value).
    for (uint32_t k = 0; k < rendered; ++k) {
        const uint32_t i = k / 2;
        const int next = i + 1 < frames ? samples[i + 1] : samples[i];
        const int expected = k % 2 == 0 ? samples[i] : (samples[i] + next) / 2;
        EXPECT_EQ(out[k], expected) << k;
    }
    buffer->Release();
}

TEST_F(MixerTest, AFrequencyChangeWhilePlayingTakesEffectFromTheNextFrame)
{
    std::vector<int16_t> samples(100);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(i * 100);
    DirectSoundBuffer* buffer = MakeBuffer16(1, 44100, samples);
    ASSERT_NE(buffer, nullptr);
    buffer->Play(0, 0, 0);
    EXPECT_EQ(Render(2), (std::vector<int16_t>{0, 0, 100, 100}));
    ASSERT_EQ(buffer->SetFrequency(88200), DS_OK);
    EXPECT_EQ(Render(2), (std::vector<int16_t>{200, 200, 400, 400}));
    uint32_t frequency = 0;
    buffer->GetFrequency(&frequency);
    EXPECT_EQ(frequency, 88200u);
    for (uint32_t refused : {0u, 99u, 100001u}) {
        EXPECT_EQ(buffer->SetFrequency(refused), DSERR_INVALIDPARAM) << refused;
        buffer->GetFrequency(&frequency);
        EXPECT_EQ(frequency, 88200u);
    }
    buffer->Release();
}

TEST_F(MixerTest, ADuplicatePlaysOnAfterItsSourceIsReleased)
{
    DirectSoundBuffer* source = MakeBuffer16(1, 44100, {1000, 2000, 3000, 4000});
    ASSERT_NE(source, nullptr);
    source->SetVolume(-10000);
    DirectSoundBuffer* duplicate = nullptr;
    ASSERT_EQ(mSound->DuplicateSoundBuffer(source, &duplicate), DS_OK);
    int32_t volume = 0;
    duplicate->GetVolume(&volume);
    EXPECT_EQ(volume, -10000);
    duplicate->SetVolume(0);
    duplicate->Play(0, 0, 0);
    EXPECT_EQ(Render(1), (std::vector<int16_t>{1000, 1000}));
    EXPECT_FALSE(Playing(source));
    EXPECT_EQ(source->Release(), 0u);
    EXPECT_EQ(Render(3), (std::vector<int16_t>{2000, 2000, 3000, 3000, 4000, 4000}));
    EXPECT_FALSE(Playing(duplicate));
    EXPECT_EQ(duplicate->Release(), 0u);
}

TEST_F(MixerTest, StopKeepsTheCursorAndSetCurrentPositionMovesIt)
{
    DirectSoundBuffer* buffer = MakeBuffer16(1, 44100, {10, 20, 30, 40, 50});
    ASSERT_NE(buffer, nullptr);
    buffer->Play(0, 0, 0);
    Render(2);
    buffer->Stop();
    EXPECT_EQ(Render(1), (std::vector<int16_t>{0, 0}));
    uint32_t play = 0;
    buffer->GetCurrentPosition(&play, nullptr);
    EXPECT_EQ(play, 4u);
    buffer->Play(0, 0, 0);
    EXPECT_EQ(Render(1), (std::vector<int16_t>{30, 30}));
    ASSERT_EQ(buffer->SetCurrentPosition(8), DS_OK);
    EXPECT_EQ(Render(1), (std::vector<int16_t>{50, 50}));
    EXPECT_EQ(buffer->SetCurrentPosition(10), DSERR_INVALIDPARAM);
    buffer->Release();
}

TEST(HeadlessSound, AdvancingTheClockInClockDrivenModeEndsAOneShot)
{
    DSoundRuntime::Get().Reset();
    HeadlessPlatform& platform = InstallHeadlessPlatform();
    platform.Audio().SetMode(HeadlessAudioOutput::Mode::ClockDriven);
    DirectSound* sound = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &sound, nullptr), DS_OK);
    const DSoundWaveFormat format = PcmFormat(1, 16, 44100);
    std::vector<int16_t> samples(2205, 1234); // 50 ms
    DSoundBufferDesc desc;
    desc.flags = kControls;
    desc.bufferBytes = static_cast<uint32_t>(samples.size() * 2);
    desc.format = &format;
    DirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(sound->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
    void* part = nullptr;
    uint32_t length = 0;
    buffer->Lock(0, 0, &part, &length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
    std::memcpy(part, samples.data(), length);
    buffer->Unlock(part, length, nullptr, 0);
    buffer->Play(0, 0, 0);

    platform.Clock().Advance(40);
    uint32_t status = 0;
    buffer->GetStatus(&status);
    EXPECT_EQ(status, DSBSTATUS_PLAYING);
    platform.Clock().Advance(60);
    buffer->GetStatus(&status);
    EXPECT_EQ(status, 0u);
    std::vector<int16_t> capture = platform.Audio().TakeCapture();
    ASSERT_EQ(capture.size(), 4410u * 2);
    EXPECT_EQ(capture[2204 * 2], 1234);
    EXPECT_EQ(capture[2205 * 2], 0);
    buffer->Release();
    sound->Release();
    ResetPlatform();
}

} // namespace
