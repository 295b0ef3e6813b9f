// The loaded BASS library, one per process, shared by every
// BassMusicInterface: its entry points in the shapes the back end calls and
// whether it is the version-2 library. Counted: the first interface loads
// it, the last one unloads it. A missing library or entry point ends the
// program with a box, as it cannot play music without them.
#pragma once

#include "platform/music/BassTypes.h"
#include "platform/music/LibraryOpener.h"

#include <memory>

namespace Tandry {

struct BASS_INSTANCE {
    // Takes a reference, loading the library first when there is none.
    static BASS_INSTANCE* Acquire();
    // Gives one back; the last unloads the library.
    static void Release();

    std::shared_ptr<const Platform::LibraryTable> module;
    bool isVersion2 = false;

    Platform::Bass::InitFn Init = nullptr;       // version 2
    Platform::Bass::InitOldFn InitOld = nullptr; // the same entry, older shape
    Platform::Bass::VoidFn Free = nullptr;
    Platform::Bass::VoidFn Stop = nullptr;
    Platform::Bass::VoidFn Start = nullptr;
    Platform::Bass::SetGlobalVolumesFn SetGlobalVolumes = nullptr;
    Platform::Bass::SetVolumeFn SetVolume = nullptr;
    Platform::Bass::SetConfigFn SetConfig = nullptr;
    Platform::Bass::ChannelFn ChannelStop = nullptr;
    Platform::Bass::ChannelPlayFn ChannelPlay = nullptr;
    Platform::Bass::ChannelFn ChannelPause = nullptr;
    Platform::Bass::ChannelSetAttributesFn ChannelSetAttributes = nullptr;
    Platform::Bass::ChannelSetPositionFn ChannelSetPosition = nullptr;
    Platform::Bass::ChannelIsActiveFn ChannelIsActive = nullptr;
    Platform::Bass::ChannelSetFlagsFn ChannelSetFlags = nullptr;
    Platform::Bass::MusicLoadFn MusicLoad = nullptr;       // version 2
    Platform::Bass::MusicLoadOldFn MusicLoadOld = nullptr; // the same entry, older shape
    Platform::Bass::ChannelFn MusicFree = nullptr;
    Platform::Bass::MusicSetAttributeFn MusicSetAttribute = nullptr;
    Platform::Bass::StreamCreateFileFn StreamCreateFile = nullptr;
    Platform::Bass::ChannelFn StreamFree = nullptr;
    // Looked up only in the version-2 library; nothing calls them.
    Platform::AnyFunction PluginLoad = nullptr;
    Platform::AnyFunction ChannelGetLength = nullptr;
    Platform::AnyFunction ChannelPreBuf = nullptr;
};

} // namespace Tandry
