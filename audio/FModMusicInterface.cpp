#include "audio/FModMusicInterface.h"

#include "audio/FmodInstance.h"
#include "platform/fs/SafeWrite.h"
#include "resources/pak/FileUtils.h"

#include <algorithm>
#include <vector>

namespace Tandry {
namespace {

using namespace Platform::Fmod;

void PutU16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutText(std::vector<uint8_t>& out, const char* four)
{
    out.insert(out.end(), four, four + 4);
}

uint32_t ChannelsOf(uint32_t mode)
{
    return (mode & kMono) != 0 ? 1 : 2;
}

uint32_t BitsOf(uint32_t mode)
{
    return (mode & k8Bits) != 0 ? 8 : 16;
}

// Copies the whole of source into at, through the source's lock.
void CopySample(const FMOD_INSTANCE& fmod, FSOUND_SAMPLE* source, uint8_t* at, uint64_t bytes)
{
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t length1 = 0;
    uint32_t length2 = 0;
    if (!fmod.SampleLock(source, 0, static_cast<int32_t>(bytes), &part1, &part2, &length1, &length2))
        return;
    std::copy_n(static_cast<const uint8_t*>(part1), std::min<uint64_t>(length1, bytes), at);
    fmod.SampleUnlock(source, part1, part2, length1, length2);
}

} // namespace

FModMusicInterface::FModMusicInterface(const std::string& userDataDir)
    : mFmod(FMOD_INSTANCE::Acquire())
    , mUserDataDir(userDataDir)
{
}

FModMusicInterface::~FModMusicInterface()
{
    FMOD_INSTANCE::Release();
}

FModMusicInterface::FModTrack* FModMusicInterface::Find(int id)
{
    const auto it = mTracks.find(id);
    return it == mTracks.end() ? nullptr : &it->second;
}

const FModMusicInterface::FModTrack* FModMusicInterface::FindTrack(int id) const
{
    const auto it = mTracks.find(id);
    return it == mTracks.end() ? nullptr : &it->second;
}

void FModMusicInterface::ApplyVolume(int id, const FModTrack& track)
{
    if (track.song != nullptr)
        mFmod->MusicSetMasterVolume(track.song, static_cast<int32_t>(track.volume * mMasterVolume * mSongVolumeScale));
    else
        mFmod->SetVolume(id, static_cast<int32_t>(track.volume * mMasterVolume * mSampleVolumeScale));
}

bool FModMusicInterface::LoadTrack(int id, const std::string& fileName)
{
    FMUSIC_MODULE* song = mFmod->MusicLoadSong(fileName.c_str());
    if (song == nullptr)
        return false;
    FModTrack track;
    track.song = song;
    mTracks.emplace(id, track);
    return true;
}

void FModMusicInterface::PlayTrack(int id, int offset, bool noLoop)
{
    FModTrack* track = Find(id);
    if (track == nullptr)
        return;
    track->volume = track->maxVolume;
    track->volumeAdd = 0;
    if (track->song != nullptr) {
        ApplyVolume(id, *track);
        mFmod->MusicSetLooping(track->song, noLoop ? 1 : 2);
        mFmod->MusicPlaySong(track->song);
        mFmod->MusicSetOrder(track->song, offset);
    } else {
        mFmod->PlaySound(id, track->sample);
        mFmod->SetLoopMode(id, track->loop ? kLoopNormal : kLoopOff);
        ApplyVolume(id, *track);
    }
}

void FModMusicInterface::StopTrack(int id)
{
    FModTrack* track = Find(id);
    if (track == nullptr)
        return;
    track->volume = 0;
    if (track->song != nullptr)
        mFmod->MusicStopSong(track->song);
    else
        mFmod->StopSound(id);
}

void FModMusicInterface::PauseTrack(int id)
{
    if (FModTrack* track = Find(id)) {
        if (track->song != nullptr)
            mFmod->MusicSetPaused(track->song, 1);
        else
            mFmod->SetPaused(id, 1);
    }
}

void FModMusicInterface::ResumeTrack(int id)
{
    if (FModTrack* track = Find(id)) {
        if (track->song != nullptr)
            mFmod->MusicSetPaused(track->song, 0);
        else
            mFmod->SetPaused(id, 0);
    }
}

void FModMusicInterface::StopAllTracks()
{
    for (auto& [id, track] : mTracks)
        StopTrack(id);
}

void FModMusicInterface::FadeInTrack(int id, int offset, double speed, bool noLoop)
{
    FModTrack* track = Find(id);
    if (track == nullptr)
        return;
    track->volumeAdd = speed;
    if (track->song != nullptr) {
        ApplyVolume(id, *track);
        mFmod->MusicSetLooping(track->song, noLoop ? 1 : 2);
        if (!mFmod->MusicIsPlaying(track->song))
            mFmod->MusicPlaySong(track->song);
        if (offset != -1)
            mFmod->MusicSetOrder(track->song, offset);
    } else {
        if (!mFmod->IsPlaying(id)) {
            mFmod->PlaySound(id, track->sample);
            mFmod->SetLoopMode(id, track->loop ? kLoopNormal : kLoopOff);
        }
        ApplyVolume(id, *track);
    }
}

void FModMusicInterface::FadeOutTrack(int id, bool stopWhenFaded, double speed)
{
    if (FModTrack* track = Find(id)) {
        track->volumeAdd = -speed;
        track->stopWhenFaded = stopWhenFaded;
    }
}

void FModMusicInterface::FadeOutAllTracks(bool stopWhenFaded, double speed)
{
    for (auto& [id, track] : mTracks)
        FadeOutTrack(id, stopWhenFaded, speed);
}

void FModMusicInterface::SetTrackVolume(int id, double volume)
{
    if (FModTrack* track = Find(id)) {
        track->volume = volume;
        ApplyVolume(id, *track);
    }
}

bool FModMusicInterface::IsTrackPlaying(int id)
{
    const FModTrack* track = Find(id);
    if (track == nullptr)
        return false;
    if (track->song != nullptr)
        return mFmod->MusicIsPlaying(track->song) != 0;
    return mFmod->IsPlaying(id) != 0;
}

void FModMusicInterface::SetMusicMasterVolume(double volume)
{
    mMasterVolume = volume;
    for (const auto& [id, track] : mTracks)
        ApplyVolume(id, track);
}

void FModMusicInterface::UpdateFades()
{
    for (auto& [id, track] : mTracks) {
        if (track.volumeAdd == 0)
            continue;
        track.volume += track.volumeAdd;
        if (track.volume > track.maxVolume) {
            track.volume = track.maxVolume;
            track.volumeAdd = 0;
        } else if (track.volume < 0) {
            track.volume = 0;
            track.volumeAdd = 0;
            if (track.stopWhenFaded) {
                if (track.song != nullptr)
                    mFmod->MusicStopSong(track.song);
                else
                    mFmod->StopSound(id);
            }
        }
        ApplyVolume(id, track);
    }
}

FSOUND_SAMPLE* FModMusicInterface::LoadCachedSample(const std::string& name)
{
    // Only the folder is created: a folder named after the cache file would
    // keep the file from ever being written.
    const std::string folder = mUserDataDir + "cached\\";
    CreateDirectories(folder);
    const std::string cachePath = folder + GetBaseFileName(name) + ".wav";
    // The cache is used whatever its age.
    if (FSOUND_SAMPLE* cached = mFmod->SampleLoad(kFreeIndex, cachePath.c_str(), 0, 0))
        return cached;
    const std::string oggName = name + ".ogg";
    FSOUND_SAMPLE* sample = mFmod->SampleLoad(kFreeIndex, oggName.c_str(), 0, 0);
    if (sample != nullptr)
        WriteCache(cachePath, sample);
    return sample;
}

void FModMusicInterface::WriteCache(const std::string& path, FSOUND_SAMPLE* sample)
{
    const uint32_t mode = mFmod->SampleGetMode(sample);
    int32_t rate = 0;
    mFmod->SampleGetDefaults(sample, &rate, nullptr, nullptr, nullptr);
    const uint32_t channels = ChannelsOf(mode);
    const uint32_t bits = BitsOf(mode);
    const uint32_t blockAlign = bits * channels / 8;
    const uint64_t dataLength = static_cast<uint64_t>(mFmod->SampleGetLength(sample)) * blockAlign;
    if (dataLength > INT32_MAX - 36)
        return;
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t length1 = 0;
    uint32_t length2 = 0;
    if (!mFmod->SampleLock(sample, 0, static_cast<int32_t>(dataLength), &part1, &part2, &length1, &length2))
        return;
    const auto length = static_cast<uint32_t>(std::min<uint64_t>(length1, dataLength));
    std::vector<uint8_t> file;
    file.reserve(44 + length);
    PutText(file, "RIFF");
    PutU32(file, length + 36);
    PutText(file, "WAVE");
    PutText(file, "fmt ");
    PutU32(file, 16);
    PutU16(file, 1);
    PutU16(file, channels);
    PutU32(file, static_cast<uint32_t>(rate));
    PutU32(file, static_cast<uint32_t>(rate) * blockAlign);
    PutU16(file, blockAlign);
    PutU16(file, bits);
    PutText(file, "data");
    PutU32(file, length);
    file.insert(file.end(), static_cast<const uint8_t*>(part1), static_cast<const uint8_t*>(part1) + length);
    mFmod->SampleUnlock(sample, part1, part2, length1, length2);
    // Written whole or not at all, so a later run never loads half a file.
    // A cache that cannot be written is skipped: the Ogg sample still plays.
    Platform::SafeWrite::WriteBytes(path, file.data(), file.size());
}

bool FModMusicInterface::LoadSampleTrack(int id, const std::string& name, bool loop)
{
    FSOUND_SAMPLE* sample = LoadCachedSample(name);
    if (sample == nullptr)
        return false;
    FModTrack track;
    track.sample = sample;
    track.loop = loop;
    mTracks.emplace(id, track);
    return true;
}

bool FModMusicInterface::LoadJoinedTrack(int id, const std::string& introName, const std::string& loopName,
                                         bool loop)
{
    FSOUND_SAMPLE* intro = LoadCachedSample(introName);
    FSOUND_SAMPLE* looped = LoadCachedSample(loopName);
    if (intro == nullptr || looped == nullptr)
        return false;
    int32_t introRate = 0;
    int32_t loopRate = 0;
    mFmod->SampleGetDefaults(intro, &introRate, nullptr, nullptr, nullptr);
    mFmod->SampleGetDefaults(looped, &loopRate, nullptr, nullptr, nullptr);
    const uint32_t mode = mFmod->SampleGetMode(intro);
    const uint32_t introLength = mFmod->SampleGetLength(intro);
    const uint32_t loopLength = mFmod->SampleGetLength(looped);
    if (introRate != loopRate || mode != mFmod->SampleGetMode(looped))
        return false;
    const uint64_t bytesPerSample = ((mode & k8Bits) != 0 ? 1 : 2) * ChannelsOf(mode);
    const uint64_t total = static_cast<uint64_t>(introLength) + loopLength;
    FSOUND_SAMPLE* joined = total * bytesPerSample > INT32_MAX
        ? nullptr
        : mFmod->SampleAlloc(kFreeIndex, static_cast<int32_t>(total), mode | kLoopNormal, introRate, 255, 128, 0);
    if (joined == nullptr)
        return false;
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t length1 = 0;
    uint32_t length2 = 0;
    const uint64_t introBytes = introLength * bytesPerSample;
    const uint64_t loopBytes = loopLength * bytesPerSample;
    if (mFmod->SampleLock(joined, 0, static_cast<int32_t>(total * bytesPerSample), &part1, &part2, &length1,
                          &length2)) {
        if (length1 >= introBytes + loopBytes) {
            auto* at = static_cast<uint8_t*>(part1);
            CopySample(*mFmod, intro, at, introBytes);
            CopySample(*mFmod, looped, at + introBytes, loopBytes);
        }
        mFmod->SampleUnlock(joined, part1, part2, length1, length2);
    }
    mFmod->SampleFree(intro);
    mFmod->SampleFree(looped);
    mFmod->SampleSetLoopPoints(joined, static_cast<int32_t>(introLength), static_cast<int32_t>(loopLength));
    FModTrack track;
    track.sample = joined;
    track.loop = loop;
    mTracks.emplace(id, track);
    return true;
}

} // namespace Tandry
