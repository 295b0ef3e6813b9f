// Shared pieces of the DirectSound stand-in's tests: a fixture on a fresh
// headless platform in pulled mode that resets the stand-in around each test,
// and helpers to make buffers filled with given samples and to render.
#pragma once

#include "platform/dsound/DirectSound.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace DSoundTest {

using namespace Platform;

constexpr uint32_t kControls = 0x80EA;

inline DSoundWaveFormat PcmFormat(uint16_t channels, uint16_t bits, uint32_t rate)
{
    DSoundWaveFormat format;
    format.formatTag = WAVE_FORMAT_PCM;
    format.channels = channels;
    format.bitsPerSample = bits;
    format.samplesPerSec = rate;
    format.blockAlign = static_cast<uint16_t>(channels * bits / 8);
    format.avgBytesPerSec = rate * format.blockAlign;
    return format;
}

class DSoundFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        DSoundRuntime::Get().Reset();
        SoundMixer::ResetSpeakerVolume();
        mPlatform = &InstallHeadlessPlatform();
        ASSERT_EQ(DirectSoundCreate(nullptr, &mSound, nullptr), DS_OK);
    }

    void TearDown() override
    {
        if (mSound != nullptr)
            mSound->Release();
        EXPECT_EQ(DSoundRuntime::Get().LiveCount(DSoundObjectKind::DirectSound), 0u);
        EXPECT_EQ(DSoundRuntime::Get().LiveCount(DSoundObjectKind::Buffer), 0u);
        ResetPlatform();
        DSoundRuntime::Get().Reset();
        SoundMixer::ResetSpeakerVolume();
    }

    // A secondary buffer holding exactly these bytes; null on failure.
    DirectSoundBuffer* MakeBuffer(const DSoundWaveFormat& format, const void* bytes, uint32_t size,
                                  uint32_t flags = kControls)
    {
        DSoundBufferDesc desc;
        desc.flags = flags;
        desc.bufferBytes = size;
        desc.format = &format;
        DirectSoundBuffer* buffer = nullptr;
        if (mSound->CreateSoundBuffer(&desc, &buffer, nullptr) != DS_OK)
            return nullptr;
        void* part = nullptr;
        uint32_t length = 0;
        EXPECT_EQ(buffer->Lock(0, 0, &part, &length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
        EXPECT_EQ(length, size);
        std::memcpy(part, bytes, size);
        EXPECT_EQ(buffer->Unlock(part, length, nullptr, 0), DS_OK);
        return buffer;
    }

    DirectSoundBuffer* MakeBuffer16(uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples)
    {
        return MakeBuffer(PcmFormat(channels, 16, rate), samples.data(),
                          static_cast<uint32_t>(samples.size() * sizeof(int16_t)));
    }

    std::vector<int16_t> Render(uint32_t frames) { return mPlatform->Audio().Render(frames); }

    static bool Playing(DirectSoundBuffer* buffer)
    {
        uint32_t status = 0;
        EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
        return (status & DSBSTATUS_PLAYING) != 0;
    }

    HeadlessPlatform* mPlatform = nullptr;
    DirectSound* mSound = nullptr;
};

} // namespace DSoundTest
