// printf-style formatting into narrow and wide strings, used everywhere text is
// built. Wide formats follow the convention the game's texts are written in:
// %s and %c take wide arguments, %S and %C narrow ones. A text longer than
// the last formatting try (1,310,720 narrow, 655,360 wide characters) is cut
// there; a format error gives the empty string.
#pragma once

#include <cstdarg>
#include <string>

namespace Tandry {

std::string FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string StrFormatV(const char* format, va_list args);

std::wstring FormatWString(const wchar_t* format, ...);
std::wstring WStrFormatV(const wchar_t* format, va_list args);

// Formats, converts with WideToNarrow and writes to the debug output.
void DebugPrintf(const wchar_t* format, ...);

std::string FormatInt(int value);
// "1,234,567"; negative values give the empty string.
std::wstring FormatGroupedInt(int value);

} // namespace Tandry
