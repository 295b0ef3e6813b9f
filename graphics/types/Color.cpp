#include "graphics/types/Color.h"

#include <cstdint>

namespace Tandry {

namespace {

// Truncation toward zero, then clamping; done in double so that channels far
// outside 0..255 (or a NaN fraction) never reach an out-of-range conversion.
int32_t TruncClampToByte(double value)
{
    if (!(value > 0.0))
        return 0;
    if (value >= 255.0)
        return 255;
    return static_cast<int32_t>(value);
}

int32_t MultiplyChannel(int32_t a, int32_t b)
{
    // The product in 64 bits: channels from game data may be large.
    return TruncClampToByte(static_cast<double>(static_cast<int64_t>(a) * b) / 255.0);
}

} // namespace

Color Color::Multiply(const Color& a, const Color& b)
{
    return Color(MultiplyChannel(a.red, b.red), MultiplyChannel(a.green, b.green),
                 MultiplyChannel(a.blue, b.blue), MultiplyChannel(a.alpha, b.alpha));
}

Color Color::WithAlpha(float f) const
{
    return Color(red, green, blue, TruncClampToByte(static_cast<double>(f) * 255.0));
}

} // namespace Tandry
