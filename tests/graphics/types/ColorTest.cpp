#include "graphics/types/Color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using Tandry::Color;

struct Channels {
    int red, green, blue, alpha;
};

void ExpectChannels(const Color& c, const Channels& e)
{
    EXPECT_EQ(c.red, e.red);
    EXPECT_EQ(c.green, e.green);
    EXPECT_EQ(c.blue, e.blue);
    EXPECT_EQ(c.alpha, e.alpha);
}

TEST(Color, FromPackedTreatsATopByteOfZeroAsOpaque)
{
    const struct {
        uint32_t packed;
        Channels expected;
    } cases[] = {
        {0x00FF0000, {255, 0, 0, 255}},
        {0xFFFFFF, {255, 255, 255, 255}},
        {0x80FF0000, {255, 0, 0, 128}},
        {0x01000000, {0, 0, 0, 1}},
        {0x00FFFFFF, {255, 255, 255, 255}},
        {0x12345678, {0x34, 0x56, 0x78, 0x12}},
        {static_cast<uint32_t>(-1), {255, 255, 255, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.packed);
        ExpectChannels(Color(c.packed), c.expected);
    }
    ExpectChannels(Color(-1), {255, 255, 255, 255});
}

TEST(Color, ConstructorsAndConstants)
{
    ExpectChannels(Color(), {0, 0, 0, 255});
    ExpectChannels(Color(1, 2, 3), {1, 2, 3, 255});
    // Channels outside 0..255 are kept as given.
    ExpectChannels(Color(300, -5, 7, 999), {300, -5, 7, 999});
    EXPECT_EQ(Color::White, Color(255, 255, 255, 255));
    EXPECT_EQ(Color::Black, Color(0, 0, 0, 255));
    EXPECT_EQ(Color(0xFFFFFF), Color::White);
}

TEST(Color, InequalityNoticesEachChannel)
{
    const Color base(10, 20, 30, 40);
    EXPECT_FALSE(base != Color(10, 20, 30, 40));
    EXPECT_TRUE(base != Color(11, 20, 30, 40));
    EXPECT_TRUE(base != Color(10, 21, 30, 40));
    EXPECT_TRUE(base != Color(10, 20, 31, 40));
    EXPECT_TRUE(base != Color(10, 20, 30, 41));
}

TEST(Color, MultiplyTruncatesEachChannelAndClamps)
{
    const struct {
        Color a, b;
        Channels expected;
    } cases[] = {
        {Color(255, 128, 0, 255), Color(128, 128, 128, 128), {128, 64, 0, 128}},
        {Color::White, Color(1, 2, 3, 4), {1, 2, 3, 4}},
        // 254 * 254 / 255 = 253.0039: truncated, not rounded.
        {Color(254, 1, 128, 127), Color(254, 254, 1, 2), {253, 0, 0, 0}},
        // Out-of-range channels from game data are clamped, not wrapped.
        {Color(600, -10, 100000, 255), Color(255, 255, 100000, 255), {255, 0, 255, 255}},
    };
    for (const auto& c : cases)
        ExpectChannels(Color::Multiply(c.a, c.b), c.expected);
}

TEST(Color, WithAlphaTruncatesAndClampsTheFraction)
{
    const struct {
        float fraction;
        int alpha;
    } cases[] = {
        {0.5f, 127}, {1.0f, 255}, {1.2f, 255}, {-0.1f, 0}, {0.0f, 0}, {0.999f, 254},
        {std::numeric_limits<float>::quiet_NaN(), 0}, {std::numeric_limits<float>::infinity(), 255},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fraction);
        ExpectChannels(Color(9, 8, 7, 200).WithAlpha(c.fraction), {9, 8, 7, c.alpha});
    }
}

TEST(Color, PackedTakesEachChannelAsAByte)
{
    EXPECT_EQ(Color(0x12, 0x34, 0x56, 0x78).Packed(), 0x78123456u);
    EXPECT_EQ(Color::White.Packed(), 0xFFFFFFFFu);
    EXPECT_EQ(Color(0x80FF0000).Packed(), 0x80FF0000u);
    EXPECT_EQ(Color(0x1FF, 0, 0, 0).Packed(), 0x00FF0000u);
}

} // namespace
