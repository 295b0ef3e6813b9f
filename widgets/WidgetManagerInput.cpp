// The widget manager's input: hit testing, enter and leave, the mouse
// capture, keys and characters. Every callback may change the tree, so the
// over, captured and focus widgets are read again after each one.
#include "widgets/WidgetManager.h"

#include "widgets/Widget.h"
#include "widgets/WidgetFlag.h"

#include <algorithm>

namespace Tandry {

namespace {

constexpr int kTabKey = 9;
constexpr int kControlKey = 17;

// Demo files and the window may send any coordinate; within this range the
// offsets of widgets from it never overflow.
constexpr int kCoordinateLimit = 1 << 24;

int Bounded(int coordinate)
{
    return std::clamp(coordinate, -kCoordinateLimit, kCoordinateLimit);
}

// The button bit of a click code: 1 left, 2 right, 4 middle.
int ButtonBit(int clickCount)
{
    if (clickCount < 0)
        return 2;
    return clickCount == 3 ? 4 : 1;
}

int ButtonId(int clickCount)
{
    if (clickCount < 0)
        return -1;
    return clickCount == 3 ? 2 : 1;
}

// The walk state shared by the whole hit test: once the base modal widget
// was passed, everything met later lies below it.
struct HitWalk {
    Widget* baseModal;
    FlagChange belowModal;
    bool passedBaseModal = false;
};

Widget* HitTest(HitWalk& walk, WidgetContainer* container, int hitX, int hitY, int flags, bool* found,
                int* localX, int* localY)
{
    flags = container->flagChange.Apply(flags);
    for (auto it = container->children.rbegin(); it != container->children.rend(); ++it) {
        Widget* child = *it;
        if (!child->disabled) {
            int childFlags = child->flagChange.Apply(flags);
            if (walk.passedBaseModal)
                childFlags = walk.belowModal.Apply(childFlags);
            if ((childFlags & WIDGETFLAGS_ALLOW_MOUSE) != 0 && child->visible) {
                const int childX = hitX - child->x;
                const int childY = hitY - child->y;
                if (Widget* inner = HitTest(walk, child, childX, childY, childFlags, found, localX, localY))
                    return inner;
                if (child->mouseVisible && child->GetInsetRect().Contains(hitX, hitY)) {
                    *found = true;
                    if (child->HitTestPoint(childX, childY)) {
                        if (localX != nullptr)
                            *localX = childX;
                        if (localY != nullptr)
                            *localY = childY;
                        return child;
                    }
                }
            }
        }
        if (child == walk.baseModal)
            walk.passedBaseModal = true;
    }
    return nullptr;
}

} // namespace

Widget* WidgetManager::HitTestTree(WidgetContainer* container, int hitX, int hitY, int flags, bool* found,
                                   int* localX, int* localY)
{
    HitWalk walk{baseModalWidget, belowModalFlagChange};
    bool foundHere = false;
    Widget* hit = HitTest(walk, container, hitX, hitY, flags, &foundHere, localX, localY);
    // Set also when a widget took the point's place but its HitTestPoint refused it.
    if (found != nullptr)
        *found = foundHere;
    return hit;
}

Widget* WidgetManager::GetWidgetAt(int hitX, int hitY, int* localX, int* localY)
{
    return HitTestTree(this, hitX, hitY, GetWidgetFlags(), nullptr, localX, localY);
}

Widget* WidgetManager::GetEnabledWidgetAt(int hitX, int hitY, int* localX, int* localY)
{
    Widget* widget = GetWidgetAt(hitX, hitY, localX, localY);
    return widget != nullptr && !widget->disabled ? widget : nullptr;
}

void WidgetManager::SendMouseEnter(Widget* widget)
{
    widget->isOver = true;
    widget->MouseEnter();
    if (widget->handCursor)
        widget->ShowHandCursor(true);
}

void WidgetManager::SendMouseLeave(Widget* widget)
{
    widget->isOver = false;
    widget->MouseLeave();
    if (widget->handCursor)
        widget->ShowHandCursor(false);
}

void WidgetManager::MousePosition(int hitX, int hitY)
{
    hitX = Bounded(hitX);
    hitY = Bounded(hitY);
    const int previousX = mouseX;
    const int previousY = mouseY;
    mouseX = hitX;
    mouseY = hitY;
    int localX = 0;
    int localY = 0;
    Widget* widget = GetEnabledWidgetAt(hitX, hitY, &localX, &localY);
    if (widget == overWidget) {
        if (widget != nullptr && (hitX != previousX || hitY != previousY))
            widget->MouseMove(localX, localY);
        return;
    }
    if (Widget* leaving = overWidget; leaving != nullptr) {
        overWidget = nullptr;
        SendMouseLeave(leaving);
    }
    // The leave may have taken the new widget out of the tree.
    if (!IsAttached(widget))
        return;
    overWidget = widget;
    SendMouseEnter(widget);
    if (overWidget == widget)
        widget->MouseMove(localX, localY);
}

bool WidgetManager::MouseDown(int mouseXPos, int mouseYPos, int clickCount)
{
    mouseXPos = Bounded(mouseXPos);
    mouseYPos = Bounded(mouseYPos);
    lastInputUpdateCount = updateCount;
    actualDownButtons |= ButtonBit(clickCount);
    MousePosition(mouseXPos, mouseYPos);
    if (popupWidget != nullptr && !popupWidget->Contains(mouseXPos, mouseYPos))
        RemovePopupWidget();

    int localX = 0;
    int localY = 0;
    Widget* widget = GetEnabledWidgetAt(mouseXPos, mouseYPos, &localX, &localY);
    if (lastDownWidget != nullptr) {
        // The capture wins; it gets the point in its own coordinates.
        widget = lastDownWidget;
        const Point origin = widget->GetAbsPos();
        localX = mouseXPos - origin.x;
        localY = mouseYPos - origin.y;
    }
    downButtons |= ButtonBit(clickCount);
    lastDownButtonId = ButtonId(clickCount);
    lastDownWidget = widget;
    if (widget == nullptr)
        return true;
    if (widget->WantsFocus())
        SetFocus(widget);
    widget->isDown = true;
    widget->MouseDown(localX, localY, clickCount);
    return true;
}

bool WidgetManager::MouseUp(int mouseXPos, int mouseYPos, int clickCount)
{
    mouseXPos = Bounded(mouseXPos);
    mouseYPos = Bounded(mouseYPos);
    lastInputUpdateCount = updateCount;
    const int bit = ButtonBit(clickCount);
    actualDownButtons &= ~bit;
    Widget* captured = lastDownWidget;
    if (captured != nullptr && (downButtons & bit) != 0) {
        downButtons &= ~bit;
        if (downButtons == 0)
            lastDownWidget = nullptr;
        captured->isDown = false;
        // Its absolute place, as for the drag, so that a widget inside a
        // container gets the release where it got the press.
        const Point origin = captured->GetAbsPos();
        captured->MouseUp(mouseXPos - origin.x, mouseYPos - origin.y, clickCount);
    } else {
        downButtons &= ~bit;
    }
    MousePosition(mouseXPos, mouseYPos);
    return true;
}

bool WidgetManager::MouseMove(int mouseXPos, int mouseYPos)
{
    lastInputUpdateCount = updateCount;
    if (downButtons != 0)
        return MouseDrag(mouseXPos, mouseYPos);
    mouseIn = true;
    MousePosition(mouseXPos, mouseYPos);
    return true;
}

bool WidgetManager::MouseDrag(int mouseXPos, int mouseYPos)
{
    mouseXPos = Bounded(mouseXPos);
    mouseYPos = Bounded(mouseYPos);
    lastInputUpdateCount = updateCount;
    mouseIn = true;
    mouseX = mouseXPos;
    mouseY = mouseYPos;
    if (overWidget != nullptr && overWidget != lastDownWidget) {
        Widget* leaving = overWidget;
        overWidget = nullptr;
        SendMouseLeave(leaving);
    }
    Widget* captured = lastDownWidget;
    if (captured == nullptr)
        return true;
    const Point origin = captured->GetAbsPos();
    captured->MouseDrag(mouseXPos - origin.x, mouseYPos - origin.y);

    Widget* widget = GetEnabledWidgetAt(mouseXPos, mouseYPos, nullptr, nullptr);
    if (widget != nullptr && widget == lastDownWidget) {
        if (overWidget == nullptr) {
            overWidget = widget;
            SendMouseEnter(widget);
        }
    } else if (Widget* leaving = overWidget; leaving != nullptr) {
        overWidget = nullptr;
        SendMouseLeave(leaving);
    }
    return true;
}

bool WidgetManager::MouseExit()
{
    lastInputUpdateCount = updateCount;
    mouseIn = false;
    if (Widget* leaving = overWidget; leaving != nullptr) {
        overWidget = nullptr;
        SendMouseLeave(leaving);
    }
    return true;
}

bool WidgetManager::MouseWheel(int delta)
{
    lastInputUpdateCount = updateCount;
    if (focusWidget != nullptr)
        focusWidget->MouseWheel(delta);
    return true;
}

bool WidgetManager::KeyDown(int key)
{
    lastInputUpdateCount = updateCount;
    if (key >= 0 && key < kKeyCount)
        keyDown[static_cast<std::size_t>(key)] = true;
    if (focusWidget != nullptr && !focusWidget->disabled)
        focusWidget->KeyDown(key);
    return true;
}

bool WidgetManager::KeyUp(int key)
{
    lastInputUpdateCount = updateCount;
    if (key >= 0 && key < kKeyCount)
        keyDown[static_cast<std::size_t>(key)] = false;
    if (key == kTabKey && KeyHeld(kControlKey))
        return true;
    if (focusWidget != nullptr)
        focusWidget->KeyUp(key);
    return true;
}

bool WidgetManager::KeyChar(wchar_t ch)
{
    lastInputUpdateCount = updateCount;
    Widget* receiver = ch == static_cast<wchar_t>(kTabKey) && KeyHeld(kControlKey) ? defaultTab : focusWidget;
    if (receiver != nullptr)
        receiver->KeyChar(ch);
    return true;
}

void WidgetManager::SendMouseUps(Widget* widget, int buttons)
{
    static constexpr int kBits[] = {1, 2, 4};
    static constexpr int kClickCounts[] = {1, -1, 3};
    for (int i = 0; i < 3; ++i) {
        if ((buttons & kBits[i]) == 0)
            continue;
        widget->isDown = false;
        const Point origin = widget->GetAbsPos();
        widget->MouseUp(mouseX - origin.x, mouseY - origin.y, kClickCounts[i]);
    }
}

void WidgetManager::ReleaseCapture()
{
    // Buttons pressed over no widget are released too: their mouse-ups may
    // never come, and until they do every move would count as a drag.
    Widget* captured = lastDownWidget;
    const int buttons = downButtons;
    downButtons = 0;
    lastDownWidget = nullptr;
    if (captured != nullptr && buttons != 0)
        SendMouseUps(captured, buttons);
}

void WidgetManager::WindowGotFocus()
{
    if (windowHasFocus)
        return;
    windowHasFocus = true;
    if (focusWidget != nullptr)
        focusWidget->GotFocus();
}

void WidgetManager::WindowLostFocus()
{
    if (!windowHasFocus)
        return;
    actualDownButtons = 0;
    for (int key = 0; key < kKeyCount; ++key) {
        if (keyDown[static_cast<std::size_t>(key)])
            KeyUp(key);
    }
    windowHasFocus = false;
    if (focusWidget != nullptr)
        focusWidget->LostFocus();
}

} // namespace Tandry
