#include "graphics/display/DDImage.h"

#include "graphics/display/DDInterface.h"
#include "graphics/display/DisplayTestSupport.h"
#include "graphics/display/IsImage3DScreen.h"
#include "graphics/types/Color.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

using namespace Platform;
using DisplayTest::ReadSurface;
using DisplayTest::StoredWords;
using Tandry::DDImage;

class DDImageTest : public DisplayTest::DisplayFixture {
protected:
    // A display up in the given desktop format.
    void Up(DDrawFormat format)
    {
        SetDesktopFormat(format);
        MakeDisplay();
        ASSERT_EQ(InitWindowed(), 0);
    }

    std::unique_ptr<DDImage> Image(int width, int height, const std::vector<uint32_t>& pixels)
    {
        auto image = std::make_unique<DDImage>(mDisplay);
        image->SetBits(pixels.data(), width, height, true);
        return image;
    }

    static DDSURFACEDESC Describe(IDirectDrawSurface* surface)
    {
        DDSURFACEDESC desc;
        desc.dwSize = sizeof(desc);
        EXPECT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
        return desc;
    }

    static bool HasKey(IDirectDrawSurface* surface) { return (Describe(surface).dwFlags & DDSD_CKSRCBLT) != 0; }

    static uint32_t KeyOf(IDirectDrawSurface* surface)
    {
        const DDSURFACEDESC desc = Describe(surface);
        EXPECT_TRUE(desc.dwFlags & DDSD_CKSRCBLT);
        EXPECT_EQ(desc.ddckCKSrcBlt.dwColorSpaceLowValue, desc.ddckCKSrcBlt.dwColorSpaceHighValue);
        return desc.ddckCKSrcBlt.dwColorSpaceLowValue;
    }

    // Whether the stand-in would lock the surface now, i.e. no lock is held on it.
    static bool Unlocked(IDirectDrawSurface* surface)
    {
        DDSURFACEDESC desc;
        desc.dwSize = sizeof(desc);
        if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK)
            return false;
        surface->Unlock(nullptr);
        return true;
    }
};

TEST_F(DDImageTest, ColorKeyChoice)
{
    struct Case {
        const char* name;
        DDrawFormat format;
        std::vector<uint32_t> pixels;
        bool forceTrans;
        uint32_t key;
        std::vector<uint32_t> stored;
    };
    const Case cases[] = {
        // 0x0000 collides with opaque black; the highest group with a free
        // value is 0xFFE0..0xFFFF, and its lowest free value is the key.
        {"565 collision", DDrawFormat::R5G6B5, {0x00000000, 0xFF000000, 0xFFFFFFFF, 0x80FF0000}, false, 0xFFE0,
         {0xFFE0, 0x0000, 0xFFFF, 0xFFE0}},
        {"565 free candidate", DDrawFormat::R5G6B5, {0x00FF0000, 0xFF000000, 0xFFFFFFFF}, false, 0xF800,
         {0xF800, 0x0000, 0xFFFF}},
        {"565 search skips used values", DDrawFormat::R5G6B5, {0x00000000, 0xFF000000, 0xFFFFFF00, 0xFFFFFFFF},
         false, 0xFFE1, {0xFFE1, 0x0000, 0xFFE0, 0xFFFF}},
        {"555 keeps clear of the unused top bit", DDrawFormat::X1R5G5B5, {0x00000000, 0xFF000000}, false, 0xFFE0,
         {0xFFE0, 0x0000}},
        {"32-bit collision", DDrawFormat::X8R8G8B8, {0x00000000, 0xFF000000}, false, 0x000001,
         {0x000001, 0x000000}},
        {"32-bit search", DDrawFormat::X8R8G8B8, {0x00000000, 0xFF000000, 0xFF000001, 0x40000002}, false, 0x000003,
         {0x000003, 0x000000, 0x000001, 0x000003}},
        // The candidate keeps its alpha byte, so it never equals an opaque pixel's stored value.
        {"32-bit candidate with alpha", DDrawFormat::X8R8G8B8, {0x80FF0000, 0xFFFF0000, 0x00000000}, false,
         0x80FF0000, {0x80FF0000, 0x00FF0000, 0x80FF0000}},
        {"forced, nothing transparent", DDrawFormat::R5G6B5, {0xFFFFFFFF, 0xFF808080}, true, 0x0000,
         {0xFFFF, 0x8410}},
        {"forced, opaque black", DDrawFormat::R5G6B5, {0xFFFFFFFF, 0xFF000000}, true, 0xFFE0, {0xFFFF, 0x0000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        Up(c.format);
        auto image = Image(static_cast<int>(c.pixels.size()), 1, c.pixels);
        if (c.forceTrans)
            image->ForceAlphaFlags(true, false);
        ASSERT_TRUE(image->CreateSurface());
        EXPECT_EQ(KeyOf(image->mSurface), c.key);
        EXPECT_EQ(StoredWords(image->mSurface), c.stored);
    }
}

TEST_F(DDImageTest, OpaqueImagesGetNoKey)
{
    Up(DDrawFormat::R5G6B5);
    auto image = Image(2, 1, {0xFF000000, 0xFF00FF00});
    ASSERT_TRUE(image->CreateSurface());
    EXPECT_FALSE(HasKey(image->mSurface));
    EXPECT_EQ(StoredWords(image->mSurface), (std::vector<uint32_t>{0x0000, 0x07E0}));
}

TEST_F(DDImageTest, ReadBack)
{
    Up(DDrawFormat::R5G6B5);
    auto image = Image(4, 1, {0xFFFFFFFF, 0x00000000, 0x80123456, 0xFF000000});
    ASSERT_TRUE(image->CreateSurface());
    image->FreeMemoryCopies();
    const uint32_t* bits = image->GetBits();
    ASSERT_NE(bits, nullptr);
    // Each channel's bits at the top of its byte; the keyed pixels are transparent again.
    EXPECT_EQ(bits[0], 0xFFF8FCF8u);
    EXPECT_EQ(bits[1], 0x00000000u);
    EXPECT_EQ(bits[2], 0x00000000u);
    EXPECT_EQ(bits[3], 0xFF000000u);
    EXPECT_EQ(bits[4], Tandry::MemoryImage::kBitsMarker);
    // The surface stays, and hit-testing sees the transparency.
    EXPECT_NE(image->mSurface, nullptr);
    EXPECT_EQ(image->GetPixel(1, 0), 0u);
}

TEST_F(DDImageTest, ReadBackOfAKeyedImageKeepsItsTransparencyThroughAMove)
{
    Up(DDrawFormat::X8R8G8B8);
    auto image = Image(2, 1, {0x00000000, 0xFF000000});
    ASSERT_TRUE(image->CreateSurface());
    image->FreeMemoryCopies();
    image->SetVideoMemory(true);
    ASSERT_NE(image->GetSurface(), nullptr);
    EXPECT_EQ(KeyOf(image->mSurface), 0x000001u);
    image->FreeMemoryCopies();
    const uint32_t* bits = image->GetBits();
    EXPECT_EQ(bits[0], 0x00000000u);
    EXPECT_EQ(bits[1], 0xFF000000u);
}

TEST_F(DDImageTest, CountedLocks)
{
    Up(DDrawFormat::X8R8G8B8);
    auto image = Image(2, 2, {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000});
    ASSERT_TRUE(image->LockSurface());
    ASSERT_TRUE(image->LockSurface());
    EXPECT_EQ(image->mLockCount, 2);
    EXPECT_NE(image->mLockDesc.lpSurface, nullptr);
    EXPECT_TRUE(image->UnlockSurface());
    EXPECT_FALSE(Unlocked(image->mSurface));
    EXPECT_TRUE(image->UnlockSurface());
    EXPECT_TRUE(Unlocked(image->mSurface));
    EXPECT_FALSE(image->UnlockSurface());
    EXPECT_EQ(image->mLockCount, 0);

    Inject({DDrawOp::Lock, DDERR_SURFACEBUSY});
    EXPECT_FALSE(image->LockSurface());
    EXPECT_EQ(image->mLockCount, 0);
}

TEST_F(DDImageTest, TheThreeDScreenRefusesSoftwareAccess)
{
    Up(DDrawFormat::X8R8G8B8);
    DDImage* screen = mDisplay->mScreenImage;
    EXPECT_FALSE(screen->Is3DScreen());
    EXPECT_FALSE(Tandry::IsImage3DScreen(screen));
    mDisplay->mIs3D = true;
    EXPECT_TRUE(screen->Is3DScreen());
    EXPECT_TRUE(Tandry::IsImage3DScreen(screen));
    EXPECT_FALSE(screen->LockSurface());
    EXPECT_EQ(screen->GetBits(), nullptr);
    EXPECT_FALSE(mDisplay->mOldCursorAreaImage->Is3DScreen());
    Tandry::MemoryImage plain(nullptr);
    EXPECT_FALSE(Tandry::IsImage3DScreen(&plain));
    EXPECT_FALSE(Tandry::IsImage3DScreen(nullptr));
}

TEST_F(DDImageTest, NoDrawSurfaceIsNotReadBack)
{
    Up(DDrawFormat::X8R8G8B8);
    mDisplay->SetScreenInVideoMemory(true);
    DDImage* screen = mDisplay->mScreenImage;
    EXPECT_EQ(screen->mSurface, mDisplay->mSecondarySurface);
    EXPECT_TRUE(screen->mNoDraw);
    EXPECT_TRUE(screen->mVideoMemory);
    EXPECT_EQ(screen->GetBits(), nullptr);
    mDisplay->SetScreenInVideoMemory(false);
    EXPECT_EQ(mDisplay->mScreenImage->mSurface, mDisplay->mDrawSurface);
    EXPECT_FALSE(mDisplay->mScreenImage->mNoDraw);
}

TEST_F(DDImageTest, LockWithoutASurfaceFails)
{
    MakeDisplay(); // not brought up: no surface can be made
    auto image = Image(1, 1, {0xFFFFFFFF});
    EXPECT_EQ(image->GetSurface(), nullptr);
    EXPECT_FALSE(image->LockSurface());
    EXPECT_EQ(image->mLockCount, 0);
    EXPECT_TRUE(image->mWantSurface);

    DDImage orphan(nullptr);
    const uint32_t white = 0xFFFFFFFF;
    orphan.SetBits(&white, 1, 1, true);
    EXPECT_FALSE(orphan.CreateSurface());
    EXPECT_FALSE(orphan.LockSurface());
}

TEST_F(DDImageTest, AFailedLockLeavesNoSurface)
{
    Up(DDrawFormat::X8R8G8B8);
    auto image = Image(1, 1, {0xFF102030});
    const uint32_t surfaces = Live(DDrawObjectKind::Surface);
    Inject({DDrawOp::Lock, DDERR_SURFACEBUSY});
    EXPECT_FALSE(image->CreateSurface());
    EXPECT_EQ(image->mSurface, nullptr);
    EXPECT_EQ(Live(DDrawObjectKind::Surface), surfaces);
    EXPECT_EQ(image->mLockCount, 0);
    ASSERT_TRUE(image->CreateSurface());
    EXPECT_EQ(ReadSurface(image->mSurface), std::vector<uint32_t>{0xFF102030});
}

TEST_F(DDImageTest, SurfaceFromDisplayFormatDataOnly)
{
    Up(DDrawFormat::X8R8G8B8);
    auto image = Image(2, 1, {0xFFFF0000, 0xFF00FF00});
    image->GetDisplayFormatData(mDisplay);
    image->mBits.reset();
    ASSERT_TRUE(image->CreateSurface());
    EXPECT_EQ(ReadSurface(image->mSurface), (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00}));
}

TEST_F(DDImageTest, SurfaceFromThePaletteForm)
{
    Up(DDrawFormat::R5G6B5);
    auto image = Image(2, 1, {0x00000000, 0xFFFFFFFF});
    ASSERT_TRUE(image->Palletize());
    ASSERT_FALSE(image->mBits);
    ASSERT_TRUE(image->CreateKeyedSurface());
    EXPECT_EQ(StoredWords(image->mSurface), (std::vector<uint32_t>{0x0000, 0xFFFF}));
    EXPECT_EQ(KeyOf(image->mSurface), 0u);
}

TEST_F(DDImageTest, SetVideoMemoryMovesThePicture)
{
    Up(DDrawFormat::X8R8G8B8);
    auto image = Image(2, 1, {0xFF0000FF, 0xFFFFFFFF});
    ASSERT_TRUE(image->CreateSurface());
    IDirectDrawSurface* first = image->mSurface;
    image->FreeMemoryCopies();
    image->SetVideoMemory(false);
    EXPECT_EQ(image->mSurface, first);

    DDrawRuntime::Get().ClearCallLog();
    image->SetVideoMemory(true);
    EXPECT_EQ(image->mSurface, nullptr);
    ASSERT_NE(image->GetSurface(), nullptr);
    bool madeInVideoMemory = false;
    for (const DDrawCall& call : CallLog())
        madeInVideoMemory |= call.op == DDrawOp::CreateSurface && call.caps == DDSCAPS_VIDEOMEMORY;
    EXPECT_TRUE(madeInVideoMemory);
    EXPECT_EQ(ReadSurface(image->mSurface), (std::vector<uint32_t>{0xFF0000FF, 0xFFFFFFFF}));
}

TEST_F(DDImageTest, ChangedPixelsReplaceTheSurface)
{
    Up(DDrawFormat::X8R8G8B8);
    auto image = Image(1, 1, {0xFF0000FF});
    ASSERT_NE(image->GetSurface(), nullptr);
    image->GetBits()[0] = 0xFF00FF00;
    image->MarkBitsChanged();
    EXPECT_EQ(image->mSurface, nullptr);
    ASSERT_NE(image->GetSurface(), nullptr);
    EXPECT_EQ(ReadSurface(image->mSurface), std::vector<uint32_t>{0xFF00FF00});
}

TEST_F(DDImageTest, DiscardBits)
{
    Up(DDrawFormat::X8R8G8B8);
    DDImage* screen = mDisplay->mScreenImage;
    screen->DiscardBits();
    EXPECT_FALSE(screen->mWantDiscard);
    EXPECT_EQ(screen->mSurface, mDisplay->mDrawSurface);

    auto image = Image(1, 1, {0xFF123456});
    ASSERT_TRUE(image->CreateSurface());
    image->DiscardBits();
    // The surface holds the picture; the pixel array goes.
    EXPECT_TRUE(image->mWantDiscard);
    EXPECT_NE(image->mSurface, nullptr);
    EXPECT_FALSE(image->mBits);
    EXPECT_FALSE(image->mColorTable);
    EXPECT_EQ(image->GetBits()[0], 0xFF123456u);

    // Without a wish for a surface the memory image discards as usual.
    auto plain = Image(1, 1, {0xFF123456});
    plain->DiscardBits();
    EXPECT_EQ(plain->mSurface, nullptr);
    EXPECT_FALSE(plain->mBits);
    EXPECT_TRUE(plain->mNativeAlpha);
}

TEST_F(DDImageTest, OverridesKeepTheFormsInStep)
{
    Up(DDrawFormat::X8R8G8B8);
    auto image = Image(1, 2, {0x00000000, 0xFFFFFFFF});
    ASSERT_TRUE(image->mHasTrans);
    ASSERT_TRUE(image->CreateSurface());

    // With a surface the flags are not rescanned.
    image->GetBits()[0] = 0xFFFFFFFF;
    image->mAlphaDirty = true;
    image->ScanAlpha();
    EXPECT_TRUE(image->mHasTrans);

    image->ForceAlphaFlags(false, true);
    image->mForced = false;
    image->Create(3, 3);
    EXPECT_FALSE(image->mHasTrans);
    EXPECT_TRUE(image->mHasAlpha);
    EXPECT_EQ(image->mSurface, nullptr);
    EXPECT_EQ(image->mWidth, 3);

    auto palettised = Image(2, 1, {0xFF000000, 0xFFFFFFFF});
    ASSERT_TRUE(palettised->CreateSurface());
    ASSERT_TRUE(palettised->Palletize());
    EXPECT_EQ(palettised->mSurface, nullptr);
    EXPECT_TRUE(palettised->mColorTable);
    palettised->ApplyPendingConversions();
    EXPECT_NE(palettised->mSurface, nullptr);

    auto unwanted = Image(1, 1, {0xFF000000});
    unwanted->ApplyPendingConversions();
    EXPECT_EQ(unwanted->mSurface, nullptr);
}

TEST_F(DDImageTest, ReleasingTheSurfaceKeepsThePicture)
{
    Up(DDrawFormat::X8R8G8B8);
    auto image = Image(1, 1, {0xFF336699});
    ASSERT_TRUE(image->CreateSurface());
    image->FreeMemoryCopies();
    image->FreeDisplayFormatData();
    EXPECT_EQ(image->mSurface, nullptr);
    ASSERT_TRUE(image->mBits);
    EXPECT_EQ(image->mBits[0], 0xFF336699u);

    ASSERT_TRUE(image->CreateSurface());
    image->FreeMemoryCopies();
    image->FreeDerivedData();
    EXPECT_EQ(image->mSurface, nullptr);
    EXPECT_EQ(image->mBits[0], 0xFF336699u);

    // Adopted surfaces stay.
    DDImage* area = mDisplay->mOldCursorAreaImage;
    area->FreeDerivedData();
    area->FreeDisplayFormatData();
    EXPECT_EQ(area->mSurface, mDisplay->mOldCursorArea);
}

TEST_F(DDImageTest, AfterCleanupImagesStayInMemory)
{
    Up(DDrawFormat::X8R8G8B8);
    auto image = Image(1, 1, {0xFF112233});
    mDisplay->Cleanup();
    EXPECT_EQ(image->GetSurface(), nullptr);
    ASSERT_TRUE(image->mBits);
    EXPECT_EQ(image->mBits[0], 0xFF112233u);
    EXPECT_EQ(Live(DDrawObjectKind::Surface), 0u);
}

TEST_F(DDImageTest, ImageSet)
{
    MakeDisplay();
    {
        auto a = std::make_unique<DDImage>(mDisplay);
        auto b = std::make_unique<DDImage>(mDisplay);
        auto c = std::make_unique<DDImage>(mDisplay);
        EXPECT_EQ(mDisplay->mImageSet.size(), 3u);
        b.reset();
        a.reset();
        EXPECT_EQ(mDisplay->mImageSet.size(), 1u);
        DDImage stranger(nullptr);
        mDisplay->RemoveImage(&stranger);
        EXPECT_EQ(mDisplay->mImageSet.size(), 1u);
    }
    EXPECT_TRUE(mDisplay->mImageSet.empty());
    // The default constructor takes the application's display.
    DDImage image;
    EXPECT_EQ(image.mDDInterface, mDisplay);
    EXPECT_EQ(mDisplay->mImageSet.count(&image), 1u);
}

TEST_F(DDImageTest, AnImageMayOutliveItsDisplay)
{
    Up(DDrawFormat::R5G6B5);
    auto image = Image(2, 1, {0x00000000, 0xFFFFFFFF});
    ASSERT_TRUE(image->CreateSurface());
    image->FreeMemoryCopies();
    delete mDisplay;
    mDisplay = nullptr;
    mHost.display = nullptr;
    EXPECT_EQ(image->mDDInterface, nullptr);
    EXPECT_EQ(image->mSurface, nullptr);
    ASSERT_TRUE(image->mBits);
    EXPECT_EQ(image->mBits[0], 0u);
    EXPECT_EQ(image->mBits[1], 0xFFF8FCF8u);
    EXPECT_FALSE(image->CreateSurface());
    image.reset();
    EXPECT_EQ(Live(DDrawObjectKind::Surface), 0u);
}

TEST_F(DDImageTest, AnAdoptedSurfaceWithoutADisplayIsReadInItsOwnFormat)
{
    Up(DDrawFormat::R5G6B5);
    DDImage orphan(nullptr);
    orphan.AdoptSurface(mDisplay->mOldCursorArea);
    Restart();
    EXPECT_EQ(orphan.mWidth, 128);
    orphan.FillRect(Tandry::Rect(0, 0, 2, 1), Tandry::Color(255, 255, 255), 0);
    EXPECT_EQ(StoredWords(orphan.mSurface)[1], 0xFFFFu);
    EXPECT_EQ(orphan.GetBits()[0], 0xFFF8FCF8u);
}

TEST_F(DDImageTest, ImagesMadeOnTwoThreads)
{
    Up(DDrawFormat::X8R8G8B8);
    const size_t before = mDisplay->mImageSet.size();
    const uint32_t surfaces = Live(DDrawObjectKind::Surface);
    auto work = [this] {
        for (int i = 0; i < 200; ++i) {
            DDImage image(mDisplay);
            const uint32_t pixel = 0xFF000000u | static_cast<uint32_t>(i);
            image.SetBits(&pixel, 1, 1, true);
            ASSERT_TRUE(image.CreateSurface());
            image.FreeMemoryCopies();
            ASSERT_EQ(image.GetBits()[0], pixel);
        }
    };
    std::thread other(work);
    work();
    other.join();
    EXPECT_EQ(mDisplay->mImageSet.size(), before);
    EXPECT_EQ(Live(DDrawObjectKind::Surface), surfaces);
}

} // namespace
