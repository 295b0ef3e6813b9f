#include "graphics/context/Font.h"

#include <gtest/gtest.h>

#include <string>

#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace Tandry {
namespace {

// Implements only what a font must: every character is (code % 7 + 1)
// pixels wide, plus spacing, times scaleX. It keeps the last text it saw, so
// the narrow forms' conversion can be checked.
class CodeFont : public Font {
public:
    using Font::DrawString;
    using Font::MeasureText;

    mutable std::wstring lastText;

    Font* Duplicate() const override { return new CodeFont(*this); }
    void MeasureText(FloatRect& out, const std::wstring& text, float x, float y, float scaleX, float,
                     float spacing, int, int) const override
    {
        lastText = text;
        float width = 0.0f;
        for (const wchar_t c : text)
            width += (static_cast<float>(c % 7 + 1) + spacing) * scaleX;
        out = {x, y, width, 10.0f};
    }
    void DrawString(Graphics*, int, int, const std::wstring& text, const Color&, const Rect&, float, float, float,
                    int, int) override
    {
        lastText = text;
    }
};

TEST(Font, FieldsStartEmptyAndDriveTheMetrics)
{
    CodeFont font;
    EXPECT_FALSE(font.IsLoaded());
    EXPECT_EQ(font.GetAscent(), 0);
    EXPECT_EQ(font.GetHeight(), 0);
    EXPECT_EQ(font.GetLineSpacing(), 0);

    font.mAscent = 12;
    font.mHeight = 15;
    font.mLineSpacingOffset = -2;
    font.mLoaded = true;
    EXPECT_TRUE(font.IsLoaded());
    EXPECT_EQ(font.GetAscent(), 12);
    EXPECT_EQ(font.GetDescent(), 3);
    EXPECT_EQ(font.GetHeight(), 15);
    EXPECT_EQ(font.GetLineSpacing(), 13);
    EXPECT_EQ(font.GetLineSpacingOffset(), -2);
}

TEST(Font, CharWidthIsTheWidthOfTheOneCharacterTextAndIgnoresThePreviousOne)
{
    CodeFont font;
    for (const wchar_t c : {L'a', L'b', L'W', L'\x20AC'}) {
        SCOPED_TRACE(static_cast<int>(c));
        const int expected = c % 7 + 1;
        EXPECT_EQ(font.CharWidth(c), expected);
        EXPECT_EQ(font.StringWidth(std::wstring(1, c), 1.0f, 1.0f, 0.0f), expected);
        for (const wchar_t prev : {L'\0', L'A', L'V', L'\x20AC'})
            EXPECT_EQ(font.CharWidthKern(c, prev), expected);
    }
}

TEST(Font, StringWidthTruncatesTowardZero)
{
    CodeFont font;
    // "a" is 97 % 7 + 1 = 7 wide.
    const struct {
        float scaleX;
        float spacing;
        int width;
    } cases[] = {
        {1.0f, 0.0f, 7}, {0.5f, 0.0f, 3}, {1.5f, 0.0f, 10}, {1.0f, -7.5f, 0}, {1.0f, -8.9f, -1}, {1.0f, 0.9f, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scaleX << " " << c.spacing);
        EXPECT_EQ(font.StringWidth(std::wstring(L"a"), c.scaleX, 1.0f, c.spacing), c.width);
    }
}

TEST(Font, NarrowFormsReadWindows1252)
{
    CodeFont font;
    // 0x80 is the euro sign, 0x9F Y with diaeresis; the others widen to themselves.
    const struct {
        char c;
        wchar_t wide;
    } cases[] = {{'a', L'a'}, {'\x80', L'\x20AC'}, {'\x9F', L'\x0178'}, {'\xE9', L'\xE9'}, {'\xA0', L'\xA0'}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(c.c)));
        EXPECT_EQ(font.CharWidth(c.c), font.CharWidth(c.wide));
        EXPECT_EQ(font.lastText, std::wstring(1, c.wide));
        EXPECT_EQ(font.CharWidthKern(c.c, 'x'), font.CharWidth(c.wide));
        EXPECT_EQ(font.StringWidth(std::string(3, c.c), 1.0f, 1.0f, 0.0f),
                  font.StringWidth(std::wstring(3, c.wide), 1.0f, 1.0f, 0.0f));
    }
    FloatRect narrow;
    FloatRect wide;
    font.MeasureText(narrow, std::string("x\x80y"), 3.0f, 4.0f, 2.0f, 1.0f, 1.0f, kAlignCenter, kAlignBottom);
    font.MeasureText(wide, std::wstring(L"x\x20ACy"), 3.0f, 4.0f, 2.0f, 1.0f, 1.0f, kAlignCenter, kAlignBottom);
    EXPECT_EQ(narrow.width, wide.width);
    EXPECT_EQ(narrow.x, wide.x);

    font.DrawString(nullptr, 0, 0, std::string("\x80\x85"), Color(), Rect(), 1.0f, 1.0f, 0.0f, 0, 0);
    EXPECT_EQ(font.lastText, L"\x20AC\x2026");
}

} // namespace
} // namespace Tandry
