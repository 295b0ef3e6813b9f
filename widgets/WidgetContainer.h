// The common base of every widget and of the widget manager: the child list
// kept in z-order, the geometry, the dirty marking and the recursive update
// and draw passes. A container never owns its children; removing one leaves
// deleting it to whoever made it (RemoveAllWidgets deletes only when asked).
#pragma once

#include "graphics/types/Point.h"
#include "graphics/types/Rect.h"
#include "widgets/FlagChange.h"

#include <list>

namespace Tandry {

class Graphics;
class Widget;
class WidgetManager;
struct WidgetFlagState;

class WidgetContainer {
public:
    WidgetContainer() = default;
    WidgetContainer(const WidgetContainer&) = delete;
    WidgetContainer& operator=(const WidgetContainer&) = delete;
    virtual ~WidgetContainer() = default;

    virtual Rect GetRect() const;
    // Half-open: rectangles that only touch do not intersect.
    virtual bool Intersects(const WidgetContainer* other) const;
    // Nothing when the widget is already a child, or when this container lies
    // in the widget's subtree. A widget held by another container leaves it
    // first, so no list keeps a stale pointer to it.
    virtual void AddWidget(Widget* widget);
    // Nothing when the widget is not a child; the widget is not deleted.
    virtual void RemoveWidget(Widget* widget);
    virtual bool HasWidget(const Widget* widget) const;
    virtual void DisableWidget(Widget* widget);
    // Bottom child first; deletes them only when deleteWidgets is set.
    virtual void RemoveAllWidgets(bool deleteWidgets = false, bool recursive = false);
    virtual void SetFocus(Widget* widget);
    // Whether a is met before b in drawing order within this subtree.
    virtual bool IsBelow(const WidgetContainer* a, const WidgetContainer* b) const;
    virtual void MarkAllDirty();
    virtual void BringToFront(Widget* widget);
    virtual void SendToBack(Widget* widget);
    // A null reference: the bottom of the widget's z-order group.
    virtual void InsertBelow(Widget* widget, Widget* reference);
    // A null reference: the top of the widget's z-order group.
    virtual void InsertAbove(Widget* widget, Widget* reference);
    virtual Point GetAbsPos() const;
    virtual void MarkChildDirty(WidgetContainer* child);
    virtual void MarkDirty();
    virtual void MarkChildAreaDirty(WidgetContainer* child);
    virtual void MarkAreaDirty();
    virtual void AddedToManager(WidgetManager* widgetManager);
    virtual void RemovedFromManager(WidgetManager* widgetManager);
    virtual void Update();
    virtual void UpdateAll(WidgetFlagState* state);
    virtual void UpdateDelta(float fraction);
    virtual void UpdateDeltaAll(WidgetFlagState* state, float fraction);
    // Paints this container alone; g is translated to its origin.
    virtual void Draw(Graphics* g);
    // Painted after the children.
    virtual void DrawOverlay(Graphics* g);
    // This container and its subtree; g is translated to its origin.
    virtual void DrawAll(WidgetFlagState* state, Graphics* g);
    virtual void SysColorChangedAll();
    virtual void SysColorChanged();

    // First = bottom; sorted by ascending zOrder.
    std::list<Widget*> children;
    WidgetManager* manager = nullptr;
    WidgetContainer* parent = nullptr;
    // Set when the child under updateIterator left the list during a pass.
    bool updateIteratorModified = false;
    std::list<Widget*>::iterator updateIterator = children.end();
    int lastManagerUpdateCount = 0;
    int updateCount = 0;
    bool dirty = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    // Translucent: marking it dirty marks what lies under it too.
    bool hasAlpha = false;
    bool clip = true;
    FlagChange flagChange;
    // Deferred overlays of a lower priority are drawn before this container.
    int priority = 0;
    int zOrder = 0;

private:
    using ChildList = std::list<Widget*>;
    // Not null, not a child yet, and not an ancestor of this container.
    bool CanAdopt(const Widget* widget) const;
    // Inserts as near to position as the z-order allows.
    void InsertByZOrder(Widget* widget, ChildList::iterator position);
    // Out of the list, keeping a running update walk on the next child.
    void TakeOut(ChildList::iterator position);
    void Reorder(Widget* widget, Widget* reference, bool above);
    // MarkChildDirty for every visible sibling above the child that overlaps it.
    void MarkOverlapsAbove(ChildList::iterator at, const WidgetContainer* child);
    // The update passes' walk, safe against removals and nested passes.
    template <typename Visit>
    void WalkChildren(WidgetFlagState* state, Visit visit);
    // 0 neither met, 1 a met first, 2 b met first.
    int FindFirstInDrawingOrder(const WidgetContainer* a, const WidgetContainer* b) const;
};

} // namespace Tandry
