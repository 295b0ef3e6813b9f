// Conversion between the two code pages the program meets, the ANSI code page
// (Windows-1252) and UTF-8, and wide text, shaped like the system calls the
// framework was written against. Pure code, no system call, no C locale.
// Wide text is std::wstring / wchar_t holding UTF-16 code units as values:
// a character above U+FFFF is a surrogate pair of two wchar_t.
#pragma once

#include <cstdint>

namespace Platform {

// Numbered as the original system numbers them.
enum class CodePage : uint32_t {
    Ansi = 0,     // Windows-1252
    Utf8 = 65001, // strict: invalid input fails instead of being replaced
};

// Converts srcLen bytes of src (-1: up to and including its NUL) to wide text.
// With dstLen 0 only counts; otherwise writes at most dstLen units to dst.
// Returns the number of units (the NUL included when it was converted), or 0
// on failure: an empty or negative (other than -1) source, a destination too
// small, or UTF-8 that is not strict (overlong forms, encoded surrogates,
// truncated sequences, code points above U+10FFFF). Windows-1252 never fails:
// its five unassigned bytes map to the control character of the same value.
int MultiByteToWide(CodePage page, const char* src, int srcLen, wchar_t* dst, int dstLen);

// Converts srcLen units of src (-1: up to and including its NUL) to bytes,
// with the same counting and failure rules. Windows-1252 writes '?' for every
// character it cannot hold (a surrogate pair is one character) and then sets
// *usedDefaultChar when given. UTF-8 fails on a lone surrogate or a value
// that is not a UTF-16 unit.
int WideToMultiByte(CodePage page, const wchar_t* src, int srcLen, char* dst, int dstLen,
                    bool* usedDefaultChar = nullptr);

} // namespace Platform
