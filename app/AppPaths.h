// Small path rules of the application core: the folder part of a path, and
// when a demo file name already names its folder.
#pragma once

#include <string>

namespace Tandry {

// The part before the last "\\" or "/", whichever comes later; empty without either.
std::string GetPathDirectory(const std::string& path);
// Starts with "/", or has ":" second or "\\" third (a drive or a network share).
bool IsAbsoluteDemoPath(const std::string& name);

} // namespace Tandry
