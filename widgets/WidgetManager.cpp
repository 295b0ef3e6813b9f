#include "widgets/WidgetManager.h"

#include "util/SectionProfilerScope.h"
#include "widgets/Widget.h"
#include "widgets/WidgetFlag.h"

namespace Tandry {

WidgetManager::WidgetManager(WidgetHost* host) : app(host)
{
    manager = this;
}

bool WidgetManager::IsAttached(const Widget* widget) const
{
    return widget != nullptr && widget->manager == this;
}

bool WidgetManager::KeyHeld(int key) const
{
    return key >= 0 && key < kKeyCount && keyDown[static_cast<std::size_t>(key)];
}

int WidgetManager::GetWidgetFlags() const
{
    return windowHasFocus ? widgetFlags : noFocusFlagChange.Apply(widgetFlags);
}

WidgetFlagState WidgetManager::MakeFlagState() const
{
    WidgetFlagState state;
    state.aboveModal = baseModalWidget == nullptr;
    state.flags = GetWidgetFlags();
    state.belowModalFlags = belowModalFlagChange.Apply(state.flags);
    return state;
}

void WidgetManager::DisableWidget(Widget* widget)
{
    if (widget == nullptr)
        return;
    if (widget == overWidget) {
        overWidget = nullptr;
        SendMouseLeave(widget);
    }
    if (widget == lastDownWidget) {
        const int buttons = downButtons;
        lastDownWidget = nullptr;
        downButtons = 0;
        SendMouseUps(widget, buttons);
    }
    if (widget == focusWidget) {
        focusWidget = nullptr;
        widget->LostFocus();
    }
    if (widget == baseModalWidget)
        baseModalWidget = nullptr;
}

void WidgetManager::SetFocus(Widget* widget)
{
    if (widget == focusWidget)
        return;
    Widget* previous = focusWidget;
    // Cleared first, so that a LostFocus that moves the focus itself does
    // not come back here for the same widget.
    focusWidget = nullptr;
    if (previous != nullptr)
        previous->LostFocus();
    if (IsAttached(widget)) {
        focusWidget = widget;
        if (windowHasFocus)
            widget->GotFocus();
    }
}

void WidgetManager::RecheckMouse()
{
    if (lastDownWidget == nullptr) {
        if (mouseIn)
            MousePosition(mouseX, mouseY);
        return;
    }
    if (overWidget != nullptr && GetEnabledWidgetAt(mouseX, mouseY, nullptr, nullptr) != lastDownWidget) {
        Widget* leaving = overWidget;
        overWidget = nullptr;
        SendMouseLeave(leaving);
    }
}

void WidgetManager::RemovePopupWidget()
{
    Widget* popup = popupWidget;
    popupWidget = nullptr;
    if (popup != nullptr)
        RemoveWidget(popup);
}

namespace {

bool InSubtree(const WidgetContainer* widget, const Widget* root)
{
    for (; widget != nullptr; widget = widget->parent) {
        if (widget == root)
            return true;
    }
    return false;
}

} // namespace

void WidgetManager::ForgetSubtree(const Widget* root)
{
    for (Widget** held : {&overWidget, &focusWidget, &popupWidget, &baseModalWidget}) {
        if (InSubtree(*held, root))
            *held = nullptr;
    }
    if (InSubtree(lastDownWidget, root)) {
        lastDownWidget = nullptr;
        downButtons = 0;
    }
    for (BaseModalEntry& entry : baseModalStack) {
        if (InSubtree(entry.previousBaseModal, root))
            entry.previousBaseModal = nullptr;
        if (InSubtree(entry.previousFocus, root))
            entry.previousFocus = nullptr;
    }
}

void WidgetManager::SetBaseModal(const FlagChange& change, Widget* widget)
{
    baseModalWidget = widget;
    belowModalFlagChange = change;
    // Without a base modal widget nothing lies below one.
    if (widget == nullptr)
        return;
    if ((change.clearFlags & WIDGETFLAGS_ALLOW_MOUSE) != 0) {
        if (overWidget != nullptr && IsBelow(overWidget, widget)) {
            Widget* leaving = overWidget;
            overWidget = nullptr;
            SendMouseLeave(leaving);
        }
        if (lastDownWidget != nullptr && IsBelow(lastDownWidget, widget)) {
            Widget* captured = lastDownWidget;
            const int buttons = downButtons;
            lastDownWidget = nullptr;
            downButtons = 0;
            SendMouseUps(captured, buttons);
        }
    }
    if ((change.clearFlags & WIDGETFLAGS_ALLOW_FOCUS) != 0 && focusWidget != nullptr &&
        IsBelow(focusWidget, widget)) {
        Widget* losing = focusWidget;
        focusWidget = nullptr;
        losing->LostFocus();
    }
}

void WidgetManager::AddBaseModal(Widget* widget, const FlagChange& change)
{
    baseModalStack.push_back({widget, baseModalWidget, focusWidget, belowModalFlagChange});
    SetBaseModal(change, widget);
}

void WidgetManager::RemoveBaseModal(Widget* widget)
{
    if (baseModalStack.empty() || baseModalStack.back().widget != widget)
        return;
    while (!baseModalStack.empty()) {
        // Popped before the callbacks run, so that one that ends a layer
        // itself sees the stack as it now is.
        const BaseModalEntry entry = baseModalStack.back();
        baseModalStack.pop_back();
        SetBaseModal(entry.previousBelowModalFlagChange, entry.previousBaseModal);
        if (focusWidget == nullptr && IsAttached(entry.previousFocus)) {
            focusWidget = entry.previousFocus;
            focusWidget->GotFocus();
        }
        // A layer opened while none was active leads on to the older ones.
        if (entry.previousBaseModal != nullptr)
            break;
    }
}

bool WidgetManager::UpdateFrame()
{
    SectionProfilerScope section("WidgetManager::UpdateFrame");
    WidgetFlagState state = MakeFlagState();
    ++updateCount;
    lastManagerUpdateCount = updateCount;
    UpdateAll(&state);
    if (Widget* cursor = cursorWidget; cursor != nullptr) {
        cursor->manager = this;
        cursor->UpdateAll(&state);
        cursor->manager = nullptr;
    }
    return dirty;
}

void WidgetManager::UpdateFrameDelta(float fraction)
{
    WidgetFlagState state = MakeFlagState();
    UpdateDeltaAll(&state, fraction);
    if (Widget* cursor = cursorWidget; cursor != nullptr) {
        cursor->manager = this;
        cursor->UpdateDeltaAll(&state, fraction);
        cursor->manager = nullptr;
    }
}

} // namespace Tandry
