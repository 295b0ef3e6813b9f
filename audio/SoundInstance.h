// One playing copy of a loaded sound. The sound manager makes them and owns
// them; a caller that plays one with autoRelease never touches it again, and
// one that keeps it calls Discard when done. Volumes are linear 0..1, pans in
// hundredths of a decibel, pitch shifts in semitones.
#pragma once

namespace Tandry {

class SoundInstance {
public:
    virtual ~SoundInstance() = default;

    // Stops it and gives its slot back to the manager, which deletes it later.
    virtual void Discard() = 0;
    virtual void SetDefaultVolume(double volume) = 0;
    virtual void SetDefaultPan(int pan) = 0;
    // Semitones from the sound's own frequency, not added up.
    virtual void ShiftPitch(double steps) = 0;
    virtual void SetPlayVolume(double volume) = 0;
    // A pan in hundredths of a decibel, added to the sound's own pan.
    virtual void SetPlayPan(int pan) = 0;
    // Restarts from the beginning. With autoRelease the instance frees itself
    // once it has finished.
    virtual bool Play(bool looping, bool autoRelease) = 0;
    virtual void Stop() = 0;
    virtual bool IsPlaying() = 0;
    // Discards a finished auto-release instance first.
    virtual bool IsDiscarded() = 0;
    virtual double GetPlayVolume() = 0;
};

} // namespace Tandry
