#include "platform/dsound/DSoundTestSupport.h"

namespace {

using namespace DSoundTest;

using DirectSoundTest = DSoundFixture;

TEST_F(DirectSoundTest, SecondaryBuffersTakeOnlyConsistentPcmFormatsAndSizes)
{
    DSoundSettings settings;
    settings.maxBufferBytes = 1000;
    DSoundRuntime::Get().SetSettings(settings);
    const DSoundWaveFormat good = PcmFormat(2, 16, 44100);
    auto with = [&](auto change) {
        DSoundWaveFormat format = good;
        change(format);
        return format;
    };
    const struct {
        const char* what;
        DSoundWaveFormat format;
        uint32_t bytes;
        HRESULT result;
    } cases[] = {
        {"16-bit stereo", good, 1000, DS_OK},
        {"8-bit mono at the lowest rate", PcmFormat(1, 8, 100), 4, DS_OK},
        {"highest rate", PcmFormat(1, 16, 100000), 4, DS_OK},
        {"format tag 3", with([](auto& f) { f.formatTag = 3; }), 16, DSERR_BADFORMAT},
        {"three channels", PcmFormat(3, 16, 44100), 18, DSERR_BADFORMAT},
        {"no channels", PcmFormat(0, 16, 44100), 16, DSERR_BADFORMAT},
        {"24 bits", PcmFormat(2, 24, 44100), 18, DSERR_BADFORMAT},
        {"rate 99", PcmFormat(1, 16, 99), 16, DSERR_BADFORMAT},
        {"rate 100001", PcmFormat(1, 16, 100001), 16, DSERR_BADFORMAT},
        {"block align", with([](auto& f) { f.blockAlign = 2; }), 16, DSERR_BADFORMAT},
        {"bytes per second", with([](auto& f) { f.avgBytesPerSec = 44100; }), 16, DSERR_BADFORMAT},
        {"three bytes", good, 3, DSERR_INVALIDPARAM},
        {"over the maximum", good, 1001, DSERR_INVALIDPARAM},
    };
    for (const auto& c : cases) {
        DSoundBufferDesc desc;
        desc.flags = kControls;
        desc.bufferBytes = c.bytes;
        desc.format = &c.format;
        DirectSoundBuffer* buffer = nullptr;
        EXPECT_EQ(mSound->CreateSoundBuffer(&desc, &buffer, nullptr), c.result) << c.what;
        EXPECT_EQ(buffer != nullptr, c.result == DS_OK) << c.what;
        if (buffer != nullptr) {
            EXPECT_EQ(buffer->GetSize(), c.bytes);
            EXPECT_EQ(buffer->GetFlags(), kControls);
            buffer->Release();
        }
    }
    DSoundBufferDesc sized;
    sized.size = 20; // the size of the structure elsewhere is not ours
    sized.bufferBytes = 16;
    sized.format = &good;
    DirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(mSound->CreateSoundBuffer(&sized, &buffer, nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(mSound->CreateSoundBuffer(nullptr, &buffer, nullptr), DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundTest, ANewBufferHoldsSilence)
{
    const struct {
        uint16_t bits;
        uint8_t silence;
    } cases[] = {{8, 0x80}, {16, 0x00}};
    for (const auto& c : cases) {
        const DSoundWaveFormat format = PcmFormat(1, c.bits, 22050);
        DSoundBufferDesc desc;
        desc.bufferBytes = 64;
        desc.format = &format;
        DirectSoundBuffer* buffer = nullptr;
        ASSERT_EQ(mSound->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
        void* part = nullptr;
        uint32_t length = 0;
        buffer->Lock(0, 64, &part, &length, nullptr, nullptr, 0);
        EXPECT_EQ(std::vector<uint8_t>(static_cast<uint8_t*>(part), static_cast<uint8_t*>(part) + length),
                  std::vector<uint8_t>(64, c.silence));
        buffer->Unlock(part, length, nullptr, 0);
        buffer->Play(0, 0, 0);
        EXPECT_EQ(Render(2), std::vector<int16_t>(4, 0));
        buffer->Release();
    }
}

TEST_F(DirectSoundTest, TheFormatOfThePrimaryBufferNeedsThePriorityLevel)
{
    DSoundBufferDesc desc;
    desc.flags = DSBCAPS_PRIMARYBUFFER;
    DirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(mSound->CreateSoundBuffer(&desc, &primary, nullptr), DS_OK);
    DSoundWaveFormat format = PcmFormat(2, 16, 44100);
    format.extraSize = 18;
    EXPECT_EQ(primary->SetFormat(&format), DSERR_PRIOLEVELNEEDED);
    ASSERT_EQ(mSound->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
    EXPECT_EQ(primary->SetFormat(&format), DSERR_PRIOLEVELNEEDED);
    ASSERT_EQ(mSound->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
    EXPECT_EQ(primary->SetFormat(&format), DS_OK);
    EXPECT_EQ(mSound->SetCooperativeLevel(nullptr, 3), DSERR_INVALIDPARAM);
    EXPECT_EQ(mSound->GetCooperativeLevel(), DSSCL_PRIORITY);
    primary->Release();

    desc.bufferBytes = 16; // a primary buffer has no bytes of its own
    EXPECT_EQ(mSound->CreateSoundBuffer(&desc, &primary, nullptr), DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundTest, ControlsNotAskedForAreUnavailable)
{
    const int16_t samples[4] = {};
    const struct {
        uint32_t flags;
        HRESULT volume, pan, frequency;
    } cases[] = {
        {0, DSERR_CONTROLUNAVAIL, DSERR_CONTROLUNAVAIL, DSERR_CONTROLUNAVAIL},
        {DSBCAPS_CTRLVOLUME, DS_OK, DSERR_CONTROLUNAVAIL, DSERR_CONTROLUNAVAIL},
        {DSBCAPS_CTRLPAN, DSERR_CONTROLUNAVAIL, DS_OK, DSERR_CONTROLUNAVAIL},
        {DSBCAPS_CTRLFREQUENCY, DSERR_CONTROLUNAVAIL, DSERR_CONTROLUNAVAIL, DS_OK},
    };
    for (const auto& c : cases) {
        DirectSoundBuffer* buffer = MakeBuffer(PcmFormat(1, 16, 44100), samples, sizeof samples, c.flags);
        ASSERT_NE(buffer, nullptr);
        EXPECT_EQ(buffer->SetVolume(-100), c.volume) << c.flags;
        EXPECT_EQ(buffer->SetPan(100), c.pan) << c.flags;
        EXPECT_EQ(buffer->SetFrequency(22050), c.frequency) << c.flags;
        buffer->Release();
    }
}

TEST_F(DirectSoundTest, ALockPastTheEndWrapsIntoTheSecondPair)
{
    const uint8_t bytes[8] = {};
    DirectSoundBuffer* buffer = MakeBuffer(PcmFormat(1, 8, 8000), bytes, sizeof bytes);
    ASSERT_NE(buffer, nullptr);
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t length1 = 0, length2 = 0;
    ASSERT_EQ(buffer->Lock(6, 5, &part1, &length1, &part2, &length2, 0), DS_OK);
    void* whole = nullptr;
    uint32_t wholeLength = 0;
    ASSERT_EQ(buffer->Lock(0, 0, &whole, &wholeLength, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    EXPECT_EQ(part1, static_cast<uint8_t*>(whole) + 6);
    EXPECT_EQ(length1, 2u);
    EXPECT_EQ(part2, whole);
    EXPECT_EQ(length2, 3u);
    EXPECT_EQ(buffer->Lock(8, 1, &part1, &length1, &part2, &length2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 9, &part1, &length1, &part2, &length2, 0), DSERR_INVALIDPARAM);
    uint8_t outside = 0;
    EXPECT_EQ(buffer->Unlock(&outside, 1, nullptr, 0), DSERR_INVALIDPARAM);
    buffer->Release();
}

TEST_F(DirectSoundTest, AnInjectedFailureFailsTheNextCallsAndChangesNothing)
{
    const int16_t samples[4] = {5, 5, 5, 5};
    DirectSoundBuffer* buffer = MakeBuffer(PcmFormat(1, 16, 44100), samples, sizeof samples);
    ASSERT_NE(buffer, nullptr);
    DSoundRuntime::Get().InjectFailure(DSoundOp::Play, DSERR_BUFFERLOST, 2);
    EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_BUFFERLOST);
    EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_BUFFERLOST);
    EXPECT_FALSE(Playing(buffer));
    EXPECT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_TRUE(Playing(buffer));

    DSoundRuntime::Get().InjectFailure(DSoundOp::DuplicateSoundBuffer, DSERR_OUTOFMEMORY);
    DirectSoundBuffer* duplicate = nullptr;
    EXPECT_EQ(mSound->DuplicateSoundBuffer(buffer, &duplicate), DSERR_OUTOFMEMORY);
    EXPECT_EQ(duplicate, nullptr);
    EXPECT_EQ(DSoundRuntime::Get().LiveCount(DSoundObjectKind::Buffer), 1u);

    DSoundRuntime::Get().InjectFailure(DSoundOp::GetStatus, DSERR_GENERIC);
    uint32_t status = 0;
    EXPECT_EQ(buffer->GetStatus(&status), DSERR_GENERIC);

    std::vector<DSoundCall> log = DSoundRuntime::Get().GetCallLog();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.back().op, DSoundOp::GetStatus);
    EXPECT_EQ(log.back().result, DSERR_GENERIC);
    buffer->Release();
}

TEST_F(DirectSoundTest, ReferenceCountsAreReturnedAndLiveObjectsCounted)
{
    const int16_t samples[2] = {};
    DirectSoundBuffer* buffer = MakeBuffer(PcmFormat(1, 16, 44100), samples, sizeof samples);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(DSoundRuntime::Get().LiveCount(DSoundObjectKind::Buffer), 1u);
    EXPECT_EQ(buffer->AddRef(), 2u);
    EXPECT_EQ(buffer->Release(), 1u);
    EXPECT_EQ(mSound->AddRef(), 2u);
    EXPECT_EQ(mSound->Release(), 1u);
    // The buffer outlives the object that made it.
    EXPECT_EQ(mSound->Release(), 0u);
    mSound = nullptr;
    buffer->Play(0, 0, 0);
    EXPECT_TRUE(Playing(buffer));
    EXPECT_EQ(buffer->Release(), 0u);
}

TEST(DirectSoundCreate, FailsWhenTheSoundDeviceCannotOpenAndOpensItOnceForAllClients)
{
    DSoundRuntime::Get().Reset();
    HeadlessPlatform& platform = InstallHeadlessPlatform();
    platform.Audio().SetDeviceMissing(true);
    DirectSound* sound = nullptr;
    EXPECT_NE(DirectSoundCreate(nullptr, &sound, nullptr), DS_OK);
    EXPECT_EQ(sound, nullptr);

    platform.Audio().SetDeviceMissing(false);
    DirectSound* second = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &sound, nullptr), DS_OK);
    ASSERT_EQ(DirectSoundCreate(nullptr, &second, nullptr), DS_OK);
    EXPECT_TRUE(platform.Audio().IsOpen());
    sound->Release();
    EXPECT_TRUE(platform.Audio().IsOpen());
    second->Release();
    EXPECT_FALSE(platform.Audio().IsOpen());

    DSoundRuntime::Get().InjectFailure(DSoundOp::DirectSoundCreate, DSERR_NODRIVER);
    EXPECT_EQ(DirectSoundCreate(nullptr, &sound, nullptr), DSERR_NODRIVER);
    EXPECT_FALSE(platform.Audio().IsOpen());
    ResetPlatform();
    DSoundRuntime::Get().Reset();
}

} // namespace
