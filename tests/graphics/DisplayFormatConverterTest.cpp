#include "graphics/DisplayFormatConverter.h"

#include <gtest/gtest.h>

namespace {

using Tandry::DisplayFormatConverter;
using Tandry::NativeDisplay;

NativeDisplay Display(int bits, uint32_t red, uint32_t green, uint32_t blue)
{
    NativeDisplay display;
    display.SetPixelFormat(bits, red, green, blue);
    return display;
}

// The conversions written again straight from their formulas.
uint32_t ReferenceTo(const NativeDisplay& d, uint32_t p)
{
    const uint32_t a = p >> 24;
    const uint32_t m = a + 1;
    const uint32_t red = ((((p & 0xFF0000) * m) >> 8) >> (24 - d.mRedBits) << d.mRedShift) & uint32_t(d.mRedMask);
    const uint32_t green
        = ((((p & 0xFF00) * m) >> 8) >> (16 - d.mGreenBits) << d.mGreenShift) & uint32_t(d.mGreenMask);
    const uint32_t blue = ((((p & 0xFF) * m) >> 8) >> (8 - d.mBlueBits) << d.mBlueShift) & uint32_t(d.mBlueMask);
    return red | green | blue | (a << 24);
}

uint32_t ReferenceChannelBack(uint32_t t, uint32_t mask, int shift, int bits)
{
    const uint32_t m = (t >> 24) + 1;
    return (((((t & mask) << 8) / m) & mask) << 8) >> (shift + bits);
}

uint32_t ReferenceFrom(const NativeDisplay& d, uint32_t t)
{
    return (t >> 24) << 24 | ReferenceChannelBack(t, uint32_t(d.mRedMask), d.mRedShift, d.mRedBits) << 16
        | ReferenceChannelBack(t, uint32_t(d.mGreenMask), d.mGreenShift, d.mGreenBits) << 8
        | ReferenceChannelBack(t, uint32_t(d.mBlueMask), d.mBlueShift, d.mBlueBits);
}

TEST(DisplayFormatConverter, MatchesTheFormulasForEveryAlphaInEveryFormat)
{
    const NativeDisplay displays[] = {
        Display(32, 0xFF0000, 0xFF00, 0xFF),
        Display(16, 0xF800, 0x7E0, 0x1F),
        Display(16, 0x7C00, 0x3E0, 0x1F),
        Display(16, 0x1F, 0x7E0, 0xF800),
        Display(32, 0xFF, 0xFF00, 0xFF0000),
    };
    const uint32_t colours[] = {0x000000, 0xFFFFFF, 0x123456, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080, 0x7F017F};
    for (const NativeDisplay& display : displays) {
        const DisplayFormatConverter converter(display);
        for (uint32_t alpha = 0; alpha < 256; ++alpha) {
            for (uint32_t colour : colours) {
                const uint32_t pixel = alpha << 24 | colour;
                const uint32_t word = converter.ToDisplay(pixel);
                ASSERT_EQ(word, ReferenceTo(display, pixel)) << std::hex << pixel;
                ASSERT_EQ(converter.FromDisplay(word), ReferenceFrom(display, word)) << std::hex << word;
            }
        }
    }
}

TEST(DisplayFormatConverter, OpaquePixelsSurviveThe32BitRoundTrip)
{
    const DisplayFormatConverter converter(Display(32, 0xFF0000, 0xFF00, 0xFF));
    for (uint32_t v = 0; v < 0x1000000; v += 0x010101 * 3 + 0x10) {
        const uint32_t pixel = 0xFF000000 | v;
        ASSERT_EQ(converter.FromDisplay(converter.ToDisplay(pixel)), pixel);
    }
}

// A format no display has must not shift by 32 or more (undefined) anywhere.
TEST(DisplayFormatConverter, MalformedFormatsConvertWithoutUndefinedShifts)
{
    NativeDisplay odd;
    odd.mRedMask = 0x3FF;
    odd.mRedBits = 10;
    odd.mGreenMask = -1;
    odd.mGreenBits = 32;
    odd.mBlueShift = 40;
    odd.mBlueBits = 8;
    odd.mBlueMask = 0xFF;
    const DisplayFormatConverter converter(odd);
    // Only the ten-bit red channel is usable; the others contribute nothing.
    EXPECT_EQ(converter.ToDisplay(0xFFFFFFFF), 0xFF0003FCu);
    EXPECT_EQ(converter.FromDisplay(0xFFFFFFFF), 0xFFFF0000u);
    const DisplayFormatConverter empty{NativeDisplay()};
    EXPECT_EQ(empty.ToDisplay(0x80FFFFFF), 0x80000000u);
}

} // namespace
