#include "widgets/Widget.h"

#include "widgets/WidgetHost.h"
#include "widgets/WidgetManager.h"

#include <cassert>

namespace Tandry {

namespace {

constexpr int kTabKey = 9;
constexpr int kShiftKey = 16;

// The click code's mouse button: 0 left, 1 right, 2 middle.
int ButtonOfClick(int clickCount)
{
    if (clickCount == 3)
        return 2;
    return clickCount < 0 ? 1 : 0;
}

int CountOfClick(int clickCount)
{
    return clickCount == 3 ? 1 : clickCount;
}

} // namespace

Widget::~Widget()
{
    // The manager would keep pointers to a widget deleted inside its tree.
    assert(manager == nullptr && "a widget is deleted while still in the manager's tree");
}

void Widget::ZOrderChanged() {}

void Widget::SetVisible(bool isVisible)
{
    if (visible == isVisible)
        return;
    visible = isVisible;
    if (visible)
        MarkDirty();
    else
        MarkAreaDirty();
    if (manager != nullptr)
        manager->RecheckMouse();
}

void Widget::SetColors(const int (*rows)[4], int count)
{
    colors.clear();
    for (int i = 0; i < count; ++i)
        SetColor(i, Color(rows[i][0], rows[i][1], rows[i][2], rows[i][3]));
    MarkDirty();
}

void Widget::SetColors(const int (*rows)[3], int count)
{
    colors.clear();
    for (int i = 0; i < count; ++i)
        SetColor(i, Color(rows[i][0], rows[i][1], rows[i][2], 255));
    MarkDirty();
}

void Widget::SetColor(int index, const Color& color)
{
    if (index < 0)
        return;
    const auto slot = static_cast<std::size_t>(index);
    if (colors.size() <= slot)
        colors.resize(slot + 1, Color(0, 0, 0, 255));
    colors[slot] = color;
    MarkDirty();
}

Color Widget::GetColor(int index, const Color& fallback) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= colors.size())
        return fallback;
    return colors[static_cast<std::size_t>(index)];
}

const Color& Widget::GetColor(int index) const
{
    static const Color kOpaqueBlack(0, 0, 0, 255);
    if (index < 0 || static_cast<std::size_t>(index) >= colors.size())
        return kOpaqueBlack;
    return colors[static_cast<std::size_t>(index)];
}

void Widget::SetDisabled(bool isDisabled)
{
    if (disabled == isDisabled)
        return;
    disabled = isDisabled;
    if (disabled && manager != nullptr)
        manager->DisableWidget(this);
    MarkDirty();
    if (!disabled && manager != nullptr && Contains(manager->mouseX, manager->mouseY))
        manager->MousePosition(manager->mouseX, manager->mouseY);
}

void Widget::ShowHandCursor(bool show)
{
    if (manager == nullptr || manager->app == nullptr)
        return;
    manager->app->SetCursorKind(show ? 1 : 0);
    manager->app->ApplyCursor();
}

void Widget::Resize(const Rect& rect)
{
    Resize(rect.x, rect.y, rect.width, rect.height);
}

void Widget::Resize(int newX, int newY, int newWidth, int newHeight)
{
    if (x == newX && y == newY && width == newWidth && height == newHeight)
        return;
    MarkAreaDirty();
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    MarkDirty();
    if (manager != nullptr)
        manager->RecheckMouse();
}

void Widget::Move(int newX, int newY)
{
    Resize(newX, newY, width, height);
}

bool Widget::WantsFocus()
{
    return wantsFocus;
}

void Widget::DrawDeferredOverlay(Graphics* g, int /*overlayPriority*/)
{
    DrawDeferredOverlay(g);
}

void Widget::DrawDeferredOverlay(Graphics* /*g*/) {}

void Widget::GotFocus()
{
    hasFocus = true;
}

void Widget::LostFocus()
{
    hasFocus = false;
}

void Widget::KeyChar(wchar_t /*ch*/) {}

void Widget::KeyDown(int key)
{
    if (key != kTabKey || manager == nullptr)
        return;
    Widget* next = manager->keyDown[kShiftKey] ? tabPrev : tabNext;
    if (next != nullptr)
        manager->SetFocus(next);
}

void Widget::KeyUp(int /*key*/) {}

void Widget::MouseEnter() {}

void Widget::MouseLeave() {}

void Widget::MouseMove(int /*mouseX*/, int /*mouseY*/) {}

void Widget::MouseDown(int /*mouseX*/, int /*mouseY*/, int /*button*/, int /*clickCount*/) {}

void Widget::MouseDown(int mouseX, int mouseY, int clickCount)
{
    MouseDown(mouseX, mouseY, ButtonOfClick(clickCount), CountOfClick(clickCount));
}

void Widget::MouseUp(int /*mouseX*/, int /*mouseY*/, int /*button*/, int /*clickCount*/) {}

void Widget::MouseUp(int mouseX, int mouseY, int clickCount)
{
    MouseUp(mouseX, mouseY);
    MouseUp(mouseX, mouseY, ButtonOfClick(clickCount), CountOfClick(clickCount));
}

void Widget::MouseUp(int /*mouseX*/, int /*mouseY*/) {}

void Widget::MouseDrag(int /*mouseX*/, int /*mouseY*/) {}

void Widget::MouseWheel(int /*delta*/) {}

bool Widget::HitTestPoint(int /*localX*/, int /*localY*/)
{
    return true;
}

bool Widget::Contains(int pointX, int pointY)
{
    return pointX >= x && pointX < x + width && pointY >= y && pointY < y + height;
}

Rect Widget::GetInsetRect()
{
    return Rect(x + mouseInsets.left, y + mouseInsets.top, width - mouseInsets.left - mouseInsets.right,
                height - mouseInsets.top - mouseInsets.bottom);
}

} // namespace Tandry
