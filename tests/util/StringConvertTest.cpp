#include "util/StringUtils.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WidenString, EveryByteKeepsItsValue)
{
    const std::string bytes("A\x80\xE9\xFF\0z", 6);
    EXPECT_EQ(Tandry::WidenString(bytes), std::wstring(L"A\x0080\x00E9\x00FF\0z", 6));
}

TEST(NarrowToWideAnsi, ConvertsFromWindows1252UpToTheFirstNul)
{
    EXPECT_EQ(Tandry::NarrowToWideAnsi("A\x80\xE9\x9F\x81"), L"A\x20AC\x00E9\x0178\x0081");
    EXPECT_EQ(Tandry::NarrowToWideAnsi(std::string("ab\0cd", 5)), L"ab");
    EXPECT_EQ(Tandry::NarrowToWideAnsi(""), L"");
    // No length limit.
    const std::string longText(20000, '\x99');
    EXPECT_EQ(Tandry::NarrowToWideAnsi(longText), std::wstring(20000, L'\x2122'));
}

TEST(WideToNarrow, KeepsCharactersUpTo255AndOtherwiseGivesNothing)
{
    const struct {
        std::wstring wide;
        std::string narrow;
    } cases[] = {
        {L"", ""},
        {L"plain", "plain"},
        {L"\x00E9", "\xE9"},
        {L"\x0080\x00FF", "\x80\xFF"},
        {L"\x0100", ""},
        {L"abc\x20AC", ""},
        {std::wstring{L'a', -1}, ""},
        // Read as a NUL-terminated text, like the C library's conversion.
        {std::wstring(L"ab\0\x0100", 4), "ab"},
        {std::wstring(20000, L'\x00E9'), std::string(20000, '\xE9')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tandry::WideToNarrow(c.wide), c.narrow);
}

TEST(Utf8ToAnsi, ConvertsTextThatWindows1252Holds)
{
    const struct {
        std::string utf8;
        std::string ansi;
    } cases[] = {
        {"", ""},
        {"Lantern", "Lantern"},
        {"caf\xC3\xA9", "caf\xE9"},
        {"\xE2\x82\xAC" "5", "\x80" "5"},
        {"\xC5\xB8\xE2\x84\xA2", "\x9F\x99"},
        {"\xC2\x81", "\x81"},
        {std::string(259, 'a'), std::string(259, 'a')},
        // The limit counts the result's bytes, not the UTF-8 bytes.
        {std::string(258, 'a') + "\xC3\xA9", std::string(258, 'a') + "\xE9"},
        {std::string("ab\0cd", 5), "ab"},
        // A character the code page lacks is one '?', however many UTF-8
        // bytes or UTF-16 units it takes; the rest of the text stays.
        {"\xC4\x80", "?"},                          // U+0100
        {"\xC2\x80", "?"},                          // U+0080: Windows-1252 put the euro there
        {"a\xE4\xB8\xADz", "a?z"},
        {"\xF0\x9F\x98\x80!", "?!"},               // a surrogate pair is one character
        {"\xEF\xBF\xBD", "?"},                     // a real U+FFFD is text, not malformed input
        {"\xC3\xA9\xC4\x80\xE2\x82\xAC", "\xE9?\x80"},
        {std::string(258, 'a') + "\xF0\x9F\x98\x80", std::string(258, 'a') + "?"},
    };
    for (const auto& c : cases) {
        std::string out = "previous";
        EXPECT_TRUE(Tandry::Utf8ToAnsi(c.utf8, out)) << c.utf8;
        EXPECT_EQ(out, c.ansi);
    }
}

TEST(Utf8ToAnsi, FailsAndLeavesTheResultUntouched)
{
    const std::string cases[] = {
        std::string(260, 'a'),      // one byte too long for the result
        std::string(259, 'a') + "\xC3\xA9",
        std::string(259, 'a') + "\xC4\x80", // the '?' counts towards the limit
        "\xC0\xAF",                 // overlong
        "\xE0\x80\xAF",
        "\xF0\x80\x80\xAF",
        "\xED\xA0\x80",             // surrogates
        "\xED\xBF\xBF",
        "\xE2\x82",                 // truncated
        "abc\xC3",
        "\xF4\x90\x80\x80",         // past U+10FFFF
        "\x80",
        "\xFF",
        std::string("ab\0\xFF", 4), // invalid UTF-8 after a NUL still counts
    };
    for (const auto& c : cases) {
        std::string out = "previous";
        EXPECT_FALSE(Tandry::Utf8ToAnsi(c, out)) << c;
        EXPECT_EQ(out, "previous");
    }
}

} // namespace
