// An integer mixer the benchmarks build their test pictures from: a pixel's
// index in, well-spread bits out, so the grain, colours and positions are the
// same on every machine and every run without carrying generator state.
#pragma once

#include <cstdint>

namespace Bench {

inline uint32_t Hash(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7FEB352D;
    x ^= x >> 15;
    x *= 0x846CA68B;
    return x ^ (x >> 16);
}

} // namespace Bench
