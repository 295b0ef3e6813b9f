// A ratio of two ints kept reduced by their greatest common divisor; the
// display keeps its aspect ratios (4:3, the desktop's, the window's) this way.
// Both values come from screen and window sizes: the denominator is never 0.
#pragma once

#include <cstdint>

namespace Tandry {

struct ReducedFraction {
    int32_t numerator = 0;
    int32_t denominator = 1;

    // Needs a or b non-zero.
    void Assign(int32_t a, int32_t b);
    // v * numerator / denominator, truncated toward zero.
    int32_t ScaleInt(int32_t v) const;
    // Either cross test (a*d/b < c, or a < c*b/d, both truncating) is enough to
    // call this fraction smaller, as the display's wider-aspect test expects.
    bool operator<(const ReducedFraction& other) const;
};

} // namespace Tandry
