// The card lists of the installation ("vhw.dat" accepts cards, "vhwb.dat"
// refuses them): text files whose lines are pieces of adapter descriptions.
// The capability test asks whether a list names the adapter it runs on.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Tandry {

// Whether some line of the list occurs in the description, ignoring ASCII
// case. Lines end at LF; each is taken in pieces of at most 3999 bytes, and
// a piece counts up to its first zero byte, trimmed of white space (CR
// included); empty pieces name nothing.
bool CardListContains(std::string_view contents, const std::string& description);

// The same for the list file at path, found through the path resolver; no
// answer when the file cannot be opened.
std::optional<bool> FileListContains(const std::string& path, const std::string& description);

} // namespace Tandry
