// One playing copy of a loaded sound. The sound manager makes them and owns
// them; a caller that plays one with autoRelease never touches it again.
#pragma once

namespace Tandry {

class SoundInstance {
public:
    virtual ~SoundInstance() = default;

    // A pan in hundredths of a decibel, added to the sound's own pan.
    virtual void SetPlayPan(int pan) = 0;
    // With autoRelease the instance frees itself once it has finished.
    virtual bool Play(bool looping, bool autoRelease) = 0;
};

} // namespace Tandry
