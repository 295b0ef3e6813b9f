#include "graphics/display/D3DTestSupport.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"
#include "platform/ddraw/DDrawPixelFormat.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace Platform;
using namespace Tandry;
using DisplayTest::CallsOf;
using DisplayTest::MakeImage;

class D3DTextures : public DisplayTest::D3DFixture {
protected:
    // The display again on a device that offers only these formats.
    void Reinit(const std::vector<DDrawFormat>& formats, uint32_t maxTexture = 1024)
    {
        Restart();
        DDrawSettings settings = Settings();
        settings.textureFormats.clear();
        for (DDrawFormat format : formats)
            settings.textureFormats.push_back(MakePixelFormat(format));
        settings.maxTextureWidth = settings.maxTextureHeight = maxTexture;
        SetSettings(settings);
        MakeDisplay();
        mDisplay->mIs3D = true;
        ASSERT_EQ(InitWindowed(), 0) << mDisplay->mErrorText;
    }
};

// The texels of a whole texture, row by row, widened to words.
std::vector<uint32_t> Texels(IDirectDrawSurface7* texture)
{
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    if (texture->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) != DD_OK)
        return {};
    std::vector<uint32_t> texels;
    const uint32_t bytes = desc.ddpfPixelFormat.dwRGBBitCount / 8;
    for (uint32_t y = 0; y < desc.dwHeight; ++y) {
        const auto* row = static_cast<const uint8_t*>(desc.lpSurface) + static_cast<size_t>(y) * desc.lPitch;
        for (uint32_t x = 0; x < desc.dwWidth; ++x) {
            uint32_t texel = 0;
            std::memcpy(&texel, row + x * bytes, bytes);
            texels.push_back(texel);
        }
    }
    texture->Unlock(nullptr);
    return texels;
}

std::vector<uint32_t> Gradient(int width, int height, uint32_t alpha)
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pixels.push_back(alpha << 24 | static_cast<uint32_t>(x * 2) << 16 | static_cast<uint32_t>(y * 2) << 8
                             | static_cast<uint32_t>((x + y) & 255));
    }
    return pixels;
}

TEST_F(D3DTextures, FormatChoice)
{
    const std::vector<DDrawFormat> all{DDrawFormat::A8R8G8B8, DDrawFormat::A4R4G4B4, DDrawFormat::R5G6B5,
                                       DDrawFormat::P8Texture};
    const std::vector<DDrawFormat> no8888{DDrawFormat::A4R4G4B4, DDrawFormat::R5G6B5};
    const std::vector<DDrawFormat> no565{DDrawFormat::A8R8G8B8, DDrawFormat::A4R4G4B4};
    struct Case {
        const char* name;
        std::vector<DDrawFormat> device;
        uint32_t alpha;
        int flags;
        bool palettise;
        int format;
    };
    const Case cases[] = {
        {"opaque", all, 255, 0, false, kTextureR5G6B5},
        {"opaque with flag 8", all, 255, kTextureFlagNo565, false, kTextureA8R8G8B8},
        {"opaque without R5G6B5", no565, 255, 0, false, kTextureA8R8G8B8},
        {"alpha", all, 128, 0, false, kTextureA8R8G8B8},
        {"alpha with flag 4", all, 128, kTextureFlagPrefer4444, false, kTextureA4R4G4B4},
        {"transparent pixels", all, 0, 0, false, kTextureA8R8G8B8},
        {"alpha without A8R8G8B8", no8888, 128, 0, false, kTextureA4R4G4B4},
        {"palettised", all, 128, 0, true, kTexturePalette8},
        {"palettised without Palette8", no565, 128, 0, true, kTextureA8R8G8B8},
    };
    for (const Case& c : cases) {
        Reinit(c.device);
        auto image = MakeImage(3, 2, std::vector<uint32_t>(6, c.alpha << 24 | 0x123456u));
        image->mTextureFlags = c.flags;
        if (c.palettise) {
            ASSERT_TRUE(image->Palletize());
        }
        ASSERT_TRUE(D3D().PrepareTextures(image.get())) << c.name;
        EXPECT_EQ(image->mTextureData->mFormat, c.format) << c.name;
        image.reset();
    }
}

TEST_F(D3DTextures, PaletteEntriesSwapRedAndBlue)
{
    auto image = MakeImage(2, 1, {0x80102030u, 0xFF405060u});
    ASSERT_TRUE(image->Palletize());
    const std::vector<uint32_t> table(image->mColorTable.get(), image->mColorTable.get() + 256);
    ASSERT_TRUE(D3D().PrepareTextures(image.get()));
    TextureData& data = *image->mTextureData;
    ASSERT_EQ(data.mFormat, kTexturePalette8);
    PALETTEENTRY entries[256];
    ASSERT_EQ(data.mPalette->GetEntries(0, 0, 256, entries), DD_OK);
    for (int i = 0; i < 256; ++i) {
        uint32_t asWord = 0;
        std::memcpy(&asWord, &entries[i], 4);
        const uint32_t c = table[static_cast<size_t>(i)];
        ASSERT_EQ(asWord, (c & 0xFF00FF00u) | (c >> 16 & 0xFFu) | (c & 0xFFu) << 16) << i;
    }
    EXPECT_EQ(data.mTexMemSize, 2 * 1 * 1 + 1024);
}

// A refused palette leaves Palette8 out until the next device set-up, silently.
TEST_F(D3DTextures, RefusedPaletteRemovesPalette8)
{
    auto image = MakeImage(2, 2, std::vector<uint32_t>(4, 0xFF405060u));
    ASSERT_TRUE(image->Palletize());
    Inject(DDrawFault(DDrawOp::CreatePalette, E_OUTOFMEMORY));
    ASSERT_TRUE(D3D().PrepareTextures(image.get()));
    EXPECT_EQ(image->mTextureData->mFormat, kTextureR5G6B5);
    EXPECT_EQ(gTextureFormats & kTexturePalette8, 0);
    EXPECT_TRUE(gD3DErrorText.empty());
    EXPECT_TRUE(mHost.registryWrites.empty());
    ASSERT_EQ(InitWindowed(), 0);
    EXPECT_EQ(gTextureFormats, 15);
}

// The spare column and row of a piece repeat the picture's last ones, so
// filtering at its edge reads the picture, in each packing.
TEST_F(D3DTextures, UploadPacksAndRepeatsTheLastColumnAndRow)
{
    struct Case {
        const char* name;
        uint32_t alpha;
        int flags;
        int format;
    };
    const Case cases[] = {
        {"A8R8G8B8", 200, 0, kTextureA8R8G8B8},
        {"A4R4G4B4", 200, kTextureFlagPrefer4444, kTextureA4R4G4B4},
        {"R5G6B5", 255, 0, kTextureR5G6B5},
    };
    const auto pack = [](int format, uint32_t c) -> uint32_t {
        const uint32_t a = c >> 24, r = c >> 16 & 255u, g = c >> 8 & 255u, b = c & 255u;
        if (format == kTextureA4R4G4B4)
            return (a >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | b >> 4;
        if (format == kTextureR5G6B5)
            return (r >> 3) << 11 | (g >> 2) << 5 | b >> 3;
        return c;
    };
    for (const Case& c : cases) {
        const std::vector<uint32_t> pixels = Gradient(100, 100, c.alpha);
        auto image = MakeImage(100, 100, pixels);
        image->mTextureFlags = c.flags;
        ASSERT_TRUE(D3D().PrepareTextures(image.get())) << c.name;
        const TextureData& data = *image->mTextureData;
        ASSERT_EQ(data.mFormat, c.format) << c.name;
        ASSERT_EQ(data.mPieces.size(), 1u);
        const std::vector<uint32_t> texels = Texels(data.mPieces[0].texture);
        ASSERT_EQ(texels.size(), 128u * 128u) << c.name;
        const auto at = [&](int x, int y) { return texels[static_cast<size_t>(y) * 128 + static_cast<size_t>(x)]; };
        const auto pixel = [&](int x, int y) { return pixels[static_cast<size_t>(y) * 100 + static_cast<size_t>(x)]; };
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 100; ++x)
                ASSERT_EQ(at(x, y), pack(c.format, pixel(x, y))) << c.name << " at " << x << "," << y;
            ASSERT_EQ(at(100, y), at(99, y)) << c.name << " row " << y;
        }
        for (int x = 0; x <= 100; ++x)
            ASSERT_EQ(at(x, 100), at(x, 99)) << c.name << " column " << x;
        image.reset();
    }
}

TEST_F(D3DTextures, ReadBackGivesThePictureInTheTexturesPrecision)
{
    struct Case {
        const char* name;
        uint32_t pixel;
        int flags;
        bool palettise;
        uint32_t want;
    };
    const Case cases[] = {
        {"A8R8G8B8", 0x8A1B2C3Du, 0, false, 0x8A1B2C3Du},
        {"A4R4G4B4", 0x8A1B2C3Du, kTextureFlagPrefer4444, false, 0x80102030u},
        {"R5G6B5", 0xFF1F2F3Fu, 0, false, 0xFF182C38u},
        {"Palette8", 0x8A1B2C3Du, 0, true, 0x8A1B2C3Du},
    };
    for (const Case& c : cases) {
        // 300 x 100 on 256-texel textures: two pieces, the second partly used.
        Reinit({DDrawFormat::A8R8G8B8, DDrawFormat::A4R4G4B4, DDrawFormat::R5G6B5, DDrawFormat::P8Texture}, 256);
        auto image = MakeImage(300, 100, std::vector<uint32_t>(300 * 100, c.pixel));
        image->mTextureFlags = c.flags;
        if (c.palettise) {
            ASSERT_TRUE(image->Palletize());
        }
        ASSERT_TRUE(D3D().PrepareTextures(image.get())) << c.name;
        ASSERT_EQ(image->mTextureData->mPieces.size(), 2u);
        std::vector<uint32_t> back(300 * 100, 0xDEADBEEFu);
        ASSERT_TRUE(D3D().ReadTexturesBack(image.get(), back.data())) << c.name;
        for (size_t i = 0; i < back.size(); ++i)
            ASSERT_EQ(back[i], c.want) << c.name << " at " << i;

        ++image->mChangeCount;
        EXPECT_FALSE(D3D().ReadTexturesBack(image.get(), back.data())) << c.name;
        image.reset();
    }
}

// A discarded pixel array comes back from the textures when it is asked for.
TEST_F(D3DTextures, DiscardedPixelsReturnThroughTheImageHost)
{
    const std::vector<uint32_t> pixels = Gradient(20, 10, 255);
    auto image = MakeImage(20, 10, pixels);
    image->mTextureFlags = kTextureFlagNo565;
    image->DiscardBits();
    ASSERT_TRUE(D3D().PrepareTextures(image.get()));
    ASSERT_EQ(image->mBits, nullptr);
    const uint32_t* bits = image->GetBits();
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(std::vector<uint32_t>(bits, bits + pixels.size()), pixels);
}

TEST_F(D3DTextures, ChangedPicturesUploadIntoTheSamePieces)
{
    auto image = MakeImage(300, 300, Gradient(300, 300, 255));
    image->mTextureFlags = kTextureFlagNo565;
    ASSERT_TRUE(D3D().PrepareTextures(image.get()));
    const std::vector<TexturePiece> before = image->mTextureData->mPieces;
    image->GetBits()[0] = 0xFF0000FFu;
    image->MarkBitsChanged();
    ClearLog();
    ASSERT_TRUE(D3D().PrepareTextures(image.get()));
    EXPECT_TRUE(CallsOf(CallLog(), DDrawOp::CreateSurface).empty());
    ASSERT_EQ(image->mTextureData->mPieces.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(image->mTextureData->mPieces[i].texture, before[i].texture);
    EXPECT_EQ(Texels(image->mTextureData->mPieces[0].texture)[0], 0xFF0000FFu);
    EXPECT_EQ(image->mTextureData->mBitsChangedCount, image->mChangeCount);
    // Nothing changed: nothing is uploaded.
    ClearLog();
    ASSERT_TRUE(D3D().PrepareTextures(image.get()));
    EXPECT_TRUE(CallsOf(CallLog(), DDrawOp::Lock).empty());
}

// After its colour table changes, a palettised image of several pieces draws
// its new colours from every piece, and keeps one palette.
TEST_F(D3DTextures, PaletteUpdatesReachEveryPieceAndKeepOnePalette)
{
    Reinit({DDrawFormat::A8R8G8B8, DDrawFormat::P8Texture}, 64);
    auto image = MakeImage(100, 10, std::vector<uint32_t>(1000, 0xFF000000u));
    ASSERT_TRUE(image->Palletize());
    ASSERT_TRUE(D3D().PrepareTextures(image.get()));
    const TextureData& data = *image->mTextureData;
    ASSERT_EQ(data.mPieces.size(), 2u);
    const int piecesBytes = data.mTexMemSize - 1024;
    const std::vector<TexturePiece> pieces = data.mPieces;
    for (uint32_t colour : {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u}) {
        image->SetBits(std::vector<uint32_t>(1000, colour).data(), 100, 10, true);
        ASSERT_TRUE(image->Palletize());
        ASSERT_TRUE(D3D().PrepareTextures(image.get()));
        EXPECT_EQ(data.mPieces[0].texture, pieces[0].texture);
        EXPECT_EQ(Live(DDrawObjectKind::Palette), 1u);
        EXPECT_EQ(data.mTexMemSize, piecesBytes + 1024);
        Screen().Blt(image.get(), 0, 0, Rect(0, 0, 100, 10), Color::White, 0);
        const std::vector<uint32_t> screen = ScreenPixels();
        for (int x : {0, 63, 64, 99})
            EXPECT_EQ(screen[static_cast<size_t>(x)], colour) << "x " << x;
    }
}

TEST_F(D3DTextures, EmptyImageHasNoPiecesAndDrawsNothing)
{
    auto image = std::make_unique<MemoryImage>();
    image->Create(0, 0);
    ASSERT_TRUE(D3D().PrepareTextures(image.get()));
    EXPECT_TRUE(image->mTextureData->mPieces.empty());
    ClearLog();
    Screen().Blt(image.get(), 0, 0, Rect(0, 0, 0, 0), Color::White, 0);
    Screen().BltF(image.get(), 1.5f, 2.5f, Rect(0, 0, 5, 5), Rect(0, 0, 100, 100), Color::White, 0);
    EXPECT_TRUE(Draws().empty());
}

// An image going away leaves the set of textured images and its textures go.
TEST_F(D3DTextures, DestroyedImagesLeaveNoTextures)
{
    const uint32_t surfaces = Live(DDrawObjectKind::Surface);
    auto image = MakeImage(300, 100, Gradient(300, 100, 255));
    ASSERT_TRUE(D3D().PrepareTextures(image.get()));
    EXPECT_GT(Live(DDrawObjectKind::Surface), surfaces);
    image.reset();
    EXPECT_TRUE(D3D().mTextureImages.empty());
    EXPECT_EQ(Live(DDrawObjectKind::Surface), surfaces);
}

} // namespace
