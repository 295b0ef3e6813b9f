#include "audio/RecordingFmod.h"

#include "platform/music/FmodLibrary.h"

#include <memory>

namespace AudioTest {
namespace {

using namespace Platform::Fmod;

template <class Fn>
Fn Real(const char* name)
{
    return reinterpret_cast<Fn>(Platform::FmodLibraryTable()->Find(name));
}

void Note(const std::string& name, std::vector<int64_t> args)
{
    RecordingFmodState& state = RecordingFmod();
    state.calls.push_back({name, std::move(args)});
    if (state.onCall)
        state.onCall(name);
}

int64_t SongArg(FMUSIC_MODULE* song)
{
    return song == nullptr ? 0 : kSongHandle;
}

BOOL SetBufferSize(int32_t ms)
{
    Note("FSOUND_SetBufferSize", {ms});
    return Real<SetBufferSizeFn>("_FSOUND_SetBufferSize@4")(ms);
}

BOOL SetHWND(Platform::WindowHandle window)
{
    Note("FSOUND_SetHWND", {static_cast<int64_t>(reinterpret_cast<uintptr_t>(window))});
    return Real<SetHWNDFn>("_FSOUND_SetHWND@4")(window);
}

BOOL Init(int32_t rate, int32_t channels, uint32_t flags)
{
    Note("FSOUND_Init", {rate, channels, flags});
    return Real<InitFn>("_FSOUND_Init@12")(rate, channels, flags);
}

void Close()
{
    Note("FSOUND_Close", {});
    Real<CloseFn>("_FSOUND_Close@0")();
}

FSOUND_SAMPLE* SampleLoad(int32_t index, const char* name, uint32_t mode, int32_t offset)
{
    Note("FSOUND_Sample_Load", {index, mode, offset});
    return Real<SampleLoadFn>("_FSOUND_Sample_Load@16")(index, name, mode, offset);
}

FSOUND_SAMPLE* SampleAlloc(int32_t index, int32_t length, uint32_t mode, int32_t frequency, int32_t volume,
                           int32_t pan, int32_t priority)
{
    Note("FSOUND_Sample_Alloc", {index, length, mode, frequency, volume, pan, priority});
    return Real<SampleAllocFn>("_FSOUND_Sample_Alloc@28")(index, length, mode, frequency, volume, pan, priority);
}

void SampleFree(FSOUND_SAMPLE* sample)
{
    Note("FSOUND_Sample_Free", {});
    Real<SampleFreeFn>("_FSOUND_Sample_Free@4")(sample);
}

BOOL SampleLock(FSOUND_SAMPLE* sample, int32_t offset, int32_t length, void** p1, void** p2, uint32_t* l1,
                uint32_t* l2)
{
    Note("FSOUND_Sample_Lock", {offset, length});
    return Real<SampleLockFn>("_FSOUND_Sample_Lock@28")(sample, offset, length, p1, p2, l1, l2);
}

BOOL SampleUnlock(FSOUND_SAMPLE* sample, void* p1, void* p2, uint32_t l1, uint32_t l2)
{
    Note("FSOUND_Sample_Unlock", {l1, l2});
    return Real<SampleUnlockFn>("_FSOUND_Sample_Unlock@20")(sample, p1, p2, l1, l2);
}

BOOL SampleSetLoopPoints(FSOUND_SAMPLE* sample, int32_t start, int32_t length)
{
    Note("FSOUND_Sample_SetLoopPoints", {start, length});
    return Real<SampleSetLoopPointsFn>("_FSOUND_Sample_SetLoopPoints@12")(sample, start, length);
}

uint32_t SampleGetLength(FSOUND_SAMPLE* sample)
{
    return Real<SampleGetLengthFn>("_FSOUND_Sample_GetLength@4")(sample);
}

BOOL SampleGetDefaults(FSOUND_SAMPLE* sample, int32_t* f, int32_t* v, int32_t* p, int32_t* q)
{
    return Real<SampleGetDefaultsFn>("_FSOUND_Sample_GetDefaults@20")(sample, f, v, p, q);
}

uint32_t SampleGetMode(FSOUND_SAMPLE* sample)
{
    return Real<SampleGetModeFn>("_FSOUND_Sample_GetMode@4")(sample);
}

int32_t PlaySound(int32_t channel, FSOUND_SAMPLE* sample)
{
    Note("FSOUND_PlaySound", {channel});
    return Real<PlaySoundFn>("_FSOUND_PlaySound@8")(channel, sample);
}

BOOL StopSound(int32_t channel)
{
    Note("FSOUND_StopSound", {channel});
    return Real<ChannelFn>("_FSOUND_StopSound@4")(channel);
}

BOOL SetVolume(int32_t channel, int32_t volume)
{
    Note("FSOUND_SetVolume", {channel, volume});
    return Real<ChannelValueFn>("_FSOUND_SetVolume@8")(channel, volume);
}

BOOL SetPaused(int32_t channel, int32_t paused)
{
    Note("FSOUND_SetPaused", {channel, paused});
    return Real<ChannelValueFn>("_FSOUND_SetPaused@8")(channel, paused);
}

BOOL SetLoopMode(int32_t channel, uint32_t mode)
{
    Note("FSOUND_SetLoopMode", {channel, mode});
    return Real<ChannelModeFn>("_FSOUND_SetLoopMode@8")(channel, mode);
}

BOOL IsPlaying(int32_t channel)
{
    Note("FSOUND_IsPlaying", {channel});
    return Real<ChannelFn>("_FSOUND_IsPlaying@4")(channel);
}

FSOUND_STREAM* StreamOpenFile(const char*, uint32_t mode, int32_t length)
{
    Note("FSOUND_Stream_OpenFile", {mode, length});
    return nullptr;
}

BOOL StreamClose(FSOUND_STREAM*)
{
    Note("FSOUND_Stream_Close", {});
    return false;
}

int32_t StreamPlay(int32_t channel, FSOUND_STREAM*)
{
    Note("FSOUND_Stream_Play", {channel});
    return -1;
}

FMUSIC_MODULE* LoadSong(const char*)
{
    Note("FMUSIC_LoadSong", {});
    return RecordingFmod().song;
}

BOOL PlaySong(FMUSIC_MODULE* song)
{
    Note("FMUSIC_PlaySong", {SongArg(song)});
    return true;
}

BOOL StopSong(FMUSIC_MODULE* song)
{
    Note("FMUSIC_StopSong", {SongArg(song)});
    return true;
}

BOOL SetLooping(FMUSIC_MODULE* song, int32_t mode)
{
    Note("FMUSIC_SetLooping", {SongArg(song), mode});
    return true;
}

BOOL SetOrder(FMUSIC_MODULE* song, int32_t order)
{
    Note("FMUSIC_SetOrder", {SongArg(song), order});
    return true;
}

BOOL SetSongPaused(FMUSIC_MODULE* song, int32_t paused)
{
    Note("FMUSIC_SetPaused", {SongArg(song), paused});
    return true;
}

BOOL SetMasterVolume(FMUSIC_MODULE* song, int32_t volume)
{
    Note("FMUSIC_SetMasterVolume", {SongArg(song), volume});
    return true;
}

BOOL SongIsPlaying(FMUSIC_MODULE* song)
{
    Note("FMUSIC_IsPlaying", {SongArg(song)});
    return RecordingFmod().songPlaying;
}

std::shared_ptr<const Platform::LibraryTable> MakeTable(const std::set<std::string>& leftOut)
{
    auto* table = new Platform::LibraryTable;
    auto& e = table->entries;
    using Platform::AsAnyFunction;
    e["_FSOUND_SetBufferSize@4"] = AsAnyFunction(&SetBufferSize);
    e["_FSOUND_SetHWND@4"] = AsAnyFunction(&SetHWND);
    e["_FSOUND_Init@12"] = AsAnyFunction(&Init);
    e["_FSOUND_Close@0"] = AsAnyFunction(&Close);
    e["_FSOUND_Sample_Load@16"] = AsAnyFunction(&SampleLoad);
    e["_FSOUND_Sample_Alloc@28"] = AsAnyFunction(&SampleAlloc);
    e["_FSOUND_Sample_Free@4"] = AsAnyFunction(&SampleFree);
    e["_FSOUND_Sample_Lock@28"] = AsAnyFunction(&SampleLock);
    e["_FSOUND_Sample_Unlock@20"] = AsAnyFunction(&SampleUnlock);
    e["_FSOUND_Sample_SetLoopPoints@12"] = AsAnyFunction(&SampleSetLoopPoints);
    e["_FSOUND_Sample_GetLength@4"] = AsAnyFunction(&SampleGetLength);
    e["_FSOUND_Sample_GetDefaults@20"] = AsAnyFunction(&SampleGetDefaults);
    e["_FSOUND_Sample_GetMode@4"] = AsAnyFunction(&SampleGetMode);
    e["_FSOUND_PlaySound@8"] = AsAnyFunction(&PlaySound);
    e["_FSOUND_StopSound@4"] = AsAnyFunction(&StopSound);
    e["_FSOUND_SetVolume@8"] = AsAnyFunction(&SetVolume);
    e["_FSOUND_SetPaused@8"] = AsAnyFunction(&SetPaused);
    e["_FSOUND_SetLoopMode@8"] = AsAnyFunction(&SetLoopMode);
    e["_FSOUND_IsPlaying@4"] = AsAnyFunction(&IsPlaying);
    e["_FSOUND_Stream_OpenFile@12"] = AsAnyFunction(&StreamOpenFile);
    e["_FSOUND_Stream_Close@4"] = AsAnyFunction(&StreamClose);
    e["_FSOUND_Stream_Play@8"] = AsAnyFunction(&StreamPlay);
    e["_FMUSIC_LoadSong@4"] = AsAnyFunction(&LoadSong);
    e["_FMUSIC_PlaySong@4"] = AsAnyFunction(&PlaySong);
    e["_FMUSIC_StopSong@4"] = AsAnyFunction(&StopSong);
    e["_FMUSIC_SetLooping@8"] = AsAnyFunction(&SetLooping);
    e["_FMUSIC_SetOrder@8"] = AsAnyFunction(&SetOrder);
    e["_FMUSIC_SetPaused@8"] = AsAnyFunction(&SetSongPaused);
    e["_FMUSIC_SetMasterVolume@8"] = AsAnyFunction(&SetMasterVolume);
    e["_FMUSIC_IsPlaying@4"] = AsAnyFunction(&SongIsPlaying);
    for (const std::string& name : leftOut)
        e.erase(name);
    return std::shared_ptr<const Platform::LibraryTable>(table, [](const Platform::LibraryTable* dropped) {
        if (RecordingFmod().onUnload)
            RecordingFmod().onUnload();
        delete dropped;
    });
}

} // namespace

RecordingFmodState& RecordingFmod()
{
    static RecordingFmodState state;
    return state;
}

void InstallRecordingFmod(const std::set<std::string>& leftOut, bool missingLibrary)
{
    RecordingFmod() = RecordingFmodState{};
    Platform::SetLibraryOpener([leftOut, missingLibrary](const std::string& name) {
        return name == "fmod.dll" && !missingLibrary ? MakeTable(leftOut) : nullptr;
    });
}

std::vector<FmodCall> FmodCallsOf(const std::string& name)
{
    std::vector<FmodCall> found;
    for (const FmodCall& call : RecordingFmod().calls)
        if (call.name == name)
            found.push_back(call);
    return found;
}

} // namespace AudioTest
