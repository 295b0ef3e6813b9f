// The edit field's text: keys, typing, the clipboard, undo and the limits.
#include "widgets/EditWidget.h"

#include "platform/codepage/CodePages.h"
#include "util/StringUtils.h"
#include "widgets/EditListener.h"
#include "widgets/SysFont.h"
#include "widgets/WidgetHost.h"
#include "widgets/WidgetManager.h"

#include <algorithm>
#include <climits>

namespace Tandry {

namespace {

constexpr int kBackspaceKey = 8;
constexpr int kEnterKey = 13;
constexpr int kShiftKey = 16;
constexpr int kControlKey = 17;
constexpr int kAltKey = 18;
constexpr int kEndKey = 35;
constexpr int kHomeKey = 36;
constexpr int kLeftKey = 37;
constexpr int kRightKey = 39;
constexpr int kDeleteKey = 46;
// Ctrl+C, Ctrl+V, Ctrl+X and Ctrl+Z as the characters the window system makes.
constexpr wchar_t kCopyChar = 3;
constexpr wchar_t kPasteChar = 22;
constexpr wchar_t kCutChar = 24;
constexpr wchar_t kUndoChar = 26;

} // namespace

EditWidget::EditWidget(EditListener* editListener) : listener(editListener)
{
    static constexpr int kColors[][3] = {{255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}};
    SetColors(kColors, 5);
}

EditWidget::~EditWidget()
{
    delete font;
    for (auto& entry : widthCheckList)
        delete entry.first;
}

const std::wstring& EditWidget::GetDisplayString()
{
    if (passwordChar == 0)
        return text;
    if (passwordDisplayString.size() != text.size())
        passwordDisplayString.assign(text.size(), passwordChar);
    return passwordDisplayString;
}

void EditWidget::SetText(const std::wstring& newText, bool leftPosToZero)
{
    if (listener != nullptr && !listener->AllowText(id, newText))
        return;
    text = newText;
    cursorPos = LengthOf(text);
    hilitePos = -1;
    if (leftPosToZero)
        leftPos = 0;
    else
        FocusCursor(true);
    MarkDirty();
}

void EditWidget::SetFont(Font* newFont, Font* widthCheckFont)
{
    // Copies first: either may be one of the fonts about to be deleted.
    Font* copy = newFont != nullptr ? newFont->Duplicate() : nullptr;
    Font* checkCopy = widthCheckFont != nullptr ? widthCheckFont->Duplicate() : nullptr;
    delete font;
    font = copy;
    for (auto& entry : widthCheckList)
        delete entry.first;
    widthCheckList.clear();
    if (checkCopy != nullptr)
        widthCheckList.emplace_back(checkCopy, -1);
}

int EditWidget::LengthOf(const std::wstring& s)
{
    return static_cast<int>(std::min<size_t>(s.size(), INT_MAX));
}

Font* EditWidget::MeasuringFont()
{
    if (font == nullptr)
        font = new SysFont("Arial Unicode MS", 10, 0);
    return font;
}

int EditWidget::WidthOf(const Font* measure, const std::wstring& s, int from, int to)
{
    const int length = LengthOf(s);
    from = std::clamp(from, 0, length);
    to = std::clamp(to, 0, length);
    if (measure == nullptr || to <= from)
        return 0;
    return measure->StringWidth(s.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)), 1.0f, 1.0f,
                                0.0f);
}

bool EditWidget::KeyHeld(int key) const
{
    return manager != nullptr && manager->keyDown[static_cast<size_t>(key)];
}

bool EditWidget::HasSelection() const
{
    return hilitePos != -1 && hilitePos != cursorPos;
}

int EditWidget::SelectionStart() const
{
    return std::clamp(std::min(cursorPos, hilitePos), 0, LengthOf(text));
}

int EditWidget::SelectionEnd() const
{
    return std::clamp(std::max(cursorPos, hilitePos), 0, LengthOf(text));
}

void EditWidget::DeleteSelection()
{
    const int start = SelectionStart();
    text.erase(static_cast<size_t>(start), static_cast<size_t>(SelectionEnd() - start));
    cursorPos = start;
    hilitePos = -1;
}

bool EditWidget::IsPartOfWord(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'_' ||
           (c >= 0x410 && c <= 0x44F);
}

void EditWidget::KeyChar(wchar_t ch)
{
    if (listener == nullptr || listener->AllowChar(id, ch))
        ProcessKey(0, ch);
}

void EditWidget::KeyDown(int key)
{
    // Ctrl+letter combinations arrive as characters of their own.
    if (key < 65 || key > 89) {
        if (listener == nullptr || listener->AllowKey(id, key))
            ProcessKey(key, 0);
    }
    Widget::KeyDown(key);
}

void EditWidget::CopySelection()
{
    const std::wstring& shown = GetDisplayString();
    const int start = std::clamp(std::min(cursorPos, hilitePos), 0, LengthOf(shown));
    const int end = std::clamp(std::max(cursorPos, hilitePos), 0, LengthOf(shown));
    WidgetHost* host = HostOf(this);
    if (host == nullptr)
        return;
    // Characters the ANSI code page lacks become '?' instead of losing the copy.
    host->SetClipboardText(Platform::WideCharToMultiByte(
        Platform::CP_ACP, std::wstring_view(shown).substr(static_cast<size_t>(start), static_cast<size_t>(end - start))));
}

void EditWidget::Paste()
{
    WidgetHost* host = HostOf(this);
    if (host == nullptr)
        return;
    const std::wstring pasted = NarrowToWideAnsi(host->GetClipboardText());
    const Font* measure = MeasuringFont();
    for (const wchar_t c : pasted) {
        if (c == L'\r' || c == L'\n')
            break;
        // Whatever lands at maxChars or later is cut at the end anyway.
        if (maxChars >= 0 && !HasSelection() && cursorPos >= maxChars)
            break;
        if (measure->CharWidth(c) == 0 || (listener != nullptr && !listener->AllowChar(id, c)))
            continue;
        if (HasSelection())
            DeleteSelection();
        cursorPos = std::clamp(cursorPos, 0, LengthOf(text));
        text.insert(static_cast<size_t>(cursorPos), 1, c);
        ++cursorPos;
    }
}

void EditWidget::MoveWordLeft()
{
    cursorPos = std::clamp(cursorPos, 0, LengthOf(text));
    while (cursorPos > 0 && !IsPartOfWord(text[static_cast<size_t>(cursorPos - 1)]))
        --cursorPos;
    while (cursorPos > 0 && IsPartOfWord(text[static_cast<size_t>(cursorPos - 1)]))
        --cursorPos;
}

void EditWidget::MoveWordRight()
{
    // The character after the cursor decides, up to the last one.
    const int last = LengthOf(text) - 1;
    while (cursorPos >= 0 && cursorPos < last && IsPartOfWord(text[static_cast<size_t>(cursorPos + 1)]))
        ++cursorPos;
    while (cursorPos >= 0 && cursorPos < last && !IsPartOfWord(text[static_cast<size_t>(cursorPos + 1)]))
        ++cursorPos;
}

void EditWidget::TypeCharacter(wchar_t ch, bool modifierHeld, bool* changed)
{
    if (modifierHeld || MeasuringFont()->CharWidth(ch) < 1 ||
        (listener != nullptr && !listener->AllowChar(id, ch)))
        return;
    if (HasSelection()) {
        DeleteSelection();
        *changed = true;
    } else {
        cursorPos = std::clamp(cursorPos, 0, LengthOf(text));
        if (cursorPos != lastModifyIdx + 1)
            *changed = true;
        lastModifyIdx = cursorPos;
    }
    text.insert(static_cast<size_t>(cursorPos), 1, ch);
    hilitePos = -1;
    ++cursorPos;
    FocusCursor(false);
}

void EditWidget::ProcessKey(int key, wchar_t ch)
{
    if ((key == kShiftKey || key == kControlKey) && ch == 0)
        return;
    const bool shift = KeyHeld(kShiftKey);
    const bool control = KeyHeld(kControlKey);
    const bool alt = KeyHeld(kAltKey);

    if (shift && hilitePos == -1)
        hilitePos = cursorPos;
    bool dropSelection = !shift;

    const std::wstring oldText = text;
    const int oldCursor = cursorPos;
    const int oldHilite = hilitePos;
    bool changed = false;

    if (ch == kCopyChar || ch == kCutChar) {
        if (HasSelection()) {
            CopySelection();
            if (ch == kCopyChar) {
                dropSelection = false;
            } else {
                DeleteSelection();
                changed = true;
            }
        }
    } else if (ch == kPasteChar) {
        Paste();
        changed = true;
    } else if (ch == kUndoChar) {
        lastModifyIdx = -1;
        std::swap(text, undoText);
        std::swap(cursorPos, undoCursor);
        std::swap(hilitePos, undoHilitePos);
        dropSelection = false;
    } else if (key == kBackspaceKey || key == kDeleteKey) {
        if (!text.empty()) {
            if (HasSelection()) {
                DeleteSelection();
                changed = true;
            } else if (key == kBackspaceKey && cursorPos > 0 && cursorPos <= LengthOf(text)) {
                text.erase(static_cast<size_t>(cursorPos - 1), 1);
                if (cursorPos != lastModifyIdx + 1)
                    changed = true;
                lastModifyIdx = cursorPos - 2;
                --cursorPos;
                hilitePos = -1;
            } else if (key == kDeleteKey && cursorPos >= 0 && cursorPos < LengthOf(text)) {
                text.erase(static_cast<size_t>(cursorPos), 1);
                if (cursorPos != lastModifyIdx)
                    changed = true;
                lastModifyIdx = cursorPos;
            }
        }
    } else if (key == kEnterKey) {
        if (listener != nullptr)
            listener->EditWidgetText(id, text);
    } else if (key == kEndKey) {
        cursorPos = LengthOf(text);
    } else if (key == kHomeKey) {
        cursorPos = 0;
    } else if (key == kLeftKey) {
        if (control)
            MoveWordLeft();
        else if (!shift && HasSelection())
            cursorPos = std::min(cursorPos, hilitePos);
        else
            --cursorPos;
    } else if (key == kRightKey) {
        if (control)
            MoveWordRight();
        if (shift || !HasSelection())
            ++cursorPos;
        else
            cursorPos = std::max(cursorPos, hilitePos);
    } else if (ch != 0) {
        TypeCharacter(ch, control || alt, &changed);
    } else {
        dropSelection = false;
    }

    if (maxChars >= 0 && LengthOf(text) > maxChars)
        text.resize(static_cast<size_t>(maxChars));
    ApplyPixelLimits();
    cursorPos = std::clamp(cursorPos, 0, LengthOf(text));
    if (cursorPos != oldCursor) {
        blinkAcc = 0;
        showingCursor = true;
    }
    FocusCursor(true);
    if (dropSelection || hilitePos == cursorPos)
        hilitePos = -1;

    if (listener != nullptr && !listener->AllowText(id, text)) {
        text = oldText;
        cursorPos = oldCursor;
        hilitePos = oldHilite;
    } else if (changed) {
        undoText = oldText;
        undoCursor = oldCursor;
        undoHilitePos = oldHilite;
    }
    MarkDirty();
}

void EditWidget::ApplyPixelLimits()
{
    if (widthCheckList.empty()) {
        if (maxPixels > 0)
            CutToWidth(MeasuringFont(), maxPixels);
        return;
    }
    for (const auto& [checkFont, checkPixels] : widthCheckList) {
        const int limit = checkPixels > 0 ? checkPixels : maxPixels;
        if (limit > 0)
            CutToWidth(checkFont, limit);
    }
}

void EditWidget::CutToWidth(const Font* measure, int limit)
{
    if (measure == nullptr)
        return;
    int length = LengthOf(text);
    if (WidthOf(measure, text, 0, length) <= limit)
        return;
    // A pasted text may be long: halve the search for the longest prefix that
    // fits, then drop the last characters one at a time as usual.
    int fits = 0;
    int tooWide = length;
    while (tooWide - fits > 1) {
        const int middle = fits + (tooWide - fits) / 2;
        if (WidthOf(measure, text, 0, middle) <= limit)
            fits = middle;
        else
            tooWide = middle;
    }
    length = fits;
    while (length > 0 && WidthOf(measure, text, 0, length) > limit)
        --length;
    text.resize(static_cast<size_t>(length));
}

} // namespace Tandry
