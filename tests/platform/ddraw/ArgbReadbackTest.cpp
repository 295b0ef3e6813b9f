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
    for (const DDrawFormat format : {DDrawFormat::X8R8G8B8, DDrawFormat::R5G6B5, DDrawFormat::R8G8B8}) {
        const DDPIXELFORMAT pixelFormat = MakePixelFormat(format);
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

} // namespace
