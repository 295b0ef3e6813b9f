#include "widgets/WidgetContainer.h"

#include "widgets/Widget.h"

#include <algorithm>

namespace Tandry {

void WidgetContainer::AddWidget(Widget* widget)
{
    if (widget == nullptr || HasWidget(widget))
        return;
    // TODO: insertion by z-order, the manager's attach and mouse recheck come with the widget tree.
    children.push_back(widget);
    widget->parent = this;
    widget->manager = manager;
    dirty = true;
}

void WidgetContainer::RemoveWidget(Widget* widget)
{
    auto it = std::find(children.begin(), children.end(), widget);
    if (it == children.end())
        return;
    // TODO: detaching from the manager and the update iterator come with the widget tree.
    children.erase(it);
    widget->parent = nullptr;
    widget->manager = nullptr;
}

bool WidgetContainer::HasWidget(const Widget* widget) const
{
    return std::find(children.begin(), children.end(), widget) != children.end();
}

void WidgetContainer::MarkAllDirty()
{
    // TODO: marking through the parent and the widgets under translucent ones comes with the widget tree.
    dirty = true;
    for (Widget* child : children) {
        child->dirty = true;
        child->MarkAllDirty();
    }
}

void WidgetContainer::SysColorChangedAll()
{
    SysColorChanged();
    for (Widget* child : children)
        child->SysColorChangedAll();
}

void WidgetContainer::SysColorChanged() {}

void WidgetContainer::Draw(Graphics* /*g*/) {}

} // namespace Tandry
