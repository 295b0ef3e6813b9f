#include "game/shell/MenuLightSpot.h"

#include "game/shell/MoveTowards.h"
#include "util/RandomGenerator.h"

#include <cmath>
#include <numbers>

namespace Tandry {

namespace {

constexpr float kTimeStep = 0.005f;

} // namespace

MenuLightSpot::MenuLightSpot(GuiLayoutEntry* layoutEntry) : duration(RandomFloat(1.0f, 5.0f)), entry(layoutEntry) {}

void MenuLightSpot::Update()
{
    if (time != duration) {
        MoveTowards(&time, kTimeStep, duration);
    } else {
        time = 0.0f;
        switch (state) {
        case kDark:
            state = kRising;
            duration = 0.1f;
            break;
        case kRising:
            state = kFlickering;
            duration = 0.1f;
            break;
        case kFlickering:
            state = kFalling;
            duration = 0.2f;
            break;
        default:
            state = kDark;
            duration = RandomFloat(1.0f, 3.0f);
            break;
        }
    }
    alpha = AlphaAt(state, time, duration);
}

float MenuLightSpot::AlphaAt(int spotState, float spotTime, float spotDuration)
{
    constexpr float kPi = std::numbers::pi_v<float>;
    switch (spotState) {
    case kRising:
        return std::sin(spotTime * kPi / 2.0f / spotDuration);
    case kFlickering:
        return 1.0f - (0.5f - std::cos(spotTime * 4.0f * kPi / spotDuration)) * 0.4f;
    case kFalling:
        return 1.0f - spotTime / spotDuration;
    default:
        return 0.0f;
    }
}

} // namespace Tandry
