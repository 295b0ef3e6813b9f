// The arrow button at each end of a scroll bar: a bevelled square with an
// arrow of four strips pointing up, down, left or right (by its id, its bar's
// orientation and its arrow type), or, when asked, the plain button look.
// ScrollbarWidget makes two of them, ids 0 (up or left) and 1 (down or right).
#pragma once

#include "widgets/ButtonWidget.h"

namespace Tandry {

class ScrollbuttonWidget : public ButtonWidget {
public:
    ScrollbuttonWidget(int buttonId, ButtonListener* buttonListener);
    ~ScrollbuttonWidget() override = default;

    void Draw(Graphics* g) override;

    // Set by the scroll bar.
    bool horizontal = false;
    // Draw the plain button look instead of the arrow.
    bool drawAsButton = false;
    // 0 leaves the arrow to the id and the orientation; 3 and 4 make it
    // horizontal whatever the bar; 1 and 3 keep it pointing up or left.
    int arrowType = 0;

private:
    void DrawArrow(Graphics* g, int shift);
};

} // namespace Tandry
