// Combining and normalising the backslash-or-slash paths that data and code use.
#pragma once

#include <string>

namespace Tandry {

std::string JoinPath(const std::string& base, const std::string& relative);
// The working directory; empty when it cannot be read.
std::string GetCurrentDir();
std::string ResolveAgainstCwd(const std::string& path);
// Removes one trailing '\\' or '/'.
std::string StripTrailingSlash(const std::string& path);

} // namespace Tandry
