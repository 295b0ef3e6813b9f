#include "audio/BassInstance.h"

#include "audio/CountedLibrary.h"

#include <cstring>
#include <map>
#include <string>

namespace Tandry {
namespace {

// Every entry, in the order they are looked up.
constexpr const char* kNames[] = {
    "BASS_Init", "BASS_Free", "BASS_Stop", "BASS_Start", "BASS_SetGlobalVolumes", "BASS_SetVolume",
    "BASS_SetConfig", "BASS_GetConfig", "BASS_GetVolume", "BASS_GetInfo", "BASS_GetVersion", "BASS_ChannelStop",
    "BASS_ChannelPlay", "BASS_ChannelPause", "BASS_ChannelSetAttributes", "BASS_ChannelGetAttributes",
    "BASS_ChannelSetPosition", "BASS_ChannelGetPosition", "BASS_ChannelIsActive", "BASS_ChannelSetFlags",
    "BASS_ChannelSlideAttributes", "BASS_ChannelIsSliding", "BASS_ChannelGetLevel", "BASS_ChannelSetSync",
    "BASS_ChannelRemoveSync", "BASS_ChannelGetData", "BASS_FXSetParameters", "BASS_FXGetParameters",
    "BASS_ChannelSetFX", "BASS_ChannelRemoveFX", "BASS_MusicLoad", "BASS_MusicFree", "BASS_MusicGetAttribute",
    "BASS_MusicSetAttribute", "BASS_StreamCreateFile", "BASS_StreamFree", "BASS_MusicGetOrders",
    "BASS_MusicGetOrderPosition", "BASS_SampleLoad", "BASS_SampleFree", "BASS_SampleSetInfo",
    "BASS_SampleGetInfo", "BASS_SampleGetChannel", "BASS_SampleStop", "BASS_ErrorGetCode", "BASS_PluginLoad",
    "BASS_ChannelGetLength", "BASS_ChannelPreBuf"};

// Missing is no error for these; the two volume entries are checked as a pair.
bool IsOptional(const std::string& name)
{
    for (const char* optional : {"BASS_SetGlobalVolumes", "BASS_SetVolume", "BASS_SetConfig", "BASS_GetConfig",
                                 "BASS_PluginLoad", "BASS_ChannelGetLength", "BASS_ChannelPreBuf"})
        if (name == optional)
            return true;
    return false;
}

bool IsVersion2Only(const std::string& name)
{
    return name == "BASS_PluginLoad" || name == "BASS_ChannelGetLength" || name == "BASS_ChannelPreBuf";
}


template <class Fn>
Fn As(const std::map<std::string, Platform::AnyFunction>& found, const char* name)
{
    const auto it = found.find(name);
    return it == found.end() ? nullptr : reinterpret_cast<Fn>(it->second);
}

std::unique_ptr<BASS_INSTANCE> Load()
{
    auto bass = std::make_unique<BASS_INSTANCE>();
    bass->module = Platform::OpenLibrary(".\\bass.dll");
    if (bass->module == nullptr)
        FailLibraryLoad("Can't find bass.dll.");
    std::map<std::string, Platform::AnyFunction> found;
    for (const char* name : kNames) {
        if (IsVersion2Only(name) && !bass->isVersion2)
            continue;
        const Platform::AnyFunction entry = bass->module->Find(name);
        if (entry != nullptr)
            found[name] = entry;
        if (std::strcmp(name, "BASS_SetConfig") == 0)
            bass->isVersion2 = entry != nullptr;
        if (std::strcmp(name, "BASS_SetVolume") == 0 && found.count("BASS_SetGlobalVolumes") == 0 && entry == nullptr)
            FailLibraryLoad("Neither BASS_SetGlobalVolumes or BASS_SetVolume found in bass.dll");
        if (entry == nullptr && !IsOptional(name))
            FailLibraryLoad(std::string(name) + " function not found in bass.dll");
    }
    using namespace Platform::Bass;
    bass->Init = As<InitFn>(found, "BASS_Init");
    bass->InitOld = As<InitOldFn>(found, "BASS_Init");
    bass->Free = As<VoidFn>(found, "BASS_Free");
    bass->Stop = As<VoidFn>(found, "BASS_Stop");
    bass->Start = As<VoidFn>(found, "BASS_Start");
    bass->SetGlobalVolumes = As<SetGlobalVolumesFn>(found, "BASS_SetGlobalVolumes");
    bass->SetVolume = As<SetVolumeFn>(found, "BASS_SetVolume");
    bass->SetConfig = As<SetConfigFn>(found, "BASS_SetConfig");
    bass->ChannelStop = As<ChannelFn>(found, "BASS_ChannelStop");
    bass->ChannelPlay = As<ChannelPlayFn>(found, "BASS_ChannelPlay");
    bass->ChannelPause = As<ChannelFn>(found, "BASS_ChannelPause");
    bass->ChannelSetAttributes = As<ChannelSetAttributesFn>(found, "BASS_ChannelSetAttributes");
    bass->ChannelSetPosition = As<ChannelSetPositionFn>(found, "BASS_ChannelSetPosition");
    bass->ChannelIsActive = As<ChannelIsActiveFn>(found, "BASS_ChannelIsActive");
    bass->ChannelSetFlags = As<ChannelSetFlagsFn>(found, "BASS_ChannelSetFlags");
    bass->MusicLoad = As<MusicLoadFn>(found, "BASS_MusicLoad");
    bass->MusicLoadOld = As<MusicLoadOldFn>(found, "BASS_MusicLoad");
    bass->MusicFree = As<ChannelFn>(found, "BASS_MusicFree");
    bass->MusicSetAttribute = As<MusicSetAttributeFn>(found, "BASS_MusicSetAttribute");
    bass->StreamCreateFile = As<StreamCreateFileFn>(found, "BASS_StreamCreateFile");
    bass->StreamFree = As<ChannelFn>(found, "BASS_StreamFree");
    bass->PluginLoad = As<Platform::AnyFunction>(found, "BASS_PluginLoad");
    bass->ChannelGetLength = As<Platform::AnyFunction>(found, "BASS_ChannelGetLength");
    bass->ChannelPreBuf = As<Platform::AnyFunction>(found, "BASS_ChannelPreBuf");
    return bass;
}

CountedLibrary<BASS_INSTANCE> gLibrary(&Load);

} // namespace

BASS_INSTANCE* BASS_INSTANCE::Acquire()
{
    return gLibrary.Acquire();
}

void BASS_INSTANCE::Release()
{
    gLibrary.Release();
}

} // namespace Tandry
