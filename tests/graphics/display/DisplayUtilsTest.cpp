#include "graphics/display/DisplayUtils.h"

#include <gtest/gtest.h>

namespace {

using Tandry::AddTrailingSlash;
using Tandry::FindNoCase;

TEST(DisplayUtils, FindNoCase)
{
    const struct {
        const char* text;
        const char* pattern;
        int index;
    } cases[] = {
        {"Display Driver", "driver", 8},
        {"Display Driver", "drivers", -1},
        {"Display Driver", "DISPLAY", 0},
        {"RADEON 9600 Series", "radeon 9", 0},
        {"aab", "ab", 1},  // a false start must not skip the real match
        {"Display Driver", "", 0},
        {"", "", -1},
        {"", "a", -1},
        {"ab", "abc", -1},
        // Only ASCII letters fold: other bytes must match as they are.
        {"Gr\xC4\xE4t", "\xC4\xE4t", 2},
        {"Gr\xC4\xE4t", "\xE4\xE4t", -1},
        {"[X]", "[x]", 0},
        {"@", "`", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindNoCase(c.text, c.pattern), c.index) << '"' << c.text << "\" / \"" << c.pattern << '"';
}

TEST(DisplayUtils, AddTrailingSlash)
{
    const struct {
        const char* path;
        const char* expected;
    } cases[] = {
        {"", ""},
        {"data", "data\\"},
        {"data/", "data/"},
        {"data\\", "data\\"},
        {"C:\\games\\moor", "C:\\games\\moor\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddTrailingSlash(c.path), c.expected) << c.path;
}

} // namespace
