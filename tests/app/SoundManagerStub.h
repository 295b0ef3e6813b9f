// A sound manager that does nothing and holds no sound, for the application's
// test fakes to derive from and record only what they look at.
#pragma once

#include "audio/SoundManager.h"

namespace AppTest {

class SoundManagerStub : public Tandry::SoundManager {
public:
    bool IsReady() override { return false; }
    int LoadSoundFile(const std::string&) override { return -1; }
    bool LoadSoundIntoSlot(int, const std::string&) override { return false; }
    void FreeSound(int) override {}
    void SetOverallVolume(double) override {}
    bool SetSoundDefaultVolume(int, double) override { return false; }
    bool SetSoundDefaultPan(int, int) override { return false; }
    Tandry::SoundInstance* NewSoundInstance(int) override { return nullptr; }
    void FreeAllSounds() override {}
    void FreeAllInstances() override {}
    double GetSystemVolume() override { return 1.0; }
    void SetSystemVolume(double) override {}
    void SetWindow(Platform::WindowHandle, bool) override {}
    void StopAllInstances() override {}
    int FindFreeSoundId() override { return -1; }
    int CountLoadedSounds() override { return 0; }
};

} // namespace AppTest
