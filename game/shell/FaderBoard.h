// The black curtain of a play board: it darkens the screen in 0.4 seconds of
// updates, lets its board rebuild itself while the screen is black (the
// covered call), and brightens again (the uncovered call at the end). It
// never takes the mouse. Owned by its board, which starts it through
// GameBase::StartFade.
#pragma once

#include "widgets/BoundCall.h"
#include "widgets/Widget.h"

namespace Tandry {

class FaderBoard : public Widget {
public:
    enum State { kIdle = 0, kDarkening = 1, kBrightening = 2 };

    FaderBoard();

    // One step of 0.01 seconds per update, whatever the frame time.
    void Update() override;
    // Fills the widget with black of the current alpha; nothing at alpha 0.
    void Draw(Graphics* g) override;

    int state = kIdle;
    BoundCall<void()> coveredCall;
    BoundCall<void()> uncoveredCall;
    // Opacity of the black, 0 to 255.
    int alpha = 0;
    // Seconds of the current half.
    float time = 0.0f;
};

} // namespace Tandry
