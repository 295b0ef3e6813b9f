#include "graphics/rasterizer/rasterizer.h"

#include "graphics/rasterizer/ExactTexelImage.h"
#include "graphics/rasterizer/FrontEndFixtures.h"
#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/RasterTestInputs.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace Tandry;
using namespace Tandry::Testing;

// The corners land at (7.5, 18.5) and (11.5, 20.5): pixels 8 to 11 of rows
// 19 and 20, and no other.
TEST(RasterizeTransformedQuad, IdentityQuadCoversItsPixels)
{
    auto image = FilledImage(4, 2, 0xFF123456);
    RasterCanvas canvas(0x8888, 24, 24);
    canvas.Fill(0);
    DrawQuad(canvas, image.get(), 10, 20, Identity(), {0, 0, 4, 2});
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            const bool covered = x >= 8 && x <= 11 && y >= 19 && y <= 20;
            EXPECT_EQ(canvas.At(x, y), covered ? 0xFF123456u : 0u) << x << "," << y;
        }
}

TEST(RasterizeTransformedQuad, ColourAndFilterPickTheRoutine)
{
    struct Case {
        const char* name;
        uint32_t texel;
        Color color;
        bool linear;
        uint32_t expected;
    };
    const Case cases[] = {
        // Opaque, no filter: the plain point-sampled entry copies the texel.
        {"point", 0xFF414141, Color::White, false, 0xFF414141},
        // Filtering takes the alpha path: 0x41 * 254 >> 8.
        {"bilinear", 0xFF414141, Color::White, true, 0xFF404040},
        {"white", 0xFFFFFFFF, Color::White, false, 0xFFFFFFFF},
        // Alpha 254 is not white: the colour routine, 255 becomes 254.
        {"alpha 254", 0xFFFFFFFF, Color(255, 255, 255, 254), false, 0xFFFEFEFE},
    };
    for (const Case& c : cases) {
        auto image = FilledImage(4, 4, c.texel);
        RasterCanvas canvas(0x8888, 8, 8);
        canvas.Fill(0);
        DrawQuad(canvas, image.get(), 4, 4, Identity(), {0, 0, 4, 4}, c.color, c.linear);
        EXPECT_EQ(canvas.At(2, 2), c.expected) << c.name;
        EXPECT_EQ(canvas.At(5, 5), c.expected) << c.name;
    }
}

// Every pixel on its own texel's centre, the first row and column included:
// each channel scaled by 254 / 256 and truncated.
TEST(RasterizeTransformedQuad, BilinearIdentityScalesEveryTexel)
{
    RasterTestInputs in(1061);
    std::vector<uint32_t> texels(8 * 6);
    for (uint32_t& t : texels)
        t = 0xFF000000 | static_cast<uint32_t>(in.Random()());
    texels[0] = 0xFF414141;
    auto image = std::make_unique<MemoryImage>(nullptr);
    image->SetBits(texels.data(), 8, 6, true);
    RasterCanvas canvas(0x8888, 16, 16);
    canvas.Fill(0);
    // Corners at (1.5, 2.5) and (9.5, 8.5): texel (x, y) on pixel (x + 2, y + 3).
    DrawQuad(canvas, image.get(), 6, 6, Identity(), {0, 0, 8, 6}, Color::White, true);
    EXPECT_EQ(canvas.At(2, 3), 0xFF404040u);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            uint32_t expected = 0xFF000000;
            for (int shift = 0; shift < 24; shift += 8)
                expected |= ((((texels[static_cast<size_t>(y * 8 + x)] >> shift) & 0xFF) * 254) >> 8) << shift;
            EXPECT_EQ(canvas.At(x + 2, y + 3), expected) << x << "," << y;
        }
}

TEST(RasterizeTransformedQuad, FormatsThatShareARoutine)
{
    RasterTestInputs in(1062);
    std::vector<uint32_t> texels(16 * 16);
    for (uint32_t& t : texels)
        t = static_cast<uint32_t>(in.Random()());
    auto image = std::make_unique<MemoryImage>(nullptr);
    image->SetBits(texels.data(), 16, 16, true);
    const Matrix3x3 turned = RotationScale(30, 1.3);
    for (bool linear : {false, true}) {
        // An unknown format draws as 0x8888.
        RasterCanvas known(0x8888, 40, 40);
        known.FillRandom(in.Random());
        RasterCanvas unknown(0x1234, 40, 40);
        unknown.Fill(0);
        std::memcpy(unknown.Bytes(), known.Bytes(), static_cast<size_t>(known.Pitch()) * 40);
        DrawQuad(known, image.get(), 20, 20, turned, {0, 0, 16, 16}, Color::White, linear);
        DrawQuad(unknown, image.get(), 20, 20, turned, {0, 0, 16, 16}, Color::White, linear);
        EXPECT_TRUE(known == unknown) << linear;
    }
    // With the alpha flags forced off, 0x888 and 0x8888 take the same
    // point-sampled routine: the texel with its top byte set.
    image->ForceAlphaFlags(false, false);
    RasterCanvas wide(0x8888, 40, 40);
    wide.FillRandom(in.Random());
    RasterCanvas opaque(0x888, 40, 40);
    std::memcpy(opaque.Bytes(), wide.Bytes(), static_cast<size_t>(wide.Pitch()) * 40);
    DrawQuad(wide, image.get(), 20, 20, turned, {0, 0, 16, 16});
    DrawQuad(opaque, image.get(), 20, 20, turned, {0, 0, 16, 16});
    EXPECT_TRUE(wide == opaque);
}

// With the alpha flags forced off the texel's alpha is not looked at, and a
// source rectangle reaching left of the image reads opaque black there.
TEST(RasterizeTransformedQuad, ForcedOpaqueImage)
{
    auto image = FilledImage(4, 4, 0x12ABCDEF);
    image->ForceAlphaFlags(false, false);
    RasterCanvas canvas(0x8888, 8, 8);
    canvas.Fill(0);
    DrawQuad(canvas, image.get(), 4, 4, Identity(), {-2, 0, 4, 4});
    EXPECT_EQ(canvas.At(2, 3), 0xFF000000u);
    EXPECT_EQ(canvas.At(3, 3), 0xFF000000u);
    EXPECT_EQ(canvas.At(4, 3), 0xFFABCDEFu);
    EXPECT_EQ(canvas.At(5, 3), 0xFFABCDEFu);
}

TEST(RasterizeTransformedQuad, NothingWithoutAMemoryImage)
{
    Image notMemory;
    notMemory.mWidth = 4;
    notMemory.mHeight = 4;
    RasterCanvas canvas(0x8888, 8, 8);
    canvas.Fill(0x12345678);
    const RasterCanvas before = canvas;
    DrawQuad(canvas, &notMemory, 4, 4, Identity(), {0, 0, 4, 4});
    DrawQuad(canvas, nullptr, 4, 4, Identity(), {0, 0, 4, 4});
    EXPECT_TRUE(canvas == before);
}

// An empty image has no texel to read: its coordinates stay finite and
// every fetch falls outside it. Without alpha flags that is opaque black from
// the point-sampled routine; the filter finds nothing to draw.
TEST(RasterizeTransformedQuad, EmptyImage)
{
    ExactTexelImage empty(0, 0, nullptr);
    ExactTexelImage noRows(5, 0, nullptr);
    for (bool linear : {false, true})
        for (Image* image : {static_cast<Image*>(&empty), static_cast<Image*>(&noRows)}) {
            RasterCanvas canvas(0x8888, 8, 8);
            canvas.Fill(0x12345678);
            DrawQuad(canvas, image, 4, 4, Identity(), {0, 0, 4, 4}, Color::White, linear);
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) {
                    const bool covered = !linear && x >= 2 && x <= 5 && y >= 2 && y <= 5;
                    EXPECT_EQ(canvas.At(x, y), covered ? 0xFF000000u : 0x12345678u) << linear;
                }
        }
}

} // namespace
