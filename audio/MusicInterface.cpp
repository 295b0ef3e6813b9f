#include "audio/MusicInterface.h"

namespace Tandry {

void MusicInterface::SetMusicMasterVolume(double /*volume*/) {}
void MusicInterface::UpdateFades() {}
void MusicInterface::StopAllTracks() {}

} // namespace Tandry
