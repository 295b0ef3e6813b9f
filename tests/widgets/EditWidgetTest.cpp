#include "EditTestSupport.h"

#include "graphics/context/Graphics.h"
#include "widgets/Dialog.h"

#include <gtest/gtest.h>

namespace {

using Tandry::EditWidget;
using WidgetTest::EditFixture;
using WidgetTest::kAdvance;

using EditKeys = EditFixture;

TEST_F(EditKeys, TypingIsOneUndoStepAndASecondUndoRedoesIt)
{
    Type(L"abc");
    EXPECT_EQ(edit->text, L"abc");
    EXPECT_EQ(edit->cursorPos, 3);
    Undo();
    EXPECT_EQ(edit->text, L"");
    EXPECT_EQ(edit->cursorPos, 0);
    Undo();
    EXPECT_EQ(edit->text, L"abc");
    EXPECT_EQ(edit->cursorPos, 3);
}

TEST_F(EditKeys, BackspaceAndDeleteRunsUndoAsOneStepAndAMoveStartsANewRun)
{
    struct Case {
        const char* name;
        std::function<void()> edits;
        std::wstring after;
        std::wstring undone;
    };
    const std::vector<Case> cases = {
        {"backspace run", [this] { Backspace(); Backspace(); Backspace(); }, L"abc", L"abcdef"},
        {"delete run", [this] { Press(36); Delete(); Delete(); }, L"cdef", L"abcdef"},
        {"backspace, move, backspace", [this] { Backspace(); Press(37); Backspace(); }, L"abce",
         L"abcde"},
        {"typing then backspace joins the run", [this] { Type(L"xy"); Backspace(); }, L"abcdefx",
         L"abcdef"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        edit->SetText(L"abcdef", true);
        // Far from every position, so the first edit starts a run.
        edit->lastModifyIdx = -5;
        c.edits();
        EXPECT_EQ(edit->text, c.after);
        Undo();
        EXPECT_EQ(edit->text, c.undone);
    }
}

TEST_F(EditKeys, PasteStopsAtMaxCharsAndAtTheFirstLineBreak)
{
    edit->maxChars = 3;
    host.clipboard = "hello";
    Paste();
    EXPECT_EQ(edit->text, L"hel");
    EXPECT_EQ(edit->cursorPos, 3);
    // Ctrl+V's own character, then nothing past the limit is even offered.
    EXPECT_EQ(listener.charsAsked, 1 + 3);

    edit->maxChars = -1;
    edit->SetText(L"", true);
    for (const char* clip : {"ab\ncd", "ab\r\ncd", "ab\rcd"}) {
        edit->SetText(L"", true);
        host.clipboard = clip;
        Paste();
        EXPECT_EQ(edit->text, L"ab") << clip;
    }
}

TEST_F(EditKeys, PasteReplacesTheSelectionAndSkipsRefusedAndWidthlessCharacters)
{
    edit->SetText(L"0123", true);
    edit->cursorPos = 1;
    edit->hilitePos = 3;
    listener.refuseChar = [](wchar_t c) { return c == L'x'; };
    host.clipboard = std::string("ax\tb");
    Paste();
    EXPECT_EQ(edit->text, L"0ab3");
    EXPECT_EQ(edit->cursorPos, 3);
    EXPECT_EQ(edit->hilitePos, -1);
}

TEST_F(EditKeys, APasswordFieldShowsAndCopiesItsCharacter)
{
    edit->passwordChar = L'*';
    Type(L"abc");
    EXPECT_EQ(edit->GetDisplayString(), L"***");
    With(kShift, 37);
    With(kShift, 37);
    EXPECT_EQ(Selected(), L"bc");
    Copy();
    EXPECT_EQ(host.clipboard, "**");
    // Copy keeps the selection; cut takes the real characters out.
    EXPECT_EQ(Selected(), L"bc");
    Cut();
    EXPECT_EQ(edit->text, L"a");
    EXPECT_EQ(edit->GetDisplayString(), L"*");
    EXPECT_EQ(edit->hilitePos, -1);
}

TEST_F(EditKeys, CopyWithoutASelectionLeavesTheClipboardAlone)
{
    Type(L"abc");
    Copy();
    Cut();
    EXPECT_EQ(host.clipboardSets, 0);
    EXPECT_EQ(edit->text, L"abc");
}

TEST_F(EditKeys, TheClipboardSpeaksWindows1252BothWays)
{
    edit->SetText(L"Gr\u00fc\u00dfe \u20ac", true);
    With(kShift, 36);
    Copy();
    EXPECT_EQ(host.clipboard, std::string("\x47\x72\xFC\xDF\x65\x20\x80"));

    edit->SetText(L"", true);
    Paste();
    EXPECT_EQ(edit->text, L"Gr\u00fc\u00dfe \u20ac");

    edit->SetText(L"\u0416\u0443\u043a", true);
    With(kShift, 36);
    Copy();
    EXPECT_EQ(host.clipboard, "???");
}

TEST_F(EditKeys, WordMovesAndShiftSelection)
{
    Type(L"ab cd");
    With(kControl, 37);
    EXPECT_EQ(edit->cursorPos, 3);
    With(kControl, 37);
    EXPECT_EQ(edit->cursorPos, 0);
    With(kControl, 39);
    EXPECT_EQ(edit->cursorPos, 3);
    With(kControl, 39);
    EXPECT_EQ(edit->cursorPos, 5);

    Press(36);
    With(kShift, 39);
    EXPECT_EQ(Selected(), L"a");
    EXPECT_EQ(edit->cursorPos, 1);
    With(kShift, 39);
    EXPECT_EQ(Selected(), L"ab");
    Press(39);
    EXPECT_EQ(edit->cursorPos, 2);
    EXPECT_EQ(edit->hilitePos, -1);

    // Left without Shift goes to the selection's start.
    Press(36);
    With(kShift, 39);
    With(kShift, 39);
    EXPECT_EQ(edit->cursorPos, 2);
    Press(37);
    EXPECT_EQ(edit->cursorPos, 0);
    EXPECT_EQ(edit->hilitePos, -1);
}

TEST_F(EditKeys, HomeAndEndAndTypingOverASelection)
{
    Type(L"hello");
    Press(36);
    EXPECT_EQ(edit->cursorPos, 0);
    With(kShift, 35);
    EXPECT_EQ(Selected(), L"hello");
    Type(L"j");
    EXPECT_EQ(edit->text, L"j");
    EXPECT_EQ(edit->cursorPos, 1);
    Undo();
    EXPECT_EQ(edit->text, L"hello");
}

TEST_F(EditKeys, TheListenerVetoesTextsAndHearsEnter)
{
    listener.refuseText = [](const std::wstring& t) { return t.find(L' ') != std::wstring::npos; };
    edit->id = 7;
    Type(L"a b");
    EXPECT_EQ(edit->text, L"ab");
    EXPECT_EQ(edit->cursorPos, 2);
    Press(13, 13);
    EXPECT_EQ(listener.entered, std::vector<std::wstring>{L"7 ab"});
    edit->SetText(L"x y", true);
    EXPECT_EQ(edit->text, L"ab");
}

TEST_F(EditKeys, ControlCharactersAreNeverInsertedAndLetterKeysSkipTheKeyVeto)
{
    Type(L"abc");
    Backspace();
    EXPECT_EQ(edit->text, L"ab");
    Press(9, 9);
    Press(27, 27);
    EXPECT_EQ(edit->text, L"ab");

    listener.keys.clear();
    for (const int key : {64, 65, 77, 89, 90, 91})
        Press(key);
    EXPECT_EQ(listener.keys, (std::vector<int>{64, 90, 91}));

    // A refused key does nothing; a refused character is not typed.
    listener.refuseKey = [](int key) { return key == 8; };
    listener.refuseChar = [](wchar_t c) { return c == L'q'; };
    Press(8);
    Type(L"q");
    EXPECT_EQ(edit->text, L"ab");
    // Characters typed with Ctrl or Alt held are not inserted.
    With(18, 0, L'z');
    With(kControl, 0, L'z');
    EXPECT_EQ(edit->text, L"ab");
}

TEST_F(EditKeys, PixelLimitsCutTheTextToFitEveryFont)
{
    edit->maxPixels = 20;
    Type(L"abcdef");
    EXPECT_EQ(edit->text, L"abc");
    EXPECT_EQ(edit->cursorPos, 3);

    // 20 points: 27 pixels, 13 wide. The width-check font takes maxPixels
    // while its own limit is not above 0, and replaces the field font's check.
    Tandry::SysFont field("Arial Unicode MS", 10, 0);
    Tandry::SysFont wide("Arial Unicode MS", 20, 0);
    ASSERT_EQ(wide.CharWidth(L'a'), 13);
    edit->SetFont(&field, &wide);
    edit->SetText(L"", true);
    edit->maxPixels = 30;
    Type(L"abcdef");
    EXPECT_EQ(edit->text, L"ab");
    edit->widthCheckList[0].second = 40;
    edit->SetText(L"", true);
    Type(L"abcdef");
    EXPECT_EQ(edit->text, L"abc");
}

TEST_F(EditKeys, ALongPasteIsCutToThePixelLimit)
{
    edit->maxPixels = 200;
    host.clipboard = std::string(200000, 'k');
    Paste();
    EXPECT_EQ(edit->text, std::wstring(200 / kAdvance, L'k'));
    EXPECT_EQ(edit->cursorPos, 200 / kAdvance);
}

TEST_F(EditKeys, IndexesPastAShortenedTextAreCut)
{
    Type(L"abcdefgh");
    edit->hilitePos = 8;
    edit->leftPos = 7;
    edit->text = L"ab";
    edit->cursorPos = 1;
    Copy();
    EXPECT_EQ(host.clipboard, "b");
    Tandry::MemoryImage image;
    WidgetTest::FillImage(image, 200, 20, 0);
    Tandry::Graphics g(&image);
    edit->Draw(&g);
    Press(37);
    EXPECT_EQ(edit->cursorPos, 1);
    EXPECT_EQ(edit->hilitePos, -1);
}

TEST_F(EditKeys, HiliteWordTakesUnderscoresDigitsAndCyrillicLetters)
{
    struct Case {
        std::wstring text;
        int cursor;
        std::wstring word;
    };
    const std::vector<Case> cases = {
        {L"ab_cd ef", 3, L"ab_cd"},
        {L"ab_cd ef", 0, L"ab_cd"},
        {L"x1 \u0416\u044f\u0410z!", 4, L"\u0416\u044f\u0410z"},
    };
    for (const Case& c : cases) {
        edit->SetText(c.text, true);
        edit->cursorPos = c.cursor;
        edit->HiliteWord();
        EXPECT_EQ(Selected(), c.word) << c.cursor;
    }
}

TEST_F(EditKeys, DoubleClickingTheSecondHalfOfAWordSelectsIt)
{
    edit->SetText(L"ab_cd ef", true);
    // 'c' starts at 4 + 18; its middle, plus the 5 of the hit test, is x 26.
    const int clickX = 24;
    manager.MouseDown(clickX, 10, 1);
    manager.MouseUp(clickX, 10, 1);
    EXPECT_EQ(edit->cursorPos, 3);
    manager.MouseDown(clickX, 10, 2);
    EXPECT_TRUE(edit->dragSelect);
    manager.MouseUp(clickX, 10, 2);
    EXPECT_FALSE(edit->dragSelect);
    EXPECT_EQ(Selected(), L"ab_cd");
}

TEST_F(EditKeys, DraggingSelectsFromThePress)
{
    edit->SetText(L"abcdef", true);
    manager.MouseDown(2, 10, 1);
    manager.MouseDrag(2 + 3 * kAdvance, 10);
    manager.MouseUp(2 + 3 * kAdvance, 10, 1);
    EXPECT_EQ(Selected(), L"abc");
    // A press and release on the same place leaves no selection.
    manager.MouseDown(20, 10, 1);
    manager.MouseUp(20, 10, 1);
    EXPECT_EQ(edit->hilitePos, -1);
}

TEST_F(EditKeys, TheMouseSetsTheTextCursor)
{
    manager.MouseMove(10, 10);
    manager.MouseMove(500, 500);
    EXPECT_EQ(host.cursorCalls, (std::vector<std::string>{"kind 3", "apply", "kind 0", "apply"}));
}

TEST_F(EditKeys, GetCharAtCountsFromTheFirstVisibleCharacter)
{
    edit->SetText(std::wstring(50, L'm'), true);
    // Thresholds: the middle of character i plus 5.
    EXPECT_EQ(edit->GetCharAt(7, 0), 0);
    EXPECT_EQ(edit->GetCharAt(8, 0), 1);
    EXPECT_EQ(edit->GetCharAt(13, 0), 1);
    EXPECT_EQ(edit->GetCharAt(14, 0), 2);
    edit->leftPos = 20;
    EXPECT_EQ(edit->GetCharAt(0, 0), 0);
    EXPECT_EQ(edit->GetCharAt(7, 0), 0);
    EXPECT_EQ(edit->GetCharAt(8, 0), 21);
    EXPECT_EQ(edit->GetCharAt(100000, 0), 50);
}

TEST_F(EditKeys, FocusCursorScrollsByTenOrByOne)
{
    // 38 wide: the cursor is hidden once it is 30 pixels or more right of the view.
    edit->Resize(0, 0, 38, 20);
    edit->SetText(std::wstring(30, L'm'), false);
    EXPECT_EQ(edit->leftPos, 29);
    edit->cursorPos = 20;
    edit->FocusCursor(true);
    EXPECT_EQ(edit->leftPos, 19);
    edit->leftPos = 29;
    edit->FocusCursor(false);
    EXPECT_EQ(edit->leftPos, 20);

    edit->leftPos = 0;
    edit->cursorPos = 30;
    edit->FocusCursor(false);
    EXPECT_EQ(edit->leftPos, 26);
    edit->leftPos = 0;
    edit->FocusCursor(true);
    // 10, 20, then capped at the last character.
    EXPECT_EQ(edit->leftPos, 29);
}

TEST_F(EditKeys, ACharacterWiderThanTheFieldStopsTheScroll)
{
    edit->Resize(0, 0, 12, 20);
    edit->SetText(L"abc", false);
    EXPECT_EQ(edit->leftPos, 2);
    edit->SetText(L"a", false);
    EXPECT_EQ(edit->leftPos, 0);
}

TEST_F(EditKeys, TheCaretBlinksOnlyWithTheFocus)
{
    EXPECT_TRUE(edit->showingCursor);
    std::vector<int> flips;
    bool shown = edit->showingCursor;
    for (int update = 1; update <= 123; ++update) {
        edit->Update();
        if (edit->showingCursor != shown)
            flips.push_back(update);
        shown = edit->showingCursor;
    }
    EXPECT_EQ(flips, (std::vector<int>{41, 82, 123}));

    manager.SetFocus(nullptr);
    EXPECT_FALSE(edit->showingCursor);
    for (int update = 0; update < 200; ++update)
        edit->Update();
    EXPECT_FALSE(edit->showingCursor);
    // Moving the cursor shows the caret at once and restarts the blink.
    manager.SetFocus(edit);
    for (int update = 0; update < 41; ++update)
        edit->Update();
    EXPECT_FALSE(edit->showingCursor);
    Type(L"a");
    EXPECT_TRUE(edit->showingCursor);
    EXPECT_EQ(edit->blinkAcc, 0);
}

TEST_F(EditKeys, SetFontKeepsCopies)
{
    auto* given = new Tandry::SysFont("Arial Unicode MS", 12, 0);
    edit->SetFont(given, given);
    delete given;
    ASSERT_NE(edit->font, nullptr);
    ASSERT_EQ(edit->widthCheckList.size(), 1u);
    EXPECT_EQ(edit->font->GetHeight(), 16);
    EXPECT_EQ(edit->widthCheckList[0].second, -1);
    // A field's own font handed back in is copied before it is replaced.
    edit->SetFont(edit->font, nullptr);
    EXPECT_EQ(edit->font->GetHeight(), 16);
    EXPECT_TRUE(edit->widthCheckList.empty());
}

TEST_F(EditKeys, ADoubleClickInsideADialogSelectsTheWordOnRelease)
{
    manager.RemoveWidget(edit);
    auto* dialog = new Tandry::Dialog(5, false, L"", L"", L"", 0);
    dialog->Resize(100, 100, 400, 200);
    manager.AddWidget(dialog);
    dialog->AddWidget(edit);
    edit->Resize(20, 50, 200, 20);
    edit->SetText(L"one two three", true);
    // "two" spans 4..7: a point in its first half, on the screen.
    const int screenX = 100 + 20 + 4 * kAdvance + 9;
    manager.MouseDown(screenX, 160, 1);
    manager.MouseUp(screenX, 160, 1);
    manager.MouseDown(screenX, 160, 2);
    manager.MouseUp(screenX, 160, 2);
    EXPECT_EQ(Selected(), L"two");
    dialog->RemoveWidget(edit);
    manager.RemoveWidget(dialog);
    delete dialog;
}

} // namespace
