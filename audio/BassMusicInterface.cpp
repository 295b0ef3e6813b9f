#include "audio/BassMusicInterface.h"

#include "audio/BassInstance.h"
#include "platform/dsound/SoundMixer.h"
#include "resources/pak/PakFile.h"
#include "resources/pak/PakFileHandle.h"
#include "resources/pak/PakRecord.h"

#include <cmath>
#include <new>

namespace Tandry {
namespace {

using namespace Platform::Bass;

// trunc(v × scale) as the library's int.
int32_t Scaled(double v, double scale)
{
    const double x = std::trunc(v * scale);
    if (!(x == x))
        return 0;
    return static_cast<int32_t>(std::fmax(-2147483648.0, std::fmin(2147483647.0, x)));
}

std::string LowerExtension(const std::string& fileName)
{
    const size_t dot = fileName.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : fileName.substr(dot + 1);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

// The whole file into a new block; null when it cannot be read.
std::unique_ptr<uint8_t[]> ReadWhole(PakFileHandle* file, uint64_t size)
{
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[size == 0 ? 1 : size]);
    if (block == nullptr || PakReadBytes(file, block.get(), size) != size)
        return nullptr;
    return block;
}

} // namespace

BassMusicInterface::BassMusicInterface(Platform::WindowHandle window)
    : mBass(BASS_INSTANCE::Acquire())
{
    // Initialising the library may move the speaker volume; it is put back.
    const uint32_t speaker = Platform::SoundMixer::GetSpeakerVolume();
    if (mBass->isVersion2) {
        mBass->Init(1, 44100, 0, window, nullptr);
        mBass->SetConfig(kConfigBuffer, 2000);
    } else {
        mBass->InitOld(-1, 44100, 0, window);
    }
    Platform::SoundMixer::SetSpeakerVolume(speaker);
    mBass->Start();
}

BassMusicInterface::~BassMusicInterface()
{
    mBass->Stop();
    mBass->Free();
    BASS_INSTANCE::Release();
    keptBlocks.clear();
    tracks.clear();
}

BassTrack* BassMusicInterface::Find(int id)
{
    const auto it = tracks.find(id);
    return it == tracks.end() ? nullptr : &it->second;
}

void BassMusicInterface::ApplyVolume(const BassTrack& track)
{
    mBass->ChannelSetAttributes(track.Handle(), kKeepFrequency, Scaled(track.volume, 100), kKeepPan);
}

HANDLE BassMusicInterface::LoadStream(const std::string& fileName)
{
    PakFileHandle* file = PakOpen(fileName, "rb");
    if (file == nullptr)
        return 0;
    HANDLE handle = 0;
    if (file->record != nullptr) {
        const uint64_t size = file->record->size;
        std::unique_ptr<uint8_t[]> block = ReadWhole(file, size);
        if (block != nullptr) {
            handle = mBass->StreamCreateFile(true, block.get(), 0, size, 0);
            if (handle != 0)
                keptBlocks.push_back(std::move(block));
        }
    } else {
        handle = mBass->StreamCreateFile(false, fileName.c_str(), 0, 0, 0);
    }
    PakClose(file);
    return handle;
}

HANDLE BassMusicInterface::LoadModule(const std::string& fileName)
{
    PakFileHandle* file = PakOpen(fileName, "rb");
    if (file == nullptr)
        return 0;
    // The library reads a module by name; the bytes are only read through.
    PakSeek(file, 0, SEEK_END);
    const int64_t size = PakTell(file);
    PakSeek(file, 0, SEEK_SET);
    const std::unique_ptr<uint8_t[]> block = ReadWhole(file, size > 0 ? static_cast<uint64_t>(size) : 0);
    PakClose(file);
    if (mBass->isVersion2)
        return mBass->MusicLoad(false, fileName.c_str(), 0, 0, 0x204, 0);
    return mBass->MusicLoadOld(false, fileName.c_str(), 0, 0, kSampleLoop);
}

bool BassMusicInterface::LoadTrack(int id, const std::string& fileName)
{
    const std::string extension = LowerExtension(fileName);
    BassTrack track;
    if (extension == "wav" || extension == "ogg" || extension == "mp3")
        track.stream = LoadStream(fileName);
    else
        track.music = LoadModule(fileName);
    if (track.Handle() == 0)
        return false;
    if (!tracks.emplace(id, track).second)
        FreeHandles(track); // the id keeps its track, and nothing else could free this one
    return true;
}

void BassMusicInterface::PlayAtOrder(HANDLE handle, int order, DWORD flags)
{
    mBass->ChannelStop(handle);
    mBass->ChannelSetPosition(handle, 0xFFFFFFFF80000000ull | (static_cast<uint32_t>(order) & 0xFFFF));
    mBass->ChannelSetFlags(handle, flags);
    mBass->ChannelPlay(handle, false);
}

void BassMusicInterface::PlayStream(const BassTrack& track, int offset, bool noLoop)
{
    mBass->ChannelSetFlags(track.stream, noLoop ? 0 : kSampleLoop);
    mBass->ChannelPlay(track.stream, offset != -1);
    if (offset >= 1)
        mBass->ChannelSetPosition(track.stream, static_cast<QWORD>(offset));
}

void BassMusicInterface::PlayTrack(int id, int offset, bool noLoop)
{
    BassTrack* track = Find(id);
    if (track == nullptr)
        return;
    track->volume = track->maxVolume;
    track->stopWhenFaded = noLoop;
    track->volumeAdd = 0;
    ApplyVolume(*track);
    mBass->ChannelStop(track->Handle());
    if (track->music != 0)
        PlayAtOrder(track->music, offset, (noLoop ? 0 : kSampleLoop) | (mBass->isVersion2 ? 0x8200 : 0));
    else
        PlayStream(*track, offset, noLoop);
}

void BassMusicInterface::FadeInTrack(int id, int offset, double speed, bool noLoop)
{
    BassTrack* track = Find(id);
    if (track == nullptr)
        return;
    track->volumeAdd = speed;
    track->stopWhenFaded = noLoop;
    mBass->ChannelStop(track->Handle());
    ApplyVolume(*track);
    if (track->music == 0)
        PlayStream(*track, offset, noLoop);
    else if (offset == -1)
        mBass->ChannelPlay(track->music, true);
    else
        PlayAtOrder(track->music, offset, (noLoop ? 0 : kSampleLoop) | (mBass->isVersion2 ? 0x200 : 0));
}

void BassMusicInterface::StopSteps(BassTrack& track)
{
    track.volume = 0;
    track.targetVolume = -1;
    mBass->ChannelStop(track.Handle());
}

void BassMusicInterface::StopTrack(int id)
{
    if (BassTrack* track = Find(id))
        StopSteps(*track);
}

void BassMusicInterface::PauseTrack(int id)
{
    if (BassTrack* track = Find(id))
        mBass->ChannelPause(track->Handle());
}

void BassMusicInterface::ResumeTrack(int id)
{
    if (BassTrack* track = Find(id))
        mBass->ChannelPlay(track->Handle(), false);
}

void BassMusicInterface::StopAllTracks()
{
    for (auto& [id, track] : tracks)
        StopSteps(track);
}

void BassMusicInterface::FreeHandles(const BassTrack& track)
{
    if (track.stream != 0)
        mBass->StreamFree(track.stream);
    else
        mBass->MusicFree(track.music);
}

void BassMusicInterface::UnloadTrack(int id)
{
    BassTrack* track = Find(id);
    if (track == nullptr)
        return;
    StopSteps(*track);
    FreeHandles(*track);
    tracks.erase(id);
}

void BassMusicInterface::UnloadAllTracks()
{
    StopAllTracks();
    for (auto& [id, track] : tracks)
        FreeHandles(track);
    tracks.clear();
}

void BassMusicInterface::PauseAllTracks()
{
    for (auto& [id, track] : tracks)
        if (mBass->ChannelIsActive(track.Handle()) == kActivePlaying)
            mBass->ChannelPause(track.Handle());
}

void BassMusicInterface::ResumeAllTracks()
{
    for (auto& [id, track] : tracks)
        if (mBass->ChannelIsActive(track.Handle()) == kActivePaused)
            mBass->ChannelPlay(track.Handle(), false);
}

void BassMusicInterface::FadeTrackTo(int id, double volume, double speed)
{
    BassTrack* track = Find(id);
    if (track == nullptr || volume == track->volume)
        return;
    track->volumeAdd = volume < track->volume ? -speed : speed;
    track->targetVolume = volume;
}

void BassMusicInterface::FadeOutTrack(int id, bool stopWhenFaded, double speed)
{
    BassTrack* track = Find(id);
    if (track == nullptr)
        return;
    if (track->volume != 0) {
        track->targetVolume = -1;
        track->volumeAdd = -speed;
    }
    track->stopWhenFaded = stopWhenFaded;
}

void BassMusicInterface::FadeOutAllTracks(bool stopWhenFaded, double speed)
{
    for (auto& [id, track] : tracks) {
        track.volumeAdd = -speed;
        track.stopWhenFaded = stopWhenFaded;
        track.targetVolume = -1;
    }
}

void BassMusicInterface::SetTrackVolume(int id, double volume)
{
    if (BassTrack* track = Find(id)) {
        track->volume = volume;
        ApplyVolume(*track);
    }
}

void BassMusicInterface::SetTrackMaxVolume(int id, double volume)
{
    if (BassTrack* track = Find(id)) {
        track->maxVolume = volume;
        track->volume = std::fmin(track->volume, volume);
        ApplyVolume(*track);
    }
}

bool BassMusicInterface::IsTrackPlaying(int id)
{
    const BassTrack* track = Find(id);
    return track != nullptr && mBass->ChannelIsActive(track->Handle()) == kActivePlaying;
}

void BassMusicInterface::SetMusicMasterVolume(double volume)
{
    if (mBass->isVersion2) {
        const auto value = static_cast<DWORD>(std::max(0, Scaled(volume, 100)));
        mBass->SetConfig(kConfigMusicVolume, value);
        mBass->SetConfig(kConfigStreamVolume, value);
    } else if (mBass->SetGlobalVolumes != nullptr) {
        // An older library with only "BASS_SetVolume" has no global volumes to set.
        const int32_t value = Scaled(volume, globalVolumeScale);
        mBass->SetGlobalVolumes(value, value, value);
    }
}

void BassMusicInterface::SetTrackAmplification(int id, double amplification)
{
    if (BassTrack* track = Find(id))
        mBass->MusicSetAttribute(track->Handle(), 0, static_cast<DWORD>(Scaled(amplification, 100)));
}

void BassMusicInterface::UpdateFades()
{
    for (auto& [id, track] : tracks) {
        if (track.volumeAdd == 0)
            continue;
        track.volume += track.volumeAdd;
        if (track.targetVolume >= 0) {
            if (std::fabs(track.volumeAdd) >= std::fabs(track.targetVolume - track.volume)) {
                track.volume = track.targetVolume;
                track.targetVolume = -1;
                track.volumeAdd = 0;
            }
        } else if (track.volume > track.maxVolume) {
            track.volume = track.maxVolume;
            track.volumeAdd = 0;
        } else if (track.volume < 0) {
            track.volume = 0;
            track.volumeAdd = 0;
            if (track.stopWhenFaded)
                mBass->ChannelStop(track.Handle());
        }
        ApplyVolume(track);
    }
}

} // namespace Tandry
