#include "graphics/types/ReducedFraction.h"

namespace Tandry {

namespace {

int32_t GreatestCommonDivisor(int32_t a, int32_t b)
{
    while (b != 0) {
        const int32_t remainder = a % b;
        a = b;
        b = remainder;
    }
    return a;
}

// Products in 64 bits so that no size overflows; the quotient is taken back to
// 32 bits, which for screen sizes is the value itself.
int32_t MulDiv(int32_t v, int32_t mul, int32_t div)
{
    return static_cast<int32_t>(static_cast<int64_t>(v) * mul / div);
}

} // namespace

void ReducedFraction::Assign(int32_t a, int32_t b)
{
    const int32_t g = GreatestCommonDivisor(a, b);
    numerator = a / g;
    denominator = b / g;
}

int32_t ReducedFraction::ScaleInt(int32_t v) const
{
    return MulDiv(v, numerator, denominator);
}

bool ReducedFraction::operator<(const ReducedFraction& other) const
{
    return MulDiv(numerator, other.denominator, denominator) < other.numerator ||
           numerator < MulDiv(other.numerator, denominator, other.denominator);
}

} // namespace Tandry
