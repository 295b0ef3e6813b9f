#include "platform/music/SampleStreamDecoder.h"

#include <algorithm>
#include <cstring>

namespace Platform {

SampleStreamDecoder::SampleStreamDecoder(const Fmod::FSOUND_SAMPLE& sample)
    : mBytes(sample.bytes)
    , mRate(static_cast<uint32_t>(std::clamp(sample.frequency, 100, 100000)))
    , mChannels(sample.Channels())
    , mBits(sample.BitsPerSample())
    , mLength(sample.length)
{
}

uint32_t SampleStreamDecoder::Read(int16_t* out, uint32_t frames)
{
    const auto count = static_cast<uint32_t>(std::min<uint64_t>(frames, mLength - mPosition));
    const size_t samples = static_cast<size_t>(count) * mChannels;
    const size_t first = static_cast<size_t>(mPosition) * mChannels;
    if (mBits == 8) {
        const uint8_t* from = mBytes->data() + first;
        for (size_t i = 0; i < samples; ++i)
            out[i] = static_cast<int16_t>((from[i] - 128) * 256);
    } else {
        std::memcpy(out, mBytes->data() + first * 2, samples * 2);
    }
    mPosition += count;
    return count;
}

bool SampleStreamDecoder::Seek(uint64_t frame)
{
    if (frame > mLength)
        return false;
    mPosition = frame;
    return true;
}

} // namespace Platform
