// Narrow and wide conversion: Latin-1 widening, classic-locale narrowing and
// the ANSI code page, all by hand so that the C library's locale never matters.
#include "util/StringUtils.h"

#include "platform/text/CodePage.h"

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
    const int units = Platform::MultiByteToWide(Platform::CodePage::Ansi, text.c_str(), -1, nullptr, 0);
    if (units <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(units), L'\0');
    Platform::MultiByteToWide(Platform::CodePage::Ansi, text.c_str(), -1, wide.data(), units);
    wide.resize(static_cast<size_t>(units) - 1);
    return wide;
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
    // The text and its terminator, so that the wide text ends in a NUL too.
    if (utf8.size() >= INT32_MAX)
        return false;
    const int byteCount = static_cast<int>(utf8.size()) + 1;
    const int units = Platform::MultiByteToWide(Platform::CodePage::Utf8, utf8.c_str(), byteCount, nullptr, 0);
    if (units == 0)
        return false;
    std::wstring wide(static_cast<size_t>(units), L'\0');
    if (Platform::MultiByteToWide(Platform::CodePage::Utf8, utf8.c_str(), byteCount, wide.data(), units) == 0)
        return false;

    char buffer[kAnsiBufferBytes];
    bool usedDefault = false;
    if (Platform::WideToMultiByte(Platform::CodePage::Ansi, wide.c_str(), -1, buffer, kAnsiBufferBytes,
                                  &usedDefault) == 0
        || usedDefault)
        return false;
    out = buffer;
    return true;
}

} // namespace Tandry
