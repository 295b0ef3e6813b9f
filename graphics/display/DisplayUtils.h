// Small text helpers of the display's capability test: matching driver names
// against the card lists, and folder paths.
#pragma once

#include <string>

namespace Tandry {

// Index of the first occurrence of pattern in text, comparing with ASCII
// letters lower-cased (never the C locale); -1 when none. An empty pattern is
// found at 0 in a non-empty text; an empty text finds nothing.
int FindNoCase(const char* text, const char* pattern);

// "" stays ""; a path ending in '\\' or '/' is unchanged; otherwise one '\\'
// is appended (the path resolver turns it into '/').
std::string AddTrailingSlash(const std::string& path);

} // namespace Tandry
