#include "platform/fs/WildcardMatch.h"

#include "platform/fs/AsciiCase.h"

namespace Platform {
namespace {

// Greedy matching with one backtrack point: linear for masks with one '*',
// and at worst mask length times name length.
bool Glob(std::string_view mask, std::string_view name)
{
    size_t m = 0;
    size_t n = 0;
    size_t starMask = std::string_view::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == '?' || AsciiUpper(mask[m]) == AsciiUpper(name[n]))) {
            ++m;
            ++n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

} // namespace

bool MatchWildcard(std::string_view mask, std::string_view name)
{
    if (Glob(mask, name))
        return true;
    if (mask.size() >= 2 && mask.substr(mask.size() - 2) == ".*")
        return Glob(mask.substr(0, mask.size() - 2), name);
    return false;
}

} // namespace Platform
