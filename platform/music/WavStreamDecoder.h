// A music stream's decoder over the sample bytes of a WAV file in memory:
// 8-bit samples are widened to 16 bits, 16-bit ones copied.
#pragma once

#include "platform/music/StreamDecoder.h"
#include "platform/music/WavReader.h"

namespace Platform {

class WavStreamDecoder : public StreamDecoder {
public:
    explicit WavStreamDecoder(const WavData& wav);

    uint32_t Rate() const override { return mWav.rate; }
    uint32_t Channels() const override { return mWav.channels; }
    uint64_t Length() const override { return mFrames; }
    uint32_t Read(int16_t* out, uint32_t frames) override;
    bool Seek(uint64_t frame) override;

private:
    WavData mWav;
    uint32_t mFrameBytes;
    uint64_t mFrames;
    uint64_t mPosition = 0;
};

} // namespace Platform
