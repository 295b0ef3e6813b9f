#include "EditTestSupport.h"

#include "graphics/context/Graphics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using Tandry::Color;
using Tandry::EditWidget;
using Tandry::MemoryImage;
using Tandry::Rect;
using WidgetTest::kAdvance;

constexpr int kWidth = 60;
constexpr int kHeight = 20;
// The 10-point box font: 13 high, ascent 10, so the text's top is 3 and its baseline 13.
constexpr int kFontHeight = 13;
constexpr int kTop = (kHeight - kFontHeight) / 2;
constexpr int kBaseline = kTop + 10;

const Color kBackground(250, 250, 240);
const Color kOutline(10, 20, 30);
const Color kText(200, 0, 0);
const Color kSelection(0, 0, 200);
const Color kSelectedText(0, 200, 0);

struct Look {
    std::wstring text;
    int leftPos = 0;
    int cursorPos = 0;
    int hilitePos = -1;
    bool showingCursor = true;
    bool focused = true;
    bool alwaysShowSelection = false;
    bool cursorBar = false;
};

void Fill(MemoryImage& image, const Rect& rect, const Color& color)
{
    for (int y = std::max(rect.y, 0); y < std::min(rect.y + rect.height, image.mHeight); ++y)
        for (int x = std::max(rect.x, 0); x < std::min(rect.x + rect.width, image.mWidth); ++x)
            image.GetBits()[y * image.mWidth + x] = color.Packed();
}

void Text(MemoryImage& image, const std::wstring& text, const Color& color, const Rect& clip)
{
    Tandry::SysFont font("Arial Unicode MS", 10, 0);
    Tandry::Graphics g(&image);
    font.DrawString(&g, 4, kBaseline, text, color, clip, 1.0f, 1.0f, 0.0f, Tandry::kAlignLeft,
                    Tandry::kAlignBaseline);
}

// The picture the field's drawing rules give, with every character kAdvance wide.
void Expected(MemoryImage& image, const Look& look)
{
    WidgetTest::FillImage(image, kWidth, kHeight, 0);
    Fill(image, Rect(0, 0, kWidth, kHeight), kBackground);
    const std::wstring shown = look.text.substr(static_cast<size_t>(look.leftPos));
    Text(image, shown, kText, Rect(4, 0, kWidth - 8, kHeight));

    const int caret = (look.cursorPos - look.leftPos) * kAdvance;
    const int end = look.hilitePos != -1 ? (look.hilitePos - look.leftPos) * kAdvance : caret + 2;
    const int from = std::clamp(look.showingCursor ? caret : caret + 2, 0, kWidth - 8);
    const int to = std::clamp(end, 0, kWidth - 8);
    const Rect mark(std::min(from, to) + 4, kTop, std::abs(to - from), kFontHeight);
    if (look.focused || look.alwaysShowSelection) {
        Fill(image, mark, kSelection);
        Text(image, shown, kSelectedText, mark);
    }
    const bool selected = look.hilitePos != -1 && look.hilitePos != look.cursorPos;
    if (look.cursorBar && look.focused && !selected)
        Fill(image, Rect(std::clamp(caret, 0, kWidth - 8) + 4, kTop, 2, kFontHeight), kSelection);

    Fill(image, Rect(0, 0, kWidth, 1), kOutline);
    Fill(image, Rect(0, kHeight - 1, kWidth, 1), kOutline);
    Fill(image, Rect(0, 0, 1, kHeight), kOutline);
    Fill(image, Rect(kWidth - 1, 0, 1, kHeight), kOutline);
}

class EditDraw : public ::testing::Test {
protected:
    void Draw(MemoryImage& image, const Look& look)
    {
        EditWidget edit(nullptr);
        Tandry::SysFont font("Arial Unicode MS", 10, 0);
        edit.SetFont(&font, nullptr);
        edit.Resize(0, 0, kWidth, kHeight);
        for (const auto& [index, color] : {std::pair{0, kBackground}, std::pair{1, kOutline}, std::pair{2, kText},
                                           std::pair{3, kSelection}, std::pair{4, kSelectedText}})
            edit.SetColor(index, color);
        edit.text = look.text;
        edit.leftPos = look.leftPos;
        edit.cursorPos = look.cursorPos;
        edit.hilitePos = look.hilitePos;
        edit.showingCursor = look.showingCursor;
        edit.hasFocus = look.focused;
        edit.alwaysShowSelection = look.alwaysShowSelection;
        edit.drawCursorBar = look.cursorBar;
        WidgetTest::FillImage(image, kWidth, kHeight, 0);
        Tandry::Graphics g(&image);
        edit.Draw(&g);
    }
    // The field's picture against the rules' picture.
    void ExpectLook(const Look& look)
    {
        MemoryImage got;
        MemoryImage want;
        Draw(got, look);
        Expected(want, look);
        EXPECT_EQ(WidgetTest::FirstDifference(got, want), "");
    }

    WidgetTest::BoxFonts fonts;
};

TEST_F(EditDraw, TextCaretSelectionAndOutline)
{
    struct Case {
        const char* name;
        Look look;
    };
    const std::vector<Case> cases = {
        {"selection", {L"abcdef", 0, 1, 3}},
        {"selection backwards", {L"abcdef", 0, 4, 2}},
        {"caret on", {L"abc", 0, 2, -1, true}},
        {"caret off", {L"abc", 0, 2, -1, false}},
        {"selection without focus", {L"abcdef", 0, 1, 3, true, false}},
        {"selection shown without focus", {L"abcdef", 0, 1, 3, true, false, true}},
        {"scrolled", {L"abcdefghijklmnopqrst", 5, 8, -1, true}},
        {"selection past the view", {L"abcdefghijklmnopqrst", 5, 6, 19, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectLook(c.look);
    }
    // The text really is there: the first box of "abc" at x 4 + 1 on the
    // baseline row, and the caret of "caret on" in the selection colour.
    MemoryImage got;
    Draw(got, {L"abc", 0, 2, -1, true});
    EXPECT_EQ(got.GetPixel(5, kBaseline - 1), kText.Packed());
    EXPECT_EQ(got.GetPixel(4 + 2 * kAdvance, kTop), kSelection.Packed());
    EXPECT_EQ(got.GetPixel(4 + 2 * kAdvance + 2, kTop), kBackground.Packed());
}

TEST_F(EditDraw, TheCursorBarMarksTheCaretInBothPhases)
{
    struct Case {
        const char* name;
        Look look;
        bool bar;
    };
    const std::vector<Case> cases = {
        {"on, caret shown", {L"abc", 0, 1, -1, true, true, false, true}, true},
        {"on, caret hidden", {L"abc", 0, 1, -1, false, true, false, true}, true},
        {"off", {L"abc", 0, 1, -1, false, true, false, false}, false},
        {"no focus", {L"abc", 0, 1, -1, false, false, false, true}, false},
        {"selection", {L"abc", 0, 1, 3, false, true, false, true}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectLook(c.look);
        MemoryImage got;
        Draw(got, c.look);
        const int barX = 4 + kAdvance;
        for (const int x : {barX, barX + 1}) {
            const bool barColoured = got.GetPixel(x, kTop) == kSelection.Packed() &&
                                     got.GetPixel(x, kTop + kFontHeight - 1) == kSelection.Packed();
            // With a selection from 1 the selection fill covers these columns instead.
            if (c.look.hilitePos == -1) {
                EXPECT_EQ(barColoured, c.bar || (c.look.showingCursor && c.look.focused)) << x;
            }
        }
    }
}

class EditDirty : public WidgetTest::EditFixture {};

TEST_F(EditDirty, ATranslucentBackgroundMarksTheAreaBelowDirty)
{
    Tandry::Widget below;
    below.Resize(0, 0, 300, 100);
    manager.AddWidget(&below);
    manager.BringToFront(edit);
    for (const int alpha : {255, 128}) {
        SCOPED_TRACE(alpha);
        edit->SetColor(0, Color(255, 255, 255, alpha));
        below.dirty = false;
        edit->dirty = false;
        edit->MarkDirty();
        EXPECT_TRUE(edit->dirty);
        EXPECT_EQ(below.dirty, alpha != 255);
    }
    manager.RemoveWidget(&below);
}

} // namespace
