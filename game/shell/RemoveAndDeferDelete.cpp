#include "game/shell/RemoveAndDeferDelete.h"

#include "app/TandryAppBase.h"
#include "widgets/Widget.h"

namespace Tandry {

void RemoveAndDeferDelete(Widget* widget)
{
    if (widget == nullptr)
        return;
    if (widget->parent != nullptr)
        widget->parent->RemoveWidget(widget);
    if (gApplication != nullptr)
        gApplication->DeferWidgetDelete(widget);
}

} // namespace Tandry
