#include "graphics/display/DisplayFormatConverter.h"

#include <random>
#include <vector>

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

// Every alpha with every 8-bit value in each channel, and random words: the
// array conversions take shortcuts that must agree with the formulas exactly.
TEST(DisplayFormatConverter, MatchesTheFormulasForEveryAlphaInEveryFormat)
{
    const struct {
        const char* name;
        NativeDisplay display;
    } formats[] = {
        {"32-bit", Display(32, 0xFF0000, 0xFF00, 0xFF)},
        {"565", Display(16, 0xF800, 0x7E0, 0x1F)},
        {"555", Display(16, 0x7C00, 0x3E0, 0x1F)},
        {"BGR565", Display(16, 0x1F, 0x7E0, 0xF800)},
        {"BGR 32-bit", Display(32, 0xFF, 0xFF00, 0xFF0000)},
        // Fields that are not contiguous, or reach into the top byte, take
        // the formula word by word, wrapping products included.
        {"gapped", Display(32, 0x0F00F0, 0x3C00, 0x3)},
        {"high", Display(32, 0x3F000000, 0xFF00, 0xFF)},
    };
    std::mt19937 random(11);
    std::vector<uint32_t> words;
    for (uint32_t alpha = 0; alpha < 256; ++alpha) {
        for (uint32_t v = 0; v < 256; ++v)
            words.push_back(alpha << 24 | v << 16 | (255 - v) << 8 | ((v * 7) & 0xFF));
    }
    for (int i = 0; i < 100000; ++i)
        words.push_back(static_cast<uint32_t>(random()));

    for (const auto& format : formats) {
        SCOPED_TRACE(format.name);
        const NativeDisplay& display = format.display;
        const DisplayFormatConverter converter(display);
        std::vector<uint32_t> to(words.size()), from(words.size());
        converter.ToDisplay(words.data(), to.data(), words.size());
        converter.FromDisplay(words.data(), from.data(), words.size());
        for (size_t i = 0; i < words.size(); ++i) {
            const uint32_t w = words[i];
            ASSERT_EQ(to[i], ReferenceTo(display, w)) << std::hex << w;
            ASSERT_EQ(converter.ToDisplay(w), to[i]) << std::hex << w;
            ASSERT_EQ(from[i], ReferenceFrom(display, w)) << std::hex << w;
            ASSERT_EQ(converter.FromDisplay(w), from[i]) << std::hex << w;
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
