// ASCII-only case folding for file names and pack keys. Only 'a'..'z' and
// 'A'..'Z' ever change, whatever the C locale or the sign of char, so keys,
// listings and written packs come out the same on every machine.
#pragma once

#include <string>
#include <string_view>

namespace Platform {

constexpr char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string AsciiUpperCopy(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = AsciiUpper(c);
    return out;
}

} // namespace Platform
