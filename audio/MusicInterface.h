// Music and long ambient loops, apart from the sound effects. A track is
// addressed by a music id the caller chooses. This base is the silent back
// end: every operation does nothing (or answers false), so a program
// without sound uses it as it is. The real back ends derive from it; the
// application, the music playlist and the ambient sets call it.
#pragma once

#include <string>

namespace Tandry {

class MusicInterface {
public:
    MusicInterface() = default;
    MusicInterface(const MusicInterface&) = delete;
    MusicInterface& operator=(const MusicInterface&) = delete;
    virtual ~MusicInterface() = default;

    // Loads a stream (".wav", ".ogg", ".mp3") or a module under the id; an id
    // already taken keeps its track.
    virtual bool LoadTrack(int id, const std::string& fileName);
    // offset: a module order or a stream byte position; -1 sets none.
    virtual void PlayTrack(int id, int offset, bool noLoop);
    virtual void StopTrack(int id);
    virtual void PauseTrack(int id);
    virtual void ResumeTrack(int id);
    virtual void StopAllTracks();
    virtual void UnloadTrack(int id);
    virtual void UnloadAllTracks();
    virtual void PauseAllTracks();
    virtual void ResumeAllTracks();
    // Speeds are volume steps per UpdateFades.
    virtual void FadeTrackTo(int id, double volume, double speed);
    virtual void FadeInTrack(int id, int offset, double speed, bool noLoop);
    virtual void FadeOutTrack(int id, bool stopWhenFaded, double speed);
    virtual void FadeOutAllTracks(bool stopWhenFaded, double speed);
    virtual void SetTrackVolume(int id, double volume);
    virtual void SetTrackMaxVolume(int id, double volume);
    virtual bool IsTrackPlaying(int id);
    // 0..1, the volume of every track.
    virtual void SetMusicMasterVolume(double volume);
    virtual void SetTrackAmplification(int id, double amplification);
    // Advances the fades by one update.
    virtual void UpdateFades();
};

} // namespace Tandry
