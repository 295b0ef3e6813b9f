// The music back end over the FMOD library, made by the application instead
// of the BASS back end when the FMOD choice is set. Module songs play through
// the library's FMUSIC calls; sample tracks play on the FSOUND channel of
// their music id. Ogg files are decoded once into plain WAV files in the
// "cached" folder under the user data folder, which the library then loads
// directly. The sound manager starts and closes the library; this interface
// only holds a reference to it.
#pragma once

#include "audio/MusicInterface.h"
#include "platform/music/FmodTypes.h"

#include <map>
#include <string>

namespace Tandry {

struct FMOD_INSTANCE;

class FModMusicInterface : public MusicInterface {
public:
    struct FModTrack {
        Platform::Fmod::FSOUND_SAMPLE* sample = nullptr;
        Platform::Fmod::FMUSIC_MODULE* song = nullptr; // set: a song, else a sample track
        double volume = 0.0;
        double volumeAdd = 0.0;
        double maxVolume = 1.0;
        bool stopWhenFaded = false;
        bool loop = false;
    };

    // userDataDir ends with a separator; the cache lies under it.
    explicit FModMusicInterface(const std::string& userDataDir);
    // Songs and samples stay with the library, which frees them when it closes.
    ~FModMusicInterface() override;

    // Always a module song, whatever the extension.
    bool LoadTrack(int id, const std::string& fileName) override;
    void PlayTrack(int id, int offset, bool noLoop) override;
    void StopTrack(int id) override;
    void PauseTrack(int id) override;
    void ResumeTrack(int id) override;
    void StopAllTracks() override;
    void FadeInTrack(int id, int offset, double speed, bool noLoop) override;
    void FadeOutTrack(int id, bool stopWhenFaded, double speed) override;
    void FadeOutAllTracks(bool stopWhenFaded, double speed) override;
    void SetTrackVolume(int id, double volume) override;
    bool IsTrackPlaying(int id) override;
    void SetMusicMasterVolume(double volume) override;
    void UpdateFades() override;

    // Names without extension. An intro and a loop part joined into one
    // sample that loops over the loop part; false when either does not load
    // or their frequencies or modes differ.
    virtual bool LoadJoinedTrack(int id, const std::string& introName, const std::string& loopName, bool loop);
    virtual bool LoadSampleTrack(int id, const std::string& name, bool loop);

    // For tests.
    const FModTrack* FindTrack(int id) const;

private:
    // The cached WAV of the name's base name, or the name's Ogg, which is
    // then written to the cache. Null when neither loads.
    Platform::Fmod::FSOUND_SAMPLE* LoadCachedSample(const std::string& name);
    void WriteCache(const std::string& path, Platform::Fmod::FSOUND_SAMPLE* sample);
    void ApplyVolume(int id, const FModTrack& track);
    void Start(int id, FModTrack& track, int offset, bool noLoop, bool onlyWhenIdle);
    FModTrack* Find(int id);

    FMOD_INSTANCE* mFmod;
    std::string mUserDataDir;
    std::map<int, FModTrack> mTracks;
    double mMasterVolume = 1.0;
    int mSongVolumeScale = 100;
    int mSampleVolumeScale = 100;
};

} // namespace Tandry
