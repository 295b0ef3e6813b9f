#include "graphics/display/SurfaceConverter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

using Tandry::NativeDisplay;
using Tandry::Rect;
using Tandry::SurfaceConverter;
using Tandry::SurfaceMemory;

struct Format {
    const char* name;
    int bits;
    uint32_t red, green, blue;
};

const Format kFormats[] = {
    {"X8R8G8B8", 32, 0xFF0000, 0xFF00, 0xFF},
    {"R5G6B5", 16, 0xF800, 0x07E0, 0x001F},
    {"X1R5G5B5", 16, 0x7C00, 0x03E0, 0x001F},
    {"BGR565", 16, 0x001F, 0x07E0, 0xF800},
    // Malformed: channels wider than 8 bits, above bit 24, or missing.
    {"wide", 32, 0x3FF00000, 0x000FFC00, 0x000003FF},
    {"high", 32, 0xFF000000, 0x00FF0000, 0},
};

NativeDisplay Display(const Format& f)
{
    NativeDisplay d;
    d.SetPixelFormat(f.bits, f.red, f.green, f.blue);
    return d;
}

bool InRange(int shift)
{
    return shift >= 0 && shift < 32;
}

// The conversions written again from their formulas; a channel whose shifts
// leave 0..31 contributes nothing.
uint32_t ReferenceToSurface(const NativeDisplay& d, const Format& f, uint32_t c)
{
    const struct {
        int top, n, s;
        uint32_t m;
    } channels[] = {{24, d.mRedBits, d.mRedShift, f.red}, {16, d.mGreenBits, d.mGreenShift, f.green},
                    {8, d.mBlueBits, d.mBlueShift, f.blue}};
    uint32_t word = 0;
    for (const auto& ch : channels) {
        if (InRange(ch.top - ch.n) && InRange(ch.s))
            word |= ((c >> (ch.top - ch.n)) << ch.s) & ch.m;
    }
    return word;
}

uint32_t ReferenceToArgb(const NativeDisplay& d, uint32_t p)
{
    const auto channel = [p](int n, int s) -> uint32_t {
        if (!InRange(8 - n) || !InRange(s))
            return 0;
        return ((p >> s) << (8 - n)) & 0xFF;
    };
    return 0xFF000000u | channel(d.mRedBits, d.mRedShift) << 16 | channel(d.mGreenBits, d.mGreenShift) << 8
        | channel(d.mBlueBits, d.mBlueShift);
}

TEST(SurfaceConverter, WordsFollowTheFormulas)
{
    std::mt19937 random(7);
    for (const Format& f : kFormats) {
        SCOPED_TRACE(f.name);
        const NativeDisplay d = Display(f);
        const SurfaceConverter converter(d, f.red, f.green, f.blue);
        for (int i = 0; i < 20000; ++i) {
            const uint32_t c = random();
            ASSERT_EQ(converter.ToSurface(c), ReferenceToSurface(d, f, c)) << std::hex << c;
            ASSERT_EQ(converter.ToArgb(c), ReferenceToArgb(d, c)) << std::hex << c;
        }
    }
}

TEST(SurfaceConverter, KnownValues)
{
    const NativeDisplay d = Display(kFormats[1]);
    const SurfaceConverter rgb565(d, 0xF800, 0x07E0, 0x001F);
    EXPECT_EQ(rgb565.ToSurface(0xFFFFFFFF), 0xFFFFu);
    EXPECT_EQ(rgb565.ToSurface(0x00FF0000), 0xF800u);
    EXPECT_EQ(rgb565.ToSurface(0x80123456), 0x11AAu);
    EXPECT_EQ(rgb565.ToArgb(0xFFFF), 0xFFF8FCF8u);
    EXPECT_EQ(rgb565.ToArgb(0x0000), 0xFF000000u);
}

// Rows and pixels of a rectangle go where the pitch puts them, through the
// word-wide loops of both depths, and nothing around the rectangle moves.
TEST(SurfaceConverter, RectanglesHonourThePitch)
{
    for (const Format& f : {kFormats[0], kFormats[1]}) {
        SCOPED_TRACE(f.name);
        const NativeDisplay d = Display(f);
        const SurfaceConverter converter(d, f.red, f.green, f.blue);
        const int width = 40;
        const int height = 9;
        const int bytes = f.bits / 8;
        const int pitch = width * bytes + 12;
        std::vector<uint8_t> memory(static_cast<size_t>(pitch) * height, 0xCD);
        const SurfaceMemory surface{memory.data(), pitch, f.bits};
        const Rect rect(3, 2, 33, 5);
        std::vector<uint32_t> pixels(static_cast<size_t>(rect.width) * rect.height);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = static_cast<uint32_t>(i * 0x01030507u) | (i % 3 == 0 ? 0u : 0xFF000000u);

        converter.WriteRect(pixels.data(), static_cast<size_t>(rect.width), surface, rect);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < pitch / bytes; ++x) {
                uint32_t word = 0;
                std::memcpy(&word, memory.data() + static_cast<size_t>(y) * pitch + static_cast<size_t>(x) * bytes,
                            static_cast<size_t>(bytes));
                const bool inside = x >= rect.x && x < rect.x + rect.width && y >= rect.y && y < rect.y + rect.height;
                const uint32_t expected = inside
                    ? ReferenceToSurface(d, f, pixels[static_cast<size_t>(y - rect.y) * rect.width + (x - rect.x)])
                    : (bytes == 4 ? 0xCDCDCDCDu : 0xCDCDu);
                ASSERT_EQ(word, expected) << x << "," << y;
            }
        }

        // Keyed: every pixel that is not opaque becomes the key.
        const uint32_t key = f.bits == 32 ? 0x80654321u : 0x1234u;
        converter.WriteRectKeyed(pixels.data(), static_cast<size_t>(rect.width), surface, rect, key);
        std::vector<uint32_t> back(pixels.size(), 0x77777777);
        converter.ReadRect(surface, rect, back.data(), static_cast<size_t>(rect.width), &key);
        for (size_t i = 0; i < pixels.size(); ++i) {
            const uint32_t expected = (pixels[i] >> 24) != 255 ? 0u : ReferenceToArgb(d, ReferenceToSurface(d, f, pixels[i]));
            ASSERT_EQ(back[i], expected) << i;
        }
        // Without the key the same words read back as opaque colours.
        converter.ReadRect(surface, rect, back.data(), static_cast<size_t>(rect.width), nullptr);
        EXPECT_EQ(back[0], ReferenceToArgb(d, key));
    }
}

TEST(SurfaceConverter, OpaqueMatch)
{
    const NativeDisplay d = Display(kFormats[0]);
    const SurfaceConverter converter(d, 0xFF0000, 0xFF00, 0xFF);
    const uint32_t pixels[] = {0x00000000, 0x80000001, 0xFF000002};
    EXPECT_FALSE(converter.AnyOpaqueConvertsTo(pixels, 3, 0, 0xFFFFFF));
    EXPECT_FALSE(converter.AnyOpaqueConvertsTo(pixels, 3, 1, 0xFFFFFF));
    EXPECT_TRUE(converter.AnyOpaqueConvertsTo(pixels, 3, 2, 0xFFFFFF));
    EXPECT_FALSE(converter.AnyOpaqueConvertsTo(pixels, 2, 2, 0xFFFFFF));
}

} // namespace
