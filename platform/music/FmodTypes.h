// The numbers and entry-point shapes of the FMOD sound library, as the
// sound manager and the FMOD music back end call them and the stand-in in
// this folder answers them. Every entry is looked up by its decorated name
// and cast to one of these shapes.
#pragma once

#include "platform/window/WindowTypes.h"

#include <cstdint>

namespace Platform::Fmod {

using BOOL = int32_t;

// Handles; the library's own types, opaque to its callers.
struct FSOUND_SAMPLE;
struct FSOUND_STREAM;
struct FMUSIC_MODULE;

// Mode bits of a sample.
constexpr uint32_t kLoopOff = 0x01;
constexpr uint32_t kLoopNormal = 0x02;
constexpr uint32_t k8Bits = 0x08;
constexpr uint32_t k16Bits = 0x10;
constexpr uint32_t kMono = 0x20;
constexpr uint32_t kStereo = 0x40;

// Sample_Load, Sample_Alloc: any free sample.
constexpr int32_t kFreeIndex = -1;
constexpr int32_t kChannels = 64;

using SetBufferSizeFn = BOOL (*)(int32_t milliseconds);
using SetHWNDFn = BOOL (*)(WindowHandle window);
using InitFn = BOOL (*)(int32_t mixRate, int32_t channels, uint32_t flags);
using CloseFn = void (*)();
using SampleLoadFn = FSOUND_SAMPLE* (*)(int32_t index, const char* name, uint32_t mode, int32_t offset);
using SampleAllocFn = FSOUND_SAMPLE* (*)(int32_t index, int32_t length, uint32_t mode, int32_t frequency,
                                         int32_t volume, int32_t pan, int32_t priority);
using SampleFreeFn = void (*)(FSOUND_SAMPLE* sample);
using SampleLockFn = BOOL (*)(FSOUND_SAMPLE* sample, int32_t offset, int32_t length, void** part1, void** part2,
                              uint32_t* length1, uint32_t* length2);
using SampleUnlockFn = BOOL (*)(FSOUND_SAMPLE* sample, void* part1, void* part2, uint32_t length1,
                                uint32_t length2);
// Loop start and loop length, in samples.
using SampleSetLoopPointsFn = BOOL (*)(FSOUND_SAMPLE* sample, int32_t loopStart, int32_t loopLength);
using SampleGetLengthFn = uint32_t (*)(FSOUND_SAMPLE* sample);
using SampleGetDefaultsFn = BOOL (*)(FSOUND_SAMPLE* sample, int32_t* frequency, int32_t* volume, int32_t* pan,
                                     int32_t* priority);
using SampleGetModeFn = uint32_t (*)(FSOUND_SAMPLE* sample);
using PlaySoundFn = int32_t (*)(int32_t channel, FSOUND_SAMPLE* sample);
using ChannelFn = BOOL (*)(int32_t channel);
using ChannelValueFn = BOOL (*)(int32_t channel, int32_t value);
using ChannelModeFn = BOOL (*)(int32_t channel, uint32_t mode);
using StreamOpenFileFn = FSOUND_STREAM* (*)(const char* name, uint32_t mode, int32_t length);
using StreamCloseFn = BOOL (*)(FSOUND_STREAM* stream);
using StreamPlayFn = int32_t (*)(int32_t channel, FSOUND_STREAM* stream);
using MusicLoadSongFn = FMUSIC_MODULE* (*)(const char* name);
using MusicFn = BOOL (*)(FMUSIC_MODULE* song);
using MusicValueFn = BOOL (*)(FMUSIC_MODULE* song, int32_t value);

} // namespace Platform::Fmod
