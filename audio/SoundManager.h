// The sound-effect mixer as the rest of the program sees it: sounds by small
// integer id, playing instances, the master volume and the speaker volume.
// The application owns the one manager and deletes it through this interface.
#pragma once

#include "platform/window/WindowTypes.h"

namespace Tandry {

class SoundInstance;

class SoundManager {
public:
    virtual ~SoundManager() = default;

    // 0..1, the volume of every sound effect.
    virtual void SetOverallVolume(double volume) = 0;
    // The speaker volume of the mixer, 0..1.
    virtual double GetSystemVolume() = 0;
    virtual void SetSystemVolume(double volume) = 0;
    // Null when no slot is free or the id holds no sound.
    virtual SoundInstance* NewSoundInstance(int soundId) = 0;
    // Binds the output to a re-created main window.
    virtual void SetWindow(Platform::WindowHandle window, bool windowed) = 0;
    virtual void StopAllInstances() = 0;
    virtual int CountLoadedSounds() = 0;
    // Releases the sound of the id; an id outside the table is ignored.
    virtual void FreeSound(int soundId) = 0;
};

} // namespace Tandry
