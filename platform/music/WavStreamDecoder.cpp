#include "platform/music/WavStreamDecoder.h"

#include <algorithm>
#include <cstring>

namespace Platform {

WavStreamDecoder::WavStreamDecoder(const WavData& wav)
    : mWav(wav)
    , mFrameBytes(wav.channels * wav.bitsPerSample / 8)
    , mFrames(wav.sampleBytes / mFrameBytes)
{
}

uint32_t WavStreamDecoder::Read(int16_t* out, uint32_t frames)
{
    const auto count = static_cast<uint32_t>(std::min<uint64_t>(frames, mFrames - mPosition));
    const uint8_t* from = mWav.samples + mPosition * mFrameBytes;
    const size_t samples = static_cast<size_t>(count) * mWav.channels;
    if (mWav.bitsPerSample == 8) {
        for (size_t i = 0; i < samples; ++i)
            out[i] = static_cast<int16_t>((from[i] - 128) * 256);
    } else {
        for (size_t i = 0; i < samples; ++i)
            out[i] = static_cast<int16_t>(from[2 * i] | (from[2 * i + 1] << 8));
    }
    mPosition += count;
    return count;
}

bool WavStreamDecoder::Seek(uint64_t frame)
{
    if (frame > mFrames)
        return false;
    mPosition = frame;
    return true;
}

} // namespace Platform
