#include "graphics/rasterizer/BlendOver.h"

#include "graphics/rasterizer/ReferenceRasterizer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using namespace Tandry;
using Testing::ReferenceBlend;

uint32_t Blend8888(uint32_t d, uint32_t p, uint32_t w) { return BlendOver8888(d, p, p, p, w); }

TEST(BlendOver, WorkedValues)
{
    struct Case {
        const char* name;
        uint32_t actual;
        uint32_t expected;
    };
    const Case cases[] = {
        // White source (p = 255 * W >> 8) over opaque white keeps alpha 255.
        {"8888 W 128 over white", Blend8888(0xFFFFFFFF, 127, 128), 0xFFFEFEFE},
        {"8888 W 239 over white", Blend8888(0xFFFFFFFF, 238, 239), 0xFFFEFEFE},
        {"8888 W 9 over white", Blend8888(0xFFFFFFFF, 8, 9), 0xFFFDFDFD},
        // Over transparent black the alpha becomes W - 1 and the colour the source's.
        {"8888 W 128 over nothing", Blend8888(0, 127, 128), 0x7FFEFEFE},
        // W = 0 still rewrites an opaque pixel: g = 255.
        {"8888 W 0 over white", Blend8888(0xFFFFFFFF, 0, 0), 0xFEFEFEFE},
        {"888 W 128 over white", BlendOver888(0x00FFFFFF, 127, 127, 127, 128), 0xFFFDFDFD},
        {"888 ignores the top byte", BlendOver888(0x12FFFFFF, 127, 127, 127, 128), 0xFFFDFDFD},
        // A full 5-bit field 31 becomes 30, a full green6 63 becomes 61.
        {"565 W 0", BlendOver565(0xFFFF, 0, 0, 0, 0), 0xF7BE},
        {"555 W 0", BlendOver555(0x7FFF, 0, 0, 0, 0), 0x7BDE},
        {"555 clears bit 15", BlendOver555(0x8000, 0, 0, 0, 0), 0},
        {"555 clears bit 15 at W 240", BlendOver555(0x8000, 0, 0, 0, 240), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.name << std::hex << ": " << c.actual;
}

TEST(BlendOver, ZeroWeightOverTransparentLeavesThePixel)
{
    for (uint32_t d : {0x00000000u, 0x00FFFFFFu, 0x00123456u, 0x00800080u})
        for (uint32_t p : {0u, 1u, 255u})
            EXPECT_EQ(BlendOver8888(d, p, p, p, 0), d) << std::hex << d << " p " << p;
}

// Destination words over every weight, with each field's source at its
// boundaries: 0, just below and at the first step of the truncation, and full.
void CheckSixteenBit(int32_t format, uint16_t (*kernel)(uint16_t, uint32_t, uint32_t, uint32_t, uint32_t))
{
    const uint32_t sources[][3] = {{0, 0, 0}, {7, 3, 7}, {8, 4, 8}, {248, 7, 7}, {7, 8, 248}, {255, 255, 255}};
    int failures = 0;
    for (uint32_t w = 0; w <= 240; ++w)
        for (uint32_t d = 0; d <= 0xFFFF; ++d)
            for (const auto& p : sources) {
                const uint32_t expected = ReferenceBlend(format, d, p, w);
                const uint32_t actual = kernel(static_cast<uint16_t>(d), p[0], p[1], p[2], w);
                if (actual != expected && ++failures <= 5)
                    ADD_FAILURE() << std::hex << "d " << d << " p " << p[0] << "," << p[1] << "," << p[2]
                                  << " w " << std::dec << w << std::hex << ": " << actual << " != " << expected;
            }
    EXPECT_EQ(failures, 0);
}

TEST(BlendOver, Kernel565MatchesPerChannelForm) { CheckSixteenBit(0x565, &BlendOver565); }
TEST(BlendOver, Kernel555MatchesPerChannelForm) { CheckSixteenBit(0x555, &BlendOver555); }

// Every weight and destination alpha, a dense grid of colour channels, and
// sources up to the weight, as the routines hand them over.
void CheckThirtyTwoBit(int32_t format, uint32_t (*kernel)(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t))
{
    const uint32_t channels[] = {0, 1, 2, 7, 8, 15, 16, 63, 64, 127, 128, 191, 192, 253, 254, 255};
    constexpr int kChannels = 16;
    int failures = 0;
    for (uint32_t w = 0; w <= 255; ++w) {
        const std::vector<uint32_t> sources = {0, w / 3, w / 2, w > 0 ? w - 1 : 0, w};
        const int kSources = static_cast<int>(sources.size());
        for (uint32_t da = 0; da <= 255; ++da)
            for (int i = 0; i < kChannels; ++i)
                for (int j = 0; j < kSources; ++j) {
                    const uint32_t d = da << 24 | channels[i] << 16 | channels[(i + 5) % kChannels] << 8 |
                                       channels[(i + 11) % kChannels];
                    const uint32_t p[3] = {sources[j], sources[(j + 1) % kSources], sources[(j + 3) % kSources]};
                    const uint32_t expected = ReferenceBlend(format, d, p, w);
                    const uint32_t actual = kernel(d, p[0], p[1], p[2], w);
                    if (actual != expected && ++failures <= 5)
                        ADD_FAILURE() << std::hex << "d " << d << " p " << p[0] << "," << p[1] << "," << p[2]
                                      << " w " << std::dec << w << std::hex << ": " << actual
                                      << " != " << expected;
                }
    }
    EXPECT_EQ(failures, 0);
}

TEST(BlendOver, Kernel8888MatchesPerChannelForm) { CheckThirtyTwoBit(0x8888, &BlendOver8888); }
TEST(BlendOver, Kernel888MatchesPerChannelForm) { CheckThirtyTwoBit(0x888, &BlendOver888); }

// A source above its weight (bilinear colours may come close) must not carry
// from one channel into the next.
TEST(BlendOver, Kernel888KeepsChannelsApartForLargeSources)
{
    for (uint32_t d : {0xFFFFFFFFu, 0x00FF00FFu, 0x0000FF00u})
        for (uint32_t w : {0u, 1u, 128u}) {
            const uint32_t p[3] = {255, 255, 255};
            EXPECT_EQ(BlendOver888(d, 255, 255, 255, w), ReferenceBlend(0x888, d, p, w)) << std::hex << d;
        }
}

} // namespace
