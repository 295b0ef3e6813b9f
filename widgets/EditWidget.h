// A single-line text field: a cursor and selection, horizontal scrolling, a
// blinking caret, clipboard copy, cut and paste, a one-step undo, word-wise
// moves, a password mode and limits in characters and pixels. Every change is
// offered to an EditListener, which may refuse it and hears the text on Enter.
// The profile-name dialog and the scene editor's value editors use it.
#pragma once

#include "widgets/Widget.h"

#include <string>
#include <utility>
#include <vector>

namespace Tandry {

class EditListener;
class Font;

class EditWidget : public Widget {
public:
    static constexpr int kBackgroundColor = 0;
    static constexpr int kOutlineColor = 1;
    static constexpr int kTextColor = 2;
    static constexpr int kSelectionColor = 3;
    static constexpr int kSelectedTextColor = 4;

    explicit EditWidget(EditListener* editListener);
    ~EditWidget() override;

    // A key-down (ch 0) or a typed character (key 0).
    virtual void ProcessKey(int key, wchar_t ch);
    // Selects the word of the display string around the cursor.
    virtual void HiliteWord();
    // Keeps copies of both; widthCheckFont may be null.
    virtual void SetFont(Font* newFont, Font* widthCheckFont);
    // Nothing when the listener refuses the text.
    virtual void SetText(const std::wstring& newText, bool leftPosToZero);
    virtual bool IsPartOfWord(wchar_t c);
    // The text index a click at x lands on.
    virtual int GetCharAt(int mouseX, int mouseY);
    // Scrolls the view until the cursor is visible, by 10 or by 1 characters.
    virtual void FocusCursor(bool bigJump);

    // The text, or as many password characters in password mode.
    const std::wstring& GetDisplayString();

    void MarkDirty() override;
    void Update() override;
    void Draw(Graphics* g) override;
    using Widget::Resize;
    void Resize(int newX, int newY, int newWidth, int newHeight) override;
    bool WantsFocus() override;
    void GotFocus() override;
    void LostFocus() override;
    void KeyChar(wchar_t ch) override;
    void KeyDown(int key) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(int mouseX, int mouseY) override;
    using Widget::MouseDown;
    using Widget::MouseUp;
    void MouseDown(int mouseX, int mouseY, int button, int clickCount) override;
    void MouseUp(int mouseX, int mouseY, int button, int clickCount) override;
    void MouseDrag(int mouseX, int mouseY) override;

    int id = 0;
    std::wstring text;
    std::wstring passwordDisplayString;
    // Owned; made on the first draw or measure when null.
    Font* font = nullptr;
    // Fonts (owned) in which the text must also fit, each with its own pixel
    // limit (not above 0: maxPixels).
    std::vector<std::pair<Font*, int>> widthCheckList;
    EditListener* listener;
    bool showingCursor = false;
    bool alwaysShowSelection = false;
    bool dragSelect = false;
    int cursorPos = 0;
    // The other end of the selection; -1 none.
    int hilitePos = -1;
    int blinkAcc = 0;
    int blinkDelay = 40;
    int leftPos = 0;
    // -1: no limit.
    int maxChars = -1;
    // Not above 0: no limit.
    int maxPixels = -1;
    // Not 0: shown instead of every character.
    wchar_t passwordChar = 0;
    std::wstring undoText;
    int undoCursor = 0;
    int undoHilitePos = 0;
    // Where the last single-character edit was, so runs undo as one step.
    int lastModifyIdx = 0;
    // With the focus and nothing selected, a two-pixel bar in the selection
    // colour marks the caret in both blink phases.
    bool drawCursorBar = false;

private:
    // The size as an int (texts never come near INT_MAX characters).
    static int LengthOf(const std::wstring& s);
    // The font, made with the default face when there is none.
    Font* MeasuringFont();
    // Width in the font of the characters [from, to) of s, both cut to s.
    static int WidthOf(const Font* measure, const std::wstring& s, int from, int to);
    bool KeyHeld(int key) const;
    bool HasSelection() const;
    // The selection's ends, cut to the text.
    int SelectionStart() const;
    int SelectionEnd() const;
    // Erases the selection from the text and puts the cursor at its start.
    void DeleteSelection();
    void CopySelection();
    void Paste();
    void MoveWordLeft();
    void MoveWordRight();
    // Inserts a typed character unless it is refused.
    void TypeCharacter(wchar_t ch, bool modifierHeld, bool* changed);
    void ApplyPixelLimits();
    // Drops last characters while the text is wider than limit in measure.
    void CutToWidth(const Font* measure, int limit);
    void ShowCursor(int kind);
};

} // namespace Tandry
