// How ini files reach the disk: read as raw bytes through the file layer
// (packs first; never character by character, which would drop the CRs of a
// pack member and misalign UTF-16 text), and written whole through the safe
// write, so a failed save leaves the old file as it was.
#pragma once

#include <string>

namespace Tandry {

// The whole file through PakOpen; false when it cannot be opened.
bool ReadIniBytes(const std::string& name, std::string& bytes);

// Writes where PakOpen with "wb" would open: the file layer's prefix folder +
// name when a file can be created there, else the name. False, with the old
// file untouched and no temporary file left, when any step fails.
bool WriteIniBytes(const std::string& name, const std::string& bytes);

} // namespace Tandry
