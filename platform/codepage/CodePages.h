// Conversion between wide text and the two code pages the program meets,
// shaped like the system calls MultiByteToWideChar and WideCharToMultiByte:
// CP_ACP, fixed as Windows-1252, and CP_UTF8. Wide text holds one UTF-16 unit
// per element: a character above U+FFFF is a surrogate pair of two wchar_t.
// Pure code: no system call, never depends on the C locale.
//
// Every conversion gives a result; what cannot be carried over is substituted:
// - UTF-8 to wide: each malformed sequence becomes one U+FFFD. A sequence is a
//   byte that cannot start one, or a lead byte with the continuation bytes it
//   announces; it is malformed when they are too few or it spells an overlong
//   form, an encoded surrogate or a code point above U+10FFFF.
// - Wide to UTF-8: an unpaired surrogate, or a value that is not a UTF-16
//   unit, becomes U+FFFD.
// - Wide to Windows-1252: a character without a byte becomes '?' (a surrogate
//   pair is one character).
// - Windows-1252 to wide substitutes nothing: the five bytes the code page
//   leaves unassigned map to the control character of the same value, so
//   every byte round-trips.
// When substituted is given it is set to whether anything was. A caller that
// needs the text exactly (strict UTF-8, or only characters the ANSI code page
// holds) refuses the result when it is true.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Platform {

// Numbered as the system numbers them; any other number reads as CP_ACP.
constexpr uint32_t CP_ACP = 0;
constexpr uint32_t CP_UTF8 = 65001;

std::wstring MultiByteToWideChar(uint32_t codePage, std::string_view bytes, bool* substituted = nullptr);
std::string WideCharToMultiByte(uint32_t codePage, std::wstring_view text, bool* substituted = nullptr);

} // namespace Platform
