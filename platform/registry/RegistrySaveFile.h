// Where the registry file is written: creates the folder when needed and
// replaces the file as a whole through the safe write.
#pragma once

#include <string>

namespace Platform {

bool SaveRegistryFile(const std::string& path, const std::string& text, std::string& error);

} // namespace Platform
