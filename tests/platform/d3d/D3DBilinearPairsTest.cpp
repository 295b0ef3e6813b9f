// The bilinear filter with two channels per product against the filter's
// formula worked one channel at a time: every pair of 8-bit fractions, with
// texels that put the largest values next to the smallest in every channel.
#include "platform/d3d/D3DTextureSampler.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using namespace Platform;

// (sum of channel * weight + 32768) >> 16 per channel, the weights the products of the fractions.
uint32_t Formula(const uint32_t (&texels)[4], uint32_t wx, uint32_t wy)
{
    const uint32_t weights[4] = {(256 - wx) * (256 - wy), wx * (256 - wy), (256 - wx) * wy, wx * wy};
    uint32_t result = 0;
    for (int channel = 0; channel < 4; ++channel) {
        uint32_t sum = 32768;
        for (int i = 0; i < 4; ++i)
            sum += ((texels[i] >> (8 * channel)) & 0xFF) * weights[i];
        result |= (sum >> 16) << (8 * channel);
    }
    return result;
}

TEST(D3DBilinearPairsTest, EveryFractionPairGivesTheFormulasChannels)
{
    const uint32_t sets[][4] = {
        {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}, // the largest sums
        {0x00000000u, 0x00000000u, 0x00000000u, 0x00000000u},
        {0xFF00FF00u, 0x00FF00FFu, 0xFF00FF00u, 0x00FF00FFu}, // each channel beside its opposite
        {0x01FE7F80u, 0xFE01807Fu, 0x7F80FE01u, 0x807F01FEu}, // sums near the rounding
        {0x12345678u, 0x9ABCDEF0u, 0x0FEDCBA9u, 0x87654321u},
    };
    for (const auto& texels : sets)
        for (uint32_t wx = 0; wx < 256; ++wx)
            for (uint32_t wy = 0; wy < 256; ++wy)
                ASSERT_EQ(D3DBilinearPairs(texels, wx, wy), Formula(texels, wx, wy))
                    << std::hex << texels[0] << " " << texels[1] << " " << texels[2] << " " << texels[3] << std::dec
                    << " at " << wx << ", " << wy;
}

} // namespace
