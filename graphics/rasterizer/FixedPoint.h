// The fixed-point arithmetic of the triangle set-up: 32-bit wrap-around sums,
// 16.16 ceilings, reciprocals and slopes through 64-bit products, and the one
// conversion from floating point. Signed overflow would be undefined in C++,
// so every wrapping step goes through the unsigned types and back.
#pragma once

#include <cstdint>

namespace Tandry::Fixed {

constexpr int32_t Add(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

constexpr int32_t Sub(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

constexpr int32_t Mul(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// a << k kept to 32 bits, for row numbers turned into 16.16 positions.
constexpr int32_t Shl(int32_t a, int k)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) << k);
}

// The integer ceiling of a 16.16 value.
constexpr int32_t Ceil16(int32_t q)
{
    return Add(q, 0xFFFF) >> 16;
}

// a * b >> k: the product of two 32-bit values always fits 64 bits.
constexpr int32_t MulShift(int32_t a, int32_t b, int k)
{
    return static_cast<int32_t>((int64_t{a} * b) >> k);
}

// 1 / d in 32.32. The frame's guards keep d away from 0.
constexpr int64_t Recip(int32_t d)
{
    return (int64_t{1} << 48) / d;
}

// The low 64 bits of a * b, then an arithmetic shift by 32 and the low 32 bits.
constexpr int32_t MulHigh(int64_t a, int64_t b)
{
    const auto product = static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b));
    return static_cast<int32_t>(product >> 32);
}

// dq / d in 16.16: exact enough while |dq| < 32768 * |d|; beyond that the
// product wraps and the result means nothing (see SlopeFits).
constexpr int32_t Slope(int32_t dq, int32_t d)
{
    return MulHigh(dq, Recip(d));
}

constexpr bool SlopeFits(int32_t dq, int32_t d)
{
    const int64_t adq = dq < 0 ? -int64_t{dq} : int64_t{dq};
    const int64_t ad = d < 0 ? -int64_t{d} : int64_t{d};
    return adq < 32768 * ad;
}

// floor(a / b) for b != 0.
constexpr int64_t FloorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Truncation toward zero when the value fits an int32; every other value,
// NaN included, becomes INT32_MIN, so the result is the same on any machine.
constexpr int32_t ToFixed(double value)
{
    if (value > -2147483649.0 && value < 2147483648.0)
        return static_cast<int32_t>(value);
    return INT32_MIN;
}

} // namespace Tandry::Fixed
