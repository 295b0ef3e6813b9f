// The numbers and entry-point shapes of the BASS music library, as the music
// back end calls them and the stand-in in this folder answers them. Every
// entry is looked up by name and cast to one of these shapes.
#pragma once

#include "platform/window/WindowTypes.h"

#include <cstdint>

namespace Platform::Bass {

using DWORD = uint32_t;
using QWORD = uint64_t;
using BOOL = int32_t;
using HANDLE = uint32_t; // a stream, module or channel; 0 is none

// BASS_ChannelIsActive
constexpr DWORD kActiveStopped = 0;
constexpr DWORD kActivePlaying = 1;
constexpr DWORD kActivePaused = 3;
// BASS_ChannelSetFlags, BASS_MusicLoad
constexpr DWORD kSampleLoop = 4;
// BASS_SetConfig options
constexpr DWORD kConfigBuffer = 0;
constexpr DWORD kConfigStreamVolume = 5;
constexpr DWORD kConfigMusicVolume = 6;
// BASS_ChannelSetAttributes: the values that leave an attribute unchanged
constexpr int32_t kKeepFrequency = -1;
constexpr int32_t kKeepVolume = -1;
constexpr int32_t kKeepPan = -101;

using InitFn = BOOL (*)(int32_t device, DWORD rate, DWORD flags, WindowHandle window, const void* classId);
using InitOldFn = BOOL (*)(int32_t device, DWORD rate, DWORD flags, WindowHandle window);
using VoidFn = BOOL (*)();
using SetGlobalVolumesFn = BOOL (*)(int32_t music, int32_t samples, int32_t streams);
using SetVolumeFn = BOOL (*)(DWORD volume);
using SetConfigFn = DWORD (*)(DWORD option, DWORD value);
using ChannelFn = BOOL (*)(HANDLE handle);
using ChannelPlayFn = BOOL (*)(HANDLE handle, BOOL restart);
using ChannelSetAttributesFn = BOOL (*)(HANDLE handle, int32_t frequency, int32_t volume, int32_t pan);
using ChannelSetPositionFn = BOOL (*)(HANDLE handle, QWORD position);
using ChannelIsActiveFn = DWORD (*)(HANDLE handle);
using ChannelSetFlagsFn = BOOL (*)(HANDLE handle, DWORD flags);
using MusicLoadFn = HANDLE (*)(BOOL fromMemory, const void* file, QWORD offset, DWORD length, DWORD flags,
                               DWORD rate);
using MusicLoadOldFn = HANDLE (*)(BOOL fromMemory, const void* file, QWORD offset, DWORD length, DWORD flags);
using MusicSetAttributeFn = BOOL (*)(HANDLE handle, DWORD attribute, DWORD value);
using StreamCreateFileFn = HANDLE (*)(BOOL fromMemory, const void* file, QWORD offset, QWORD length, DWORD flags);

} // namespace Platform::Bass
