#include "widgets/WidgetContainer.h"

#include "graphics/context/Graphics.h"
#include "widgets/Widget.h"
#include "widgets/WidgetFlag.h"
#include "widgets/WidgetFlagState.h"
#include "widgets/WidgetHost.h"
#include "widgets/WidgetManager.h"

#include <algorithm>
#include <iterator>

namespace Tandry {

namespace {

// Detaches the widget and its subtree, deepest first, from their manager.
void DetachFromManager(Widget* widget)
{
    WidgetManager* widgetManager = widget->manager;
    if (widgetManager == nullptr)
        return;
    // A callback may change the list while the children are detached.
    const std::list<Widget*> children = widget->children;
    for (Widget* child : children)
        DetachFromManager(child);
    widgetManager->DisableWidget(widget);
    for (BaseModalEntry& entry : widgetManager->baseModalStack) {
        if (entry.previousBaseModal == widget)
            entry.previousBaseModal = nullptr;
        if (entry.previousFocus == widget)
            entry.previousFocus = nullptr;
    }
    widget->RemovedFromManager(widgetManager);
    widget->MarkAreaDirty();
    widget->manager = nullptr;
}

// Applies a container's flag change to both words of the pass for its
// subtree and puts them back when the container is done.
class FlagScope {
public:
    FlagScope(WidgetFlagState* state, const FlagChange& change)
        : mState(state), mFlags(state->flags), mBelowModalFlags(state->belowModalFlags)
    {
        state->flags = change.Apply(state->flags);
        state->belowModalFlags = change.Apply(state->belowModalFlags);
    }
    ~FlagScope()
    {
        mState->flags = mFlags;
        mState->belowModalFlags = mBelowModalFlags;
    }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    WidgetFlagState* mState;
    int mFlags;
    int mBelowModalFlags;
};

} // namespace

Rect WidgetContainer::GetRect() const
{
    return Rect(x, y, width, height);
}

bool WidgetContainer::Intersects(const WidgetContainer* other) const
{
    return std::max(x, other->x) < std::min(x + width, other->x + other->width) &&
           std::max(y, other->y) < std::min(y + height, other->y + other->height);
}

void WidgetContainer::InsertByZOrder(Widget* widget, ChildList::iterator position)
{
    while (position != children.end() && (*position)->zOrder < widget->zOrder)
        ++position;
    while (position != children.begin() && (*std::prev(position))->zOrder > widget->zOrder)
        --position;
    children.insert(position, widget);
}

void WidgetContainer::TakeOut(ChildList::iterator position)
{
    if (position == updateIterator) {
        ++updateIterator;
        updateIteratorModified = true;
    }
    children.erase(position);
}

bool WidgetContainer::CanAdopt(const Widget* widget) const
{
    if (widget == nullptr || HasWidget(widget))
        return false;
    // Never inside its own subtree: the tree would become a loop.
    for (const WidgetContainer* ancestor = this; ancestor != nullptr; ancestor = ancestor->parent) {
        if (ancestor == widget)
            return false;
    }
    return true;
}

void WidgetContainer::AddWidget(Widget* widget)
{
    if (!CanAdopt(widget))
        return;
    if (widget->parent != nullptr) {
        widget->parent->RemoveWidget(widget);
        // The leaving's callbacks may have placed it, or this container, elsewhere.
        if (widget->parent != nullptr || !CanAdopt(widget))
            return;
    }
    InsertByZOrder(widget, children.end());
    widget->manager = manager;
    widget->parent = this;
    if (manager != nullptr) {
        widget->AddedToManager(manager);
        widget->MarkAreaDirty();
        manager->RecheckMouse();
    }
    MarkDirty();
}

void WidgetContainer::RemoveWidget(Widget* widget)
{
    if (!HasWidget(widget))
        return;
    WidgetManager* widgetManager = widget->manager;
    DetachFromManager(widget);
    // The detaching callbacks may have changed the list.
    const auto it = std::find(children.begin(), children.end(), widget);
    if (it == children.end())
        return;
    TakeOut(it);
    // While it was being detached it could still be hit, focused or hovered
    // by what the callbacks set off.
    if (widgetManager != nullptr)
        widgetManager->ForgetSubtree(widget);
    widget->parent = nullptr;
}

bool WidgetContainer::HasWidget(const Widget* widget) const
{
    return widget != nullptr && std::find(children.begin(), children.end(), widget) != children.end();
}

void WidgetContainer::DisableWidget(Widget* /*widget*/) {}

void WidgetContainer::RemoveAllWidgets(bool deleteWidgets, bool recursive)
{
    while (!children.empty()) {
        Widget* widget = children.front();
        RemoveWidget(widget);
        if (recursive)
            widget->RemoveAllWidgets(deleteWidgets, recursive);
        if (deleteWidgets)
            delete widget;
    }
}

void WidgetContainer::SetFocus(Widget* /*widget*/) {}

int WidgetContainer::FindFirstInDrawingOrder(const WidgetContainer* a, const WidgetContainer* b) const
{
    for (const Widget* child : children) {
        if (child == a)
            return 1;
        if (child == b)
            return 2;
        if (const int found = child->FindFirstInDrawingOrder(a, b); found != 0)
            return found;
    }
    return 0;
}

bool WidgetContainer::IsBelow(const WidgetContainer* a, const WidgetContainer* b) const
{
    return FindFirstInDrawingOrder(a, b) == 1;
}

void WidgetContainer::MarkAllDirty()
{
    MarkDirty();
    for (Widget* child : children) {
        child->dirty = true;
        child->MarkAllDirty();
    }
}

void WidgetContainer::Reorder(Widget* widget, Widget* reference, bool above)
{
    const auto it = std::find(children.begin(), children.end(), widget);
    if (widget == nullptr || it == children.end() || widget == reference)
        return;
    if (reference != nullptr && !HasWidget(reference))
        return;
    TakeOut(it);
    if (reference == nullptr) {
        InsertByZOrder(widget, above ? children.end() : children.begin());
    } else {
        auto at = std::find(children.begin(), children.end(), reference);
        InsertByZOrder(widget, above ? std::next(at) : at);
    }
    widget->ZOrderChanged();
}

void WidgetContainer::BringToFront(Widget* widget)
{
    Reorder(widget, nullptr, true);
}

void WidgetContainer::SendToBack(Widget* widget)
{
    Reorder(widget, nullptr, false);
}

void WidgetContainer::InsertBelow(Widget* widget, Widget* reference)
{
    Reorder(widget, reference, false);
}

void WidgetContainer::InsertAbove(Widget* widget, Widget* reference)
{
    Reorder(widget, reference, true);
}

Point WidgetContainer::GetAbsPos() const
{
    if (parent == nullptr)
        return Point(x, y);
    const Point origin = parent->GetAbsPos();
    return Point(origin.x + x, origin.y + y);
}

void WidgetContainer::MarkChildDirty(WidgetContainer* child)
{
    if (child->dirty)
        return;
    MarkDirty();
    child->dirty = true;
    if (parent != nullptr)
        return;
    if (child->hasAlpha) {
        MarkChildAreaDirty(child);
        return;
    }
    const auto at = std::find(children.begin(), children.end(), child);
    if (at != children.end())
        MarkOverlapsAbove(at, child);
}

void WidgetContainer::MarkOverlapsAbove(ChildList::iterator at, const WidgetContainer* child)
{
    for (auto it = std::next(at); it != children.end(); ++it) {
        if ((*it)->visible && (*it)->Intersects(child))
            MarkChildDirty(*it);
    }
}

void WidgetContainer::MarkDirty()
{
    if (parent != nullptr)
        parent->MarkChildDirty(this);
    else
        dirty = true;
}

void WidgetContainer::MarkChildAreaDirty(WidgetContainer* child)
{
    MarkAreaDirty();
    child->dirty = true;
    if (parent != nullptr)
        return;
    const auto at = std::find(children.begin(), children.end(), child);
    if (at == children.end())
        return;

    const Rect area = Rect::Intersection(child->GetRect(), Rect(0, 0, width, height));
    for (auto it = std::make_reverse_iterator(at); it != children.rend(); ++it) {
        Widget* sibling = *it;
        if (!sibling->visible)
            continue;
        // An opaque sibling that covers the whole area hides everything below it.
        if (!sibling->hasTransparencies && !sibling->hasAlpha && area.width > 0 && area.height > 0 &&
            sibling->Contains(area.x, area.y) &&
            sibling->Contains(area.x + area.width - 1, area.y + area.height - 1)) {
            sibling->MarkDirty();
            break;
        }
        if (sibling->Intersects(child))
            MarkChildDirty(sibling);
    }
    MarkOverlapsAbove(at, child);
}

void WidgetContainer::MarkAreaDirty()
{
    if (parent != nullptr)
        parent->MarkChildAreaDirty(this);
    else
        dirty = true;
}

void WidgetContainer::AddedToManager(WidgetManager* widgetManager)
{
    for (Widget* child : children) {
        child->manager = widgetManager;
        child->AddedToManager(widgetManager);
    }
    MarkDirty();
}

void WidgetContainer::RemovedFromManager(WidgetManager* widgetManager)
{
    const std::list<Widget*> detached = children;
    for (Widget* child : detached) {
        widgetManager->DisableWidget(child);
        child->RemovedFromManager(widgetManager);
        child->manager = nullptr;
    }
    if (widgetManager->popupWidget == this)
        widgetManager->popupWidget = nullptr;
}

void WidgetContainer::Update()
{
    ++updateCount;
}

void WidgetContainer::UpdateAll(WidgetFlagState* state)
{
    const FlagScope scope(state, flagChange);
    if ((state->Effective() & WIDGETFLAGS_MARK_DIRTY) != 0)
        MarkDirty();
    if (manager == nullptr)
        return;
    if ((state->Effective() & WIDGETFLAGS_UPDATE) != 0 && lastManagerUpdateCount != manager->updateCount) {
        lastManagerUpdateCount = manager->updateCount;
        Update();
    }
    WalkChildren(state, [state](Widget* child) { child->UpdateAll(state); });
}

void WidgetContainer::UpdateDelta(float /*fraction*/) {}

void WidgetContainer::UpdateDeltaAll(WidgetFlagState* state, float fraction)
{
    const FlagScope scope(state, flagChange);
    if ((state->Effective() & WIDGETFLAGS_UPDATE) != 0)
        UpdateDelta(fraction);
    WalkChildren(state, [state, fraction](Widget* child) { child->UpdateDeltaAll(state, fraction); });
}

template <typename Visit>
void WidgetContainer::WalkChildren(WidgetFlagState* state, Visit visit)
{
    // A removal or reordering under the iterator has already moved it on. A
    // nested pass run from a child's Update (a dialog's wait loop) leaves it
    // at the end with the flag set, which ends this walk too.
    updateIterator = children.begin();
    while (updateIterator != children.end()) {
        updateIteratorModified = false;
        Widget* child = *updateIterator;
        if (manager != nullptr && child == manager->baseModalWidget)
            state->aboveModal = true;
        visit(child);
        if (!updateIteratorModified)
            ++updateIterator;
    }
    updateIteratorModified = true;
}

void WidgetContainer::Draw(Graphics* /*g*/) {}

void WidgetContainer::DrawOverlay(Graphics* /*g*/) {}

void WidgetContainer::DrawAll(WidgetFlagState* state, Graphics* g)
{
    WidgetManager* widgetManager = manager;
    if (widgetManager == nullptr && GetWidgetHost() != nullptr)
        widgetManager = GetWidgetHost()->GetWidgetManager();
    if (widgetManager != nullptr && widgetManager->lowestOverlayPriority < priority)
        widgetManager->FlushDeferredOverlays(priority);

    const FlagScope scope(state, flagChange);
    if (clip && (state->Effective() & WIDGETFLAGS_CLIP) != 0)
        g->ClipRect(0, 0, width, height);

    if (children.empty()) {
        if ((state->Effective() & WIDGETFLAGS_DRAW) != 0) {
            Draw(g);
            DrawOverlay(g);
        }
    } else {
        if ((state->Effective() & WIDGETFLAGS_DRAW) != 0) {
            g->PushState();
            Draw(g);
            g->PopState();
        }
        for (Widget* child : children) {
            if (!child->visible)
                continue;
            if (widgetManager != nullptr && child == widgetManager->baseModalWidget)
                state->aboveModal = true;
            Graphics childGraphics(*g);
            childGraphics.Translate(child->x, child->y);
            child->DrawAll(state, &childGraphics);
            child->dirty = false;
        }
        if ((state->Effective() & WIDGETFLAGS_DRAW) != 0) {
            g->PushState();
            DrawOverlay(g);
            g->PopState();
        }
    }
}

void WidgetContainer::SysColorChangedAll()
{
    SysColorChanged();
    for (Widget* child : children)
        child->SysColorChangedAll();
}

void WidgetContainer::SysColorChanged() {}

} // namespace Tandry
