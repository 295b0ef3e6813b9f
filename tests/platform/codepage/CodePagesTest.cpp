#include "platform/codepage/CodePages.h"

#include <gtest/gtest.h>

using namespace Platform;

namespace {

struct Pair {
    std::string bytes;
    std::wstring wide;
};

std::wstring Units(std::initializer_list<uint32_t> units)
{
    std::wstring text;
    for (uint32_t unit : units)
        text.push_back(static_cast<wchar_t>(unit));
    return text;
}

TEST(CodePages, Windows1252BothWays)
{
    const Pair pairs[] = {
        {"\x80", Units({0x20AC})}, {"\x9F", Units({0x0178})}, {"\x81", Units({0x0081})},
        {"\x8D", Units({0x008D})}, {"\x8F", Units({0x008F})}, {"\x90", Units({0x0090})},
        {"\x9D", Units({0x009D})}, {"\xE9", Units({0x00E9})}, {"A\x85z", Units({'A', 0x2026, 'z'})},
        {std::string("a\0b", 3), Units({'a', 0, 'b'})},
    };
    for (const Pair& pair : pairs) {
        EXPECT_EQ(MultiByteToWideChar(CP_ACP, pair.bytes), pair.wide) << pair.bytes;
        EXPECT_EQ(WideCharToMultiByte(CP_ACP, pair.wide), pair.bytes) << pair.bytes;
    }
}

TEST(CodePages, LongWindows1252TextDecodesEveryByteAsAShortTextDoes)
{
    // Long texts take a block path; single bytes the plain one. Both must agree for every byte at every offset.
    std::string text;
    for (int round = 0; round < 3; ++round) {
        for (int byte = 0; byte < 256; ++byte)
            text.push_back(static_cast<char>((byte * 7 + round) & 0xFF));
    }
    text += "tail";
    std::wstring wide = MultiByteToWideChar(CP_ACP, text);
    ASSERT_EQ(wide.size(), text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        std::wstring single = MultiByteToWideChar(CP_ACP, text.substr(i, 1));
        ASSERT_EQ(wide[i], single[0]) << "byte " << (static_cast<int>(text[i]) & 0xFF) << " at " << i;
    }
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, wide), text);
}

TEST(CodePages, Windows1252GivesAQuestionMarkForCharactersWithoutAByte)
{
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, Units({0x0100})), "?");
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, Units({'x', 0xD83D, 0xDE00, 'y'})), "x?y");
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, Units({0xDC00})), "?");
}

TEST(CodePages, Utf8BothWays)
{
    const Pair pairs[] = {
        {"caf\xC3\xA9", L"caf\u00e9"},
        {"\xE2\x82\xAC", Units({0x20AC})},
        {"\xF0\x9F\x98\x80", Units({0xD83D, 0xDE00})},
        {"\xF4\x8F\xBF\xBF", Units({0xDBFF, 0xDFFF})},
        {"", L""},
    };
    for (const Pair& pair : pairs) {
        EXPECT_EQ(MultiByteToWideChar(CP_UTF8, pair.bytes), pair.wide) << pair.bytes;
        EXPECT_EQ(WideCharToMultiByte(CP_UTF8, pair.wide), pair.bytes) << pair.bytes;
    }
}

TEST(CodePages, DamagedUtf8GivesOneReplacementPerBadSequence)
{
    const Pair cases[] = {
        {"\xC0\xAF", Units({0xFFFD})},                 // overlong
        {"\xED\xA0\x80", Units({0xFFFD})},             // encoded surrogate
        {"\xF5\x80\x80\x80", Units({0xFFFD})},         // above U+10FFFF
        {"a\xE2\x82", Units({'a', 0xFFFD})},           // truncated at the end
        {"\xE2\x82z", Units({0xFFFD, 'z'})},           // truncated in the middle
        {"\x80x", Units({0xFFFD, 'x'})},               // stray continuation byte
        {"\xFF\xFE", Units({0xFFFD, 0xFFFD})},         // bytes that never start a sequence
        {"ok\xC3\xA9\xC0", Units({'o', 'k', 0xE9, 0xFFFD})},
    };
    for (const Pair& pair : cases)
        EXPECT_EQ(MultiByteToWideChar(CP_UTF8, pair.bytes), pair.wide) << pair.bytes;
}

TEST(CodePages, LoneSurrogatesEncodeAsTheReplacementCharacter)
{
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, Units({'a', 0xD83D, 'b'})), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, Units({0xDE00, 0xD83D})), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

} // namespace
