// A node of the widget tree: every screen, board, dialog and control is one.
// The application deletes widgets through this base (deferred deletion), so
// the destructor is virtual.
#pragma once

#include "widgets/WidgetContainer.h"

namespace Tandry {

class Widget : public WidgetContainer {
public:
    Widget() = default;
    ~Widget() override = default;

    virtual void Resize(int newX, int newY, int newWidth, int newHeight);

    bool visible = true;
    // A widget with this cleared never takes a mouse hit itself.
    bool mouseVisible = true;
};

} // namespace Tandry
