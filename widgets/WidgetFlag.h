// The bits of a widget flag word: what the update, draw and input passes may
// do with a widget and its subtree. The manager holds the base word; every
// container and modal layer changes it for what lies under it.
#pragma once

namespace Tandry {

enum WidgetFlag : int {
    WIDGETFLAGS_UPDATE = 0x01,
    WIDGETFLAGS_MARK_DIRTY = 0x02,
    WIDGETFLAGS_DRAW = 0x04,
    WIDGETFLAGS_CLIP = 0x08,
    WIDGETFLAGS_ALLOW_MOUSE = 0x10,
    WIDGETFLAGS_ALLOW_FOCUS = 0x20,
};

} // namespace Tandry
