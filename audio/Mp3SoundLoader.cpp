// The MP3 reader: the FMOD library decodes the file into one of its samples,
// whose PCM is copied into the buffer.
#include "audio/FmodInstance.h"
#include "audio/SoundBufferWriter.h"
#include "audio/SoundFileLoaders.h"

#include <algorithm>
#include <cstring>

namespace Tandry {

Platform::DirectSoundBuffer* LoadMp3Sound(Platform::DirectSound& sound, const FMOD_INSTANCE& fmod,
                                          const std::string& fileName)
{
    using namespace Platform::Fmod;
    FSOUND_SAMPLE* sample = fmod.SampleLoad(kFreeIndex, fileName.c_str(), 0, 0);
    if (sample == nullptr)
        return nullptr;
    const uint32_t mode = fmod.SampleGetMode(sample);
    int32_t frequency = 0;
    fmod.SampleGetDefaults(sample, &frequency, nullptr, nullptr, nullptr);
    const uint32_t channels = (mode & kMono) != 0 ? 1 : 2;
    const uint32_t bits = (mode & k8Bits) != 0 ? 8 : 16;
    const uint64_t size = static_cast<uint64_t>(fmod.SampleGetLength(sample)) * (channels * bits / 8);
    const auto format = PcmWaveFormat(channels, static_cast<uint32_t>(frequency), bits);
    SoundBufferWriter writer;
    if (!format || size > INT32_MAX || !writer.Begin(sound, *format, size)) {
        fmod.SampleFree(sample);
        return nullptr;
    }
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t length1 = 0;
    uint32_t length2 = 0;
    bool copied = false;
    if (fmod.SampleLock(sample, 0, static_cast<int32_t>(size), &part1, &part2, &length1, &length2)) {
        std::memcpy(writer.Data(), part1, std::min(length1, writer.Size()));
        copied = length1 >= writer.Size();
        fmod.SampleUnlock(sample, part1, part2, length1, length2);
    }
    fmod.SampleFree(sample);
    // A buffer whose bytes were not copied would hold silence under the id:
    // it is released, and the next format is tried.
    return writer.Finish(copied);
}

} // namespace Tandry
