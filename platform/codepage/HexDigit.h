// The value of one hexadecimal digit, shared by every reader of hex text
// (the registry file, the file utilities).
#pragma once

namespace Platform {

// 0..15 for '0'-'9', 'a'-'f', 'A'-'F'; -1 for anything else.
constexpr int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace Platform
