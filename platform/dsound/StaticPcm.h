// The PCM bytes of one DirectSound buffer, shared by the buffer and its
// duplicates and freed with the last of them; the mixer's voices read them.
#pragma once

#include "platform/dsound/DSoundTypes.h"
#include "platform/dsound/SoundMixer.h"

#include <vector>

namespace Platform {

class StaticPcm : public MixerSource {
public:
    // Throws std::bad_alloc when the bytes cannot be had.
    StaticPcm(const DSoundWaveFormat& format, uint32_t bytes)
        : mFormat(format)
        , mBytes(bytes, format.bitsPerSample == 8 ? uint8_t{0x80} : uint8_t{0})
    {
    }

    PcmView Pcm() const override
    {
        return {mBytes.data(), static_cast<uint32_t>(mBytes.size() / mFormat.blockAlign), mFormat.bitsPerSample,
                mFormat.channels};
    }

    const DSoundWaveFormat& Format() const { return mFormat; }
    uint8_t* Bytes() { return mBytes.data(); }
    uint32_t Size() const { return static_cast<uint32_t>(mBytes.size()); }

private:
    DSoundWaveFormat mFormat;
    std::vector<uint8_t> mBytes; // silence until written
};

} // namespace Platform
