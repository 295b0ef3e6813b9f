#include "widgets/WidgetManager.h"

#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "widgets/Widget.h"

#include <cstddef>

namespace Tandry {

WidgetManager::WidgetManager()
{
    manager = this;
}

int WidgetManager::ButtonBit(int clickCount)
{
    if (clickCount < 0)
        return 2;
    return clickCount == 3 ? 4 : 1;
}

bool WidgetManager::MouseDown(int mouseXPos, int mouseYPos, int clickCount)
{
    // TODO: hit testing, capture, focus and the widget's mouse-down come with the widget manager.
    lastInputUpdateCount = updateCount;
    actualDownButtons |= ButtonBit(clickCount);
    downButtons |= ButtonBit(clickCount);
    mouseX = mouseXPos;
    mouseY = mouseYPos;
    return true;
}

bool WidgetManager::MouseUp(int mouseXPos, int mouseYPos, int clickCount)
{
    // TODO: the captured widget's mouse-up and the release of the capture come with the widget manager.
    lastInputUpdateCount = updateCount;
    actualDownButtons &= ~ButtonBit(clickCount);
    downButtons &= ~ButtonBit(clickCount);
    mouseX = mouseXPos;
    mouseY = mouseYPos;
    return true;
}

bool WidgetManager::MouseMove(int mouseXPos, int mouseYPos)
{
    // TODO: dragging, mouse enter and leave come with the widget manager.
    lastInputUpdateCount = updateCount;
    mouseIn = true;
    mouseX = mouseXPos;
    mouseY = mouseYPos;
    return true;
}

bool WidgetManager::MouseExit()
{
    // TODO: the over widget's mouse-leave comes with the widget manager.
    lastInputUpdateCount = updateCount;
    mouseIn = false;
    return true;
}

bool WidgetManager::MouseWheel(int /*delta*/)
{
    // TODO: the focus widget's wheel comes with the widget manager.
    lastInputUpdateCount = updateCount;
    return true;
}

bool WidgetManager::KeyDown(int key)
{
    // TODO: the focus widget's key-down comes with the widget manager.
    lastInputUpdateCount = updateCount;
    if (key >= 0 && key < kKeyCount)
        keyDown[static_cast<std::size_t>(key)] = true;
    return true;
}

bool WidgetManager::KeyUp(int key)
{
    // TODO: the focus widget's key-up comes with the widget manager.
    lastInputUpdateCount = updateCount;
    if (key >= 0 && key < kKeyCount)
        keyDown[static_cast<std::size_t>(key)] = false;
    return true;
}

bool WidgetManager::KeyChar(wchar_t /*ch*/)
{
    // TODO: the focus widget's character and Ctrl+Tab come with the widget manager.
    lastInputUpdateCount = updateCount;
    return true;
}

bool WidgetManager::UpdateFrame()
{
    // TODO: updating every widget and the cursor widget comes with the widget manager.
    ++updateCount;
    return dirty;
}

void WidgetManager::UpdateFrameDelta(float /*fraction*/)
{
    // TODO: the partial update of every widget comes with the widget manager.
}

bool WidgetManager::DrawScreen()
{
    // TODO: the flag state, the base modal layer, the cursor widget, the deferred overlays and the profiler
    // sections come with the widget manager; DrawAll (the children of a widget) comes with the widget tree.
    Graphics g(drawImage);
    // One lock for the whole pass instead of one per drawing call.
    auto* surfaceImage = dynamic_cast<DDImage*>(drawImage);
    const bool locked = surfaceImage != nullptr && surfaceImage->LockSurface();

    Graphics screen(g);
    screen.Translate(-drawOffsetRect.x, -drawOffsetRect.y);
    bool drew = false;
    for (Widget* widget : children) {
        if (!widget->dirty || !widget->visible)
            continue;
        Graphics widgetGraphics(screen);
        widgetGraphics.Translate(widget->x, widget->y);
        widgetGraphics.SetFastStretch(!widgetGraphics.mIs3DScreen);
        widgetGraphics.SetLinearBlend(widgetGraphics.mIs3DScreen);
        widget->Draw(&widgetGraphics);
        widget->dirty = false;
        drew = true;
    }

    if (locked)
        surfaceImage->UnlockSurface();
    return drew;
}

void WidgetManager::WindowGotFocus()
{
    // TODO: the focus widget's got-focus comes with the widget manager.
    windowHasFocus = true;
}

void WidgetManager::WindowLostFocus()
{
    if (!windowHasFocus)
        return;
    // TODO: key-ups and the focus widget's lost-focus come with the widget manager.
    actualDownButtons = 0;
    keyDown.fill(false);
    windowHasFocus = false;
}

void WidgetManager::ReleaseCapture()
{
    // TODO: the captured widget's pending mouse-ups come with the widget manager.
    downButtons = 0;
}

void WidgetManager::AddBaseModal(Widget* widget, const FlagChange& flagChange)
{
    // TODO: taking the over, captured and focus widgets from below the layer comes with the widget manager.
    baseModalStack.push_back({widget, baseModalWidget, focusWidget, belowModalFlagChange});
    baseModalWidget = widget;
    belowModalFlagChange = flagChange;
}

void WidgetManager::RemoveBaseModal(Widget* widget)
{
    if (baseModalStack.empty() || baseModalStack.back().widget != widget)
        return;
    // TODO: restoring the focus and unwinding layers opened without a base come with the widget manager.
    const BaseModalEntry entry = baseModalStack.back();
    baseModalStack.pop_back();
    baseModalWidget = entry.previousBaseModal;
    belowModalFlagChange = entry.previousBelowModalFlagChange;
}

} // namespace Tandry
