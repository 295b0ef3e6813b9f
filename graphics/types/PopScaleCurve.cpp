#include "graphics/types/PopScaleCurve.h"

#include <cmath>
#include <numbers>

namespace Tandry {

// Every constant and intermediate is single precision, the two small ones as
// single-precision arithmetic makes them (0.19999999 and 0.100000024), so
// x = 1 gives 1.0 exactly.
float PopScaleCurve(float x)
{
    const float growEnd = 0.8f;
    const float halfPi = static_cast<float>(std::numbers::pi / 2.0);
    const float pi = static_cast<float>(std::numbers::pi);
    const float peak = 1.2f;
    const float settleSpan = 1.0f - growEnd;
    const float settleAmplitude = (peak - 1.0f) / 2.0f;
    if (x < growEnd) {
        const float phase = x / growEnd * halfPi;
        const float wave = std::sin(phase);
        return wave * peak;
    }
    const float phase = (x - growEnd) / settleSpan * pi;
    const float wave = std::cos(phase);
    return (wave + 1.0f) * settleAmplitude + 1.0f;
}

} // namespace Tandry
