#include "platform/music/WavReader.h"

#include <cstring>

namespace Platform {
namespace {

uint32_t U16(const uint8_t* p)
{
    return p[0] | (p[1] << 8);
}

uint32_t U32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

} // namespace

bool ReadWav(const uint8_t* bytes, size_t size, WavData& out)
{
    if (bytes == nullptr || size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return false;
    bool haveFormat = false;
    WavData found;
    size_t at = 12;
    while (size - at >= 8) {
        const uint8_t* header = bytes + at;
        const uint32_t length = U32(header + 4);
        at += 8;
        const size_t left = size - at;
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (length < 16 || left < 16)
                return false;
            const uint8_t* f = bytes + at;
            if (U16(f) != 1)
                return false;
            found.channels = U16(f + 2);
            found.rate = U32(f + 4);
            found.bitsPerSample = U16(f + 14);
            if ((found.channels != 1 && found.channels != 2) || found.rate == 0
                || (found.bitsPerSample != 8 && found.bitsPerSample != 16))
                return false;
            haveFormat = true;
        } else if (std::memcmp(header, "data", 4) == 0) {
            if (!haveFormat || length > left)
                return false;
            const uint32_t frameBytes = found.channels * found.bitsPerSample / 8;
            found.samples = bytes + at;
            found.sampleBytes = length - length % frameBytes;
            out = found;
            return true;
        }
        if (length > left)
            return false;
        at += length;
    }
    return false;
}

} // namespace Platform
