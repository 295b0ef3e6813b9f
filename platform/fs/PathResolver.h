// Finds the file on disk that a path from data or code names. Such paths use
// either separator and any letter case, as they did on a case-insensitive
// system; every disk access of the file layer, the writers and the folder
// utilities goes through here. Relative paths stay relative, so they resolve
// against the current folder at the time of the call.
#pragma once

#include <string>
#include <string_view>

namespace Platform {

class PathResolver {
public:
    // The path as text: '\\' becomes '/', runs of separators collapse, "." and
    // ".." are resolved by text as Windows does (so "a\\x\\..\\b" is "a/b"
    // even when a/x is missing; ".." stays only at the front of a relative
    // path). A relative path that cancels out is "."; "" stays "".
    static std::string Normalize(std::string_view path);
    // True when Normalize would give the path back unchanged.
    static bool IsNormal(std::string_view path);

    // The normalised path with each existing component spelled as on disk: an
    // exact match first, else the first match without regard to ASCII case in
    // sorted order. From the first missing component on, the caller's
    // spelling is kept, so a file created through the result gets it.
    static std::string Resolve(std::string_view path);
};

} // namespace Platform
