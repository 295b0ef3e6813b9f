// Plays an FMOD stand-in sample through a music stream: its PCM as 16-bit
// frames (8-bit samples widened), read from the bytes the sample shares, so
// what a lock writes into a playing sample is heard.
#pragma once

#include "platform/music/FmodSample.h"
#include "platform/music/StreamDecoder.h"

namespace Platform {

class SampleStreamDecoder : public StreamDecoder {
public:
    explicit SampleStreamDecoder(const Fmod::FSOUND_SAMPLE& sample);

    uint32_t Rate() const override { return mRate; }
    uint32_t Channels() const override { return mChannels; }
    uint64_t Length() const override { return mLength; }
    uint32_t Read(int16_t* out, uint32_t frames) override;
    bool Seek(uint64_t frame) override;

private:
    std::shared_ptr<std::vector<uint8_t>> mBytes;
    uint32_t mRate;
    uint32_t mChannels;
    uint32_t mBits;
    uint64_t mLength;
    uint64_t mPosition = 0;
};

} // namespace Platform
