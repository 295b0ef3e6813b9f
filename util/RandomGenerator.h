// Random numbers. RandomGenerator is the program's one Mersenne Twister
// (MT19937), seeded at start-up and from a played demo so replays draw the same
// numbers. CrtRand/CrtSeed stand in for the C runtime's rand/srand with the
// classic 15-bit generator, so values are the same on every machine.
#pragma once

#include <array>
#include <cstdint>

namespace Tandry {

class RandomGenerator {
public:
    RandomGenerator() { Seed(4357); }

    // Seed 0 is replaced by 4357.
    void Seed(uint32_t seed);
    // 0 .. 2^31-1: the MT19937 output masked to 31 bits.
    int32_t Next();

    // The one instance game logic draws from.
    static RandomGenerator& Global();

private:
    void Regenerate();

    std::array<uint32_t, 624> mState{};
    int mIndex = 624;
};

// x * (Next / 2147483647.0), in [0, x].
float RandomFloatUpTo(float x);
// a + (CrtRand / 32767.0) * (b - a), both ends included.
float RandomFloat(float a, float b);

constexpr int kCrtRandMax = 32767;
// The classic C runtime generator: state = state * 214013 + 2531011, result bits 16..30.
int CrtRand();
void CrtSeed(uint32_t seed);

} // namespace Tandry
