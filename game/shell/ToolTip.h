// The small text box that floats beside the mouse and names what lies under
// it. Boards own one, call its Update (dt) every update and hand its Show to
// scene code; near the bottom of the screen it slides above the mouse.
#pragma once

#include "game/shell/FadingTextWidget.h"

namespace Tandry {

class ToolTip : public FadingTextWidget {
public:
    // Without a time, a tooltip stays this long.
    static constexpr float kDefaultShowTime = 3.0f;

    ToolTip();

    void Draw(Graphics* g) override;

    // Pulled this far towards the mouse when shown above it.
    float flipShift = 10.0f;
    // Lifted this far when shown above the mouse: text height + 53.
    float flipLift = 0.0f;
    // The box would reach below the bottom of the screen.
    bool flipped = false;
    // 0 to 1, eases towards flipped.
    float flip = 0.0f;

protected:
    float DefaultShowTime(const std::wstring& newText) const override;
    void FitText(int textWidth, int textHeight) override;
    void Place(float fadeStep) override;
};

} // namespace Tandry
