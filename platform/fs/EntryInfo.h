// Reads what a listing reports about one path on disk (attributes, times,
// size), for the folder listing and GetFileAttributes. Internal to platform/fs.
#pragma once

#include "platform/fs/FindData.h"

#include <string>

namespace Platform {

// Fills everything but the name; false when nothing exists at path. A
// symbolic link is described by its target (dangling: by the link itself)
// and carries kFileAttributeReparsePoint.
bool ReadEntryInfo(const std::string& path, FindData& out);

} // namespace Platform
