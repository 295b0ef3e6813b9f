// What the sound file loaders share: the buffer they fill, made with the
// loaders' flags and locked whole, released again unless the load completes;
// the PCM format from a header's numbers; and the bytes left in a file.
#pragma once

#include "platform/dsound/DirectSound.h"
#include "resources/pak/PakFileHandle.h"

#include <cstdint>
#include <optional>

namespace Tandry {

// PCM with block align channels x bits / 8 and bytes per second rate x block
// align; empty when channels or bits do not fit the format's fields.
std::optional<Platform::DSoundWaveFormat> PcmWaveFormat(uint32_t channels, uint32_t rate, uint32_t bits);

// The bytes from the file's position to its end; the position is kept.
int64_t BytesLeft(PakFileHandle* file);

class SoundBufferWriter {
public:
    SoundBufferWriter() = default;
    ~SoundBufferWriter();
    SoundBufferWriter(const SoundBufferWriter&) = delete;
    SoundBufferWriter& operator=(const SoundBufferWriter&) = delete;

    // Creates the buffer and locks it from 0 over its whole size; false when
    // either is refused (the format, a size over the maximum, ...).
    bool Begin(Platform::DirectSound& sound, const Platform::DSoundWaveFormat& format, uint64_t size);
    uint8_t* Data() const { return static_cast<uint8_t*>(mData); }
    uint32_t Size() const { return mSize; }
    // Unlocks it. The buffer when complete and the unlock worked; otherwise
    // it is released and the answer is null.
    Platform::DirectSoundBuffer* Finish(bool complete);

private:
    Platform::DirectSoundBuffer* mBuffer = nullptr;
    void* mData = nullptr;
    uint32_t mSize = 0;
};

} // namespace Tandry
