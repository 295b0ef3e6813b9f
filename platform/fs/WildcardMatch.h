// Windows-style wildcard matching of one file name against one mask, used by
// folder listings: '*' is any run, '?' any one character, letters match
// without regard to ASCII case, and a trailing ".*" also matches names that
// have no dot, so "*.*" matches every name.
#pragma once

#include <string_view>

namespace Platform {

bool MatchWildcard(std::string_view mask, std::string_view name);

} // namespace Platform
