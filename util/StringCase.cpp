// Case changes of the classic locale: only the ASCII letters change, whatever
// the bytes above 0x7F mean in any code page.
#include "util/StringUtils.h"

namespace Tandry {
namespace {

template <typename Map>
std::string MapBytes(const std::string& text, Map map)
{
    std::string result(text);
    for (char& c : result)
        c = map(c);
    return result;
}

char ToLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char ToUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

} // namespace

std::string LowerCaseCopy(const std::string& text)
{
    return MapBytes(text, ToLower);
}

std::string UpperCaseCopy(const std::string& text)
{
    return MapBytes(text, ToUpper);
}

std::string LowerCaseCopyLocale(const std::string& text)
{
    // The program's global locale is the classic one, so this is the same mapping.
    return LowerCaseCopy(text);
}

} // namespace Tandry
