#include "platform/j2k/J2kPixelPacker.h"

#include <gtest/gtest.h>

namespace {

TEST(J2kPixelPacker, SamplesOfAnyPrecisionBecomeEightBits)
{
    struct Case {
        int32_t sample;
        uint32_t precision;
        bool isSigned;
        uint8_t expected;
    };
    const Case cases[] = {
        {200, 8, false, 200},   {4095, 12, false, 255}, {0x7F0, 12, false, 0x7F}, {0xABCD, 16, false, 0xAB},
        {1, 1, false, 255},     {0, 1, false, 0},       {15, 4, false, 255},      {7, 4, false, 119},
        {-128, 8, true, 0},     {127, 8, true, 255},    {0, 16, true, 128},       {-2048, 12, true, 0},
        {5000, 12, false, 255}, {-3, 8, false, 0},      {1, 31, false, 0},        {5, 0, false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Platform::J2kSampleTo8Bits(c.sample, c.precision, c.isSigned), c.expected)
            << c.sample << " at " << c.precision << (c.isSigned ? " signed" : "");
}

} // namespace
