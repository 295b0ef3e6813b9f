// The sound-effect mixer as the rest of the program sees it: sounds by small
// integer id (0..255, -1 for none), playing instances, the master volume and
// the speaker volume. The application owns the one manager and deletes it
// through this interface; the resource manager fills ids from the manifest,
// game code loads sounds by name, and the sound bank and ambient sounds play
// them.
#pragma once

#include "platform/window/WindowTypes.h"

#include <string>

namespace Tandry {

class SoundInstance;

class SoundManager {
public:
    virtual ~SoundManager() = default;

    // True when the sound output exists.
    virtual bool IsReady() = 0;
    // The id already holding that name, or the highest free id loaded from
    // it; -1 when none is free or the load fails.
    virtual int LoadSoundFile(const std::string& name) = 0;
    // Loads name plus ".wav", ".mp3" (FMOD only), ".ogg" or ".au" into id.
    virtual bool LoadSoundIntoSlot(int id, const std::string& name) = 0;
    virtual void FreeSound(int id) = 0;
    // 0..1, the volume of every sound effect.
    virtual void SetOverallVolume(double volume) = 0;
    // Base volume and pan of an id, used by instances made later.
    virtual bool SetSoundDefaultVolume(int id, double volume) = 0;
    virtual bool SetSoundDefaultPan(int id, int pan) = 0;
    // Null when no slot is free or the id holds no sound.
    virtual SoundInstance* NewSoundInstance(int soundId) = 0;
    virtual void FreeAllSounds() = 0;
    virtual void FreeAllInstances() = 0;
    // The speaker volume of the mixer, 0..1.
    virtual double GetSystemVolume() = 0;
    virtual void SetSystemVolume(double volume) = 0;
    // Binds the output to a re-created main window.
    virtual void SetWindow(Platform::WindowHandle window, bool windowed) = 0;
    // Stops every instance, keeping their auto-release flags.
    virtual void StopAllInstances() = 0;
    // The lowest free id, -1 when all are used.
    virtual int FindFreeSoundId() = 0;
    virtual int CountLoadedSounds() = 0;
};

} // namespace Tandry
