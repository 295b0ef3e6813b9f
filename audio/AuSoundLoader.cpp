// The Sun/NeXT audio reader: a big-endian header, then 8-bit mu-law samples
// (expanded to 16 bits) or 8-bit signed linear ones (turned into the
// unsigned 8-bit PCM of the buffers).
#include "audio/MuLaw.h"
#include "audio/SoundBufferWriter.h"
#include "audio/SoundFileLoaders.h"
#include "resources/pak/PakFile.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace Tandry {
namespace {

bool ReadBigU32(PakFileHandle* file, uint32_t& value)
{
    uint8_t b[4];
    if (PakReadBytes(file, b, 4) != 4)
        return false;
    value = (static_cast<uint32_t>(b[0]) << 24) | (b[1] << 16) | (b[2] << 8) | b[3];
    return true;
}

Platform::DirectSoundBuffer* ReadAu(Platform::DirectSound& sound, PakFileHandle* file)
{
    char magic[4];
    if (PakReadBytes(file, magic, 4) != 4 || std::memcmp(magic, ".snd", 4) != 0)
        return nullptr;
    uint32_t offset = 0, length = 0, encoding = 0, rate = 0, channels = 0;
    if (!ReadBigU32(file, offset) || !ReadBigU32(file, length) || !ReadBigU32(file, encoding)
        || !ReadBigU32(file, rate) || !ReadBigU32(file, channels) || PakSeek(file, offset, SEEK_SET) != 0)
        return nullptr;
    if (encoding != 1 && encoding != 2)
        return nullptr;
    // "Unknown length" (0xFFFFFFFF) is more than any file here holds.
    if (length > BytesLeft(file))
        return nullptr;
    const uint32_t bits = encoding == 1 ? 16 : 8;
    const auto format = PcmWaveFormat(channels, rate, bits);
    SoundBufferWriter writer;
    if (!format || !writer.Begin(sound, *format, static_cast<uint64_t>(bits) * length / 8))
        return nullptr;
    std::vector<uint8_t> block(length);
    const size_t read = PakReadBytes(file, block.data(), length);
    uint8_t* out = writer.Data();
    if (encoding == 2) {
        for (uint32_t i = 0; i < length; ++i)
            out[i] = static_cast<uint8_t>(block[i] ^ 0x80);
    } else {
        for (uint32_t i = 0; i < length; ++i) {
            const int16_t sample = MuLawToLinear(block[i]);
            std::memcpy(out + static_cast<size_t>(i) * 2, &sample, 2);
        }
    }
    return writer.Finish(read == length);
}

} // namespace

Platform::DirectSoundBuffer* LoadAuSound(Platform::DirectSound& sound, const std::string& fileName)
{
    PakFileHandle* file = PakOpen(fileName, "rb");
    if (file == nullptr)
        return nullptr;
    Platform::DirectSoundBuffer* buffer = ReadAu(sound, file);
    PakClose(file);
    return buffer;
}

} // namespace Tandry
