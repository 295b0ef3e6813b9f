// A music stream's decoder over an Ogg Vorbis file in memory, through
// Tremor's vorbisfile. Mono and stereo streams only; a chained part that
// changes the channel count or rate ends the stream there.
#pragma once

#include "platform/music/MemorySeek.h"
#include "platform/music/StreamDecoder.h"

#include <tremor/ivorbisfile.h>

namespace Platform {

class OggStreamDecoder : public StreamDecoder {
public:
    // Null when the bytes are not a playable Ogg Vorbis stream.
    static std::unique_ptr<OggStreamDecoder> Open(const uint8_t* bytes, size_t size);
    ~OggStreamDecoder() override;
    OggStreamDecoder(const OggStreamDecoder&) = delete;
    OggStreamDecoder& operator=(const OggStreamDecoder&) = delete;

    uint32_t Rate() const override { return mRate; }
    uint32_t Channels() const override { return mChannels; }
    uint64_t Length() const override { return mLength; }
    uint32_t Read(int16_t* out, uint32_t frames) override;
    bool Seek(uint64_t frame) override;

    using Memory = MemoryBytes;

private:
    OggStreamDecoder(const uint8_t* bytes, size_t size);

    Memory mMemory;
    OggVorbis_File mFile{};
    bool mOpen = false;
    uint32_t mRate = 0;
    uint32_t mChannels = 0;
    uint64_t mLength = 0;
};

} // namespace Platform
