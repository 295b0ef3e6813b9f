#include "graphics/display/DisplayUtils.h"

namespace Tandry {

namespace {

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

int FindNoCase(const char* text, const char* pattern)
{
    if (text == nullptr || pattern == nullptr)
        return -1;
    for (int start = 0; text[start] != '\0'; ++start) {
        int i = 0;
        while (pattern[i] != '\0' && LowerAscii(text[start + i]) == LowerAscii(pattern[i]))
            ++i;
        if (pattern[i] == '\0')
            return start;
    }
    return -1;
}

std::string AddTrailingSlash(const std::string& path)
{
    if (path.empty() || path.back() == '\\' || path.back() == '/')
        return path;
    return path + '\\';
}

} // namespace Tandry
