// The linear value animator: from start to end in duration seconds of board
// updates, reporting end exactly on its last tick. A duration that is not a
// finite number above 0 reports end and finishes on the first tick.
#pragma once

#include "game/shell/FloatTransformer.h"

class FloatTrLine : public FloatTransformer {
public:
    FloatTrLine(float startValue, float endValue, float duration, int id);

    float GetStartValue() override;
    void Step(float dt, float elapsed, float currentSpeed, float* value, bool* finished) override;

    float start;
    float end;
    // Keeps the overshoot of the last step.
    float current;
    bool clampAtEnd = true;

private:
    bool mJumpToEnd = false;
};
