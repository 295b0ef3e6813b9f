// BltRotated and BltF of memory images, and the rotated-blit geometry.
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/image/Image.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/image/RotatedBlitGeometry.h"
#include "graphics/image/SoftwareDrawTest.h"
#include "graphics/types/Color.h"
#include "graphics/types/DoubleRect.h"
#include "graphics/types/Rect.h"

namespace {

using Tandry::Color;
using Tandry::DoubleRect;
using Tandry::Rect;
using TandryTest::Argb;

class MemoryImageRotateTest : public TandryTest::SoftwareDrawTest {};

const Rect kWide(0, 0, 100, 100);

TEST_F(MemoryImageRotateTest, AngleZeroLeavesOutTheFirstAndLastColumnsAndTheLastRow)
{
    auto source = Filled(4, 3, Argb(255, 255, 255, 255));
    auto target = Filled(20, 20, Argb(0, 0, 0, 255));
    target->BltRotated(source.get(), 10.0f, 10.0f, Rect(0, 0, 4, 3), kWide, Color::White, 0, 0.0, 0.0f, 0.0f);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool drawn = (x == 11 || x == 12) && (y == 10 || y == 11);
            EXPECT_EQ(At(*target, x, y), drawn ? Argb(253, 253, 253, 255) : Argb(0, 0, 0, 255)) << x << "," << y;
        }
    }
}

TEST_F(MemoryImageRotateTest, AngleZeroSamplesTheMatchingSourcePixel)
{
    std::vector<uint32_t> numbered;
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 4; ++i)
            numbered.push_back(Argb(static_cast<uint32_t>(40 * i + 4), static_cast<uint32_t>(60 * j + 4), 0, 255));
    }
    auto source = Image(4, 3, numbered);
    auto target = Filled(20, 20, Argb(0, 0, 0, 255));
    target->BltF(source.get(), 10.0f, 10.0f, Rect(0, 0, 4, 3), kWide, Color::White, 0);
    EXPECT_TRUE(source->mDrawn);
    for (int j = 0; j < 2; ++j) {
        for (int i = 1; i <= 2; ++i) {
            const uint32_t s = numbered[static_cast<size_t>(j * 4 + i)];
            // w00 = 65534 and the other weights 0: A = 254, each channel * 254 / 256.
            const uint32_t red = ((s >> 16) & 255) * 254 / 256, green = ((s >> 8) & 255) * 254 / 256;
            EXPECT_EQ(At(*target, 10 + i, 10 + j), Argb(red, green, 0, 255)) << i << "," << j;
        }
    }
}

TEST_F(MemoryImageRotateTest, QuarterTurnPutsTheTopLeftCornerBottomLeft)
{
    const DoubleRect box =
        Tandry::RotatedBounds(20.0f, 30.0f, Rect(0, 0, 10, 10), Rect(0, 0, 200, 200), std::numbers::pi / 2, 5, 5);
    EXPECT_NEAR(box.x, 20.0, 1e-5);
    EXPECT_NEAR(box.y, 30.0, 1e-5);
    EXPECT_NEAR(box.width, 10.0, 1e-5);
    EXPECT_NEAR(box.height, 10.0, 1e-5);

    // Only the source's top-left pixel is opaque: it lands in the box's
    // bottom-left corner, and nothing reaches the top-left.
    std::vector<uint32_t> pixels(100, 0);
    pixels[0] = pixels[1] = pixels[10] = pixels[11] = Argb(255, 255, 255, 255);
    auto source = Image(10, 10, pixels);
    auto target = Filled(60, 60, Argb(0, 0, 0, 255));
    target->BltRotated(source.get(), 20.0f, 30.0f, Rect(0, 0, 10, 10), Rect(0, 0, 60, 60), Color::White, 0,
                       std::numbers::pi / 2, 5.0f, 5.0f);
    int lit = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (At(*target, x, y) != Argb(0, 0, 0, 255)) {
                ++lit;
                EXPECT_TRUE(x >= 20 && x < 23 && y >= 37 && y < 40) << x << "," << y;
            }
        }
    }
    EXPECT_GT(lit, 0);
}

// A sample above alpha 250 replaces the pixel; one at 250 or below is laid
// over it. At angle zero the one weighted corner is 65534, so a source alpha
// of s gives a sample alpha of s - 1. Over opaque white, a blend keeps
// (254 * (256 - A)) >> 8 of each channel besides the sample's colour.
TEST_F(MemoryImageRotateTest, OnlySamplesAboveAlpha250ReplaceThePixel)
{
    struct Case {
        uint32_t sourceAlpha;
        uint32_t expected;
    };
    const Case cases[] = {
        {250, Argb(194 + 6, 97 + 6, 0 + 6, 255)}, // A 249: blended
        {251, Argb(195 + 5, 97 + 5, 0 + 5, 255)}, // A 250: blended
        {252, Argb(196, 98, 0, 255)},             // A 251: the sample alone
    };
    for (const Case& c : cases) {
        auto source = Filled(4, 3, Argb(200, 100, 0, c.sourceAlpha));
        auto target = Filled(20, 20, Argb(255, 255, 255, 255));
        target->BltF(source.get(), 10.0f, 10.0f, Rect(0, 0, 4, 3), kWide, Color::White, 0);
        EXPECT_EQ(At(*target, 11, 10), c.expected) << "source alpha " << c.sourceAlpha;
    }
}

TEST_F(MemoryImageRotateTest, FourOpaqueSamplesAreWrittenWithoutReadingTheDestination)
{
    std::vector<uint32_t> opaque = RandomPixels(36);
    for (uint32_t& p : opaque)
        p |= 0xFF000000;
    auto source = Image(6, 6, opaque);
    for (double angle : {0.0, 0.3, 1.0, 2.5, -0.7}) {
        // Two destinations that differ everywhere end up equal wherever drawn.
        auto a = Filled(20, 20, Argb(0, 0, 0, 0));
        auto b = Filled(20, 20, Argb(255, 255, 255, 255));
        for (auto* t : {a.get(), b.get()})
            t->BltRotated(source.get(), 7.3f, 6.6f, Rect(0, 0, 6, 6), Rect(0, 0, 20, 20), Color::White, 0, angle,
                          3.0f, 3.0f);
        int drawn = 0;
        for (int i = 0; i < 400; ++i) {
            const uint32_t pa = a->mBits[i], pb = b->mBits[i];
            if (pa != 0 || pb != 0xFFFFFFFF) {
                ++drawn;
                EXPECT_EQ(pa, pb) << angle << " pixel " << i;
                EXPECT_EQ(pa >> 24, 255u);
            }
        }
        EXPECT_GT(drawn, 0) << angle;
    }
}

TEST_F(MemoryImageRotateTest, AdditiveKeepsTheDestinationAlphaInEveryModeButZero)
{
    auto source = Image(8, 8, RandomPixels(64));
    for (int mode : {1, 2, 7}) {
        auto target = Image(16, 16, RandomPixels(256));
        const std::vector<uint32_t> before = Pixels(*target);
        target->BltRotated(source.get(), 3.5f, 2.25f, Rect(0, 0, 8, 8), Rect(0, 0, 16, 16), Color(90, 200, 30, 200),
                           mode, 0.4, 4.0f, 4.0f);
        const std::vector<uint32_t> after = Pixels(*target);
        bool changed = false;
        for (size_t i = 0; i < after.size(); ++i) {
            EXPECT_EQ(after[i] >> 24, before[i] >> 24) << mode;
            changed |= after[i] != before[i];
        }
        EXPECT_TRUE(changed) << mode;

        PixelReference::Picture expected{16, 16, before};
        PixelReference::BltRotated(expected, SourceOf(*source), 3.5f, 2.25f, Rect(0, 0, 8, 8), Rect(0, 0, 16, 16),
                                   Color(90, 200, 30, 200), 1, 0.4, 4.0f, 4.0f);
        EXPECT_EQ(after, expected.px) << mode;
    }
}

TEST_F(MemoryImageRotateTest, AClipThatMissesTheBoxDrawsNothing)
{
    auto source = Filled(4, 4, Argb(255, 255, 255, 255));
    auto target = Filled(30, 30, Argb(1, 2, 3, 4));
    const int changes = target->mChangeCount;
    target->BltRotated(source.get(), 2.0f, 2.0f, Rect(0, 0, 4, 4), Rect(20, 20, 5, 5), Color::White, 0, 0.5, 2.0f,
                       2.0f);
    EXPECT_TRUE(source->mDrawn);
    EXPECT_EQ(target->mChangeCount, changes);
    EXPECT_EQ(Pixels(*target), std::vector<uint32_t>(900, Argb(1, 2, 3, 4)));

    Tandry::Image plain;
    plain.mWidth = 4;
    plain.mHeight = 4;
    target->BltRotated(&plain, 2.0f, 2.0f, Rect(0, 0, 4, 4), kWide, Color::White, 0, 0.5, 2.0f, 2.0f);
    EXPECT_TRUE(plain.mDrawn);
    EXPECT_EQ(target->mChangeCount, changes);
}

// Every variant, random angles, centres, positions, clips and colours (some
// outside 0..255), ARGB and palettised sources, against the reference model.
TEST_F(MemoryImageRotateTest, RandomRotationsAgreeWithTheReference)
{
    for (int round = 0; round < 800; ++round) {
        const int sw = Uniform(1, 16), sh = Uniform(1, 16);
        const bool palettised = Uniform(0, 1) == 1;
        const size_t count = static_cast<size_t>(sw) * sh;
        auto source = Image(sw, sh, palettised ? RandomFewColours(count) : RandomPixels(count));
        if (palettised) {
            ASSERT_TRUE(source->Palletize());
        }
        const int dw = Uniform(1, 32), dh = Uniform(1, 32);
        auto target = Image(dw, dh, RandomPixels(static_cast<size_t>(dw) * dh));

        const int w = Uniform(1, sw), h = Uniform(1, sh);
        const Rect srcRect(Uniform(0, sw - w), Uniform(0, sh - h), w, h);
        const int cx = Uniform(0, dw - 1), cy = Uniform(0, dh - 1);
        const Rect clip(cx, cy, Uniform(0, dw - cx), Uniform(0, dh - cy));
        const float x = static_cast<float>(Uniform(-400, 400 + 32 * dw) / 16.0);
        const float y = static_cast<float>(Uniform(-400, 400 + 32 * dh) / 16.0);
        const double angle = Uniform(0, 3) == 0 ? Uniform(-4, 4) * std::numbers::pi / 2 : Uniform(-7000, 7000) / 1000.0;
        const float centerX = static_cast<float>(Uniform(-8, 8 + 8 * w) / 8.0);
        const float centerY = static_cast<float>(Uniform(-8, 8 + 8 * h) / 8.0);
        const Color color = Uniform(0, 1) == 1 ? Color::White : RandomColor();
        const int mode = Uniform(0, 2);

        PixelReference::Picture expected = Picture(*target);
        PixelReference::BltRotated(expected, SourceOf(*source), x, y, srcRect, clip, color, mode, angle, centerX,
                                   centerY);
        target->BltRotated(source.get(), x, y, srcRect, clip, color, mode, angle, centerX, centerY);
        ASSERT_EQ(Pixels(*target), expected.px) << "round " << round;
    }
}

} // namespace
