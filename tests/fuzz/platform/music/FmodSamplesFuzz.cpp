// The FMOD stand-in's sample decoders on arbitrary bytes: the input is
// decoded as a ".wav", an ".ogg" and an ".mp3" sample in turn; each sample
// that decodes is locked over its whole length and played on a channel for
// one second of the headless mixer, then freed.
#include "platform/dsound/DSoundRuntime.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/music/FmodRuntime.h"

#include "tests/fuzz/FuzzBytes.h"

#include <cstdint>
#include <cstdlib>

namespace {

Platform::HeadlessPlatform& Setup()
{
    static Platform::HeadlessPlatform& platform = [&]() -> Platform::HeadlessPlatform& {
        Platform::HeadlessPlatform& made = Platform::InstallHeadlessPlatform();
        // Small enough that a lying length cannot take much memory.
        Platform::DSoundSettings settings;
        settings.maxBufferBytes = 16u << 20;
        Platform::DSoundRuntime::Get().SetSettings(settings);
        if (!Platform::FmodRuntime::Get().Init(44100, 64, 2))
            std::abort();
        return made;
    }();
    return platform;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Platform::HeadlessPlatform& platform = Setup();
    Platform::FmodRuntime& fmod = Platform::FmodRuntime::Get();
    for (const char* extension : {".wav", ".ogg", ".mp3"}) {
        Platform::Fmod::FSOUND_SAMPLE* sample = fmod.SampleFromBytes(extension, data, size);
        if (sample == nullptr)
            continue;
        const uint32_t length = fmod.SampleGetLength(sample);
        FuzzCheck(length > 0 && static_cast<uint64_t>(length) * sample->BlockAlign() == sample->bytes->size());
        void* part1 = nullptr;
        void* part2 = nullptr;
        uint32_t length1 = 0;
        uint32_t length2 = 0;
        FuzzCheck(fmod.SampleLock(sample, 0, static_cast<int32_t>(sample->bytes->size()), &part1, &part2, &length1,
                                  &length2));
        FuzzCheck(length1 == sample->bytes->size());
        fmod.SampleUnlock(sample);
        FuzzCheck(fmod.PlaySound(7, sample) == 7);
        platform.Audio().Render(44100);
        fmod.StopSound(7);
        fmod.SampleFree(sample);
    }
    return 0;
}
