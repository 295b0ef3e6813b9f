// Turns the language table's UTF-8 source into the UTF-16LE file with a byte
// order mark that the game reads as "res\\lang.ini". Lines end in CR LF in
// the output whatever they end in in the source. Used by the gamedata tool.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Tandry::GameData {

// False with error "line N: why" for bytes that are no strict UTF-8, or a
// byte order mark or NUL inside the text.
bool ConvertLangSource(std::string_view utf8, std::vector<uint8_t>& out, std::string& error);

} // namespace Tandry::GameData
