#include "game/shell/MoveTowards.h"

#include <cmath>

namespace Tandry {

bool MoveTowards(float* value, float step, float target)
{
    if (*value == target)
        return true;
    if (std::fabs(*value - target) < step) {
        *value = target;
        return true;
    }
    if (target > *value)
        *value += step;
    else
        *value -= step;
    return false;
}

} // namespace Tandry
