#include "graphics/display/TextureData.h"
#include "graphics/display/D3DInterface.h"
#include "graphics/image/MemoryImage.h"
#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawPixelFormat.h"

#include <gtest/gtest.h>

namespace {

using namespace Tandry;
using Platform::DDPIXELFORMAT;

class TextureLayout : public ::testing::Test {
protected:
    void SetUp() override { ResetD3DGlobals(); }
    void TearDown() override { ResetD3DGlobals(); }

    static void Limits(int maxSize, int aspect, int minSize = 1)
    {
        gMinTextureWidth = gMinTextureHeight = minSize;
        gMaxTextureWidth = gMaxTextureHeight = maxSize;
        gMaxTextureAspect = aspect;
    }
};

TEST_F(TextureLayout, ChooseTextureSize)
{
    struct Case {
        const char* name;
        int maxSize, aspect, minSize;
        int w, h, flags;
        int wantW, wantH;
    };
    const Case cases[] = {
        {"flag 2: exactly 64", 1024, 1024, 1, 1000, 3, 2, 64, 64},
        {"next power of two", 1024, 1024, 1, 100, 100, 0, 128, 128},
        {"at the maximum", 256, 1024, 1, 256, 256, 0, 256, 256},
        {"above the maximum", 256, 1024, 1, 5000, 10, 0, 256, 16},
        {"a maximum that is no power of two", 380, 1024, 1, 367, 10, 0, 380, 16},
        {"aspect 1 widens the short side", 1024, 1, 1, 256, 128, 0, 256, 256},
        {"aspect 1, tall", 1024, 1, 1, 3, 200, 0, 256, 256},
        {"aspect 2", 1024, 2, 1, 256, 16, 0, 256, 128},
        {"minimum", 1024, 1024, 32, 3, 5, 0, 32, 32},
        {"size 0 and 1", 1024, 1024, 1, 0, 1, 0, 1, 1},
        {"bit 1 and bit 8 change nothing", 1024, 1024, 1, 100, 100, 1 | 4 | 8, 128, 128},
    };
    for (const Case& c : cases) {
        Limits(c.maxSize, c.aspect, c.minSize);
        int w = c.w;
        int h = c.h;
        ChooseTextureSize(&w, &h, c.flags);
        EXPECT_EQ(w, c.wantW) << c.name;
        EXPECT_EQ(h, c.wantH) << c.name;
    }
}

struct PieceSize {
    int w, h;
    bool operator==(const PieceSize&) const = default;
};

std::vector<PieceSize> Sizes(const TextureData& data)
{
    std::vector<PieceSize> sizes;
    for (const TexturePiece& piece : data.mPieces)
        sizes.push_back({piece.width, piece.height});
    return sizes;
}

TEST_F(TextureLayout, LayoutTexturePieces)
{
    struct Case {
        const char* name;
        int maxSize, aspect;
        int w, h, flags;
        int columns, rows;
        std::vector<PieceSize> pieces;
        float maxU, maxV;
    };
    const std::vector<PieceSize> twelve(12, PieceSize{256, 256});
    const Case cases[] = {
        {"one large piece", 1024, 1024, 1024, 768, 0, 1, 1, {{1024, 1024}}, 1.0f, 0.75f},
        {"4 x 3 pieces", 256, 1024, 1024, 768, 0, 4, 3, twelve, 4.0f, 3.0f},
        {"right piece", 256, 2, 300, 100, 0, 2, 1, {{256, 128}, {64, 128}}, 1.171875f, 0.78125f},
        {"one piece with room", 1024, 1024, 100, 100, 0, 1, 1, {{128, 128}}, 0.78125f, 0.78125f},
        {"64 x 64 pieces by flag",
         1024,
         1024,
         100,
         70,
         2,
         2,
         2,
         {{64, 64}, {64, 64}, {64, 64}, {64, 64}},
         1.5625f,
         1.09375f},
        {"right, bottom and corner",
         64,
         1024,
         100,
         70,
         0,
         2,
         2,
         {{64, 64}, {64, 64}, {64, 8}, {64, 8}},
         1.5625f,
         1.09375f},
        {"empty image", 1024, 1024, 0, 0, 0, 0, 0, {}, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        Limits(c.maxSize, c.aspect);
        MemoryImage image(nullptr);
        image.mWidth = c.w;
        image.mHeight = c.h;
        image.mTextureFlags = c.flags;
        TextureData data;
        LayoutTexturePieces(&image, &data);
        EXPECT_EQ(data.mColumns, c.columns) << c.name;
        EXPECT_EQ(data.mRows, c.rows) << c.name;
        EXPECT_EQ(Sizes(data), c.pieces) << c.name;
        EXPECT_FLOAT_EQ(data.mMaxU, c.maxU) << c.name;
        EXPECT_FLOAT_EQ(data.mMaxV, c.maxV) << c.name;
    }
}

// A device whose aspect limit lifts the rows above its maximum height: the
// narrow right column is still as high as the row it belongs to.
TEST_F(TextureLayout, LastColumnHoldsItsWholeRow)
{
    gMinTextureWidth = gMinTextureHeight = 1;
    gMaxTextureWidth = 236;
    gMaxTextureHeight = 16;
    gMaxTextureAspect = 3;
    MemoryImage image(nullptr);
    image.mWidth = 300;
    image.mHeight = 20;
    TextureData data;
    LayoutTexturePieces(&image, &data);
    EXPECT_EQ(data.mPieceHeight, 128);
    EXPECT_EQ(Sizes(data), (std::vector<PieceSize>{{236, 128}, {64, 128}}));
}

TEST(TextureFormats, ClassifyTextureFormat)
{
    using Platform::DDrawFormat;
    using Platform::MakePixelFormat;
    struct Case {
        const char* name;
        DDPIXELFORMAT format;
        int code;
    };
    DDPIXELFORMAT nearMiss = MakePixelFormat(DDrawFormat::A4R4G4B4);
    nearMiss.dwBBitMask = 0x000E;
    DDPIXELFORMAT paletteWithoutRgb;
    paletteWithoutRgb.dwFlags = Platform::DDPF_PALETTEINDEXED8;
    paletteWithoutRgb.dwRGBBitCount = 8;
    const Case cases[] = {
        {"A8R8G8B8", MakePixelFormat(DDrawFormat::A8R8G8B8), kTextureA8R8G8B8},
        {"A4R4G4B4", MakePixelFormat(DDrawFormat::A4R4G4B4), kTextureA4R4G4B4},
        {"R5G6B5", MakePixelFormat(DDrawFormat::R5G6B5), kTextureR5G6B5},
        {"Palette8", MakePixelFormat(DDrawFormat::P8Texture), kTexturePalette8},
        {"X1R5G5B5", MakePixelFormat(DDrawFormat::X1R5G5B5), 0},
        {"A1R5G5B5", MakePixelFormat(DDrawFormat::A1R5G5B5), 0},
        {"X8R8G8B8", MakePixelFormat(DDrawFormat::X8R8G8B8), 0},
        {"one mask off", nearMiss, 0},
        {"palette without the RGB flag", paletteWithoutRgb, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyTextureFormat(c.format), c.code) << c.name;
        if (c.code != 0) {
            const DDPIXELFORMAT made = MakeTexturePixelFormat(c.code);
            EXPECT_EQ(ClassifyTextureFormat(made), c.code) << c.name;
        }
    }
    int mask = 0;
    for (const Case& c : cases)
        EnumTextureFormatIntoMask(const_cast<DDPIXELFORMAT*>(&c.format), &mask);
    EXPECT_EQ(mask, 15);
}

} // namespace
