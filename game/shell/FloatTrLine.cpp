#include "game/shell/FloatTrLine.h"

#include <cmath>

FloatTrLine::FloatTrLine(float startValue, float endValue, float duration, int transformerId)
    : FloatTransformer(transformerId), start(startValue), end(endValue), current(startValue)
{
    // A zero duration would give a NaN speed (or an infinite one), a negative
    // one a speed away from end: both would run for ever.
    if (std::isfinite(duration) && duration > 0.0f)
        speed = (end - start) / duration;
    else
        mJumpToEnd = true;
}

float FloatTrLine::GetStartValue()
{
    return start;
}

void FloatTrLine::Step(float dt, float /*totalTime*/, float currentSpeed, float* value, bool* finished)
{
    if (mJumpToEnd) {
        current = end;
        *value = end;
        *finished = true;
        return;
    }
    current += dt * currentSpeed;
    *value = current;
    if (!clampAtEnd)
        return;
    const bool rising = end - start > 0.0f;
    if ((rising && current >= end) || (!rising && current <= end)) {
        *value = end;
        *finished = true;
    }
}
