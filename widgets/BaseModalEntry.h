// One saved modal layer of the widget manager: what to restore when the
// widget that opened it stops being modal.
#pragma once

#include "widgets/FlagChange.h"

namespace Tandry {

class Widget;

struct BaseModalEntry {
    Widget* widget = nullptr;
    Widget* previousBaseModal = nullptr;
    Widget* previousFocus = nullptr;
    FlagChange previousBelowModalFlagChange;
};

} // namespace Tandry
