#include "util/StringUtils.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct NarrowCase {
    const char* text;
    const char* expected;
};

TEST(TrimSpaces, RemovesOnlyTheSpaceCharacter)
{
    const NarrowCase cases[] = {
        {"", ""}, {"   ", ""}, {"  a b  ", "a b"}, {"\ta\t", "\ta\t"}, {" \ta\t ", "\ta\t"}, {"x", "x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tandry::TrimSpaces(c.text), c.expected) << '"' << c.text << '"';
}

TEST(TrimWhitespace, RemovesClassicWhitespaceOnly)
{
    const NarrowCase cases[] = {
        {" \t\n\v\f\ra b\r\n", "a b"},
        {" \t\n\v\f\r", ""},
        {"\xA0x\xA0", "\xA0x\xA0"},   // bytes above 0x7F are never whitespace
        {"\x85x", "\x85x"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tandry::TrimWhitespace(c.text), c.expected) << '"' << c.text << '"';
}

TEST(StringTrimBlanks, RemovesSpacesAndTabsInPlaceAndEmptiesAllBlankText)
{
    const NarrowCase cases[] = {
        {" \ta b\t ", "a b"}, {" \t ", ""}, {"\na\n", "\na\n"}, {"", ""},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        Tandry::StringTrimBlanks(text);
        EXPECT_EQ(text, c.expected) << '"' << c.text << '"';
    }
}

TEST(TrimBlanksWide, EachSideTrimmedInPlaceButAllBlankTextIsKept)
{
    const struct {
        const wchar_t* text;
        const wchar_t* left;
        const wchar_t* right;
    } cases[] = {
        {L" \t a b \t", L"a b \t", L" \t a b"},
        {L" \t ", L" \t ", L" \t "},
        {L"", L"", L""},
        {L"\x3000x\x3000", L"\x3000x\x3000", L"\x3000x\x3000"},
    };
    for (const auto& c : cases) {
        std::wstring left = c.text;
        Tandry::TrimLeftBlanks(left);
        EXPECT_EQ(left, c.left);
        std::wstring right = c.text;
        Tandry::TrimRightBlanks(right);
        EXPECT_EQ(right, c.right);
    }
}

} // namespace
