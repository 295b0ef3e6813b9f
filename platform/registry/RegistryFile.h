// The text form of the registry store, as the settings file keeps it:
//
//   ; comment lines and blank lines are skipped
//   [SOFTWARE\Hollowmere\Moorglen]      one section per key path
//   MusicVolume=4:55000000              name=type:bytes in hex
//   ;end                                closes the file
//
// Names escape every byte outside '!'..'~' and the bytes % = [ ] ; " \ # as
// %XX, so any byte survives the round trip. What an editor adds by hand is
// taken: a UTF-8 byte-order mark, blanks at the end of a line, blank lines
// anywhere. A file without ";end" whose lines all parse is taken too (written
// by hand or by an older version); closed tells the caller so. Parsing is all
// or nothing: a line that does not parse, or a last line without its line end
// (a value cut short), gives an error naming it and leaves the store empty.
#pragma once

#include "platform/registry/RegistryStore.h"

#include <string>
#include <string_view>

namespace Platform {

std::string FormatRegistryFile(const RegistryStore& store);
// False, with a message naming the fault, when the text is damaged.
bool ParseRegistryFile(std::string_view text, RegistryStore& store, std::string& error);
// The same, telling also whether the text had its closing ";end" line.
bool ParseRegistryFile(std::string_view text, RegistryStore& store, std::string& error, bool& closed);

} // namespace Platform
