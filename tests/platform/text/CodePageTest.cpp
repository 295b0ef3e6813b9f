#include "platform/text/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace {

using Platform::CodePage;

struct Decoded {
    bool ok;
    std::wstring text;
};

Decoded Decode(CodePage page, const std::string& bytes)
{
    const int units = Platform::MultiByteToWide(page, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (units == 0)
        return {false, L""};
    std::wstring text(static_cast<size_t>(units), L'\0');
    EXPECT_EQ(Platform::MultiByteToWide(page, bytes.data(), static_cast<int>(bytes.size()), text.data(), units),
              units);
    return {true, text};
}

struct Encoded {
    bool ok;
    std::string bytes;
    bool usedDefault;
};

Encoded Encode(CodePage page, const std::wstring& text)
{
    bool usedDefault = true;
    const int count =
        Platform::WideToMultiByte(page, text.data(), static_cast<int>(text.size()), nullptr, 0, &usedDefault);
    if (count == 0)
        return {false, "", usedDefault};
    std::string bytes(static_cast<size_t>(count), '\0');
    EXPECT_EQ(Platform::WideToMultiByte(page, text.data(), static_cast<int>(text.size()), bytes.data(), count,
                                        &usedDefault),
              count);
    return {true, bytes, usedDefault};
}

TEST(CodePageAnsi, HighBytesFollowTheWindows1252Table)
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
        const Decoded decoded = Decode(CodePage::Ansi, std::string(1, static_cast<char>(c.byte)));
        ASSERT_TRUE(decoded.ok);
        EXPECT_EQ(decoded.text, std::wstring(1, c.unit)) << "byte " << int(c.byte);
    }
}

TEST(CodePageAnsi, TheRowsThatDifferFromLatin1ReadAsTheirCharacters)
{
    std::string row;
    for (int b = 0x80; b < 0xA0; ++b)
        row += static_cast<char>(b);
    const Decoded wide = Decode(CodePage::Ansi, row);
    ASSERT_TRUE(wide.ok);
    const Encoded utf8 = Encode(CodePage::Utf8, wide.text);
    ASSERT_TRUE(utf8.ok);
    EXPECT_EQ(utf8.bytes, "€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ");
}

TEST(CodePageAnsi, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const Decoded wide = Decode(CodePage::Ansi, all);
    ASSERT_TRUE(wide.ok);
    ASSERT_EQ(wide.text.size(), all.size());
    const Encoded back = Encode(CodePage::Ansi, wide.text);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.bytes, all);
    EXPECT_FALSE(back.usedDefault);
}

TEST(CodePageAnsi, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    const struct {
        std::wstring text;
        std::string bytes;
    } cases[] = {
        {L"a\x0100z", "a?z"},
        {std::wstring(1, 0x80), "?"},              // a C1 control the code page reassigned
        {L"x\x4E2D", "x?"},
        {std::wstring{0xD83D, 0xDE00}, "?"},       // one character as a surrogate pair
        {std::wstring{0xD800, L'a'}, "?a"},        // a lone surrogate
        {std::wstring{0xDC00}, "?"},
        {std::wstring{0x110000}, "?"},             // not a UTF-16 unit at all
        {std::wstring{-1}, "?"},
    };
    for (const auto& c : cases) {
        const Encoded encoded = Encode(CodePage::Ansi, c.text);
        ASSERT_TRUE(encoded.ok);
        EXPECT_EQ(encoded.bytes, c.bytes);
        EXPECT_TRUE(encoded.usedDefault);
    }
}

TEST(CodePageUtf8, ValidSequencesDecodeToUtf16Units)
{
    const struct {
        std::string bytes;
        std::wstring units;
    } cases[] = {
        {"A", L"A"},
        {"\xC2\x80", std::wstring{0x80}},
        {"caf\xC3\xA9", L"caf\x00E9"},
        {"\xDF\xBF", std::wstring{0x7FF}},
        {"\xE0\xA0\x80", std::wstring{0x800}},
        {"\xE2\x82\xAC", std::wstring{0x20AC}},
        {"\xED\x9F\xBF", std::wstring{0xD7FF}},
        {"\xEE\x80\x80", std::wstring{0xE000}},
        {"\xEF\xBF\xBF", std::wstring{0xFFFF}},
        {"\xF0\x90\x80\x80", std::wstring{0xD800, 0xDC00}},
        {"\xF0\x9F\x98\x80", std::wstring{0xD83D, 0xDE00}},
        {"\xF4\x8F\xBF\xBF", std::wstring{0xDBFF, 0xDFFF}},
        {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
    };
    for (const auto& c : cases) {
        const Decoded decoded = Decode(CodePage::Utf8, c.bytes);
        ASSERT_TRUE(decoded.ok) << c.bytes;
        EXPECT_EQ(decoded.text, c.units) << c.bytes;
        const Encoded back = Encode(CodePage::Utf8, decoded.text);
        ASSERT_TRUE(back.ok) << c.bytes;
        EXPECT_EQ(back.bytes, c.bytes);
        EXPECT_FALSE(back.usedDefault);
    }
}

TEST(CodePageUtf8, HostileSequencesFail)
{
    const char* cases[] = {
        "\x80",                  // continuation without a lead
        "a\xBF",
        "\xC0\x80",              // overlong NUL
        "\xC1\xBF",              // overlong ASCII
        "\xE0\x80\x80",          // overlong three-byte forms
        "\xE0\x9F\xBF",
        "\xF0\x80\x80\x80",      // overlong four-byte forms
        "\xF0\x8F\xBF\xBF",
        "\xED\xA0\x80",          // encoded surrogates
        "\xED\xBF\xBF",
        "\xED\xA0\xBD\xED\xB8\x80",
        "\xF4\x90\x80\x80",      // past U+10FFFF
        "\xF5\x80\x80\x80",
        "\xF8\x88\x80\x80\x80",
        "\xFE",
        "\xFF",
        "\xC3",                  // truncated sequences
        "\xE2\x82",
        "\xF0\x90\x80",
        "ok\xE2\x82",
        "\xC3\x41",              // a lead followed by a non-continuation
        "\xE2\x41\xAC",
        "\xF0\x90\x41\x80",
    };
    for (const char* c : cases) {
        EXPECT_FALSE(Decode(CodePage::Utf8, c).ok) << c;
        // Also when read as a NUL-terminated text.
        EXPECT_EQ(Platform::MultiByteToWide(CodePage::Utf8, c, -1, nullptr, 0), 0) << c;
    }
}

TEST(CodePageUtf8, SequenceCutByTheLengthFailsEvenWhenTheBytesGoOn)
{
    const char text[] = "\xE2\x82\xAC\xF0\x9F\x98\x80";
    for (const int length : {1, 2, 4, 5, 6}) {
        EXPECT_EQ(Platform::MultiByteToWide(CodePage::Utf8, text, length, nullptr, 0), 0) << length;
        wchar_t out[8];
        EXPECT_EQ(Platform::MultiByteToWide(CodePage::Utf8, text, length, out, 8), 0) << length;
    }
    EXPECT_EQ(Platform::MultiByteToWide(CodePage::Utf8, text, 3, nullptr, 0), 1);
    EXPECT_EQ(Platform::MultiByteToWide(CodePage::Utf8, text, 7, nullptr, 0), 3);
}

TEST(CodePageUtf8, UnitsThatAreNotWellFormedUtf16FailToEncode)
{
    const std::wstring cases[] = {
        {0xD800},
        {0xDC00},
        {0xD800, L'a'},
        {L'a', 0xDFFF, 0xD800},
        {0x10000},
        {0x110000},
        {-5},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(Encode(CodePage::Utf8, c).ok) << int(c[0]);
}

TEST(CodePage, LengthsBuffersAndTerminatorsAsTheSystemCallsDefineThem)
{
    for (const CodePage page : {CodePage::Ansi, CodePage::Utf8}) {
        // -1 converts up to and including the NUL, and counts it.
        EXPECT_EQ(Platform::MultiByteToWide(page, "abc", -1, nullptr, 0), 4);
        EXPECT_EQ(Platform::WideToMultiByte(page, L"abc", -1, nullptr, 0), 4);
        wchar_t wide[8];
        std::fill(std::begin(wide), std::end(wide), L'#');
        ASSERT_EQ(Platform::MultiByteToWide(page, "abc", -1, wide, 8), 4);
        EXPECT_EQ(std::wstring(wide), L"abc");
        EXPECT_EQ(wide[4], L'#');

        // Nothing to convert, or a bad length, is a failure.
        EXPECT_EQ(Platform::MultiByteToWide(page, "abc", 0, nullptr, 0), 0);
        EXPECT_EQ(Platform::MultiByteToWide(page, "abc", -2, nullptr, 0), 0);
        EXPECT_EQ(Platform::MultiByteToWide(page, nullptr, 3, nullptr, 0), 0);
        EXPECT_EQ(Platform::WideToMultiByte(page, L"abc", 0, nullptr, 0), 0);
        EXPECT_EQ(Platform::MultiByteToWide(page, "abc", 3, nullptr, -1), 0);

        // A destination one unit short fails and is not written past its end.
        wchar_t shortWide[4] = {L'#', L'#', L'#', L'#'};
        EXPECT_EQ(Platform::MultiByteToWide(page, "abcd", 4, shortWide, 3), 0);
        EXPECT_EQ(shortWide[3], L'#');
        char shortBytes[4] = {'#', '#', '#', '#'};
        EXPECT_EQ(Platform::WideToMultiByte(page, L"abcd", 4, shortBytes, 3), 0);
        EXPECT_EQ(shortBytes[3], '#');
    }
    // A surrogate pair needs room for both units.
    wchar_t pair[2] = {L'#', L'#'};
    EXPECT_EQ(Platform::MultiByteToWide(CodePage::Utf8, "\xF0\x90\x80\x80", 4, pair, 1), 0);
    EXPECT_EQ(pair[1], L'#');
}

} // namespace
