#include "game/shell/ModalFade.h"

#include "game/shell/MoveTowards.h"
#include "game/shell/RemoveAndDeferDelete.h"
#include "widgets/Widget.h"

namespace Tandry {

void StepModalFade(Widget* widget, float* level, float target, bool mayEnd, bool* ended)
{
    if (*ended)
        return;
    const float before = *level;
    const bool arrived = MoveTowards(level, kModalFadeStep, target);
    if (*level != before)
        widget->MarkAreaDirty();
    if (arrived && target == 0.0f && mayEnd) {
        *ended = true;
        RemoveAndDeferDelete(widget);
    }
}

} // namespace Tandry
