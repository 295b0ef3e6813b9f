// Writes synthesised sounds as 16-bit PCM WAV, the form of the game's sound
// effects. Used by the gamesound tool and its tests.
#pragma once

#include "tools/gamedata/SoundDescription.h"

#include <cstdint>
#include <vector>

namespace Tandry::GameData {

std::vector<uint8_t> EncodeWav(const SynthSound& sound);

} // namespace Tandry::GameData
