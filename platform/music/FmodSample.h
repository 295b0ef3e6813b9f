// A sample of the FMOD stand-in: decoded PCM with its mode word, default
// frequency, volume, pan and priority, and loop points. Made by
// FSOUND_Sample_Load and FSOUND_Sample_Alloc, played on the stand-in's
// channels. The bytes are shared with the channels that play them, so
// freeing a sample never pulls memory from under the mixer.
#pragma once

#include "platform/music/FmodTypes.h"

#include <memory>
#include <string>
#include <vector>

namespace Platform::Fmod {

struct FSOUND_SAMPLE {
    std::shared_ptr<std::vector<uint8_t>> bytes;
    uint32_t mode = kLoopOff | k16Bits | kStereo;
    int32_t frequency = 44100;
    int32_t volume = 255;
    int32_t pan = 128;
    int32_t priority = 0;
    uint32_t length = 0; // samples (frames)
    uint32_t loopStart = 0;
    uint32_t loopLength = 0; // the whole sample by default

    uint32_t Channels() const { return (mode & kMono) != 0 ? 1 : 2; }
    uint32_t BitsPerSample() const { return (mode & k8Bits) != 0 ? 8 : 16; }
    uint32_t BlockAlign() const { return Channels() * BitsPerSample() / 8; }
};

// Decodes a whole sample file held in memory by its extension, compared
// without regard to case: ".wav" (PCM, 8 or 16 bits), ".ogg" (Vorbis) or
// ".mp3", to 16-bit signed PCM at the file's own rate and channel count
// (a WAV keeps its 8 bits). Null for another extension, bytes that do not
// decode, or PCM longer than maxBytes.
std::unique_ptr<FSOUND_SAMPLE> DecodeSample(const std::string& extension, const uint8_t* bytes, size_t size,
                                            uint64_t maxBytes);

} // namespace Platform::Fmod
