// Narrow/wide conversion, trimming, comma lists and case changes. Narrow
// strings hold 8-bit text (file names, ini and XML values); wide strings hold
// text shown on screen. None of these depend on the C library's locale.
#pragma once

#include <string>
#include <vector>

namespace Tandry {

// Every byte becomes the character of the same value.
std::wstring WidenString(const std::string& text);
// From the ANSI code page (Windows-1252) up to the first NUL.
std::wstring NarrowToWideAnsi(const std::string& text);
// Classic-locale narrowing up to the first NUL: empty result when any
// character is above 255.
std::string WideToNarrow(const std::wstring& text);
// Strict UTF-8 to the ANSI code page, up to the first NUL; a character
// Windows-1252 lacks becomes '?'. False, and out untouched, for invalid UTF-8
// or a result longer than 259 bytes.
bool Utf8ToAnsi(const std::string& utf8, std::string& out);

std::string TrimSpaces(const std::string& text);       // ' ' only
std::string TrimWhitespace(const std::string& text);   // classic isspace
void StringTrimBlanks(std::string& text);              // ' ' and '\t'
void TrimLeftBlanks(std::wstring& text);               // unchanged when all blanks
void TrimRightBlanks(std::wstring& text);              // unchanged when all blanks

// atoi's reading (leading white space, a sign, digits; 0 when there is no
// number), clamped to the int range instead of overflowing.
int ParseLeadingInt(const std::string& text);

void SplitCommaList(std::vector<std::string>& out, const std::string& text);
std::string JoinCommaList(const std::vector<std::string>& items);
// Appends; atoi's reading of each piece, clamped to the int range.
void ParseIntList(std::vector<int>& out, const std::string& text);

std::string LowerCaseCopy(const std::string& text);
std::string UpperCaseCopy(const std::string& text);
std::string LowerCaseCopyLocale(const std::string& text);

} // namespace Tandry
