#include "graphics/display/ColorKeyChooser.h"

#include "graphics/display/SurfaceConverter.h"

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

// The stored 565 values of the pixels.
std::vector<uint16_t> Words(const std::vector<uint32_t>& pixels)
{
    const SurfaceConverter converter = Converter(16, 0xF800, 0x07E0, 0x001F);
    std::vector<uint16_t> words(pixels.size());
    converter.ToSurface(pixels.data(), words.data(), pixels.size());
    return words;
}

TEST(ColorKeyChooser, EveryValueTakenLeavesTheCandidate)
{
    std::vector<uint32_t> pixels{0x00FFFFFF};
    for (uint32_t value = 0; value < 65536; ++value)
        pixels.push_back(Opaque565(value));
    std::vector<uint16_t> words = Words(pixels);
    for (uint32_t value = 0; value < 65536; ++value)
        ASSERT_EQ(words[value + 1], value);
    uint32_t key = 0x12345;
    EXPECT_FALSE(ColorKeyChooser::FindFree16(pixels.data(), words.data(), pixels.size(), key));
    EXPECT_EQ(key, 0x12345u);
    EXPECT_EQ(ColorKeyChooser::Choose16(pixels.data(), words.data(), pixels.size()), 0xFFFFu);

    // One value given up is found, wherever it lies.
    pixels.erase(pixels.begin() + 1 + 0x1234);
    words = Words(pixels);
    EXPECT_EQ(ColorKeyChooser::Choose16(pixels.data(), words.data(), pixels.size()), 0x1234u);
    // A value used only by a transparent pixel is free.
    pixels.back() = 0x00000000;
    words = Words(pixels);
    EXPECT_EQ(ColorKeyChooser::Choose16(pixels.data(), words.data(), pixels.size()), 0xFFFFu);
}

TEST(ColorKeyChooser, TransparentPixelsDoNotTakeValues)
{
    const SurfaceConverter converter = Converter(32, 0xFF0000, 0xFF00, 0xFF);
    std::vector<uint32_t> pixels{0x00000000, 0xFF000000};
    // Values 0 to 199 are taken by visible pixels, 200 only by a transparent one.
    for (uint32_t value = 1; value < 200; ++value)
        pixels.push_back((value % 2 != 0 ? 0xFF000000u : 0x01000000u) | value);
    pixels.push_back(0x00000000u | 200);
    EXPECT_EQ(ColorKeyChooser::Choose32(converter, pixels.data(), pixels.size()), 200u);
}

TEST(ColorKeyChooser, NoClashNoSearch)
{
    const std::vector<uint32_t> pixels{0xFFFFFFFF, 0x40808080, 0x00000000, 0xFFFF0000};
    const std::vector<uint16_t> words = Words(pixels);
    // The first pixel below full alpha gives the key, converted.
    EXPECT_EQ(ColorKeyChooser::Choose16(pixels.data(), words.data(), 4), 0x8410u);
    const SurfaceConverter wide = Converter(32, 0xFF0000, 0xFF00, 0xFF);
    EXPECT_EQ(ColorKeyChooser::Choose32(wide, pixels.data(), 4), 0x40808080u);
    EXPECT_EQ(ColorKeyChooser::Choose32(wide, pixels.data(), 1), 0u);
}

} // namespace
