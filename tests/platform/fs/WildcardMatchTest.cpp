#include "platform/fs/WildcardMatch.h"

#include <gtest/gtest.h>

namespace {

TEST(WildcardMatch, WindowsMasksWithoutRegardToCase)
{
    const struct {
        const char* mask;
        const char* name;
        bool match;
    } cases[] = {
        {"*.*", "readme", true},   // no dot, still every name
        {"*.*", "a.png", true},
        {"*.*", ".", true},
        {"*.*", "..", true},
        {"*", "anything.at.all", true},
        {"*.PNG", "a.png", true},
        {"*.png", "A.PNG", true},
        {"*.png", "a.png.bak", false},
        {"*.png", "png", false},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"a*b*c", "axxbyyc", true},
        {"a*b*c", "axxbyy", false},
        {"*ab", "aab", true},       // needs a backtrack
        {"data", "DATA", true},
        {"data", "data2", false},
        {"x.*", "x", true},         // a trailing ".*" also takes no extension
        {"x.*", "x.txt", true},
        {"x.*", "xy", false},
        {"", "", true},
        {"", "a", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Platform::MatchWildcard(c.mask, c.name), c.match) << c.mask << " vs " << c.name;
}

} // namespace
