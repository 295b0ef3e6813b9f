// Music and long ambient loops, apart from the sound effects. This base is the
// silent back end: every operation does nothing, so a program without sound
// uses it as it is. The real back ends derive from it.
#pragma once

namespace Tandry {

class MusicInterface {
public:
    MusicInterface() = default;
    MusicInterface(const MusicInterface&) = delete;
    MusicInterface& operator=(const MusicInterface&) = delete;
    virtual ~MusicInterface() = default;

    // 0..1, the volume of every track.
    virtual void SetMusicMasterVolume(double volume);
    // Advances the fades by one update.
    virtual void UpdateFades();
    virtual void StopAllTracks();
};

} // namespace Tandry
