#include "audio/FmodInstance.h"

#include "audio/CountedLibrary.h"

#include <string>

namespace Tandry {
namespace {

// Looks the name up; a missing one ends the program.
template <class Fn>
void Bind(const Platform::LibraryTable& module, const char* name, Fn& into)
{
    const Platform::AnyFunction entry = module.Find(name);
    if (entry == nullptr)
        FailLibraryLoad("\"" + std::string(name) + "\" function not found in fmod.dll");
    into = reinterpret_cast<Fn>(entry);
}

std::unique_ptr<FMOD_INSTANCE> Load()
{
    auto fmod = std::make_unique<FMOD_INSTANCE>();
    fmod->module = Platform::OpenLibrary("fmod.dll");
    if (fmod->module == nullptr)
        FailLibraryLoad("Can't find fmod.dll.");
    const Platform::LibraryTable& m = *fmod->module;
    FMOD_INSTANCE& f = *fmod;
    // In the library's order; the first missing name is the one reported.
    Bind(m, "_FSOUND_SetBufferSize@4", f.SetBufferSize);
    Bind(m, "_FSOUND_SetHWND@4", f.SetHWND);
    Bind(m, "_FSOUND_Init@12", f.Init);
    Bind(m, "_FSOUND_Close@0", f.Close);
    Bind(m, "_FSOUND_Sample_Load@16", f.SampleLoad);
    Bind(m, "_FSOUND_Sample_Alloc@28", f.SampleAlloc);
    Bind(m, "_FSOUND_Sample_Free@4", f.SampleFree);
    Bind(m, "_FSOUND_Sample_Lock@28", f.SampleLock);
    Bind(m, "_FSOUND_Sample_Unlock@20", f.SampleUnlock);
    Bind(m, "_FSOUND_Sample_SetLoopPoints@12", f.SampleSetLoopPoints);
    Bind(m, "_FSOUND_Sample_GetLength@4", f.SampleGetLength);
    Bind(m, "_FSOUND_Sample_GetDefaults@20", f.SampleGetDefaults);
    Bind(m, "_FSOUND_Sample_GetMode@4", f.SampleGetMode);
    Bind(m, "_FSOUND_PlaySound@8", f.PlaySound);
    Bind(m, "_FSOUND_StopSound@4", f.StopSound);
    Bind(m, "_FSOUND_SetVolume@8", f.SetVolume);
    Bind(m, "_FSOUND_SetPaused@8", f.SetPaused);
    Bind(m, "_FSOUND_SetLoopMode@8", f.SetLoopMode);
    Bind(m, "_FSOUND_IsPlaying@4", f.IsPlaying);
    Bind(m, "_FSOUND_Stream_OpenFile@12", f.StreamOpenFile);
    Bind(m, "_FSOUND_Stream_Close@4", f.StreamClose);
    Bind(m, "_FSOUND_Stream_Play@8", f.StreamPlay);
    Bind(m, "_FMUSIC_LoadSong@4", f.MusicLoadSong);
    Bind(m, "_FMUSIC_PlaySong@4", f.MusicPlaySong);
    Bind(m, "_FMUSIC_StopSong@4", f.MusicStopSong);
    Bind(m, "_FMUSIC_SetLooping@8", f.MusicSetLooping);
    Bind(m, "_FMUSIC_SetOrder@8", f.MusicSetOrder);
    Bind(m, "_FMUSIC_SetPaused@8", f.MusicSetPaused);
    Bind(m, "_FMUSIC_SetMasterVolume@8", f.MusicSetMasterVolume);
    Bind(m, "_FMUSIC_IsPlaying@4", f.MusicIsPlaying);
    return fmod;
}

CountedLibrary<FMOD_INSTANCE> gLibrary(&Load);

} // namespace

FMOD_INSTANCE* FMOD_INSTANCE::Acquire()
{
    return gLibrary.Acquire();
}

void FMOD_INSTANCE::Release()
{
    gLibrary.Release();
}

} // namespace Tandry
