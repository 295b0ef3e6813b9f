#include "platform/music/BassLibrary.h"

#include "platform/music/BassRuntime.h"
#include "platform/music/BassTypes.h"

namespace Platform {
namespace {

using namespace Bass;

BassRuntime& Runtime()
{
    return BassRuntime::Get();
}

BOOL Init(int32_t /*device*/, DWORD /*rate*/, DWORD /*flags*/, WindowHandle /*window*/, const void* /*classId*/)
{
    return Runtime().Init();
}

BOOL Free()
{
    return Runtime().Free();
}

BOOL Stop()
{
    return Runtime().Stop();
}

BOOL Start()
{
    return Runtime().Start();
}

DWORD SetConfig(DWORD option, DWORD value)
{
    return Runtime().SetConfig(option, value);
}

// Runs action on the stream of the handle; false for an unknown handle.
template <class Action>
BOOL OnStream(HANDLE handle, Action&& action)
{
    const std::shared_ptr<MusicStream> stream = Runtime().Find(handle);
    if (stream == nullptr)
        return false;
    action(*stream);
    return true;
}

BOOL ChannelStop(HANDLE handle)
{
    return OnStream(handle, [](MusicStream& s) { s.Stop(); });
}

BOOL ChannelPlay(HANDLE handle, BOOL restart)
{
    return OnStream(handle, [&](MusicStream& s) { s.Play(restart != 0); });
}

BOOL ChannelPause(HANDLE handle)
{
    return OnStream(handle, [](MusicStream& s) { s.Pause(); });
}

BOOL ChannelSetAttributes(HANDLE handle, int32_t frequency, int32_t volume, int32_t pan)
{
    return OnStream(handle, [&](MusicStream& s) { s.SetAttributes(frequency, volume, pan); });
}

BOOL ChannelSetPosition(HANDLE handle, QWORD position)
{
    bool moved = false;
    return OnStream(handle, [&](MusicStream& s) { moved = s.SetPosition(position); }) && moved;
}

DWORD ChannelIsActive(HANDLE handle)
{
    DWORD active = kActiveStopped;
    OnStream(handle, [&](MusicStream& s) { active = s.IsActive(); });
    return active;
}

BOOL ChannelSetFlags(HANDLE handle, DWORD flags)
{
    return OnStream(handle, [&](MusicStream& s) { s.SetLooping((flags & kSampleLoop) != 0); });
}

// No module decoder is among the program's libraries.
HANDLE MusicLoad(BOOL, const void*, QWORD, DWORD, DWORD, DWORD)
{
    return 0;
}

BOOL MusicFree(HANDLE)
{
    return false;
}

BOOL MusicSetAttribute(HANDLE, DWORD, DWORD)
{
    return false;
}

HANDLE StreamCreateFile(BOOL fromMemory, const void* file, QWORD offset, QWORD length, DWORD /*flags*/)
{
    if (fromMemory)
        return Runtime().CreateStreamFromMemory(file, offset, length);
    if (file == nullptr)
        return 0;
    return Runtime().CreateStreamFromFile(static_cast<const char*>(file), offset, length);
}

BOOL StreamFree(HANDLE handle)
{
    return Runtime().FreeStream(handle);
}

// The entries nothing calls: present, answering failure.
DWORD Unused()
{
    return 0;
}

std::shared_ptr<const LibraryTable> MakeTable()
{
    auto table = std::make_shared<LibraryTable>();
    auto& e = table->entries;
    for (const char* name :
         {"BASS_SetGlobalVolumes", "BASS_SetVolume", "BASS_GetConfig", "BASS_GetVolume", "BASS_GetInfo",
          "BASS_GetVersion", "BASS_ChannelGetAttributes", "BASS_ChannelGetPosition", "BASS_ChannelSlideAttributes",
          "BASS_ChannelIsSliding", "BASS_ChannelGetLevel", "BASS_ChannelSetSync", "BASS_ChannelRemoveSync",
          "BASS_ChannelGetData", "BASS_FXSetParameters", "BASS_FXGetParameters", "BASS_ChannelSetFX",
          "BASS_ChannelRemoveFX", "BASS_MusicGetAttribute", "BASS_MusicGetOrders", "BASS_MusicGetOrderPosition",
          "BASS_SampleLoad", "BASS_SampleFree", "BASS_SampleSetInfo", "BASS_SampleGetInfo", "BASS_SampleGetChannel",
          "BASS_SampleStop", "BASS_ErrorGetCode", "BASS_PluginLoad", "BASS_ChannelGetLength",
          "BASS_ChannelPreBuf"})
        e[name] = AsAnyFunction(&Unused);
    e["BASS_Init"] = AsAnyFunction(&Init);
    e["BASS_Free"] = AsAnyFunction(&Free);
    e["BASS_Stop"] = AsAnyFunction(&Stop);
    e["BASS_Start"] = AsAnyFunction(&Start);
    e["BASS_SetConfig"] = AsAnyFunction(&SetConfig);
    e["BASS_ChannelStop"] = AsAnyFunction(&ChannelStop);
    e["BASS_ChannelPlay"] = AsAnyFunction(&ChannelPlay);
    e["BASS_ChannelPause"] = AsAnyFunction(&ChannelPause);
    e["BASS_ChannelSetAttributes"] = AsAnyFunction(&ChannelSetAttributes);
    e["BASS_ChannelSetPosition"] = AsAnyFunction(&ChannelSetPosition);
    e["BASS_ChannelIsActive"] = AsAnyFunction(&ChannelIsActive);
    e["BASS_ChannelSetFlags"] = AsAnyFunction(&ChannelSetFlags);
    e["BASS_MusicLoad"] = AsAnyFunction(&MusicLoad);
    e["BASS_MusicFree"] = AsAnyFunction(&MusicFree);
    e["BASS_MusicSetAttribute"] = AsAnyFunction(&MusicSetAttribute);
    e["BASS_StreamCreateFile"] = AsAnyFunction(&StreamCreateFile);
    e["BASS_StreamFree"] = AsAnyFunction(&StreamFree);
    return table;
}

} // namespace

std::shared_ptr<const LibraryTable> BassLibraryTable()
{
    static const std::shared_ptr<const LibraryTable> table = MakeTable();
    return table;
}

} // namespace Platform
