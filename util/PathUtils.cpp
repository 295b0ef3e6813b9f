#include "util/PathUtils.h"

#include "platform/fs/FileOps.h"

#include <algorithm>

namespace Tandry {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasDrive(const std::string& path) { return path.size() >= 2 && path[1] == ':'; }

// Where the last component of cur starts; cur ends with a separator.
size_t LastComponentStart(const std::string& cur)
{
    for (size_t i = cur.size() - 1; i > 0; --i) {
        if (IsSeparator(cur[i - 1]))
            return i;
    }
    return 0;
}

} // namespace

std::string JoinPath(const std::string& base, const std::string& relative)
{
    if (HasDrive(relative))
        return relative;

    const char separator = relative.find('\\') != std::string::npos || base.find('\\') != std::string::npos ? '\\' : '/';

    std::string cur = base;
    std::string drive;
    if (HasDrive(cur)) {
        drive = cur.substr(0, 2);
        cur.erase(0, 2);
    }
    if (!cur.empty() && !IsSeparator(cur.back()))
        cur += separator;

    // Leading "." and ".." components eat into the base; resolution stops at the
    // first ordinary component or when the base is used up.
    std::string rest = relative;
    while (!cur.empty()) {
        const auto found = std::find_if(rest.begin(), rest.end(), IsSeparator);
        if (found == rest.end())
            break;
        const std::string component(rest.begin(), found);
        rest.erase(rest.begin(), found + 1);

        if (component == "..") {
            const size_t start = LastComponentStart(cur);
            if (cur.substr(start, cur.size() - 1 - start) == "..") {
                cur += "..";
                cur += separator;
            } else {
                cur.erase(start);
            }
        } else if (component.empty()) {
            cur.assign(1, separator);
            break;
        } else if (component != ".") {
            cur += component;
            cur += separator;
            break;
        }
    }

    std::string result = drive + cur + rest;
    const char other = separator == '/' ? '\\' : '/';
    std::replace(result.begin(), result.end(), other, separator);
    return result;
}

std::string GetCurrentDir()
{
    return Platform::GetCurrentFolder();
}

std::string ResolveAgainstCwd(const std::string& path)
{
    return JoinPath(GetCurrentDir(), path);
}

std::string StripTrailingSlash(const std::string& path)
{
    if (!path.empty() && IsSeparator(path.back()))
        return path.substr(0, path.size() - 1);
    return path;
}

} // namespace Tandry
