#include "graphics/ColorKeyChooser.h"

#include "graphics/SurfaceConverter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Tandry::ColorKeyChooser;
using Tandry::NativeDisplay;
using Tandry::SurfaceConverter;

SurfaceConverter Converter(int bits, uint32_t red, uint32_t green, uint32_t blue)
{
    NativeDisplay display;
    display.SetPixelFormat(bits, red, green, blue);
    return SurfaceConverter(display, red, green, blue);
}

// The opaque ARGB colour that a 565 display stores as value.
uint32_t Opaque565(uint32_t value)
{
    return 0xFF000000u | (value >> 11) << 19 | ((value >> 5) & 63) << 10 | (value & 31) << 3;
}

TEST(ColorKeyChooser, EveryValueTakenLeavesTheCandidate)
{
    const SurfaceConverter converter = Converter(16, 0xF800, 0x07E0, 0x001F);
    std::vector<uint32_t> pixels{0x00FFFFFF};
    for (uint32_t value = 0; value < 65536; ++value)
        pixels.push_back(Opaque565(value));
    uint32_t key = 0x12345;
    EXPECT_FALSE(ColorKeyChooser::FindFree16(converter, pixels.data(), pixels.size(), key));
    EXPECT_EQ(key, 0x12345u);
    EXPECT_EQ(ColorKeyChooser::Choose(converter, pixels.data(), pixels.size(), 16), 0xFFFFu);

    // One value given up is found, wherever it lies.
    pixels.erase(pixels.begin() + 1 + 0x1234);
    EXPECT_EQ(ColorKeyChooser::Choose(converter, pixels.data(), pixels.size(), 16), 0x1234u);
}

TEST(ColorKeyChooser, TransparentPixelsDoNotTakeValues)
{
    const SurfaceConverter converter = Converter(32, 0xFF0000, 0xFF00, 0xFF);
    std::vector<uint32_t> pixels{0x00000000, 0xFF000000};
    // Values 0 to 199 are taken by visible pixels, 200 only by a transparent one.
    for (uint32_t value = 1; value < 200; ++value)
        pixels.push_back((value % 2 != 0 ? 0xFF000000u : 0x01000000u) | value);
    pixels.push_back(0x00000000u | 200);
    EXPECT_EQ(ColorKeyChooser::Choose(converter, pixels.data(), pixels.size(), 32), 200u);
}

TEST(ColorKeyChooser, NoClashNoSearch)
{
    const SurfaceConverter converter = Converter(16, 0xF800, 0x07E0, 0x001F);
    const uint32_t pixels[] = {0xFFFFFFFF, 0x40808080, 0x00000000, 0xFFFF0000};
    // The first pixel below full alpha gives the key, converted.
    EXPECT_EQ(ColorKeyChooser::Choose(converter, pixels, 4, 16), 0x8410u);
    const SurfaceConverter wide = Converter(32, 0xFF0000, 0xFF00, 0xFF);
    EXPECT_EQ(ColorKeyChooser::Choose(wide, pixels, 4, 32), 0x40808080u);
    EXPECT_EQ(ColorKeyChooser::Choose(wide, pixels, 1, 32), 0u);
}

} // namespace
