// A decoder over an MP3 file held in memory, through libmpg123: signed
// 16-bit frames at the file's own rate and channel count. The music
// stand-ins' streams play it, and the FMOD stand-in decodes whole sample
// files with it. The file is scanned once when opened, so the length is
// exact and seeks land on the frame asked for.
#pragma once

#include "platform/music/MemorySeek.h"
#include "platform/music/StreamDecoder.h"

#include <mpg123.h>

namespace Platform {

class Mp3StreamDecoder : public StreamDecoder {
public:
    // Null when the bytes hold no decodable MPEG audio frame.
    static std::unique_ptr<Mp3StreamDecoder> Open(const uint8_t* bytes, size_t size);
    ~Mp3StreamDecoder() override;
    Mp3StreamDecoder(const Mp3StreamDecoder&) = delete;
    Mp3StreamDecoder& operator=(const Mp3StreamDecoder&) = delete;

    uint32_t Rate() const override { return mRate; }
    uint32_t Channels() const override { return mChannels; }
    uint64_t Length() const override { return mLength; }
    uint32_t Read(int16_t* out, uint32_t frames) override;
    bool Seek(uint64_t frame) override;

    using Memory = MemoryBytes;

private:
    Mp3StreamDecoder(const uint8_t* bytes, size_t size);

    Memory mMemory;
    mpg123_handle* mHandle = nullptr;
    uint32_t mRate = 0;
    uint32_t mChannels = 0;
    uint64_t mLength = 0;
    bool mAtEnd = false;
};

} // namespace Platform
