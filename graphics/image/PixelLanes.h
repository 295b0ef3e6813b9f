// Eight pixels side by side, one 32-bit lane each, for the software pixel
// loops. The blend formulas are written once as templates over the lane type
// and instantiated for one pixel (uint32_t) and for eight (U32x8): the loops
// run the eight-lane form over the bulk of a row and the one-pixel form over
// what is left, with identical results. The few operations that differ
// between the two forms (selects, comparisons, variable division) are the
// overloads below.
#pragma once

#include <cstdint>
#include <cstring>

#include "graphics/image/VectorClones.h"

// Eight-lane values only pass between functions that are forced inline, so
// the note that their calling convention differs with and without AVX does
// not apply.
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wpsabi"
#elif defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

// The lane helpers and every formula built on them are forced inline, so that
// a loop compiled for AVX2 gets them compiled for AVX2 too.
#define TANDRY_LANE_INLINE [[gnu::always_inline]] inline

// Marks a loop over eight-lane values to be compiled for AVX2 and for the
// baseline (see VectorClones.h). Clang refuses to let AVX2 code call baseline
// helpers that take or return eight-lane values, even when they are inlined,
// so its builds (the fuzzing build) keep the baseline only.
#if defined(__clang__)
#define TANDRY_LANE_CLONES
#else
#define TANDRY_LANE_CLONES TANDRY_VECTOR_CLONES
#endif

namespace Tandry::PixelLanes {

constexpr int kLanes = 8;

using U32x8 = uint32_t __attribute__((vector_size(32)));
using I32x8 = int32_t __attribute__((vector_size(32)));
using F32x8 = float __attribute__((vector_size(32)));
using U8x32 = uint8_t __attribute__((vector_size(32)));
using U16x16 = uint16_t __attribute__((vector_size(32)));

TANDRY_LANE_INLINE U32x8 Load(const uint32_t* p)
{
    U32x8 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

TANDRY_LANE_INLINE void Store(uint32_t* p, const U32x8& v)
{
    std::memcpy(p, &v, sizeof v);
}

TANDRY_LANE_INLINE U32x8 Splat(uint32_t v)
{
    return U32x8{} + v;
}

// All ones where the condition holds, else zero (vector comparisons give signed lanes).
TANDRY_LANE_INLINE U32x8 IsZero(const U32x8& v)
{
    return reinterpret_cast<U32x8>(v == 0);
}

TANDRY_LANE_INLINE bool IsZero(uint32_t v)
{
    return v == 0;
}

TANDRY_LANE_INLINE U32x8 IsEqual(const U32x8& a, const U32x8& b)
{
    return reinterpret_cast<U32x8>(a == b);
}

// The two halves are folded in vector registers first, which takes fewer
// steps than moving all four quarters out one by one.
TANDRY_LANE_INLINE bool AllZero(const U32x8& v)
{
    using U64x4 = uint64_t __attribute__((vector_size(32)));
    using U64x2 = uint64_t __attribute__((vector_size(16)));
    const U64x4 q = reinterpret_cast<U64x4>(v);
    const U64x2 folded = __builtin_shufflevector(q, q, 0, 1) | __builtin_shufflevector(q, q, 2, 3);
    return (folded[0] | folded[1]) == 0;
}

TANDRY_LANE_INLINE U32x8 IsAbove(const U32x8& v, uint32_t limit)
{
    return reinterpret_cast<U32x8>(v > limit);
}

TANDRY_LANE_INLINE bool IsAbove(uint32_t v, uint32_t limit)
{
    return v > limit;
}

TANDRY_LANE_INLINE U32x8 Select(const U32x8& mask, const U32x8& whenSet, const U32x8& otherwise)
{
    return (mask & whenSet) | (~mask & otherwise);
}

TANDRY_LANE_INLINE uint32_t Select(bool condition, uint32_t whenSet, uint32_t otherwise)
{
    return condition ? whenSet : otherwise;
}

TANDRY_LANE_INLINE U32x8 Min(const U32x8& a, uint32_t b)
{
    return Select(IsAbove(a, b), Splat(b), a);
}

TANDRY_LANE_INLINE uint32_t Min(uint32_t a, uint32_t b)
{
    return a < b ? a : b;
}

// x times k in each 16-bit half of each lane (k below 65536), for halves
// whose products stay below 65536; the plain product then gives the same.
TANDRY_LANE_INLINE uint32_t MulHalves(uint32_t x, uint32_t k)
{
    return x * k;
}

TANDRY_LANE_INLINE U32x8 MulHalves(const U32x8& x, const U32x8& k)
{
    return reinterpret_cast<U32x8>(reinterpret_cast<U16x16>(x) * reinterpret_cast<U16x16>(k | k << 16));
}

// Byte by byte min(a + b, 255).
TANDRY_LANE_INLINE U32x8 AddBytesSaturated(const U32x8& a, const U32x8& b)
{
    const U8x32 x = reinterpret_cast<U8x32>(a);
    const U8x32 sum = x + reinterpret_cast<U8x32>(b);
    return reinterpret_cast<U32x8>(sum | reinterpret_cast<U8x32>(sum < x));
}

// n / d rounded down, for n < 2^17 and 1 <= d <= 256. In single precision
// the quotient is correctly rounded and lies at least 1/256 from the next
// integer unless it is one, so truncating it gives the exact result.
TANDRY_LANE_INLINE U32x8 Quotient(const U32x8& n, const U32x8& d)
{
    const F32x8 q = __builtin_convertvector(reinterpret_cast<I32x8>(n), F32x8)
        / __builtin_convertvector(reinterpret_cast<I32x8>(d), F32x8);
    return reinterpret_cast<U32x8>(__builtin_convertvector(q, I32x8));
}

TANDRY_LANE_INLINE uint32_t Quotient(uint32_t n, uint32_t d)
{
    return n / d;
}

} // namespace Tandry::PixelLanes
