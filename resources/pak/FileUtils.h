// Small operations on path strings and folders, used by the resource
// manifest, the sound cache, the profile store and the game's start-up.
// Folder operations go through the platform's resolver like every disk access.
#pragma once

#include <string>

namespace Tandry {

// The file name without folder and extension: "data/sounds/click.wav" gives
// "click", "a.b/c" gives "c", "dir/" gives "".
std::string GetBaseFileName(const std::string& path);

// Creates every folder level of path, left to right; levels that exist (in
// any letter case) are reused. A last component is made a folder too.
void CreateDirectories(const std::string& path);

// Removes folder with everything in it; true when all of it went. A symbolic
// link is removed as a link, never followed, so a link to a folder elsewhere
// cannot empty that folder. False, with nothing removed, for a name shorter
// than 2 characters or a folder that cannot be listed.
bool DeleteFolderTree(const std::string& folder);

// Every 4 hexadecimal digits give one character, the first digit the most
// significant; a remainder of 1 to 3 digits is ignored.
std::wstring HexToWideString(const std::string& hex);
// The reverse: every character as exactly four lower-case digits, the most
// significant first. A character above 0xFFFF is written as its UTF-16
// surrogate pair, since the text holds 16-bit units.
std::string WideStringToHex(const std::wstring& text);
// 0..9 for '0'..'9', 10..15 for 'a'..'f' and 'A'..'F', 0 for anything else.
int HexDigitValue(char c);

} // namespace Tandry
