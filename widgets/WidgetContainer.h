// The common base of every widget and of the widget manager: the child list,
// the geometry and the dirty flag. A container never owns its children;
// removing one leaves deleting it to whoever made it.
#pragma once

#include <list>

namespace Tandry {

class Graphics;
class Widget;
class WidgetManager;

class WidgetContainer {
public:
    WidgetContainer() = default;
    WidgetContainer(const WidgetContainer&) = delete;
    WidgetContainer& operator=(const WidgetContainer&) = delete;
    virtual ~WidgetContainer() = default;

    // Nothing when the widget is already a child.
    virtual void AddWidget(Widget* widget);
    // Nothing when the widget is not a child; the widget is not deleted.
    virtual void RemoveWidget(Widget* widget);
    virtual bool HasWidget(const Widget* widget) const;
    virtual void MarkAllDirty();
    virtual void SysColorChangedAll();
    virtual void SysColorChanged();
    // Paints this container alone; g is translated to its origin.
    virtual void Draw(Graphics* g);

    std::list<Widget*> children;
    WidgetManager* manager = nullptr;
    WidgetContainer* parent = nullptr;
    int updateCount = 0;
    bool dirty = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

} // namespace Tandry
