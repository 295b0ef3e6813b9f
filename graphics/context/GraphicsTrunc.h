// The drawing context's conversion of a float or double position to whole
// pixels: truncation toward zero, as every integer drawing position is made.
// Positions come from scene and layout data, so a value beyond the int range
// (or not a number) is held at the range's end (NaN becomes 0) instead of
// being converted with undefined behaviour.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace Tandry {

inline int32_t TruncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

} // namespace Tandry
