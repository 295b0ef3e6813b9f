#include "platform/music/FmodLibrary.h"

#include "platform/music/FmodRuntime.h"

namespace Platform {
namespace {

using namespace Fmod;

FmodRuntime& Runtime()
{
    return FmodRuntime::Get();
}

BOOL SetBufferSize(int32_t milliseconds)
{
    return Runtime().SetBufferSize(milliseconds);
}

BOOL SetHWND(WindowHandle window)
{
    return Runtime().SetHWND(window);
}

BOOL Init(int32_t mixRate, int32_t channels, uint32_t flags)
{
    return Runtime().Init(mixRate, channels, flags);
}

void Close()
{
    Runtime().Close();
}

FSOUND_SAMPLE* SampleLoad(int32_t index, const char* name, uint32_t mode, int32_t offset)
{
    return Runtime().SampleLoad(index, name, mode, offset);
}

FSOUND_SAMPLE* SampleAlloc(int32_t /*index*/, int32_t length, uint32_t mode, int32_t frequency, int32_t volume,
                           int32_t pan, int32_t priority)
{
    return Runtime().SampleAlloc(length, mode, frequency, volume, pan, priority);
}

void SampleFree(FSOUND_SAMPLE* sample)
{
    Runtime().SampleFree(sample);
}

BOOL SampleLock(FSOUND_SAMPLE* sample, int32_t offset, int32_t length, void** part1, void** part2,
                uint32_t* length1, uint32_t* length2)
{
    return Runtime().SampleLock(sample, offset, length, part1, part2, length1, length2);
}

BOOL SampleUnlock(FSOUND_SAMPLE* sample, void*, void*, uint32_t, uint32_t)
{
    return Runtime().SampleUnlock(sample);
}

BOOL SampleSetLoopPoints(FSOUND_SAMPLE* sample, int32_t loopStart, int32_t loopLength)
{
    return Runtime().SampleSetLoopPoints(sample, loopStart, loopLength);
}

uint32_t SampleGetLength(FSOUND_SAMPLE* sample)
{
    return Runtime().SampleGetLength(sample);
}

BOOL SampleGetDefaults(FSOUND_SAMPLE* sample, int32_t* frequency, int32_t* volume, int32_t* pan, int32_t* priority)
{
    return Runtime().SampleGetDefaults(sample, frequency, volume, pan, priority);
}

uint32_t SampleGetMode(FSOUND_SAMPLE* sample)
{
    return Runtime().SampleGetMode(sample);
}

int32_t PlaySound(int32_t channel, FSOUND_SAMPLE* sample)
{
    return Runtime().PlaySound(channel, sample);
}

BOOL StopSound(int32_t channel)
{
    return Runtime().StopSound(channel);
}

BOOL SetVolume(int32_t channel, int32_t volume)
{
    return Runtime().SetVolume(channel, volume);
}

BOOL SetPaused(int32_t channel, int32_t paused)
{
    return Runtime().SetPaused(channel, paused != 0);
}

BOOL SetLoopMode(int32_t channel, uint32_t mode)
{
    return Runtime().SetLoopMode(channel, mode);
}

BOOL IsPlaying(int32_t channel)
{
    return Runtime().IsPlaying(channel);
}

// Nothing calls the stream entries.
FSOUND_STREAM* StreamOpenFile(const char*, uint32_t, int32_t)
{
    return nullptr;
}

BOOL StreamClose(FSOUND_STREAM*)
{
    return false;
}

int32_t StreamPlay(int32_t, FSOUND_STREAM*)
{
    return -1;
}

// No module decoder is among the program's libraries: no song loads, and
// the song calls answer false.
FMUSIC_MODULE* LoadSong(const char*)
{
    return nullptr;
}

BOOL NoSong(FMUSIC_MODULE*)
{
    return false;
}

BOOL NoSongValue(FMUSIC_MODULE*, int32_t)
{
    return false;
}

std::shared_ptr<const LibraryTable> MakeTable()
{
    auto table = std::make_shared<LibraryTable>();
    auto& e = table->entries;
    e["_FSOUND_SetBufferSize@4"] = AsAnyFunction(static_cast<SetBufferSizeFn>(&SetBufferSize));
    e["_FSOUND_SetHWND@4"] = AsAnyFunction(static_cast<SetHWNDFn>(&SetHWND));
    e["_FSOUND_Init@12"] = AsAnyFunction(static_cast<InitFn>(&Init));
    e["_FSOUND_Close@0"] = AsAnyFunction(static_cast<CloseFn>(&Close));
    e["_FSOUND_Sample_Load@16"] = AsAnyFunction(static_cast<SampleLoadFn>(&SampleLoad));
    e["_FSOUND_Sample_Alloc@28"] = AsAnyFunction(static_cast<SampleAllocFn>(&SampleAlloc));
    e["_FSOUND_Sample_Free@4"] = AsAnyFunction(static_cast<SampleFreeFn>(&SampleFree));
    e["_FSOUND_Sample_Lock@28"] = AsAnyFunction(static_cast<SampleLockFn>(&SampleLock));
    e["_FSOUND_Sample_Unlock@20"] = AsAnyFunction(static_cast<SampleUnlockFn>(&SampleUnlock));
    e["_FSOUND_Sample_SetLoopPoints@12"] = AsAnyFunction(static_cast<SampleSetLoopPointsFn>(&SampleSetLoopPoints));
    e["_FSOUND_Sample_GetLength@4"] = AsAnyFunction(static_cast<SampleGetLengthFn>(&SampleGetLength));
    e["_FSOUND_Sample_GetDefaults@20"] = AsAnyFunction(static_cast<SampleGetDefaultsFn>(&SampleGetDefaults));
    e["_FSOUND_Sample_GetMode@4"] = AsAnyFunction(static_cast<SampleGetModeFn>(&SampleGetMode));
    e["_FSOUND_PlaySound@8"] = AsAnyFunction(static_cast<PlaySoundFn>(&PlaySound));
    e["_FSOUND_StopSound@4"] = AsAnyFunction(static_cast<ChannelFn>(&StopSound));
    e["_FSOUND_SetVolume@8"] = AsAnyFunction(static_cast<ChannelValueFn>(&SetVolume));
    e["_FSOUND_SetPaused@8"] = AsAnyFunction(static_cast<ChannelValueFn>(&SetPaused));
    e["_FSOUND_SetLoopMode@8"] = AsAnyFunction(static_cast<ChannelModeFn>(&SetLoopMode));
    e["_FSOUND_IsPlaying@4"] = AsAnyFunction(static_cast<ChannelFn>(&IsPlaying));
    e["_FSOUND_Stream_OpenFile@12"] = AsAnyFunction(static_cast<StreamOpenFileFn>(&StreamOpenFile));
    e["_FSOUND_Stream_Close@4"] = AsAnyFunction(static_cast<StreamCloseFn>(&StreamClose));
    e["_FSOUND_Stream_Play@8"] = AsAnyFunction(static_cast<StreamPlayFn>(&StreamPlay));
    e["_FMUSIC_LoadSong@4"] = AsAnyFunction(static_cast<MusicLoadSongFn>(&LoadSong));
    for (const char* name : {"_FMUSIC_PlaySong@4", "_FMUSIC_StopSong@4", "_FMUSIC_IsPlaying@4"})
        e[name] = AsAnyFunction(static_cast<MusicFn>(&NoSong));
    for (const char* name : {"_FMUSIC_SetLooping@8", "_FMUSIC_SetOrder@8", "_FMUSIC_SetPaused@8",
                             "_FMUSIC_SetMasterVolume@8"})
        e[name] = AsAnyFunction(static_cast<MusicValueFn>(&NoSongValue));
    return table;
}

} // namespace

std::shared_ptr<const LibraryTable> FmodLibraryTable()
{
    static const std::shared_ptr<const LibraryTable> table = MakeTable();
    return table;
}

} // namespace Platform
