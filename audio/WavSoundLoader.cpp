// The WAV reader: chunks one after the other until "data", each skipped by
// its own length with no padding, so a chunk of odd length is followed at
// the very next byte.
#include "audio/SoundBufferWriter.h"
#include "audio/SoundFileLoaders.h"
#include "platform/fs/EntryInfo.h"
#include "platform/fs/PathResolver.h"
#include "resources/pak/PakFile.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace Tandry {
namespace {

struct PakCloser {
    void operator()(PakFileHandle* file) const { PakClose(file); }
};
using PakFilePtr = std::unique_ptr<PakFileHandle, PakCloser>;

bool ReadBytes(PakFileHandle* file, void* into, size_t count)
{
    return PakReadBytes(file, into, count) == count;
}

bool ReadU16(PakFileHandle* file, uint32_t& value)
{
    uint8_t b[2];
    if (!ReadBytes(file, b, 2))
        return false;
    value = b[0] | (b[1] << 8);
    return true;
}

bool ReadU32(PakFileHandle* file, uint32_t& value)
{
    uint8_t b[4];
    if (!ReadBytes(file, b, 4))
        return false;
    value = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
    return true;
}

bool HasId(const char (&id)[4], const char* expected)
{
    return std::memcmp(id, expected, 4) == 0;
}

struct WavSettings {
    uint32_t channels = 1;
    uint32_t rate = 22050;
    uint32_t bits = 16;
    uint8_t scramble = 0;
};

// The "fmt " chunk; only PCM passes.
bool ReadFormat(PakFileHandle* file, WavSettings& settings)
{
    uint32_t tag = 0, channels = 0, rate = 0, bytesPerSecond = 0, blockAlign = 0, bits = 0;
    if (!ReadU16(file, tag) || !ReadU16(file, channels) || !ReadU32(file, rate) || !ReadU32(file, bytesPerSecond)
        || !ReadU16(file, blockAlign) || !ReadU16(file, bits))
        return false;
    if (tag != 1)
        return false;
    settings.channels = channels;
    settings.rate = rate;
    settings.bits = bits;
    return true;
}

// The "dep " chunk: true when the named source file still has the stored
// last-write time. The file is only looked at, never opened, and never
// through the packs; a missing one has time 0.
bool SourceIsCurrent(PakFileHandle* file)
{
    uint32_t length = 0;
    if (!ReadU16(file, length))
        return false;
    length = std::min<uint32_t>(length, 255);
    std::string name(length, '\0');
    uint32_t low = 0, high = 0;
    if (!ReadBytes(file, name.data(), length) || !ReadU32(file, low) || !ReadU32(file, high))
        return false;
    Platform::FindData info;
    uint64_t time = 0;
    if (!name.empty() && name.find('\0') == std::string::npos
        && Platform::ReadEntryInfo(Platform::PathResolver::Resolve(name), info))
        time = info.lastWriteTime;
    return static_cast<uint32_t>(time) == low && static_cast<uint32_t>(time >> 32) == high;
}

Platform::DirectSoundBuffer* ReadData(Platform::DirectSound& sound, PakFilePtr file, uint32_t length,
                                      const WavSettings& settings)
{
    if (length > BytesLeft(file.get()))
        return nullptr;
    const auto format = PcmWaveFormat(settings.channels, settings.rate, settings.bits);
    SoundBufferWriter writer;
    if (!format || !writer.Begin(sound, *format, length))
        return nullptr;
    const size_t read = PakReadBytes(file.get(), writer.Data(), length);
    file.reset();
    for (uint32_t i = 0; i < length; ++i)
        writer.Data()[i] ^= settings.scramble;
    return writer.Finish(read == length);
}

} // namespace

Platform::DirectSoundBuffer* LoadWavSound(Platform::DirectSound& sound, const std::string& fileName)
{
    PakFilePtr file(PakOpen(fileName, "rb"));
    if (!file)
        return nullptr;
    char id[4];
    uint32_t riffLength = 0;
    if (!ReadBytes(file.get(), id, 4) || !HasId(id, "RIFF") || !ReadU32(file.get(), riffLength)
        || !ReadBytes(file.get(), id, 4) || !HasId(id, "WAVE"))
        return nullptr;
    WavSettings settings;
    for (;;) {
        uint32_t length = 0;
        if (PakAtEnd(file.get()) || !ReadBytes(file.get(), id, 4) || !ReadU32(file.get(), length))
            return nullptr;
        const int64_t chunkStart = PakTell(file.get());
        if (HasId(id, "data"))
            return ReadData(sound, std::move(file), length, settings);
        if (HasId(id, "fmt ")) {
            if (!ReadFormat(file.get(), settings))
                return nullptr;
        } else if (HasId(id, "dep ")) {
            if (!SourceIsCurrent(file.get()))
                return nullptr;
        } else if (HasId(id, "xor ")) {
            if (!ReadBytes(file.get(), &settings.scramble, 1))
                return nullptr;
        }
        // Past the end the next header cannot be read, which ends the loop.
        const int64_t next = chunkStart + static_cast<int64_t>(length);
        if (chunkStart < 0 || PakSeek(file.get(), next, SEEK_SET) != 0)
            return nullptr;
    }
}

} // namespace Tandry
