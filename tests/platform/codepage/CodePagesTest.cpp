#include "platform/codepage/CodePages.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

using namespace Platform;

namespace {

struct Decoded {
    std::wstring text;
    bool substituted;
};

// Converts once with and once without asking about substitutions; both must agree.
Decoded Decode(uint32_t page, std::string_view bytes)
{
    bool substituted = false;
    std::wstring text = MultiByteToWideChar(page, bytes, &substituted);
    EXPECT_EQ(MultiByteToWideChar(page, bytes), text);
    return {text, substituted};
}

struct Encoded {
    std::string bytes;
    bool substituted;
};

Encoded Encode(uint32_t page, std::wstring_view text)
{
    bool substituted = false;
    std::string bytes = WideCharToMultiByte(page, text, &substituted);
    EXPECT_EQ(WideCharToMultiByte(page, text), bytes);
    return {bytes, substituted};
}

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

TEST(CodePagesAnsi, HighBytesFollowTheWindows1252Table)
{
    const struct {
        unsigned char byte;
        wchar_t unit;
    } cases[] = {
        {0x41, L'A'},     {0x7F, 0x7F},     {0x80, 0x20AC}, {0x81, 0x0081}, {0x8A, 0x0160},
        {0x8D, 0x008D},   {0x8F, 0x008F},   {0x90, 0x0090}, {0x92, 0x2019}, {0x99, 0x2122},
        {0x9D, 0x009D},   {0x9F, 0x0178},   {0xA0, 0x00A0}, {0xE9, 0x00E9}, {0xFF, 0x00FF},
    };
    for (const auto& c : cases) {
        const Decoded decoded = Decode(CP_ACP, std::string(1, static_cast<char>(c.byte)));
        EXPECT_EQ(decoded.text, std::wstring(1, c.unit)) << "byte " << int(c.byte);
        EXPECT_FALSE(decoded.substituted);
    }
}

TEST(CodePagesAnsi, TheRowsThatDifferFromLatin1ReadAsTheirCharacters)
{
    std::string row;
    for (int b = 0x80; b < 0xA0; ++b)
        row += static_cast<char>(b);
    const Decoded wide = Decode(CP_ACP, row);
    EXPECT_FALSE(wide.substituted);
    const Encoded utf8 = Encode(CP_UTF8, wide.text);
    EXPECT_FALSE(utf8.substituted);
    EXPECT_EQ(utf8.bytes, "€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ");
}

TEST(CodePagesAnsi, BothWays)
{
    const Pair pairs[] = {
        {"\x80", Units({0x20AC})}, {"\x9F", Units({0x0178})}, {"\x81", Units({0x0081})},
        {"\x8D", Units({0x008D})}, {"\x8F", Units({0x008F})}, {"\x90", Units({0x0090})},
        {"\x9D", Units({0x009D})}, {"\xE9", Units({0x00E9})}, {"A\x85z", Units({'A', 0x2026, 'z'})},
        {std::string("a\0b", 3), Units({'a', 0, 'b'})},        {"", L""},
    };
    for (const Pair& pair : pairs) {
        const Decoded decoded = Decode(CP_ACP, pair.bytes);
        EXPECT_EQ(decoded.text, pair.wide) << pair.bytes;
        EXPECT_FALSE(decoded.substituted);
        const Encoded encoded = Encode(CP_ACP, pair.wide);
        EXPECT_EQ(encoded.bytes, pair.bytes) << pair.bytes;
        EXPECT_FALSE(encoded.substituted);
    }
}

TEST(CodePagesAnsi, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const Decoded wide = Decode(CP_ACP, all);
    ASSERT_EQ(wide.text.size(), all.size());
    EXPECT_FALSE(wide.substituted);
    const Encoded back = Encode(CP_ACP, wide.text);
    EXPECT_EQ(back.bytes, all);
    EXPECT_FALSE(back.substituted);
}

TEST(CodePagesAnsi, LongTextDecodesEveryByteAsAShortTextDoes)
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

TEST(CodePagesAnsi, CharactersWithoutAByteBecomeQuestionMarks)
{
    const struct {
        std::wstring text;
        std::string bytes;
    } cases[] = {
        {L"a\x0100z", "a?z"},
        {std::wstring(1, 0x80), "?"},              // a C1 control the code page reassigned
        {L"x\x4E2D", "x?"},
        {std::wstring{0xD83D, 0xDE00}, "?"},       // one character as a surrogate pair
        {std::wstring{L'x', 0xD83D, 0xDE00, L'y'}, "x?y"},
        {std::wstring{0xD800, L'a'}, "?a"},        // a lone surrogate
        {std::wstring{0xDC00}, "?"},
        {std::wstring{0x110000}, "?"},             // not a UTF-16 unit at all
        {std::wstring{-1}, "?"},
    };
    for (const auto& c : cases) {
        const Encoded encoded = Encode(CP_ACP, c.text);
        EXPECT_EQ(encoded.bytes, c.bytes);
        EXPECT_TRUE(encoded.substituted);
    }
}

TEST(CodePagesAnsi, EveryNumberButUtf8IsTheAnsiCodePage)
{
    EXPECT_EQ(MultiByteToWideChar(1252, "\x80\xC3\xA9"), Units({0x20AC, 0xC3, 0xA9}));
    EXPECT_EQ(WideCharToMultiByte(28591, Units({0x20AC, 0xE9})), "\x80\xE9");
}

TEST(CodePagesUtf8, ValidSequencesDecodeToUtf16Units)
{
    const Pair cases[] = {
        {"A", L"A"},
        {"\xC2\x80", std::wstring{0x80}},
        {"caf\xC3\xA9", L"caf\x00E9"},
        {"\xDF\xBF", std::wstring{0x7FF}},
        {"\xE0\xA0\x80", std::wstring{0x800}},
        {"\xE2\x82\xAC", std::wstring{0x20AC}},
        {"\xED\x9F\xBF", std::wstring{0xD7FF}},
        {"\xEE\x80\x80", std::wstring{0xE000}},
        {"\xEF\xBF\xBD", std::wstring{0xFFFD}},    // the replacement character itself is no substitution
        {"\xEF\xBF\xBF", std::wstring{0xFFFF}},
        {"\xF0\x90\x80\x80", std::wstring{0xD800, 0xDC00}},
        {"\xF0\x9F\x98\x80", std::wstring{0xD83D, 0xDE00}},
        {"\xF4\x8F\xBF\xBF", std::wstring{0xDBFF, 0xDFFF}},
        {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
        {"", L""},
    };
    for (const Pair& c : cases) {
        const Decoded decoded = Decode(CP_UTF8, c.bytes);
        EXPECT_EQ(decoded.text, c.wide) << c.bytes;
        EXPECT_FALSE(decoded.substituted) << c.bytes;
        const Encoded back = Encode(CP_UTF8, decoded.text);
        EXPECT_EQ(back.bytes, c.bytes);
        EXPECT_FALSE(back.substituted);
    }
}

TEST(CodePagesUtf8, EachMalformedSequenceBecomesOneReplacement)
{
    // A sequence is a byte that cannot start one, or a lead byte with the
    // continuation bytes it announces, as many of them as follow it.
    const Pair cases[] = {
        {"\x80", Units({0xFFFD})},                             // continuation without a lead
        {"a\xBF", Units({'a', 0xFFFD})},
        {"\x80x", Units({0xFFFD, 'x'})},
        {"\xC3\xA9\xA9", Units({0xE9, 0xFFFD})},               // one continuation too many
        {"\xC0\x80", Units({0xFFFD})},                         // overlong NUL
        {"\xC0\xAF", Units({0xFFFD})},
        {"\xC1\xBF", Units({0xFFFD})},                         // overlong ASCII
        {"\xE0\x80\x80", Units({0xFFFD})},                     // overlong three-byte forms
        {"\xE0\x9F\xBF", Units({0xFFFD})},
        {"\xF0\x80\x80\x80", Units({0xFFFD})},                 // overlong four-byte forms
        {"\xF0\x8F\xBF\xBF", Units({0xFFFD})},
        {"\xED\xA0\x80", Units({0xFFFD})},                     // encoded surrogates
        {"\xED\xBF\xBF", Units({0xFFFD})},
        {"\xED\xA0\xBD\xED\xB8\x80", Units({0xFFFD, 0xFFFD})},
        {"\xF4\x90\x80\x80", Units({0xFFFD})},                 // past U+10FFFF
        {"\xF5\x80\x80\x80", Units({0xFFFD})},
        {"\xF8\x88\x80\x80\x80", Units({0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD})},
        {"\xFE", Units({0xFFFD})},                             // bytes that never start a sequence
        {"\xFF", Units({0xFFFD})},
        {"\xFF\xFE", Units({0xFFFD, 0xFFFD})},
        {"\xC3", Units({0xFFFD})},                             // truncated sequences
        {"\xE2\x82", Units({0xFFFD})},
        {"\xF0\x90\x80", Units({0xFFFD})},
        {"ok\xE2\x82", Units({'o', 'k', 0xFFFD})},
        {"\xE2\x82z", Units({0xFFFD, 'z'})},
        {"\xE2\x82\xC3\xA9", Units({0xFFFD, 0xE9})},
        {"ok\xC3\xA9\xC0", Units({'o', 'k', 0xE9, 0xFFFD})},
        {"\xC3\x41", Units({0xFFFD, 'A'})},                    // a lead followed by a non-continuation
        {"\xE2\x41\xAC", Units({0xFFFD, 'A', 0xFFFD})},
        {"\xF0\x90\x41\x80", Units({0xFFFD, 'A', 0xFFFD})},
    };
    for (const Pair& c : cases) {
        const Decoded decoded = Decode(CP_UTF8, c.bytes);
        EXPECT_EQ(decoded.text, c.wide) << c.bytes;
        EXPECT_TRUE(decoded.substituted) << c.bytes;
        // Also when a NUL follows, as in a C string.
        const Decoded terminated = Decode(CP_UTF8, c.bytes + std::string(1, '\0'));
        EXPECT_EQ(terminated.text, c.wide + std::wstring(1, L'\0')) << c.bytes;
        EXPECT_TRUE(terminated.substituted) << c.bytes;
    }
}

TEST(CodePagesUtf8, SequenceCutByTheLengthIsMalformedEvenWhenTheBytesGoOn)
{
    const char text[] = "\xE2\x82\xAC\xF0\x9F\x98\x80";
    for (const size_t length : {1, 2, 4, 5, 6})
        EXPECT_TRUE(Decode(CP_UTF8, std::string_view(text, length)).substituted) << length;
    EXPECT_EQ(Decode(CP_UTF8, std::string_view(text, 5)).text, Units({0x20AC, 0xFFFD}));
    const Decoded three = Decode(CP_UTF8, std::string_view(text, 3));
    EXPECT_EQ(three.text, Units({0x20AC}));
    EXPECT_FALSE(three.substituted);
    const Decoded seven = Decode(CP_UTF8, std::string_view(text, 7));
    EXPECT_EQ(seven.text, Units({0x20AC, 0xD83D, 0xDE00}));
    EXPECT_FALSE(seven.substituted);
}

TEST(CodePagesUtf8, UnitsThatAreNotWellFormedUtf16EncodeAsTheReplacementCharacter)
{
    const struct {
        std::wstring text;
        std::string bytes;
    } cases[] = {
        {Units({0xD800}), "\xEF\xBF\xBD"},
        {Units({0xDC00}), "\xEF\xBF\xBD"},
        {Units({0xD800, 'a'}), "\xEF\xBF\xBD" "a"},
        {Units({'a', 0xD83D, 'b'}), "a\xEF\xBF\xBD" "b"},
        {Units({'a', 0xDFFF, 0xD800}), "a\xEF\xBF\xBD\xEF\xBF\xBD"},
        {Units({0xDE00, 0xD83D}), "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {Units({0x10000}), "\xEF\xBF\xBD"},                    // values that are not UTF-16 units
        {Units({0x110000}), "\xEF\xBF\xBD"},
        {std::wstring{-5}, "\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        const Encoded encoded = Encode(CP_UTF8, c.text);
        EXPECT_EQ(encoded.bytes, c.bytes);
        EXPECT_TRUE(encoded.substituted);
    }
}

} // namespace
