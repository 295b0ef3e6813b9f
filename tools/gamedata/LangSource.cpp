#include "tools/gamedata/LangSource.h"

#include "platform/codepage/CodePages.h"

namespace Tandry::GameData {
namespace {

void PutUnit(std::vector<uint8_t>& out, uint32_t unit)
{
    out.push_back(static_cast<uint8_t>(unit));
    out.push_back(static_cast<uint8_t>(unit >> 8));
}

} // namespace

bool ConvertLangSource(std::string_view utf8, std::vector<uint8_t>& out, std::string& error)
{
    std::vector<uint8_t> result;
    PutUnit(result, 0xFEFF);
    int number = 0;
    size_t start = 0;
    while (start < utf8.size()) {
        size_t end = utf8.find('\n', start);
        const bool lastLine = end == std::string_view::npos;
        if (lastLine)
            end = utf8.size();
        std::string_view line = utf8.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        bool substituted = false;
        const std::wstring wide = Platform::MultiByteToWideChar(Platform::CP_UTF8, line, &substituted);
        if (substituted) {
            error = "line " + std::to_string(number) + ": not UTF-8";
            return false;
        }
        for (const wchar_t c : wide) {
            if (c == L'\0' || c == 0xFEFF || c == L'\r') {
                error = "line " + std::to_string(number) + ": a NUL, carriage return or byte order mark in the text";
                return false;
            }
            // The decoder gives UTF-16 units already, pairs included.
            PutUnit(result, static_cast<uint32_t>(c));
        }
        if (!lastLine) {
            PutUnit(result, '\r');
            PutUnit(result, '\n');
        }
    }
    out = std::move(result);
    return true;
}

} // namespace Tandry::GameData
