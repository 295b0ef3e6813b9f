// The loaded FMOD library, one per process, shared by the sound manager
// (which starts and closes it, and decodes MP3 sounds through it) and every
// FModMusicInterface: its 30 entry points in the shapes they are called.
// Counted: the first reference loads it, the last one unloads it. A missing
// library or entry point ends the program with a box.
#pragma once

#include "platform/music/FmodTypes.h"
#include "platform/music/LibraryOpener.h"

#include <memory>

namespace Tandry {

struct FMOD_INSTANCE {
    // Takes a reference, loading the library first when there is none.
    static FMOD_INSTANCE* Acquire();
    // Gives one back; the last unloads the library.
    static void Release();

    std::shared_ptr<const Platform::LibraryTable> module;

    Platform::Fmod::SetBufferSizeFn SetBufferSize = nullptr;
    Platform::Fmod::SetHWNDFn SetHWND = nullptr;
    Platform::Fmod::InitFn Init = nullptr;
    Platform::Fmod::CloseFn Close = nullptr;
    Platform::Fmod::SampleLoadFn SampleLoad = nullptr;
    Platform::Fmod::SampleAllocFn SampleAlloc = nullptr;
    Platform::Fmod::SampleFreeFn SampleFree = nullptr;
    Platform::Fmod::SampleLockFn SampleLock = nullptr;
    Platform::Fmod::SampleUnlockFn SampleUnlock = nullptr;
    Platform::Fmod::SampleSetLoopPointsFn SampleSetLoopPoints = nullptr;
    Platform::Fmod::SampleGetLengthFn SampleGetLength = nullptr;
    Platform::Fmod::SampleGetDefaultsFn SampleGetDefaults = nullptr;
    Platform::Fmod::SampleGetModeFn SampleGetMode = nullptr;
    Platform::Fmod::PlaySoundFn PlaySound = nullptr;
    Platform::Fmod::ChannelFn StopSound = nullptr;
    Platform::Fmod::ChannelValueFn SetVolume = nullptr;
    Platform::Fmod::ChannelValueFn SetPaused = nullptr;
    Platform::Fmod::ChannelModeFn SetLoopMode = nullptr;
    Platform::Fmod::ChannelFn IsPlaying = nullptr;
    Platform::Fmod::StreamOpenFileFn StreamOpenFile = nullptr;
    Platform::Fmod::StreamCloseFn StreamClose = nullptr;
    Platform::Fmod::StreamPlayFn StreamPlay = nullptr;
    Platform::Fmod::MusicLoadSongFn MusicLoadSong = nullptr;
    Platform::Fmod::MusicFn MusicPlaySong = nullptr;
    Platform::Fmod::MusicFn MusicStopSong = nullptr;
    Platform::Fmod::MusicValueFn MusicSetLooping = nullptr;
    Platform::Fmod::MusicValueFn MusicSetOrder = nullptr;
    Platform::Fmod::MusicValueFn MusicSetPaused = nullptr;
    Platform::Fmod::MusicValueFn MusicSetMasterVolume = nullptr;
    Platform::Fmod::MusicFn MusicIsPlaying = nullptr;
};

} // namespace Tandry
