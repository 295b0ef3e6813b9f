#include "audio/DSoundManager.h"

#include "audio/DSoundInstance.h"
#include "audio/FmodInstance.h"
#include "audio/SoundBufferWriter.h"
#include "audio/SoundFileLoaders.h"
#include "platform/Platform.h"
#include "platform/dsound/SoundMixer.h"

#include <algorithm>
#include <exception>

namespace Tandry {
namespace {

// The names the duplication failure box shows; other codes end without one.
const wchar_t* DuplicationFailureName(Platform::HRESULT result)
{
    switch (result) {
    case Platform::DSERR_OUTOFMEMORY: return L"DSERR_OUTOFMEMORY";
    case Platform::DSERR_INVALIDPARAM: return L"DSERR_INVALIDPARAM";
    case Platform::DSERR_ALLOCATED: return L"DSERR_ALLOCATED";
    case Platform::DSERR_INVALIDCALL: return L"DSERR_INVALIDCALL";
    case Platform::DSERR_UNINITIALIZED: return L"DSERR_UNINITIALIZED";
    default: return nullptr;
    }
}

} // namespace

DSoundManager::DSoundManager(Platform::WindowHandle window, bool fmod)
    : useFmod(fmod)
    , mWindow(window)
{
    mBaseVolumes.fill(1.0);
    if (window == nullptr)
        return;
    if (Platform::DirectSoundCreate(nullptr, &mDirectSound, nullptr) != Platform::DS_OK) {
        mDirectSound = nullptr;
        return;
    }
    if (useFmod) {
        // The library decodes MP3 sounds, and the FMOD music back end plays through it.
        mFmod = FMOD_INSTANCE::Acquire();
        mFmod->SetHWND(window);
        mFmod->SetBufferSize(200);
        mFmod->Init(44100, 64, 2);
    }
    if (mDirectSound->SetCooperativeLevel(window, Platform::DSSCL_PRIORITY) != Platform::DS_OK) {
        mDirectSound->SetCooperativeLevel(window, Platform::DSSCL_NORMAL);
        return;
    }
    Platform::DSoundBufferDesc desc;
    desc.flags = Platform::DSBCAPS_PRIMARYBUFFER;
    if (mDirectSound->CreateSoundBuffer(&desc, &mPrimaryBuffer, nullptr) != Platform::DS_OK) {
        mPrimaryBuffer = nullptr;
        return;
    }
    Platform::DSoundWaveFormat format = *PcmWaveFormat(2, 44100, 16);
    format.extraSize = 18;
    mPrimaryBuffer->SetFormat(&format);
}

DSoundManager::~DSoundManager()
{
    FreeAllInstances();
    FreeAllSounds();
    if (mPrimaryBuffer != nullptr)
        mPrimaryBuffer->Release();
    if (mDirectSound != nullptr) {
        if (mFmod != nullptr)
            mFmod->Close();
        mDirectSound->Release();
        if (mFmod != nullptr)
            FMOD_INSTANCE::Release();
        mFmod = nullptr;
    }
}

bool DSoundManager::IsReady()
{
    return mDirectSound != nullptr;
}

Platform::DirectSoundBuffer* DSoundManager::GetSoundBuffer(int id)
{
    if (!IsId(id))
        return nullptr;
    std::lock_guard<std::mutex> hold(mLock);
    return mSoundBuffers[id];
}

int DSoundManager::LoadSoundFile(const std::string& name)
{
    int id = -1;
    {
        std::lock_guard<std::mutex> hold(mLock);
        for (int i = 0; i < kSoundIds; ++i)
            if (mSoundNames[i] == name && (mSoundBuffers[i] != nullptr || mLoading[i]))
                return i;
        for (int i = kSoundIds - 1; i >= 0 && id < 0; --i)
            if (mSoundBuffers[i] == nullptr && !mLoading[i])
                id = i;
        if (id < 0)
            return -1;
        // Without output a load answers true and stores nothing.
        if (mDirectSound == nullptr)
            return id;
        mSoundNames[id] = name;
        mLoading[id] = true;
    }
    return LoadReserved(id, name) ? id : -1;
}

bool DSoundManager::LoadSoundIntoSlot(int id, const std::string& name)
{
    if (!IsId(id))
        return false;
    FreeSound(id);
    if (mDirectSound == nullptr)
        return true;
    {
        std::lock_guard<std::mutex> hold(mLock);
        if (mLoading[id])
            return false; // another thread is filling it
        mSoundNames[id] = name;
        mLoading[id] = true;
    }
    return LoadReserved(id, name);
}

bool DSoundManager::LoadReserved(int id, const std::string& name)
{
    Platform::DirectSound& sound = *mDirectSound;
    Platform::DirectSoundBuffer* buffer = LoadWavSound(sound, name + ".wav");
    if (buffer == nullptr && useFmod && mFmod != nullptr)
        buffer = LoadMp3Sound(sound, *mFmod, name + ".mp3");
    if (buffer == nullptr)
        buffer = LoadOggSound(sound, name + ".ogg");
    if (buffer == nullptr)
        buffer = LoadAuSound(sound, name + ".au");
    std::lock_guard<std::mutex> hold(mLock);
    mLoading[id] = false;
    mSoundBuffers[id] = buffer;
    // A failed name must not answer a later LoadSoundFile with an empty id.
    if (buffer == nullptr)
        mSoundNames[id].clear();
    return buffer != nullptr;
}

void DSoundManager::FreeLocked(int id)
{
    if (mSoundBuffers[id] == nullptr)
        return;
    mSoundBuffers[id]->Release();
    mSoundBuffers[id] = nullptr;
    mSoundNames[id].clear();
}

void DSoundManager::FreeSound(int id)
{
    if (!IsId(id))
        return;
    std::lock_guard<std::mutex> hold(mLock);
    FreeLocked(id);
}

void DSoundManager::FreeAllSounds()
{
    std::lock_guard<std::mutex> hold(mLock);
    for (int id = 0; id < kSoundIds; ++id)
        FreeLocked(id);
}

void DSoundManager::SetOverallVolume(double volume)
{
    // The application passes what its settings hold; the law needs 0..1.
    masterVolume = volume > 0.0 ? std::min(volume, 1.0) : 0.0;
    std::lock_guard<std::mutex> hold(mLock);
    for (DSoundInstance* instance : mInstances)
        if (instance != nullptr)
            instance->ApplyVolume();
}

bool DSoundManager::SetSoundDefaultVolume(int id, double volume)
{
    if (!IsId(id))
        return false;
    std::lock_guard<std::mutex> hold(mLock);
    mBaseVolumes[id] = volume;
    return true;
}

bool DSoundManager::SetSoundDefaultPan(int id, int pan)
{
    if (!IsId(id))
        return false;
    std::lock_guard<std::mutex> hold(mLock);
    mBasePans[id] = pan;
    return true;
}

void DSoundManager::SweepLocked(uint32_t now)
{
    for (DSoundInstance*& instance : mInstances) {
        if (instance != nullptr && instance->IsDiscarded()) {
            delete instance;
            instance = nullptr;
        }
    }
    mLastSweepTime = now;
}

SoundInstance* DSoundManager::NewSoundInstance(int soundId)
{
    if (!IsId(soundId))
        return nullptr;
    std::lock_guard<std::mutex> hold(mLock);
    const uint32_t now = Platform::GetPlatform().GetClock().GetTickCount();
    if (now - mLastSweepTime > 1000)
        SweepLocked(now);
    int slot = -1;
    for (int i = 0; i < kInstanceSlots && slot < 0; ++i) {
        if (mInstances[i] == nullptr) {
            slot = i;
        } else if (mInstances[i]->IsDiscarded()) {
            delete mInstances[i];
            mInstances[i] = nullptr;
            slot = i;
        }
    }
    if (slot < 0)
        return nullptr;
    Platform::DirectSoundBuffer* source = nullptr;
    if (mDirectSound != nullptr) {
        source = mSoundBuffers[soundId];
        if (source == nullptr)
            return nullptr;
    }
    auto* instance = new DSoundInstance(this, source);
    mInstances[slot] = instance;
    instance->SetDefaultPan(mBasePans[soundId]);
    instance->SetDefaultVolume(mBaseVolumes[soundId]);
    return instance;
}

void DSoundManager::FreeAllInstances()
{
    std::lock_guard<std::mutex> hold(mLock);
    for (DSoundInstance*& instance : mInstances) {
        delete instance;
        instance = nullptr;
    }
}

double DSoundManager::GetSystemVolume()
{
    return Platform::SoundMixer::GetSpeakerVolume() / static_cast<double>(Platform::SoundMixer::kFullSpeakerVolume);
}

void DSoundManager::SetSystemVolume(double volume)
{
    const double limited = volume > 0.0 ? std::min(volume, 1.0) : 0.0;
    Platform::SoundMixer::SetSpeakerVolume(
        static_cast<uint32_t>(limited * Platform::SoundMixer::kFullSpeakerVolume));
}

void DSoundManager::SetWindow(Platform::WindowHandle window, bool /*windowed*/)
{
    if (mDirectSound == nullptr)
        return;
    mWindow = window;
    mDirectSound->SetCooperativeLevel(window, Platform::DSSCL_NORMAL);
}

void DSoundManager::StopAllInstances()
{
    std::lock_guard<std::mutex> hold(mLock);
    for (DSoundInstance* instance : mInstances)
        if (instance != nullptr)
            instance->StopKeepingAutoRelease();
}

int DSoundManager::FindFreeSoundId()
{
    std::lock_guard<std::mutex> hold(mLock);
    for (int id = 0; id < kSoundIds; ++id)
        if (mSoundBuffers[id] == nullptr && !mLoading[id])
            return id;
    return -1;
}

int DSoundManager::CountLoadedSounds()
{
    std::lock_guard<std::mutex> hold(mLock);
    return static_cast<int>(std::count_if(mSoundBuffers.begin(), mSoundBuffers.end(),
                                          [](const Platform::DirectSoundBuffer* buffer) { return buffer != nullptr; }));
}

void DSoundManager::FailDuplication(Platform::HRESULT result)
{
    if (const wchar_t* name = DuplicationFailureName(result))
        Platform::GetPlatform().GetDialogs().MessageBoxW(mWindow, name, L"Hey", 0);
    Platform::GetPlatform().GetProcess().Exit(0);
    std::terminate(); // Exit does not return
}

} // namespace Tandry
