#include "util/Format.h"

#include "platform/debug/DebugOutput.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

using Tandry::FormatString;

constexpr size_t kLongestNarrowText = 1310720;

TEST(FormatString, TextsAroundTheStackBufferComeBackWhole)
{
    for (const size_t length : {0u, 1u, 159u, 160u, 161u, 320u, 321u, 5000u}) {
        const std::string text(length, 'q');
        EXPECT_EQ(FormatString("%s", text.c_str()), text) << length;
        // Formatted pieces on both sides of the boundary.
        const std::string body(length, 'w');
        EXPECT_EQ(FormatString("<%s|%d>", body.c_str(), -42), "<" + body + "|-42>") << length;
    }
}

TEST(FormatString, TextLongerThanTheLastTryIsCutThere)
{
    const std::string text(kLongestNarrowText + 1, 'z');
    EXPECT_EQ(FormatString("%s", text.c_str()), std::string(kLongestNarrowText, 'z'));

    // A width alone can ask for far more than that.
    const std::string padded = FormatString("%-2000000d|", 7);
    ASSERT_EQ(padded.size(), kLongestNarrowText);
    EXPECT_EQ(padded.substr(0, 2), "7 ");
    EXPECT_EQ(padded.back(), ' ');
}

TEST(FormatString, FormatErrorGivesTheEmptyString)
{
    // The classic locale cannot narrow a lone surrogate.
    const wchar_t bad[] = {0xD800, 0};
    EXPECT_EQ(FormatString("abc%ls", bad), "");
}

TEST(FormatString, ANulWrittenByPercentCStaysInTheResult)
{
    EXPECT_EQ(FormatString("ab%cde", 0), std::string("ab\0de", 5));
    const std::string longText(300, 'x');
    EXPECT_EQ(FormatString("%s%cde", longText.c_str(), 0), longText + std::string("\0de", 3));
}

TEST(FormatInt, DecimalTextWithSign)
{
    EXPECT_EQ(Tandry::FormatInt(0), "0");
    EXPECT_EQ(Tandry::FormatInt(-5), "-5");
    EXPECT_EQ(Tandry::FormatInt(INT_MAX), "2147483647");
    EXPECT_EQ(Tandry::FormatInt(INT_MIN), "-2147483648");
}

TEST(FormatGroupedInt, CommasBetweenGroupsOfThreeAndNothingForNegatives)
{
    const struct {
        int value;
        const wchar_t* text;
    } cases[] = {
        {0, L"0"},
        {7, L"7"},
        {100, L"100"},
        {999, L"999"},
        {1000, L"1,000"},
        {1234, L"1,234"},
        {100000, L"100,000"},
        {1234567, L"1,234,567"},
        {INT_MAX, L"2,147,483,647"},
        {-5, L""},
        {-1234567, L""},
        {INT_MIN, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tandry::FormatGroupedInt(c.value), c.text) << c.value;
}

TEST(DebugPrintf, SendsTheNarrowedTextToTheDebugOutput)
{
    std::string seen;
    Platform::SetDebugSink([&](const std::string& text) { seen += text + "|"; });
    Tandry::DebugPrintf(L"Display %dx%d %s\n", 800, 600, L"caf\x00E9");
    // Text the classic locale cannot narrow arrives as the empty string.
    Tandry::DebugPrintf(L"%s", L"\x0100");
    Platform::SetDebugSink({});
    EXPECT_EQ(seen, "Display 800x600 caf\xE9\n||");
}

} // namespace
