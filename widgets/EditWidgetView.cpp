// The edit field's view: scrolling, hit testing, the mouse, focus and blink,
// and drawing.
#include "widgets/EditWidget.h"

#include "graphics/context/Font.h"
#include "graphics/context/Graphics.h"
#include "widgets/WidgetHost.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace Tandry {

namespace {

constexpr int kArrowCursor = 0;
constexpr int kTextCursor = 3;

} // namespace

void EditWidget::HiliteWord()
{
    const std::wstring& shown = GetDisplayString();
    const int length = LengthOf(shown);
    if (cursorPos > length || cursorPos < 0)
        return;
    hilitePos = cursorPos;
    while (hilitePos > 0 && IsPartOfWord(shown[static_cast<size_t>(hilitePos - 1)]))
        --hilitePos;
    while (cursorPos < length - 1 && IsPartOfWord(shown[static_cast<size_t>(cursorPos + 1)]))
        ++cursorPos;
    if (cursorPos < length)
        ++cursorPos;
}

int EditWidget::GetCharAt(int mouseX, int /*mouseY*/)
{
    const std::wstring& shown = GetDisplayString();
    const Font* measure = MeasuringFont();
    const int length = LengthOf(shown);
    int result = 0;
    int before = 0;
    for (int i = std::max(leftPos, 0); i < length; ++i) {
        const int after = WidthOf(measure, shown, leftPos, i + 1);
        // Prefix widths only grow, so the first miss ends the search.
        if (static_cast<int64_t>(mouseX) < static_cast<int64_t>(before + after) / 2 + 5)
            break;
        result = i + 1;
        before = after;
    }
    return result;
}

void EditWidget::FocusCursor(bool bigJump)
{
    const int step = bigJump ? 10 : 1;
    while (cursorPos < leftPos && leftPos > 0) {
        leftPos = std::max(leftPos - step, 0);
        MarkDirty();
    }
    if (font == nullptr || width < 9)
        return;
    const std::wstring& shown = GetDisplayString();
    const int last = LengthOf(shown) - 1;
    const int cursorX = WidthOf(font, shown, 0, cursorPos);
    const auto hidden = [&](int left) { return cursorX - WidthOf(font, shown, 0, left) >= width - 8; };
    if (!hidden(leftPos))
        return;
    if (leftPos >= last) {
        // Past the end of a shortened text the view comes back to its last character.
        if (last >= 0 && last != leftPos) {
            leftPos = last;
            MarkDirty();
        }
        return;
    }
    // The scroll stops at the first step that shows the cursor, or at the last
    // character; searched by halving, as the text may be long.
    const int64_t steps = (static_cast<int64_t>(last) - leftPos + step - 1) / step;
    const auto at = [&](int64_t k) { return static_cast<int>(std::min<int64_t>(leftPos + k * step, last)); };
    int64_t low = 1;
    int64_t high = steps;
    int64_t found = steps;
    while (low <= high) {
        const int64_t middle = low + (high - low) / 2;
        if (!hidden(at(middle))) {
            found = middle;
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    leftPos = at(found);
    MarkDirty();
}

void EditWidget::MarkDirty()
{
    if (GetColor(kBackgroundColor).alpha == 255)
        Widget::MarkDirty();
    else
        MarkAreaDirty();
}

void EditWidget::Update()
{
    Widget::Update();
    if (!hasFocus)
        return;
    if (++blinkAcc > blinkDelay) {
        MarkDirty();
        blinkAcc = 0;
        showingCursor = !showingCursor;
    }
}

void EditWidget::Resize(int newX, int newY, int newWidth, int newHeight)
{
    Widget::Resize(newX, newY, newWidth, newHeight);
    FocusCursor(false);
}

bool EditWidget::WantsFocus()
{
    return true;
}

void EditWidget::GotFocus()
{
    Widget::GotFocus();
    blinkAcc = 0;
    showingCursor = true;
    MarkDirty();
}

void EditWidget::LostFocus()
{
    Widget::LostFocus();
    showingCursor = false;
    MarkDirty();
}

void EditWidget::ShowCursor(int kind)
{
    WidgetHost* host = HostOf(this);
    if (host == nullptr)
        return;
    host->SetCursorKind(kind);
    host->ApplyCursor();
}

void EditWidget::MouseEnter()
{
    ShowCursor(kTextCursor);
}

void EditWidget::MouseLeave()
{
    ShowCursor(kArrowCursor);
}

void EditWidget::MouseMove(int /*mouseX*/, int /*mouseY*/) {}

void EditWidget::MouseDown(int mouseX, int mouseY, int /*button*/, int clickCount)
{
    hilitePos = -1;
    cursorPos = GetCharAt(mouseX, mouseY);
    if (clickCount > 1) {
        dragSelect = true;
        HiliteWord();
    }
    MarkDirty();
    FocusCursor(false);
}

void EditWidget::MouseDrag(int mouseX, int mouseY)
{
    if (hilitePos == -1)
        hilitePos = cursorPos;
    cursorPos = GetCharAt(mouseX, mouseY);
    MarkDirty();
    FocusCursor(false);
}

void EditWidget::MouseUp(int mouseX, int mouseY, int /*button*/, int /*clickCount*/)
{
    if (hilitePos == cursorPos)
        hilitePos = -1;
    if (dragSelect) {
        hilitePos = -1;
        cursorPos = GetCharAt(mouseX, mouseY);
        dragSelect = false;
        HiliteWord();
    }
    MarkDirty();
}

void EditWidget::Draw(Graphics* g)
{
    Font* drawFont = MeasuringFont();
    const std::wstring& shown = GetDisplayString();
    g->SetColor(GetColor(kBackgroundColor));
    g->FillRect(0, 0, width, height);

    const int left = std::clamp(leftPos, 0, LengthOf(shown));
    const std::wstring shownPart = shown.substr(static_cast<size_t>(left));
    const int fontHeight = drawFont->GetHeight();
    const int top = (height - fontHeight) / 2;
    const int baseline = top + drawFont->GetAscent();

    const std::unique_ptr<Graphics> textPass(g->Clone());
    textPass->SetFont(drawFont);
    textPass->ClipRect(4, 0, width - 8, height);
    textPass->SetColor(GetColor(kTextColor));
    textPass->DrawString(shownPart, 4, baseline);

    const int leftX = WidthOf(drawFont, shown, 0, left);
    const int caret = WidthOf(drawFont, shown, 0, cursorPos) - leftX;
    const int end = hilitePos != -1 ? WidthOf(drawFont, shown, 0, hilitePos) - leftX : caret + 2;
    const int limit = std::max(width - 8, 0);
    const int from = std::clamp(showingCursor ? caret : caret + 2, 0, limit);
    const int to = std::clamp(end, 0, limit);
    const std::unique_ptr<Graphics> markPass(g->Clone());
    markPass->SetFont(drawFont);
    markPass->ClipRect(std::min(from, to) + 4, top, std::abs(to - from), fontHeight);
    if (hasFocus || alwaysShowSelection) {
        markPass->SetColor(GetColor(kSelectionColor));
        markPass->FillRect(0, 0, width, height);
        markPass->SetColor(GetColor(kSelectedTextColor));
    } else {
        markPass->SetColor(GetColor(kTextColor));
    }
    markPass->DrawString(shownPart, 4, baseline);

    if (drawCursorBar && hasFocus && !HasSelection()) {
        g->SetColor(GetColor(kSelectionColor));
        g->FillRect(std::clamp(caret, 0, limit) + 4, top, 2, fontHeight);
    }

    g->SetColor(GetColor(kOutlineColor));
    g->DrawRect(0, 0, width - 1, height - 1);
}

} // namespace Tandry
