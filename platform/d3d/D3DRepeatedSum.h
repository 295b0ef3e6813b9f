// The sums value, value + step, (value + step) + step, ... that the span loops
// of the Direct3D stand-in form when they step a texture coordinate from pixel
// to pixel, found without the chain of double additions. Inside one binade
// every sum is the one before plus a fixed count of units in its last place,
// so its bit pattern steps by an integer. D3DSpanKernel uses it to compute the
// coordinates of many pixels independently, with the general loop's bits.
#pragma once

#include <bit>
#include <cstdint>

namespace Platform {

struct D3DRepeatedSum {
    uint64_t bits = 0;     // the bit pattern of the first sum, the value itself
    int64_t increment = 0; // added to the bits by each further step
    int64_t steps = 0;     // how many further steps the increment holds for
};

// Steps beyond any span: the sum no longer changes.
inline constexpr int64_t kD3DUnchangingSteps = int64_t{1} << 40;

// The run of sums from a finite `value`. With `steps` 0 the next sum is left
// to the double addition itself: at a binade's edge, a tie from an odd
// significand, zero, numbers too small or too large, or a step that is not
// finite.
inline D3DRepeatedSum D3DRepeatedSumOf(double value, double step)
{
    constexpr uint64_t kFraction = (uint64_t{1} << 52) - 1;
    constexpr int64_t kLow = int64_t{1} << 52;  // the smallest significand of a binade
    constexpr int64_t kHigh = int64_t{1} << 53; // the next binade's
    D3DRepeatedSum sum;
    sum.bits = std::bit_cast<uint64_t>(value);
    const auto biased = static_cast<int32_t>((sum.bits >> 52) & 0x7FF);
    const uint64_t stepBits = std::bit_cast<uint64_t>(step);
    const auto stepBiased = static_cast<int32_t>((stepBits >> 52) & 0x7FF);
    if (biased == 0 || biased == 0x7FF || stepBiased == 0x7FF || (stepBiased == 0 && (stepBits << 1) != 0))
        return sum;
    // |value| = K * g with g = 2^(biased - 1075), and the step is f units of g
    // (negated for a negative value, whose magnitude the bits hold). While the
    // next sum K + F, F = f rounded, lies in [2^52 + 1, 2^53 - 1], the exact
    // sum lies strictly inside the binade and rounds to K + F on its grid.
    const int64_t significand = static_cast<int64_t>(sum.bits & kFraction) | kLow;
    int64_t units = 0;
    if (stepBiased != 0) {
        const int32_t unitBiased = stepBiased + 1075 - biased; // the biased exponent of f
        if (unitBiased >= 1023 + 52)
            return sum;
        if (unitBiased >= 1022) { // |f| >= 1/2
            const bool negative = ((stepBits >> 63) != 0) != ((sum.bits >> 63) != 0);
            const uint64_t unitBits = (uint64_t{negative} << 63) | (uint64_t(unitBiased) << 52) | (stepBits & kFraction);
            const double f = std::bit_cast<double>(unitBits);
            const auto whole = static_cast<int64_t>(f);
            const double part = f - double(whole); // exact: both lie in the same binade or below
            if (part == 0.5 || part == -0.5) {
                // A tie rounds to the even significand: from an even one, by
                // the even one of the two neighbouring counts, every step.
                if ((significand & 1) != 0)
                    return sum;
                const int64_t other = whole + (part > 0.0 ? 1 : -1);
                units = (whole & 1) == 0 ? whole : other;
            } else {
                units = whole + (part > 0.5 ? 1 : 0) - (part < -0.5 ? 1 : 0);
            }
        }
    }
    sum.increment = units;
    if (units > 0)
        sum.steps = (kHigh - 1 - significand) / units;
    else if (significand < kLow + 1)
        sum.steps = 0;
    else if (units < 0)
        sum.steps = (significand - kLow - 1) / -units;
    else
        sum.steps = kD3DUnchangingSteps;
    return sum;
}

} // namespace Platform
