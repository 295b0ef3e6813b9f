// Converts a double to int truncating toward zero, without the undefined
// conversion of values no int can hold: NaN gives 0, values past the int
// range its nearest end. The main loop's timing and the controls' geometry
// use it where extreme inputs can make a formula's result huge or NaN.
#pragma once

#include <climits>
#include <cmath>

namespace Tandry {

inline int SaturatingTrunc(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace Tandry
