#include "resources/pak/NormalizePakPath.h"

#include "platform/fs/AsciiCase.h"
#include "platform/fs/FileOps.h"

#include <utility>

namespace Tandry {

namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

// Drops "<current folder>/" from the front of an absolute name, comparing
// without regard to case and treating both separators alike. Only a name that
// begins with a separator can begin with the absolute current folder, so
// relative names cost no system call.
std::string_view DropCurrentFolder(std::string_view name)
{
    if (name.empty() || !IsSeparator(name[0]))
        return name;
    std::string folder = Platform::GetCurrentFolder();
    if (folder.empty())
        return name;
    if (!IsSeparator(folder.back()))
        folder += '/';
    if (name.size() < folder.size())
        return name;
    for (size_t i = 0; i < folder.size(); ++i) {
        const char a = name[i];
        const char b = folder[i];
        if (IsSeparator(a) && IsSeparator(b))
            continue;
        if (Platform::AsciiUpper(a) != Platform::AsciiUpper(b))
            return name;
    }
    return name.substr(folder.size());
}

} // namespace

std::string NormalizePakPath(std::string_view name)
{
    const size_t nul = name.find('\0');
    if (nul != std::string_view::npos)
        name = name.substr(0, nul);
    name = DropCurrentFolder(name);

    // Every character writes at most one, so the output fits the input's size.
    std::string out(name.size(), '\0');
    size_t length = 0;
    bool afterSeparator = false;
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (IsSeparator(c)) {
            if (!afterSeparator)
                out[length++] = '\\';
            afterSeparator = true;
        } else if (c == '.' && afterSeparator && i + 1 < name.size() && name[i + 1] == '.') {
            // Back over the separator and the component before it, but never
            // before the second character, so a leading "\\" stays.
            size_t end = length - 1;
            while (end > 0 && out[end - 1] != '\\')
                --end;
            length = end < 1 ? 1 : end;
            ++i;
        } else {
            out[length++] = c;
            afterSeparator = false;
        }
    }
    out.resize(length);
    return FoldPakKey(std::move(out));
}

std::string FoldPakKey(std::string key)
{
    for (char& c : key)
        c = Platform::AsciiUpper(c);
    return key;
}

} // namespace Tandry
