// Writes synthesised sounds as Ogg Vorbis through libvorbisenc, the form of
// the game's music, with a fixed stream serial number so that the same
// samples give the same bytes. Only the gamesound tool links the encoder:
// everything else decodes with Tremor, whose names clash with libvorbis.
#pragma once

#include "tools/gamedata/SoundDescription.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Tandry::GameData {

// False with error when the encoder refuses the rate or channel count.
bool EncodeOgg(const SynthSound& sound, std::vector<uint8_t>& out, std::string& error);

} // namespace Tandry::GameData
