// The text form of the registry store, as the settings file keeps it:
//
//   ; comment lines and empty lines are skipped
//   [SOFTWARE\Hollowmere\Moorglen]      one section per key path
//   MusicVolume=4:55000000              name=type:bytes in hex
//   ;end                                closes the file; without it the file is truncated
//
// Names escape every byte outside '!'..'~' and the bytes % = [ ] ; " \ # as
// %XX, so any byte survives the round trip. Parsing is all or nothing: a line
// that does not parse gives an error naming its line and leaves the store empty.
#pragma once

#include "platform/registry/RegistryStore.h"

#include <string>
#include <string_view>

namespace Platform {

std::string FormatRegistryFile(const RegistryStore& store);
// False, with a message naming the fault, when the text is damaged.
bool ParseRegistryFile(std::string_view text, RegistryStore& store, std::string& error);

} // namespace Platform
