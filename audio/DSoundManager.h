// The sound manager over the platform's sound output. Made once by the
// application's start-up, with no window when sound is switched off.
#pragma once

#include "audio/SoundManager.h"

namespace Tandry {

class DSoundManager : public SoundManager {
public:
    DSoundManager(Platform::WindowHandle window, bool useFmod);
    ~DSoundManager() override = default;

    void SetOverallVolume(double volume) override;
    double GetSystemVolume() override;
    void SetSystemVolume(double volume) override;
    SoundInstance* NewSoundInstance(int soundId) override;
    void SetWindow(Platform::WindowHandle window, bool windowed) override;
    void StopAllInstances() override;
    int CountLoadedSounds() override;
    void FreeSound(int soundId) override;

    double masterVolume = 1.0;
    // Also decode ".mp3" files through the FMOD library.
    bool useFmod;

private:
    double mSystemVolume = 1.0;
};

} // namespace Tandry
