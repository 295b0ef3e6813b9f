// Case-insensitive ordering of ini section and key names. Only the ASCII
// letters fold, as the C runtime's case-insensitive compare does in the "C"
// locale, so names with accented letters or wide characters compare exactly
// whatever the process locale is.
#pragma once

#include <string>
#include <type_traits>

namespace Tandry {

template <typename Char>
constexpr Char AsciiLower(Char c)
{
    return (c >= Char('A') && c <= Char('Z')) ? Char(c - Char('A') + Char('a')) : c;
}

// Orders by the folded code units, compared unsigned so that narrow bytes of
// 128..255 sort after ASCII as they do for the C runtime.
template <typename Char>
struct AsciiCaseLess {
    bool operator()(const std::basic_string<Char>& a, const std::basic_string<Char>& b) const
    {
        using Unit = std::make_unsigned_t<Char>;
        const size_t n = a.size() < b.size() ? a.size() : b.size();
        for (size_t i = 0; i < n; ++i) {
            const Unit x = Unit(AsciiLower(a[i]));
            const Unit y = Unit(AsciiLower(b[i]));
            if (x != y)
                return x < y;
        }
        return a.size() < b.size();
    }
};

template <typename Char>
bool AsciiCaseEqual(const std::basic_string<Char>& a, const std::basic_string<Char>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

} // namespace Tandry
