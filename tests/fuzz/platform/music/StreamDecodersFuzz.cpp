// The music stand-in's stream decoders on arbitrary bytes: the input becomes
// a stream from memory, which plays for one second of the headless mixer
// and is freed. A stream that plays must stop at its end.
#include "platform/headless/HeadlessPlatform.h"
#include "platform/music/BassLibrary.h"
#include "platform/music/BassRuntime.h"
#include "platform/music/BassTypes.h"

#include "tests/fuzz/FuzzBytes.h"

#include <cstdint>
#include <cstdlib>

namespace {

using namespace Platform::Bass;

Platform::HeadlessPlatform& Setup()
{
    static Platform::HeadlessPlatform& platform = [&]() -> Platform::HeadlessPlatform& {
        Platform::HeadlessPlatform& made = Platform::InstallHeadlessPlatform();
        if (!Platform::BassRuntime::Get().Init())
            std::abort();
        return made;
    }();
    return platform;
}

template <class Fn>
Fn Entry(const char* name)
{
    return reinterpret_cast<Fn>(Platform::BassLibraryTable()->Find(name));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Platform::HeadlessPlatform& platform = Setup();
    const HANDLE stream = Entry<StreamCreateFileFn>("BASS_StreamCreateFile")(true, data, 0, size, 0);
    if (stream == 0)
        return 0;
    FuzzCheck(Entry<ChannelPlayFn>("BASS_ChannelPlay")(stream, true) != 0);
    platform.Audio().Render(44100);
    const DWORD active = Entry<ChannelIsActiveFn>("BASS_ChannelIsActive")(stream);
    FuzzCheck(active == kActivePlaying || active == kActiveStopped);
    // A second pass from a byte position in the middle.
    Entry<ChannelSetPositionFn>("BASS_ChannelSetPosition")(stream, size / 2);
    Entry<ChannelPlayFn>("BASS_ChannelPlay")(stream, false);
    platform.Audio().Render(4410);
    FuzzCheck(Entry<ChannelFn>("BASS_StreamFree")(stream) != 0);
    return 0;
}
