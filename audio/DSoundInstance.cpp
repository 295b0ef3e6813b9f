#include "audio/DSoundInstance.h"

#include "audio/DSoundManager.h"

#include <algorithm>
#include <cmath>

namespace Tandry {

DSoundInstance::DSoundInstance(DSoundManager* manager, Platform::DirectSoundBuffer* source)
    : mManager(manager)
    , mSourceBuffer(source)
{
    if (source != nullptr) {
        const Platform::HRESULT result = manager->GetDirectSound()->DuplicateSoundBuffer(source, &mBuffer);
        if (result != Platform::DS_OK)
            manager->FailDuplication(result);
        uint32_t frequency = 0;
        if (mBuffer->GetFrequency(&frequency) == Platform::DS_OK)
            mBaseFrequency = frequency;
    }
    ApplyVolume();
}

DSoundInstance::~DSoundInstance()
{
    if (mBuffer != nullptr)
        mBuffer->Release();
}

int32_t DSoundInstance::VolumeToHundredths(double v)
{
    // Volumes come from ini data: out of range they would give a value the
    // output refuses, or the logarithm of nothing.
    if (!(v > 0.0))
        v = 0.0;
    v = std::min(v, 1.0);
    const int32_t hundredths = static_cast<int32_t>((std::log10(9.0 * v + 1.0) - 1.0) * 2333.0);
    return hundredths < -2000 ? Platform::DSBVOLUME_MIN : hundredths;
}

uint32_t DSoundInstance::ShiftedFrequency(uint32_t base, double steps)
{
    double frequency = base * std::pow(1.0594630943592953, steps);
    if (!(frequency >= 100.0))
        frequency = 100.0;
    frequency = std::min(frequency, 100000.0);
    return static_cast<uint32_t>(frequency);
}

void DSoundInstance::ApplyVolume()
{
    if (mBuffer == nullptr)
        return;
    mBuffer->SetVolume(VolumeToHundredths(mPlayVolume * mDefaultVolume * mManager->masterVolume));
}

void DSoundInstance::ApplyPan()
{
    if (mBuffer != nullptr)
        mBuffer->SetPan(mPlayPan + mDefaultPan); // a refused pan leaves the old one
}

void DSoundInstance::Discard()
{
    Stop();
    mReleased = true;
}

void DSoundInstance::SetDefaultVolume(double volume)
{
    mDefaultVolume = volume;
    ApplyVolume();
}

void DSoundInstance::SetDefaultPan(int pan)
{
    mDefaultPan = pan;
    ApplyPan();
}

void DSoundInstance::ShiftPitch(double steps)
{
    if (mBuffer != nullptr)
        mBuffer->SetFrequency(ShiftedFrequency(mBaseFrequency, steps));
}

void DSoundInstance::SetPlayVolume(double volume)
{
    mPlayVolume = volume;
    ApplyVolume();
}

void DSoundInstance::SetPlayPan(int pan)
{
    mPlayPan = pan;
    ApplyPan();
}

bool DSoundInstance::Play(bool looping, bool autoRelease)
{
    Stop();
    mAutoRelease = autoRelease;
    mHasPlayed = true;
    if (mBuffer == nullptr)
        return false;
    return mBuffer->Play(0, 0, looping ? Platform::DSBPLAY_LOOPING : 0) == Platform::DS_OK;
}

void DSoundInstance::Stop()
{
    if (mBuffer == nullptr)
        return;
    mBuffer->Stop();
    mBuffer->SetCurrentPosition(0);
    mAutoRelease = false;
}

void DSoundInstance::StopKeepingAutoRelease()
{
    const bool autoRelease = mAutoRelease;
    Stop();
    mAutoRelease = autoRelease;
}

bool DSoundInstance::IsPlaying()
{
    if (!mHasPlayed || mBuffer == nullptr)
        return false;
    uint32_t status = 0;
    if (mBuffer->GetStatus(&status) != Platform::DS_OK)
        return false;
    return (status & Platform::DSBSTATUS_PLAYING) != 0;
}

bool DSoundInstance::IsDiscarded()
{
    if (!mReleased && mAutoRelease && mHasPlayed && !IsPlaying())
        Discard();
    return mReleased;
}

double DSoundInstance::GetPlayVolume()
{
    return mPlayVolume;
}

} // namespace Tandry
