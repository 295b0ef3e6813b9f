#include "util/Format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

namespace {

using Tandry::FormatWString;

constexpr size_t kLongestWideText = 655360;

TEST(FormatWString, WideAndNarrowArgumentsFollowTheGameConvention)
{
    const wchar_t* nullWide = nullptr;
    const char* nullNarrow = nullptr;
    const struct {
        std::wstring actual;
        std::wstring expected;
    } cases[] = {
        {FormatWString(L"%s has %d coins", L"Ann", 12), L"Ann has 12 coins"},
        {FormatWString(L"[%S]", "narrow"), L"[narrow]"},
        {FormatWString(L"[%hs|%ls|%ws]", "n", L"w", L"w2"), L"[n|w|w2]"},
        {FormatWString(L"%c%C", L'\x20AC', 'x'), L"\x20ACx"},
        {FormatWString(L"%s", L"\x20AC\x4E2D"), L"\x20AC\x4E2D"},
        // Narrow text is widened byte by byte, whatever the C locale.
        {FormatWString(L"%S|%C", "caf\xE9", '\xFF'), L"caf\x00E9|\x00FF"},
        {FormatWString(L"[%5s][%-5s][%.2s][%-4.1S]", L"ab", L"ab", L"abc", "xyz"), L"[   ab][ab   ][ab][x   ]"},
        {FormatWString(L"[%*d][%-*d][%.*s]", 4, 7, 3, 8, 1, L"uv"), L"[   7][8  ][u]"},
        {FormatWString(L"[%*d]", -3, 5), L"[5  ]"},
        {FormatWString(L"%05d|%+d|% d|%x|%#X|%o", -42, 3, 4, 255, 255, 8), L"-0042|+3| 4|ff|0XFF|10"},
        {FormatWString(L"%ld|%lld|%zu|%hhu|%hd|%ju", -1L, LLONG_MIN, size_t{12}, 257, 65537,
                       uintmax_t{UINT64_MAX}),
         L"-1|-9223372036854775808|12|1|1|18446744073709551615"},
        {FormatWString(L"%u|%i", 4000000000u, -7), L"4000000000|-7"},
        {FormatWString(L"%.3f|%e|%g|%5.1f|%Lg", 3.14159, 1234.5, 0.0001, 2.25, 1.5L),
         L"3.142|1.234500e+03|0.0001|  2.2|1.5"},
        {FormatWString(L"100%% of %s", L"it"), L"100% of it"},
        {FormatWString(L"%s/%S", nullWide, nullNarrow), L"(null)/(null)"},
        {FormatWString(L"no conversions"), L"no conversions"},
        {FormatWString(L"ab%cd", 0), std::wstring(L"ab\0d", 4)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.actual, c.expected);
}

TEST(FormatWString, FormatErrorsGiveTheEmptyString)
{
    int written = 0;
    const struct {
        std::wstring actual;
        const char* why;
    } cases[] = {
        {FormatWString(L"abc%n", &written), "%n would write through an argument"},
        {FormatWString(L"abc%q", 1), "unknown conversion"},
        {FormatWString(L"abc%"), "format ends inside a conversion"},
        {FormatWString(L"abc%5"), "format ends inside a conversion"},
        {FormatWString(L"%hhs", "x"), "no such size for a string"},
        {FormatWString(L"%Ld", 1), "no such size for an integer"},
        {FormatWString(L"%99999999999d", 1), "width beyond an int"},
        {FormatWString(L"%*d", INT_MIN, 1), "width beyond an int"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.actual, L"") << c.why;
    EXPECT_EQ(written, 0);
}

TEST(FormatWString, TextsAroundTheStackBufferComeBackWhole)
{
    for (const size_t length : {159u, 160u, 161u, 321u}) {
        const std::wstring text(length, L'q');
        EXPECT_EQ(FormatWString(L"%s", text.c_str()), text) << length;
    }
}

TEST(FormatWString, TextLongerThanTheLastTryIsCutThere)
{
    const std::wstring text(kLongestWideText + 10, L'z');
    EXPECT_EQ(FormatWString(L"ab%s", text.c_str()), L"ab" + std::wstring(kLongestWideText - 2, L'z'));

    // Widths far beyond the limit, on strings and on numbers, on either side.
    const std::wstring right = FormatWString(L"%2000000d", 7);
    EXPECT_EQ(right, std::wstring(kLongestWideText, L' '));
    const std::wstring left = FormatWString(L"%-2000000S|", "x");
    ASSERT_EQ(left.size(), kLongestWideText);
    EXPECT_EQ(left.substr(0, 2), L"x ");
    const std::wstring precise = FormatWString(L"%.1000000d", 5);
    EXPECT_EQ(precise, std::wstring(kLongestWideText, L'0'));
}

} // namespace
