#include "util/RandomGenerator.h"

#include <atomic>

namespace Tandry {
namespace {

// The runtime's generator is per process; the loading thread may draw too.
std::atomic<uint32_t> gCrtState{1};

} // namespace

void RandomGenerator::Seed(uint32_t seed)
{
    if (seed == 0)
        seed = 4357;
    mState[0] = seed;
    for (uint32_t i = 1; i < mState.size(); ++i)
        mState[i] = 1812433253u * (mState[i - 1] ^ (mState[i - 1] >> 30)) + i;
    mIndex = static_cast<int>(mState.size());
}

void RandomGenerator::Regenerate()
{
    constexpr int n = 624;
    constexpr int m = 397;
    for (int i = 0; i < n; ++i) {
        const uint32_t y = (mState[i] & 0x80000000u) | (mState[(i + 1) % n] & 0x7fffffffu);
        uint32_t next = mState[(i + m) % n] ^ (y >> 1);
        if (y & 1u)
            next ^= 0x9908b0dfu;
        mState[i] = next;
    }
    mIndex = 0;
}

int32_t RandomGenerator::Next()
{
    if (mIndex >= static_cast<int>(mState.size()))
        Regenerate();
    uint32_t y = mState[mIndex++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9d2c5680u;
    y ^= (y << 15) & 0xefc60000u;
    y ^= y >> 18;
    return static_cast<int32_t>(y & 0x7fffffffu);
}

RandomGenerator& RandomGenerator::Global()
{
    static RandomGenerator generator;
    return generator;
}

float RandomFloatUpTo(float x)
{
    return static_cast<float>(x * (RandomGenerator::Global().Next() / 2147483647.0));
}

float RandomFloat(float a, float b)
{
    return static_cast<float>(a + (CrtRand() / 32767.0) * (static_cast<double>(b) - a));
}

int CrtRand()
{
    uint32_t state = gCrtState.load(std::memory_order_relaxed);
    uint32_t next;
    do {
        next = state * 214013u + 2531011u;
    } while (!gCrtState.compare_exchange_weak(state, next, std::memory_order_relaxed));
    return static_cast<int>((next >> 16) & 0x7fffu);
}

void CrtSeed(uint32_t seed)
{
    gCrtState.store(seed, std::memory_order_relaxed);
}

} // namespace Tandry
