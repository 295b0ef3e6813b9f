// Turns the text description of a particle effect into the 128-byte
// parameter file the game's own particle engine reads from
// "data\\particles\\<effect>". Used by the gamedata tool.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace Tandry::GameData {

using ParticleBlock = std::array<uint8_t, 128>;

// Statements (each at most once; every value a number unless said):
//   cel N                  the cel of the sheet the particles show
//   blend normal|add
//   rate N                 particles per second
//   duration S|endless     seconds of emission
//   life MIN MAX           seconds
//   direction RADIANS      spread RADIANS     relative 0|1
//   speed MIN MAX          gravity MIN MAX    radial MIN MAX    tangential MIN MAX
//   size BIRTH DEATH VARIATION                spin BIRTH DEATH VARIATION
//   birth R G B A          death R G B A      (0..1 each)
//   variation COLOUR ALPHA
// What is not given is 0, except the alphas, which are 1.
bool ParseParticleDescription(std::string_view text, ParticleBlock& out, std::string& error);

} // namespace Tandry::GameData
