#include "platform/cursor/CursorMasks.h"

#include <gtest/gtest.h>

using namespace Platform;

namespace {

TEST(CursorMasks, MaskPairsBecomeSdlDataAndMaskBits)
{
    struct Case {
        uint8_t andBit, xorBit, data, mask;
    };
    const Case cases[] = {{0, 0, 1, 1}, {0, 1, 0, 1}, {1, 0, 0, 0}, {1, 1, 1, 0}};
    for (const Case& c : cases) {
        // The pair in the top bit of the first byte, the opposite pair everywhere else.
        std::vector<uint8_t> andMask{static_cast<uint8_t>(c.andBit << 7), 0xFF};
        std::vector<uint8_t> xorMask{static_cast<uint8_t>(c.xorBit << 7), 0x0F};
        SdlCursorBits bits = ConvertCursorMasks(andMask, xorMask);
        EXPECT_EQ(bits.data[0] >> 7, c.data) << int(c.andBit) << int(c.xorBit);
        EXPECT_EQ(bits.mask[0] >> 7, c.mask) << int(c.andBit) << int(c.xorBit);
        EXPECT_EQ(bits.data[1], 0x0F); // AND 1: XOR 1 inverted (data 1), XOR 0 transparent (data 0)
        EXPECT_EQ(bits.mask[1], 0x00);
    }
}

} // namespace
