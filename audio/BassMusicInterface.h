// The music back end over the BASS library (loaded at run time, shared
// through BASS_INSTANCE), bound to the window it is given. The application
// makes it at start-up unless sound is off or FMOD was chosen. Tracks are
// streams (WAV, Ogg, MP3), from memory when their file lies in a pack, or
// module music; every volume and fade is kept here and handed to the library.
#pragma once

#include "audio/MusicInterface.h"
#include "platform/music/BassTypes.h"
#include "platform/window/WindowTypes.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace Tandry {

struct BASS_INSTANCE;

struct BassTrack {
    Platform::Bass::HANDLE music = 0;  // module music
    Platform::Bass::HANDLE stream = 0; // a stream
    double volume = 0.0;
    double volumeAdd = 0.0;    // added on every UpdateFades; 0 = not fading
    double maxVolume = 1.0;    // ceiling of fades, start volume of PlayTrack
    double targetVolume = -1.0; // 0 or more: FadeTrackTo runs toward it
    bool stopWhenFaded = false;

    Platform::Bass::HANDLE Handle() const { return music != 0 ? music : stream; }
};

class BassMusicInterface : public MusicInterface {
public:
    explicit BassMusicInterface(Platform::WindowHandle window);
    ~BassMusicInterface() override;

    bool LoadTrack(int id, const std::string& fileName) override;
    void PlayTrack(int id, int offset, bool noLoop) override;
    void StopTrack(int id) override;
    void PauseTrack(int id) override;
    void ResumeTrack(int id) override;
    void StopAllTracks() override;
    void UnloadTrack(int id) override;
    void UnloadAllTracks() override;
    void PauseAllTracks() override;
    void ResumeAllTracks() override;
    void FadeTrackTo(int id, double volume, double speed) override;
    void FadeInTrack(int id, int offset, double speed, bool noLoop) override;
    void FadeOutTrack(int id, bool stopWhenFaded, double speed) override;
    void FadeOutAllTracks(bool stopWhenFaded, double speed) override;
    void SetTrackVolume(int id, double volume) override;
    void SetTrackMaxVolume(int id, double volume) override;
    bool IsTrackPlaying(int id) override;
    void SetMusicMasterVolume(double volume) override;
    void SetTrackAmplification(int id, double amplification) override;
    void UpdateFades() override;

    // File contents handed to the library as streams from memory; freed only
    // when the interface is destroyed.
    std::vector<std::unique_ptr<uint8_t[]>> keptBlocks;
    std::map<int, BassTrack> tracks;
    // Full scale of the older library's global volumes.
    int globalVolumeScale = 40;

private:
    BassTrack* Find(int id);
    void ApplyVolume(const BassTrack& track);
    void StopSteps(BassTrack& track);
    void FreeHandles(const BassTrack& track);
    // Module music: stop, move to the order, set the flags, play.
    void PlayAtOrder(Platform::Bass::HANDLE handle, int order, Platform::Bass::DWORD flags);
    // The stream steps shared by PlayTrack and FadeInTrack.
    void PlayStream(const BassTrack& track, int offset, bool noLoop);
    Platform::Bass::HANDLE LoadStream(const std::string& fileName);
    Platform::Bass::HANDLE LoadModule(const std::string& fileName);

    BASS_INSTANCE* mBass;
};

} // namespace Tandry
