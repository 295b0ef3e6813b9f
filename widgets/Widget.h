// A node of the widget tree: every screen, board, dialog and control is one.
// It adds visibility, enabling, focus and mouse state, a colour table, the
// input operations the manager calls and a few text-drawing helpers. The
// application deletes widgets through this base (deferred deletion), so the
// destructor is virtual; a widget must be out of the manager's tree by then.
#pragma once

#include "graphics/types/Color.h"
#include "widgets/Insets.h"
#include "widgets/WidgetContainer.h"

#include <string>
#include <vector>

namespace Tandry {

class Image;

class Widget : public WidgetContainer {
public:
    Widget() = default;
    ~Widget() override;

    virtual void ZOrderChanged();
    virtual void SetVisible(bool isVisible);
    virtual void SetColors(const int (*rows)[4], int count);
    // Alpha 255.
    virtual void SetColors(const int (*rows)[3], int count);
    virtual void SetColor(int index, const Color& color);
    virtual Color GetColor(int index, const Color& fallback) const;
    // A shared opaque black, which must not be changed, past the table.
    virtual const Color& GetColor(int index) const;
    virtual void SetDisabled(bool isDisabled);
    virtual void ShowHandCursor(bool show);
    virtual void Resize(const Rect& rect);
    virtual void Resize(int newX, int newY, int newWidth, int newHeight);
    virtual void Move(int newX, int newY);
    virtual bool WantsFocus();
    virtual void DrawDeferredOverlay(Graphics* g, int overlayPriority);
    virtual void DrawDeferredOverlay(Graphics* g);
    virtual void GotFocus();
    virtual void LostFocus();
    virtual void KeyChar(wchar_t ch);
    // Tab moves the focus to tabNext, or tabPrev with Shift held.
    virtual void KeyDown(int key);
    virtual void KeyUp(int key);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void MouseMove(int mouseX, int mouseY);
    // Buttons: 0 left, 1 right, 2 middle.
    virtual void MouseDown(int mouseX, int mouseY, int button, int clickCount);
    // Click counts: 1 / 2 left, -1 / -2 right, 3 middle.
    virtual void MouseDown(int mouseX, int mouseY, int clickCount);
    virtual void MouseUp(int mouseX, int mouseY, int button, int clickCount);
    virtual void MouseUp(int mouseX, int mouseY, int clickCount);
    virtual void MouseUp(int mouseX, int mouseY);
    virtual void MouseDrag(int mouseX, int mouseY);
    virtual void MouseWheel(int delta);
    // In the widget's own coordinates; false lets the widget below take the hit.
    virtual bool HitTestPoint(int localX, int localY);
    // Centred in the widget on the baseline y, the shadow first; the colour
    // stays at color. The box of both.
    virtual Rect WriteCenteredLineShadowed(Graphics* g, int lineY, const std::wstring& text, const Color& color,
                                           const Color& shadowColor, const Point& offset);
    virtual Rect WriteCenteredLine(Graphics* g, int lineY, const std::wstring& text);
    // Graphics::DrawStringJustified in the current colour, colour codes on.
    virtual int WriteString(Graphics* g, const std::wstring& text, int textX, int textY, int textWidth,
                            int justification, bool draw = true, int offset = 0, int length = -1);
    // The height used.
    virtual int WriteWordWrapped(Graphics* g, const Rect& rect, const std::wstring& text, int lineSpacing,
                                 int justification);
    virtual int GetWordWrappedHeight(Graphics* g, int wrapWidth, const std::wstring& text, int lineSpacing);
    // 1 for anything below 10, negative numbers included.
    virtual int CountDigits(int number);
    // The strip holds the ten digit cells 0 to 9 side by side.
    virtual void WriteNumberFromStrip(Graphics* g, int number, int stripX, int stripY, Image* strip, int spacing);
    // In the parent's coordinates; the right and bottom edges are outside.
    virtual bool Contains(int pointX, int pointY);
    // The rectangle shrunk by mouseInsets.
    virtual Rect GetInsetRect();

    bool visible = true;
    // A widget with this cleared never takes a mouse hit itself.
    bool mouseVisible = true;
    bool disabled = false;
    bool hasFocus = false;
    bool isDown = false;
    bool isOver = false;
    // Never taken as an opaque cover when marking areas dirty.
    bool hasTransparencies = false;
    std::vector<Color> colors;
    Insets mouseInsets;
    bool handCursor = false;
    bool wantsFocus = false;
    Widget* tabPrev = nullptr;
    Widget* tabNext = nullptr;
};

// The height Graphics::DrawStringWrapped would use for the text in the width
// with g's font, left-justified, measured without drawing into g's image;
// maxWidth gets the widest line when given.
int GetWordWrappedHeight(Graphics* g, int wrapWidth, const std::wstring& text, int lineSpacing,
                         int* maxWidth = nullptr);

} // namespace Tandry
