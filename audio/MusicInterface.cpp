#include "audio/MusicInterface.h"

namespace Tandry {

bool MusicInterface::LoadTrack(int /*id*/, const std::string& /*fileName*/)
{
    return false;
}

void MusicInterface::PlayTrack(int /*id*/, int /*offset*/, bool /*noLoop*/) {}
void MusicInterface::StopTrack(int /*id*/) {}
void MusicInterface::PauseTrack(int /*id*/) {}
void MusicInterface::ResumeTrack(int /*id*/) {}
void MusicInterface::StopAllTracks() {}
void MusicInterface::UnloadTrack(int /*id*/) {}
void MusicInterface::UnloadAllTracks() {}
void MusicInterface::PauseAllTracks() {}
void MusicInterface::ResumeAllTracks() {}
void MusicInterface::FadeTrackTo(int /*id*/, double /*volume*/, double /*speed*/) {}
void MusicInterface::FadeInTrack(int /*id*/, int /*offset*/, double /*speed*/, bool /*noLoop*/) {}
void MusicInterface::FadeOutTrack(int /*id*/, bool /*stopWhenFaded*/, double /*speed*/) {}
void MusicInterface::FadeOutAllTracks(bool /*stopWhenFaded*/, double /*speed*/) {}
void MusicInterface::SetTrackVolume(int /*id*/, double /*volume*/) {}
void MusicInterface::SetTrackMaxVolume(int /*id*/, double /*volume*/) {}

bool MusicInterface::IsTrackPlaying(int /*id*/)
{
    return false;
}

void MusicInterface::SetMusicMasterVolume(double /*volume*/) {}
void MusicInterface::SetTrackAmplification(int /*id*/, double /*amplification*/) {}
void MusicInterface::UpdateFades() {}

} // namespace Tandry
