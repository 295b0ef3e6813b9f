// Narrow and wide conversion: Latin-1 widening, classic-locale narrowing and
// the ANSI code page, all by hand so that the C library's locale never matters.
#include "util/StringUtils.h"

#include "platform/codepage/CodePages.h"

#include <cstdint>

namespace Tandry {
namespace {

// Room for the 259 bytes and terminator the ANSI buffer of the original held.
constexpr int kAnsiBufferBytes = 260;

} // namespace

std::wstring WidenString(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    for (size_t i = 0; i < text.size(); ++i)
        wide[i] = static_cast<unsigned char>(text[i]);
    return wide;
}

std::wstring NarrowToWideAnsi(const std::string& text)
{
    return Platform::MultiByteToWideChar(Platform::CP_ACP, text.c_str());
}

std::string WideToNarrow(const std::wstring& text)
{
    // Like the C library's conversion this reads the text as NUL-terminated.
    std::string narrow;
    for (const wchar_t c : text) {
        if (c == L'\0')
            break;
        if (static_cast<uint32_t>(c) > 0xFF)
            return std::string();
        narrow += static_cast<char>(c);
    }
    return narrow;
}

bool Utf8ToAnsi(const std::string& utf8, std::string& out)
{
    // The text and its terminator must have an int length, as for the system call.
    if (utf8.size() >= INT32_MAX)
        return false;
    // All of the text must be strict UTF-8, also what follows a NUL.
    bool substituted = false;
    const std::wstring wide = Platform::MultiByteToWideChar(Platform::CP_UTF8, utf8, &substituted);
    if (substituted)
        return false;
    // Up to the first NUL. A character the code page lacks becomes '?', as the
    // system call's default character: a name stays readable with one letter
    // lost rather than being refused whole. Only the buffer's size is a limit.
    const std::string ansi = Platform::WideCharToMultiByte(Platform::CP_ACP, wide.c_str());
    if (ansi.size() >= static_cast<size_t>(kAnsiBufferBytes))
        return false;
    out = ansi;
    return true;
}

} // namespace Tandry
