// The plain WAV reader of the music stand-ins: finds the format and the
// sample bytes of a RIFF/WAVE file held in memory. Only PCM of 8 or 16 bits,
// mono or stereo, passes. Chunks follow each other by their own length, with
// no padding byte, as the game's sound loader reads them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Platform {

struct WavData {
    uint32_t channels = 0;
    uint32_t rate = 0;
    uint32_t bitsPerSample = 0;
    const uint8_t* samples = nullptr; // inside the bytes read, not owned
    uint32_t sampleBytes = 0;         // whole frames only
};

// False when the bytes are not such a file or its data chunk runs past the end.
bool ReadWav(const uint8_t* bytes, size_t size, WavData& out);

} // namespace Platform
