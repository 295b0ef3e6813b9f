#include "graphics/display/NativeDisplay.h"

#include <gtest/gtest.h>

namespace {

TEST(NativeDisplay, StartsAllZero)
{
    const Tandry::NativeDisplay display;
    EXPECT_EQ(display.mRGBBits, 0);
    EXPECT_EQ(display.mRedMask | display.mGreenMask | display.mBlueMask, 0);
    EXPECT_EQ(display.mRedBits | display.mGreenBits | display.mBlueBits, 0);
    EXPECT_EQ(display.mRedShift | display.mGreenShift | display.mBlueShift, 0);
}

TEST(NativeDisplay, WidthsAndShiftsComeFromTheMasks)
{
    const struct {
        const char* name;
        int rgbBits;
        uint32_t red, green, blue;
        int redBits, greenBits, blueBits, redShift, greenShift, blueShift;
    } cases[] = {
        {"32-bit", 32, 0xFF0000, 0xFF00, 0xFF, 8, 8, 8, 16, 8, 0},
        {"565", 16, 0xF800, 0x7E0, 0x1F, 5, 6, 5, 11, 5, 0},
        {"555", 16, 0x7C00, 0x3E0, 0x1F, 5, 5, 5, 10, 5, 0},
        {"BGR565", 16, 0x1F, 0x7E0, 0xF800, 5, 6, 5, 0, 5, 11},
        {"top bit", 32, 0xFF000000, 0x80000000, 0x1, 8, 1, 1, 24, 31, 0},
        // Gaps inside a mask count towards its width.
        {"gapped", 32, 0x8001, 0x0, 0xF0F0, 16, 0, 12, 0, 0, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Tandry::NativeDisplay display;
        display.SetPixelFormat(c.rgbBits, c.red, c.green, c.blue);
        EXPECT_EQ(display.mRGBBits, c.rgbBits);
        EXPECT_EQ(static_cast<uint32_t>(display.mRedMask), c.red);
        EXPECT_EQ(static_cast<uint32_t>(display.mGreenMask), c.green);
        EXPECT_EQ(static_cast<uint32_t>(display.mBlueMask), c.blue);
        EXPECT_EQ(display.mRedBits, c.redBits);
        EXPECT_EQ(display.mGreenBits, c.greenBits);
        EXPECT_EQ(display.mBlueBits, c.blueBits);
        EXPECT_EQ(display.mRedShift, c.redShift);
        EXPECT_EQ(display.mGreenShift, c.greenShift);
        EXPECT_EQ(display.mBlueShift, c.blueShift);
    }
}

} // namespace
