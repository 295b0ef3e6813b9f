// The trimming functions. Each removes its own set of characters and treats an
// all-blank text its own way; callers rely on both differences.
#include "util/StringUtils.h"

#include <utility>

namespace Tandry {
namespace {

bool IsSpace(wchar_t c) { return c == ' '; }
bool IsBlank(wchar_t c) { return c == ' ' || c == '\t'; }
bool IsClassicWhitespace(wchar_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Start and end of the text without leading and trailing characters of a set.
template <typename Text, typename IsTrimmed>
std::pair<size_t, size_t> TrimmedRange(const Text& text, IsTrimmed isTrimmed)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && isTrimmed(text[first]))
        ++first;
    while (last > first && isTrimmed(text[last - 1]))
        --last;
    return {first, last};
}

template <typename IsTrimmed>
std::string TrimmedCopy(const std::string& text, IsTrimmed isTrimmed)
{
    const auto [first, last] = TrimmedRange(text, isTrimmed);
    return text.substr(first, last - first);
}

} // namespace

std::string TrimSpaces(const std::string& text)
{
    return TrimmedCopy(text, IsSpace);
}

std::string TrimWhitespace(const std::string& text)
{
    return TrimmedCopy(text, [](char c) { return IsClassicWhitespace(static_cast<unsigned char>(c)); });
}

void StringTrimBlanks(std::string& text)
{
    text = TrimmedCopy(text, IsBlank);
}

void TrimLeftBlanks(std::wstring& text)
{
    const auto [first, last] = TrimmedRange(text, IsBlank);
    if (first < last)
        text.erase(0, first);
}

void TrimRightBlanks(std::wstring& text)
{
    const auto [first, last] = TrimmedRange(text, IsBlank);
    if (first < last)
        text.erase(last);
}

} // namespace Tandry
