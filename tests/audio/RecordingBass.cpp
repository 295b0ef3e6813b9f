#include "audio/RecordingBass.h"

#include "platform/music/BassLibrary.h"
#include "platform/music/BassTypes.h"

#include <cstring>
#include <memory>

namespace AudioTest {
namespace {

using namespace Platform::Bass;

void Log(const char* name, std::vector<int64_t> args)
{
    RecordingBass().calls.push_back({name, std::move(args)});
}

BOOL Init(int32_t device, DWORD rate, DWORD flags, Platform::WindowHandle window, const void* classId)
{
    Log("BASS_Init", {device, rate, flags, reinterpret_cast<intptr_t>(window), reinterpret_cast<intptr_t>(classId)});
    return true;
}
BOOL InitOld(int32_t device, DWORD rate, DWORD flags, Platform::WindowHandle window)
{
    Log("BASS_Init", {device, rate, flags, reinterpret_cast<intptr_t>(window)});
    return true;
}
BOOL Free() { Log("BASS_Free", {}); return true; }
BOOL Stop() { Log("BASS_Stop", {}); return true; }
BOOL Start() { Log("BASS_Start", {}); return true; }
BOOL SetGlobalVolumes(int32_t m, int32_t s, int32_t t) { Log("BASS_SetGlobalVolumes", {m, s, t}); return true; }
BOOL SetVolume(DWORD v) { Log("BASS_SetVolume", {v}); return true; }
DWORD SetConfig(DWORD option, DWORD value) { Log("BASS_SetConfig", {option, value}); return true; }
BOOL ChannelStop(HANDLE h) { Log("BASS_ChannelStop", {h}); return true; }
BOOL ChannelPlay(HANDLE h, BOOL restart) { Log("BASS_ChannelPlay", {h, restart}); return true; }
BOOL ChannelPause(HANDLE h) { Log("BASS_ChannelPause", {h}); return true; }
BOOL ChannelSetAttributes(HANDLE h, int32_t f, int32_t v, int32_t p)
{
    Log("BASS_ChannelSetAttributes", {h, f, v, p});
    return true;
}
BOOL ChannelSetPosition(HANDLE h, QWORD position)
{
    Log("BASS_ChannelSetPosition", {h, static_cast<int64_t>(position)});
    return true;
}
DWORD ChannelIsActive(HANDLE h)
{
    Log("BASS_ChannelIsActive", {h});
    return RecordingBass().activeAnswer;
}
BOOL ChannelSetFlags(HANDLE h, DWORD flags) { Log("BASS_ChannelSetFlags", {h, flags}); return true; }
HANDLE MusicLoad(BOOL mem, const void*, QWORD offset, DWORD length, DWORD flags, DWORD rate)
{
    Log("BASS_MusicLoad", {mem, static_cast<int64_t>(offset), length, flags, rate});
    return RecordingBass().moduleHandle;
}
HANDLE MusicLoadOld(BOOL mem, const void*, QWORD offset, DWORD length, DWORD flags)
{
    Log("BASS_MusicLoad", {mem, static_cast<int64_t>(offset), length, flags});
    return RecordingBass().moduleHandle;
}
BOOL MusicFree(HANDLE h) { Log("BASS_MusicFree", {h}); return true; }
BOOL MusicSetAttribute(HANDLE h, DWORD a, DWORD v) { Log("BASS_MusicSetAttribute", {h, a, v}); return true; }
HANDLE StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags)
{
    Log("BASS_StreamCreateFile", {mem, static_cast<int64_t>(offset), static_cast<int64_t>(length), flags});
    RecordingBassState& state = RecordingBass();
    if (!mem)
        state.streamNames.push_back(static_cast<const char*>(file));
    return state.nextStream == 0 ? 0 : state.nextStream++;
}
BOOL StreamFree(HANDLE h) { Log("BASS_StreamFree", {h}); return true; }
DWORD Unused() { return 0; }

} // namespace

RecordingBassState& RecordingBass()
{
    static RecordingBassState state;
    return state;
}

void InstallRecordingBass(const std::set<std::string>& leftOut, bool olderShapes, bool missingLibrary)
{
    RecordingBass() = RecordingBassState();
    auto table = std::make_shared<Platform::LibraryTable>();
    auto& e = table->entries;
    using Platform::AsAnyFunction;
    // Every name first, as an entry that answers 0; the used ones below.
    for (const auto& [name, entry] : Platform::BassLibraryTable()->entries)
        e[name] = AsAnyFunction(&Unused);
    e["BASS_Init"] = olderShapes ? AsAnyFunction(&InitOld) : AsAnyFunction(&Init);
    e["BASS_Free"] = AsAnyFunction(&Free);
    e["BASS_Stop"] = AsAnyFunction(&Stop);
    e["BASS_Start"] = AsAnyFunction(&Start);
    e["BASS_SetGlobalVolumes"] = AsAnyFunction(&SetGlobalVolumes);
    e["BASS_SetVolume"] = AsAnyFunction(&SetVolume);
    e["BASS_SetConfig"] = AsAnyFunction(&SetConfig);
    e["BASS_ChannelStop"] = AsAnyFunction(&ChannelStop);
    e["BASS_ChannelPlay"] = AsAnyFunction(&ChannelPlay);
    e["BASS_ChannelPause"] = AsAnyFunction(&ChannelPause);
    e["BASS_ChannelSetAttributes"] = AsAnyFunction(&ChannelSetAttributes);
    e["BASS_ChannelSetPosition"] = AsAnyFunction(&ChannelSetPosition);
    e["BASS_ChannelIsActive"] = AsAnyFunction(&ChannelIsActive);
    e["BASS_ChannelSetFlags"] = AsAnyFunction(&ChannelSetFlags);
    e["BASS_MusicLoad"] = olderShapes ? AsAnyFunction(&MusicLoadOld) : AsAnyFunction(&MusicLoad);
    e["BASS_MusicFree"] = AsAnyFunction(&MusicFree);
    e["BASS_MusicSetAttribute"] = AsAnyFunction(&MusicSetAttribute);
    e["BASS_StreamCreateFile"] = AsAnyFunction(&StreamCreateFile);
    e["BASS_StreamFree"] = AsAnyFunction(&StreamFree);
    if (olderShapes)
        for (const char* name : {"BASS_SetConfig", "BASS_GetConfig", "BASS_PluginLoad", "BASS_ChannelGetLength",
                                 "BASS_ChannelPreBuf"})
            e.erase(name);
    for (const std::string& name : leftOut)
        e.erase(name);
    std::shared_ptr<const Platform::LibraryTable> shared = table;
    Platform::SetLibraryOpener([shared, missingLibrary](const std::string& name) {
        return name == ".\\bass.dll" && !missingLibrary ? shared : nullptr;
    });
}

std::vector<BassCall> CallsOf(const std::string& name)
{
    std::vector<BassCall> found;
    for (const BassCall& call : RecordingBass().calls)
        if (call.name == name)
            found.push_back(call);
    return found;
}

} // namespace AudioTest
