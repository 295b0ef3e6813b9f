#include "graphics/context/Graphics.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "graphics/context/FakeFont.h"
#include "graphics/context/RecordingImage.h"

namespace Tandry {
namespace {

// A draw as the tests expect it: text, position and colour.
struct Line {
    std::wstring text;
    int x;
    int y;
};

std::vector<Line> LinesOf(const FakeFont& font)
{
    std::vector<Line> lines;
    for (const FontDraw& d : font.draws)
        lines.push_back({d.text, d.x, d.y});
    return lines;
}

void ExpectLines(const FakeFont& font, const std::vector<Line>& expected)
{
    const std::vector<Line> actual = LinesOf(font);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(actual[i].text, expected[i].text);
        EXPECT_EQ(actual[i].x, expected[i].x);
        EXPECT_EQ(actual[i].y, expected[i].y);
    }
}

class GraphicsText : public ::testing::Test {
protected:
    GraphicsText() : mGraphics(&mDest)
    {
        mGraphics.SetFont(&mFont);
        mGraphics.SetColor(mStart);
    }

    const Color mStart{10, 20, 30, 200};
    RecordingImage mDest{640, 480};
    FakeFont mFont;
    Graphics mGraphics;
};

TEST_F(GraphicsText, DrawStringHandsTheTextToTheFontUnchanged)
{
    mGraphics.SetClipRect(5, 6, 70, 80);
    mGraphics.DrawString(L"a^FF0000xb", 12, 34);
    ASSERT_EQ(mFont.draws.size(), 1u);
    const FontDraw& d = mFont.draws[0];
    EXPECT_EQ(d.context, &mGraphics);
    EXPECT_EQ(d.text, L"a^FF0000xb");
    EXPECT_EQ(d.x, 12);
    EXPECT_EQ(d.y, 34);
    EXPECT_EQ(d.color, mStart);
    EXPECT_EQ(d.clip, Rect(5, 6, 70, 80));
    EXPECT_EQ(d.scaleX, 1.0f);
    EXPECT_EQ(d.scaleY, 1.0f);
    EXPECT_EQ(d.spacing, 0.0f);
    EXPECT_EQ(d.hAlign, 0);
    EXPECT_EQ(d.vAlign, 24);
    EXPECT_EQ(mGraphics.mColor, mStart);
    EXPECT_EQ(mGraphics.GetStringWidth(L"a^FF0000xb"), 100);
}

TEST_F(GraphicsText, WithoutAFontNothingIsDrawnOrMeasured)
{
    mGraphics.SetFont(nullptr);
    mGraphics.DrawString(L"abc", 0, 0);
    EXPECT_EQ(mGraphics.GetStringWidth(L"abc"), 0);
    EXPECT_EQ(mGraphics.DrawStringJustified(L"abc", 0, 0, 100, 1), 0);
    int widest = -1;
    EXPECT_EQ(mGraphics.DrawStringWrapped(L"ab cd", Rect(0, 0, 30, 100), -1, -1, &widest), 0);
    EXPECT_EQ(widest, 0);
    EXPECT_TRUE(mFont.draws.empty());
    EXPECT_EQ(mGraphics.mColor, mStart);
}

TEST_F(GraphicsText, ColourCodeSwitchesTheColourInMidLine)
{
    EXPECT_EQ(mGraphics.DrawStringJustified(L"ab^FF0000^cd", 7, 9, 0, -1), 40);
    ExpectLines(mFont, {{L"ab", 7, 9}, {L"cd", 27, 9}});
    ASSERT_EQ(mFont.draws.size(), 2u);
    EXPECT_EQ(mFont.draws[0].color, mStart);
    EXPECT_EQ(mFont.draws[1].color, Color(255, 0, 0, 200));
    // The last code's colour stays.
    EXPECT_EQ(mGraphics.mColor, Color(255, 0, 0, 200));
}

TEST_F(GraphicsText, CaretsAndIncompleteCodes)
{
    const struct {
        const wchar_t* text;
        bool colourCodes;
        std::vector<std::wstring> drawn;
        int width;
    } cases[] = {
        {L"a^^b", true, {L"a^b"}, 30},
        {L"a^^b", false, {L"a^^b"}, 40},
        // A code that does not fit in the rest of the text ends it.
        {L"abc^12", true, {L"abc"}, 30},
        {L"abc^", true, {L"abc"}, 30},
        // Hexadecimal digits in either case; the eighth character is never looked at.
        {L"^00ff00^x", true, {L"", L"x"}, 10},
        {L"^", true, {L""}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.text, c.text + std::wcslen(c.text)));
        mFont.draws.clear();
        mGraphics.SetColor(mStart);
        mGraphics.SetWriteColoredString(c.colourCodes);
        EXPECT_EQ(mGraphics.DrawStringJustified(c.text, 0, 0, 0, -1), c.width);
        std::vector<std::wstring> drawn;
        for (const FontDraw& d : mFont.draws)
            drawn.push_back(d.text);
        EXPECT_EQ(drawn, c.drawn);
        // Measuring gives the same width and neither draws nor changes the colour.
        mFont.draws.clear();
        mGraphics.SetColor(mStart);
        EXPECT_EQ(mGraphics.DrawStringJustified(c.text, 0, 0, 0, -1, false), c.width);
        EXPECT_TRUE(mFont.draws.empty());
        EXPECT_EQ(mGraphics.mColor, mStart);
    }
}

TEST_F(GraphicsText, ColourCodeValues)
{
    const struct {
        const wchar_t* code;
        int oldColor;
        Color expected;
    } cases[] = {
        {L"^00ff00x", -1, {0, 255, 0, 200}},
        {L"^12AbCdx", -1, {0x12, 0xAB, 0xCD, 200}},
        // Characters other than hexadecimal digits count as 0.
        {L"^GG80zzx", -1, {0, 0x80, 0, 200}},
        // "oldclr" returns to the old colour, taking only its red, green and blue.
        {L"^oldclrx", -1, {10, 20, 30, 200}},
        {L"^oldclrx", 0x7F123456, {0x12, 0x34, 0x56, 200}},
        // Any other word starting with 'o' is black.
        {L"^oldcl_x", 0x123456, {0, 0, 0, 200}},
    };
    for (const auto& c : cases) {
        mGraphics.SetColor(Color(99, 99, 99, 200));
        const int oldColor = c.oldColor == -1 ? static_cast<int>(mStart.Packed()) : c.oldColor;
        mGraphics.DrawStringJustified(c.code, 0, 0, 0, -1, true, 0, -1, oldColor);
        EXPECT_EQ(mGraphics.mColor, c.expected);
    }
}

TEST_F(GraphicsText, OldColourIsTheColourTheOutermostCallStartedWith)
{
    // Centring measures first; the codes must still return to the start colour.
    EXPECT_EQ(mGraphics.DrawStringJustified(L"a^FF0000xb^oldclrxc", 0, 0, 100, 0), 30);
    ASSERT_EQ(mFont.draws.size(), 3u);
    EXPECT_EQ(mFont.draws[0].color, mStart);
    EXPECT_EQ(mFont.draws[1].color, Color(255, 0, 0, 200));
    EXPECT_EQ(mFont.draws[2].color, mStart);
    EXPECT_EQ(mFont.draws[0].x, 35);
}

TEST_F(GraphicsText, Justification)
{
    const struct {
        int justification;
        int x;
    } cases[] = {{-1, 5}, {0, 40}, {1, 75}, {7, 5}};
    for (const auto& c : cases) {
        mFont.draws.clear();
        EXPECT_EQ(mGraphics.DrawStringJustified(L"abc", 5, 9, 100, c.justification), 30);
        ExpectLines(mFont, {{L"abc", c.x, 9}});
    }
    // An odd remainder truncates toward zero, also when the text is too wide.
    mFont.draws.clear();
    mGraphics.DrawStringJustified(L"abc", 0, 0, 25, 0);
    mGraphics.DrawStringJustified(L"abc", 0, 0, 31, 0);
    ExpectLines(mFont, {{L"abc", -2, 0}, {L"abc", 0, 0}});
}

TEST_F(GraphicsText, OffsetAndLengthSelectPartOfTheText)
{
    const struct {
        int offset, length;
        const wchar_t* drawn;
    } cases[] = {
        {2, 3, L"cde"}, {2, -1, L"cdefg"}, {5, 10, L"fg"}, {7, 3, L""}, {0, 0, L""},
        // Indices outside the text are cut to it.
        {9, 2, L""}, {-3, 2, L"ab"},
    };
    for (const auto& c : cases) {
        mFont.draws.clear();
        const int width = mGraphics.DrawStringJustified(L"abcdefg", 0, 0, 0, -1, true, c.offset, c.length);
        ASSERT_EQ(mFont.draws.size(), 1u);
        EXPECT_EQ(mFont.draws[0].text, c.drawn);
        EXPECT_EQ(width, 10 * static_cast<int>(std::wcslen(c.drawn)));
    }
}

TEST_F(GraphicsText, WrappedLayout)
{
    const struct {
        const wchar_t* text;
        int width;
        std::vector<Line> lines;
        int height;
        int widest;
    } cases[] = {
        {L"", 30, {}, 0, 0},
        {L"ab", 30, {{L"ab", 0, 8}}, 10, 20},
        {L"ab cd", 30, {{L"ab", 0, 8}, {L"cd", 0, 18}}, 20, 20},
        // A word longer than the width breaks inside the word.
        {L"abcdef", 30, {{L"abc", 0, 8}, {L"def", 0, 18}}, 20, 30},
        // A line break ending the text adds a line.
        {L"ab\n", 30, {{L"ab", 0, 8}}, 20, 20},
        {L"ab\ncd", 30, {{L"ab", 0, 8}, {L"cd", 0, 18}}, 20, 20},
        {L"ab\n\ncd", 30, {{L"ab", 0, 8}, {L"", 0, 18}, {L"cd", 0, 28}}, 30, 20},
        // Spaces after a break at a space are skipped, not after a line break.
        {L"ab   cd", 30, {{L"ab ", 0, 8}, {L"cd", 0, 18}}, 20, 30},
        {L"ab\n c", 30, {{L"ab", 0, 8}, {L" c", 0, 18}}, 20, 20},
        // Narrower than one character: one character per line.
        {L"abc", 5, {{L"a", 0, 8}, {L"b", 0, 18}, {L"c", 0, 28}}, 30, 10},
        // The break goes at the last space that still fits.
        {L"a b c d", 30, {{L"a b", 0, 8}, {L"c d", 0, 18}}, 20, 30},
        // Colour codes take no room; "^^" takes one character.
        {L"^FF0000xab cd", 30, {{L"^FF0000xab", 0, 8}, {L"cd", 0, 18}}, 20, 20},
        {L"a^^b cd", 30, {{L"a^^b", 0, 8}, {L"cd", 0, 18}}, 20, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.text, c.text + std::wcslen(c.text)));
        Graphics lines(&mDest);
        FakeFont lineFont;
        lines.SetFont(&lineFont);
        int widest = -1;
        EXPECT_EQ(lines.DrawStringWrapped(c.text, Rect(0, 0, c.width, 100), -1, -1, &widest), c.height);
        EXPECT_EQ(widest, c.widest);
        // Lines are drawn with their codes; the fake font sees them as they come.
        std::vector<Line> expected;
        for (const Line& l : c.lines) {
            Graphics plain(&mDest);
            FakeFont plainFont;
            plain.SetFont(&plainFont);
            plain.DrawStringJustified(l.text, l.x, l.y, 0, -1);
            for (const FontDraw& d : plainFont.draws)
                expected.push_back({d.text, d.x, d.y});
        }
        ExpectLines(lineFont, expected);
    }
}

// Each drawn character with the colour it was drawn in.
std::vector<std::pair<wchar_t, uint32_t>> DrawnCharacters(const FakeFont& font)
{
    std::vector<std::pair<wchar_t, uint32_t>> drawn;
    for (const FontDraw& d : font.draws) {
        for (const wchar_t c : d.text)
            drawn.emplace_back(c, d.color.Packed());
    }
    return drawn;
}

TEST_F(GraphicsText, ForcedBreaksKeepCaretPairsAndColourCodesWhole)
{
    // Words without spaces, so every break is forced inside a word.
    const struct {
        const wchar_t* text;
        int width;
    } cases[] = {
        {L"ab^^cd", 20}, {L"ab^^cd", 10}, {L"ab^^cd", 5},  {L"^^^^^^", 10},
        {L"a^^^FF0000xbc", 10}, {L"a^^^FF0000xbc", 20}, {L"ab^00FF00xcd^oldclrxef", 20},
        {L"abc^0000FFx^^d", 30}, {L"^^", 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.text, c.text + std::wcslen(c.text)) << " in " << c.width);
        Graphics wrapped(&mDest);
        FakeFont wrappedFont;
        wrapped.SetFont(&wrappedFont);
        wrapped.SetColor(Color(10, 20, 30));
        wrapped.DrawStringWrapped(c.text, Rect(0, 0, c.width, 1000));

        Graphics plain(&mDest);
        FakeFont plainFont;
        plain.SetFont(&plainFont);
        plain.SetColor(Color(10, 20, 30));
        plain.DrawStringJustified(c.text, 0, 0, 0, -1, true, 0, -1, 0x0A141E);

        EXPECT_EQ(DrawnCharacters(wrappedFont), DrawnCharacters(plainFont));
    }
}

TEST_F(GraphicsText, WrappedLinesAreJustifiedAcrossTheRectangle)
{
    mGraphics.DrawStringWrapped(L"ab cde", Rect(100, 50, 40, 100), -1, 0);
    ExpectLines(mFont, {{L"ab", 110, 58}, {L"cde", 105, 68}});
    mFont.draws.clear();
    mGraphics.DrawStringWrapped(L"ab cde", Rect(100, 50, 40, 100), -1, 1);
    ExpectLines(mFont, {{L"ab", 120, 58}, {L"cde", 110, 68}});
}

TEST_F(GraphicsText, WrappedLineSpacing)
{
    EXPECT_EQ(mGraphics.DrawStringWrapped(L"ab cd ef", Rect(0, 0, 30, 100), 15), 2 + 8 + 2 * 15);
    ExpectLines(mFont, {{L"ab", 0, 8}, {L"cd", 0, 23}, {L"ef", 0, 38}});
}

TEST_F(GraphicsText, WrappedDrawRestoresTheColourAndPassesItAsOldColour)
{
    const Color colours[] = {mStart, Color(255, 255, 255, 255), Color(1, 2, 3, 0)};
    for (const Color& c : colours) {
        mFont.draws.clear();
        mGraphics.SetColor(c);
        mGraphics.DrawStringWrapped(L"^FF0000xab ^oldclrxcd ^00FF00x", Rect(0, 0, 30, 100));
        ASSERT_EQ(mFont.draws.size(), 5u);
        EXPECT_EQ(mFont.draws[1].color, Color(255, 0, 0, c.alpha));
        // Opaque white travels as 0x00FFFFFF, not as the marker -1 of the
        // current colour, which would be red by then.
        EXPECT_EQ(mFont.draws[3].text, L"cd ");
        EXPECT_EQ(mFont.draws[3].color, Color(c.red, c.green, c.blue, c.alpha));
        EXPECT_EQ(mGraphics.mColor, c);
    }
}

TEST_F(GraphicsText, WrappedMeasuringWithoutDestinationSkipsRowsBelowTheFirst)
{
    const struct {
        const wchar_t* text;
        std::vector<std::wstring> drawn;
        int height;
        int widest;
    } cases[] = {
        // "bcd" ends at a space on the second row: skipped, and not the widest.
        {L"a bcd e", {L"a", L"e"}, 30, 10},
        {L"a\nbcd\ne", {L"a", L"e"}, 30, 10},
        // A line broken inside a word always counts, as does the last line.
        {L"a bcdefg", {L"a", L"bcd", L"efg"}, 30, 30},
        {L"a bcdef", {L"a", L"bcd", L"ef"}, 30, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.text, c.text + std::wcslen(c.text)));
        Graphics measure(nullptr);
        FakeFont measureFont;
        measure.SetFont(&measureFont);
        int widest = -1;
        EXPECT_EQ(measure.DrawStringWrapped(c.text, Rect(0, 0, 30, 100), -1, -1, &widest), c.height);
        EXPECT_EQ(widest, c.widest);
        std::vector<std::wstring> drawn;
        for (const FontDraw& d : measureFont.draws)
            drawn.push_back(d.text);
        EXPECT_EQ(drawn, c.drawn);
    }
}

TEST_F(GraphicsText, WrappedRowsOutsideTheClipAreNotDrawn)
{
    // Rows at baselines 8, 18, 28, 38; the clip admits rows from 15 to below
    // 25 + the line spacing.
    mGraphics.SetClipRect(0, 15, 640, 10);
    int widest = -1;
    EXPECT_EQ(mGraphics.DrawStringWrapped(L"ab cd ef gh", Rect(0, 0, 30, 100), -1, -1, &widest), 40);
    ExpectLines(mFont, {{L"cd", 0, 18}, {L"ef", 0, 28}, {L"gh", 0, 38}});
    EXPECT_EQ(widest, 20);
}

} // namespace
} // namespace Tandry
