#include "audio/DSoundManager.h"

namespace Tandry {

DSoundManager::DSoundManager(Platform::WindowHandle /*window*/, bool fmod) : useFmod(fmod)
{
    // TODO: the sound output, the primary buffer and the sound slots come with the sound manager.
}

void DSoundManager::SetOverallVolume(double volume)
{
    // TODO: applying the volume to the playing instances comes with the sound manager.
    masterVolume = volume;
}

double DSoundManager::GetSystemVolume()
{
    // TODO: the mixer's speaker volume comes with the sound manager.
    return mSystemVolume;
}

void DSoundManager::SetSystemVolume(double volume)
{
    // TODO: the mixer's speaker volume comes with the sound manager.
    mSystemVolume = volume;
}

SoundInstance* DSoundManager::NewSoundInstance(int /*soundId*/)
{
    // TODO: loaded sounds and their instances come with the sound manager.
    return nullptr;
}

void DSoundManager::SetWindow(Platform::WindowHandle /*window*/, bool /*windowed*/)
{
    // TODO: re-binding the sound output comes with the sound manager.
}

void DSoundManager::StopAllInstances()
{
    // TODO: stopping the playing instances comes with the sound manager.
}

int DSoundManager::CountLoadedSounds()
{
    // TODO: loaded sounds come with the sound manager.
    return 0;
}

void DSoundManager::FreeSound(int /*soundId*/)
{
    // TODO: releasing a loaded sound comes with the sound manager.
}

} // namespace Tandry
