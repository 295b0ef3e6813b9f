#include "platform/ddraw/ArgbReadback.h"

#include "platform/ddraw/DDrawPixelFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using namespace Platform;

TEST(ArgbReadback, ChannelBitsGoToTheTopOfTheirByte)
{
    const struct {
        DDrawFormat format;
        uint32_t pixel;
        uint32_t argb;
    } cases[] = {
        {DDrawFormat::R5G6B5, 0xFFFF, 0xFFF8FCF8},   {DDrawFormat::R5G6B5, 0xF800, 0xFFF80000},
        {DDrawFormat::R5G6B5, 0x07E0, 0xFF00FC00},   {DDrawFormat::R5G6B5, 0x0001, 0xFF000008},
        {DDrawFormat::X1R5G5B5, 0x7FFF, 0xFFF8F8F8}, {DDrawFormat::X1R5G5B5, 0x8000, 0xFF000000},
        {DDrawFormat::BGR565, 0x001F, 0xFFF80000},   {DDrawFormat::BGR565, 0xF800, 0xFF0000F8},
        {DDrawFormat::X8R8G8B8, 0x12345678, 0xFF345678}, {DDrawFormat::R8G8B8, 0x00ABCDEF, 0xFFABCDEF},
        {DDrawFormat::A4R4G4B4, 0x0F00, 0xFFF00000},
    };
    for (const auto& c : cases) {
        const ArgbReadback readback(MakePixelFormat(c.format));
        EXPECT_EQ(readback.Convert(c.pixel), c.argb) << static_cast<int>(c.format) << " " << std::hex << c.pixel;
    }
    EXPECT_FALSE(ArgbReadback::CanRead(MakePixelFormat(DDrawFormat::P8)));
    EXPECT_TRUE(ArgbReadback::CanRead(MakePixelFormat(DDrawFormat::R8G8B8)));
}

TEST(ArgbReadback, ConvertsARectangleAtThePitch)
{
    // 32 bits with blue on top, which no preset format has.
    DDPIXELFORMAT bgr32 = MakePixelFormat(DDrawFormat::X8R8G8B8);
    bgr32.dwRBitMask = 0xFF;
    bgr32.dwBBitMask = 0xFF0000;
    for (const DDPIXELFORMAT& pixelFormat : {MakePixelFormat(DDrawFormat::X8R8G8B8), MakePixelFormat(DDrawFormat::R5G6B5),
                                             MakePixelFormat(DDrawFormat::R8G8B8), bgr32}) {
        const uint32_t bytes = BytesPerPixel(pixelFormat);
        const int32_t pitch = static_cast<int32_t>(7 * bytes + 12);
        std::vector<uint8_t> memory(static_cast<size_t>(pitch) * 5);
        for (size_t i = 0; i < memory.size(); ++i)
            memory[i] = static_cast<uint8_t>(i * 13 + 1);
        PresentedSurface surface;
        surface.pixels = memory.data();
        surface.pitch = pitch;
        surface.width = 7;
        surface.height = 5;
        surface.format = pixelFormat;
        const ArgbReadback readback(pixelFormat);
        std::vector<uint32_t> out(4 * 3, 0);
        readback.ConvertRect(surface, RECT{2, 1, 6, 4}, out.data(), 4);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                uint32_t pixel = 0;
                std::memcpy(&pixel, memory.data() + (y + 1) * pitch + (x + 2) * bytes, bytes);
                EXPECT_EQ(out[y * 4 + x], readback.Convert(pixel)) << x << "," << y;
            }
        }
    }
}

// Every 16-bit value of every 16-bit format, converted as a rectangle, gives
// the per-pixel rule; for 565 that is also worked out here channel by channel.
TEST(ArgbReadback, EverySixteenBitValueConvertsByTheRule)
{
    std::vector<uint16_t> all(65536);
    for (uint32_t v = 0; v < all.size(); ++v)
        all[v] = static_cast<uint16_t>(v);
    for (const DDrawFormat format :
         {DDrawFormat::R5G6B5, DDrawFormat::X1R5G5B5, DDrawFormat::A4R4G4B4, DDrawFormat::BGR565}) {
        PresentedSurface surface;
        surface.pixels = reinterpret_cast<const uint8_t*>(all.data());
        surface.pitch = 256 * 2;
        surface.width = 256;
        surface.height = 256;
        surface.format = MakePixelFormat(format);
        const ArgbReadback readback(surface.format);
        std::vector<uint32_t> out(all.size(), 0);
        readback.ConvertRect(surface, RECT{0, 0, 256, 256}, out.data(), 256);
        int wrong = 0;
        for (uint32_t v = 0; v < out.size(); ++v) {
            uint32_t expected = readback.Convert(v);
            if (format == DDrawFormat::R5G6B5)
                expected = 0xFF000000u | ((v >> 11) << 3) << 16 | (((v >> 5) & 63) << 2) << 8 | (v & 31) << 3;
            if (out[v] != expected && ++wrong <= 5)
                ADD_FAILURE() << static_cast<int>(format) << " " << std::hex << v << ": " << out[v];
        }
        EXPECT_EQ(wrong, 0) << static_cast<int>(format);
    }
}

} // namespace
