#include "game/shell/InternetShortcut.h"

#include "resources/pak/PakFile.h"

#include <memory>

namespace Tandry {

namespace {

std::string_view Trim(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// ASCII only: a locale must not decide what matches.
bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = char(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

std::string ParseInternetShortcut(std::string_view text)
{
    bool inSection = false;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        const size_t stop = end == std::string_view::npos ? text.size() : end;
        const std::string_view line = Trim(text.substr(start, stop - start));
        if (!line.empty() && line.front() == '[') {
            const size_t close = line.find(']');
            inSection = close != std::string_view::npos &&
                        SameIgnoringCase(Trim(line.substr(1, close - 1)), "InternetShortcut");
        } else if (inSection) {
            const size_t equals = line.find('=');
            if (equals != std::string_view::npos && SameIgnoringCase(Trim(line.substr(0, equals)), "URL"))
                return std::string(Trim(line.substr(equals + 1)));
        }
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return {};
}

std::string ReadInternetShortcut(const std::string& fileName)
{
    const std::unique_ptr<char[]> bytes(PakReadWholeFile(fileName));
    return bytes != nullptr ? ParseInternetShortcut(bytes.get()) : std::string();
}

} // namespace Tandry
