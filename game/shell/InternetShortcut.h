// The address an Internet shortcut file (".url") points to: the key "URL" of
// the section [InternetShortcut]. The general ini reader lower-cases whole
// files and takes "//" for a comment, which would change the address, so the
// shortcut has a reader of its own that keeps the value byte for byte.
#pragma once

#include <string>
#include <string_view>

namespace Tandry {

// The value of the first "URL" key of the first [InternetShortcut] section,
// with surrounding spaces and tabs removed; section and key names match in
// any case. Empty when there is no such section or key.
std::string ParseInternetShortcut(std::string_view text);

// The same, read through the file layer (a pack or the disk); empty when the
// file does not open.
std::string ReadInternetShortcut(const std::string& fileName);

} // namespace Tandry
