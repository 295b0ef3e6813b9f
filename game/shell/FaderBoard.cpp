#include "game/shell/FaderBoard.h"

#include "graphics/context/Graphics.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Tandry {

namespace {

constexpr float kStep = 0.01f;
constexpr float kHalf = 0.4f;
constexpr double kHalfPi = std::numbers::pi / 2.0;

// The curve in double, so that the last update of a half is not already
// fully dark (or clear) by rounding.
int AlphaOf(double curve)
{
    return std::clamp(static_cast<int>(255.0 * curve), 0, 255);
}

} // namespace

FaderBoard::FaderBoard()
{
    mouseVisible = false;
    hasTransparencies = true;
}

void FaderBoard::Update()
{
    if (state == kIdle)
        return;
    const int before = alpha;
    time += kStep;
    if (time < kHalf) {
        const double angle = kHalfPi * static_cast<double>(time) / 0.4;
        alpha = AlphaOf(state == kDarkening ? std::sin(angle) : std::cos(angle));
        if (alpha != before)
            MarkAreaDirty();
        return;
    }
    // The calls come last: the board may rebuild itself, or start another
    // fade, from inside them.
    MarkAreaDirty();
    time = 0.0f;
    if (state == kDarkening) {
        state = kBrightening;
        alpha = 255;
        coveredCall();
    } else {
        state = kIdle;
        alpha = 0;
        uncoveredCall();
    }
}

void FaderBoard::Draw(Graphics* g)
{
    if (alpha == 0)
        return;
    g->SetColor(Color(0, 0, 0, alpha));
    g->FillRect(0, 0, width, height);
}

} // namespace Tandry
