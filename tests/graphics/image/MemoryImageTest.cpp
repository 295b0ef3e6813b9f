#include "graphics/image/MemoryImage.h"

#include <atomic>
#include <memory>
#include <new>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/display/NativeDisplay.h"
#include "graphics/image/FakeHostTest.h"

namespace {

using Tandry::MemoryImage;
using TandryTest::FakeHostTest;
using TandryTest::FakeImageHost;
using TandryTest::FakeTextures;
using Event = FakeImageHost::Event;

std::vector<uint32_t> Pixels(const MemoryImage& image)
{
    return std::vector<uint32_t>(image.mBits.get(),
                                 image.mBits.get() + static_cast<size_t>(image.mWidth) * image.mHeight);
}

void Fill(MemoryImage& image, int width, int height, const std::vector<uint32_t>& pixels)
{
    ASSERT_EQ(pixels.size(), static_cast<size_t>(width) * height);
    image.SetBits(pixels.data(), width, height, true);
}

Tandry::NativeDisplay Display(int bits, uint32_t red, uint32_t green, uint32_t blue)
{
    Tandry::NativeDisplay display;
    display.SetPixelFormat(bits, red, green, blue);
    return display;
}

class MemoryImageTest : public FakeHostTest {};

bool HasNoArrays(const MemoryImage& image)
{
    return !image.mBits && !image.mColorTable && !image.mColorIndices && !image.mNativeAlpha && !image.mRLAlpha
        && !image.mRLAdditive && image.mTextureData == nullptr;
}

// --- construction and registration ---------------------------------------

TEST_F(MemoryImageTest, NewImageIsEmptyAndRegisteredUntilDestroyed)
{
    auto image = std::make_unique<MemoryImage>();
    const MemoryImage* address = image.get();
    EXPECT_EQ(image->mWidth, 0);
    EXPECT_EQ(image->mHeight, 0);
    EXPECT_EQ(image->mNumRows, 1);
    EXPECT_EQ(image->mNumCols, 1);
    EXPECT_TRUE(HasNoArrays(*image));
    EXPECT_FALSE(image->mDrawn || image->mForced || image->mHasTrans || image->mHasAlpha || image->mVolatile
                 || image->mWantDiscard || image->mWantPalette || image->mAlphaDirty);
    EXPECT_EQ(image->mChangeCount, 0);
    EXPECT_EQ(image->mTextureFlags, 0);
    EXPECT_EQ(image->mApp, &mHost);
    EXPECT_EQ(mHost.images.count(image.get()), 1u);

    mHost.calls.clear();
    image.reset();
    EXPECT_TRUE(mHost.images.empty());
    // Erased from the set first, then its textures dropped, both under the lock.
    ASSERT_EQ(mHost.calls.size(), 2u);
    EXPECT_EQ(mHost.calls[0].event, Event::Remove);
    EXPECT_EQ(mHost.calls[1].event, Event::FreeTextures);
    for (const auto& call : mHost.calls) {
        EXPECT_EQ(call.image, address);
        EXPECT_TRUE(call.lockHeld);
    }
}

TEST_F(MemoryImageTest, RegistrationHappensUnderTheLock)
{
    MemoryImage image;
    ASSERT_EQ(mHost.calls.size(), 1u);
    EXPECT_EQ(mHost.calls[0].event, Event::Add);
    EXPECT_TRUE(mHost.calls[0].lockHeld);
}

TEST_F(MemoryImageTest, AnImageJoinsTheHostItIsGiven)
{
    FakeImageHost other;
    {
        MemoryImage image(&other);
        EXPECT_EQ(other.images.count(&image), 1u);
        EXPECT_TRUE(mHost.images.empty());
    }
    EXPECT_TRUE(other.images.empty());
}

TEST(MemoryImageWithoutHost, WorksWithThe32BitFormatAndTouchesNoHost)
{
    MemoryImage image(nullptr);
    Fill(image, 2, 1, {0x80FF0000, 0xFF123456});
    image.DiscardBits();
    EXPECT_FALSE(image.mBits);
    ASSERT_TRUE(image.mNativeAlpha);
    EXPECT_EQ(image.mNativeAlpha[0], 0x80800000u);
    EXPECT_EQ(image.GetPixel(0, 0), 0x80FE0000u);
    image.FreeDerivedData();
}

TEST_F(MemoryImageTest, DetachedImagesNoLongerTouchTheirHost)
{
    auto image = std::make_unique<MemoryImage>();
    mHost.DetachAll();
    mHost.calls.clear();
    EXPECT_EQ(image->mApp, nullptr);
    image->FreeTextures();
    image.reset();
    EXPECT_TRUE(mHost.calls.empty());
}

// --- pixels -------------------------------------------------------------

TEST_F(MemoryImageTest, CreateGivesZeroPixelsWithTheMarkerAndPessimisticFlags)
{
    MemoryImage image;
    image.Create(4, 3);
    EXPECT_FALSE(image.mBits);
    EXPECT_TRUE(image.mHasTrans);
    EXPECT_TRUE(image.mHasAlpha);
    const uint32_t* bits = image.GetBits();
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(bits[i], 0u) << i;
    EXPECT_EQ(bits[12], 0x4BEEFADEu);
    EXPECT_TRUE(image.mHasTrans);
    EXPECT_TRUE(image.mHasAlpha);
    image.ScanAlpha();
    EXPECT_TRUE(image.mHasTrans);
    EXPECT_FALSE(image.mHasAlpha);
    EXPECT_FALSE(image.mAlphaDirty);
}

TEST_F(MemoryImageTest, CreateOfAPalettisedImageStartsTransparentAtTheNewSize)
{
    MemoryImage image;
    Fill(image, 2, 1, {0xFF0000FF, 0xFF00FF00});
    ASSERT_TRUE(image.Palletize());
    image.Create(8, 8);
    EXPECT_FALSE(image.mColorIndices);
    const uint32_t* bits = image.GetBits();
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(bits[i], 0u) << i;
}

TEST_F(MemoryImageTest, CreateDropsTexturesOfTheOldPicture)
{
    MemoryImage image;
    Fill(image, 2, 2, {1, 2, 3, 4});
    image.mTextureData = FakeTextures();
    image.Create(3, 3);
    EXPECT_EQ(image.mTextureData, nullptr);
    EXPECT_EQ(mHost.CountCalls(Event::FreeTextures), 1u);
    EXPECT_EQ(image.GetPixel(1, 1), 0u);
    EXPECT_EQ(mHost.CountCalls(Event::ReadTextures), 0u);
}

TEST_F(MemoryImageTest, SetBitsWithTheImagesOwnArrayChangesNothing)
{
    MemoryImage image;
    Fill(image, 2, 2, {0xFF000000, 0x00000000, 0x80FFFFFF, 0xFFFFFFFF});
    const int changes = image.mChangeCount;
    const uint32_t* own = image.mBits.get();
    image.SetBits(own, 5, 7, true);
    EXPECT_EQ(image.mChangeCount, changes);
    EXPECT_EQ(image.mWidth, 2);
    EXPECT_EQ(image.mBits.get(), own);
}

TEST_F(MemoryImageTest, SetBitsReusesTheArrayOnlyForTheSameSize)
{
    struct Step {
        int width, height;
        bool sameArray;
    };
    const Step steps[] = {{2, 2, true}, {3, 2, false}, {3, 2, true}, {2, 3, false}, {0, 0, false}};
    MemoryImage image;
    Fill(image, 2, 2, {1, 2, 3, 4});
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << step.width << " x " << step.height);
        std::vector<uint32_t> pixels(static_cast<size_t>(step.width) * step.height);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = 0xFF000000u + static_cast<uint32_t>(i) * 7u;
        const uint32_t* before = image.mBits.get();
        const int changes = image.mChangeCount;
        image.SetBits(pixels.data(), step.width, step.height, false);
        EXPECT_EQ(image.mBits.get() == before, step.sameArray);
        EXPECT_EQ(image.mChangeCount, changes + 1);
        EXPECT_EQ(image.mWidth, step.width);
        EXPECT_EQ(image.mHeight, step.height);
        EXPECT_EQ(Pixels(image), pixels);
        EXPECT_EQ(image.mBits[pixels.size()], 0x4BEEFADEu);
        EXPECT_TRUE(image.mAlphaDirty);
    }
}

TEST_F(MemoryImageTest, SetBitsDropsThePaletteAndTheCaches)
{
    MemoryImage image;
    Fill(image, 2, 1, {0xFF0000FF, 0x00000000});
    ASSERT_TRUE(image.Palletize());
    image.GetDisplayFormatData(&mHost.format);
    image.GetAlphaRunTable();
    const int changes = image.mChangeCount;
    const uint32_t next[] = {0x80FFFFFF, 0xFFFFFFFF};
    image.SetBits(next, 2, 1, false);
    EXPECT_FALSE(image.mColorIndices);
    EXPECT_FALSE(image.mColorTable);
    EXPECT_FALSE(image.mNativeAlpha);
    EXPECT_FALSE(image.mRLAlpha);
    EXPECT_EQ(image.mChangeCount, changes + 1);
    EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{0x80FFFFFF, 0xFFFFFFFF}));
}

// A part of the image's own pixels or palette is still whole while it is copied.
TEST_F(MemoryImageTest, SetBitsCanTakeThePicturesOwnArrays)
{
    MemoryImage image;
    Fill(image, 3, 2, {1, 2, 3, 4, 5, 6});
    image.SetBits(image.mBits.get() + 1, 2, 2, false);
    EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{2, 3, 4, 5}));
    image.SetBits(image.mBits.get() + 1, 3, 1, false);
    EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{3, 4, 5}));

    std::vector<uint32_t> colours(256);
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = 0xFF000000u | static_cast<uint32_t>(i);
    Fill(image, 16, 16, colours);
    ASSERT_TRUE(image.Palletize());
    image.SetBits(image.mColorTable.get(), 16, 16, false);
    EXPECT_EQ(Pixels(image), colours);
    EXPECT_FALSE(image.mColorTable);
}

TEST_F(MemoryImageTest, SetBitsWithCommitScansTheAlphaAtOnce)
{
    struct Case {
        std::vector<uint32_t> pixels;
        bool hasTrans, hasAlpha;
    };
    const Case cases[] = {
        {{0xFF000000, 0xFFFFFFFF}, false, false},
        {{0x00FFFFFF, 0xFF000000}, true, false},
        {{0x01000000, 0xFE000000}, false, true},
        {{0x00000000, 0x7F000000}, true, true},
    };
    MemoryImage image;
    for (const Case& c : cases) {
        image.SetBits(c.pixels.data(), 2, 1, true);
        EXPECT_FALSE(image.mAlphaDirty);
        EXPECT_EQ(image.mHasTrans, c.hasTrans) << std::hex << c.pixels[0];
        EXPECT_EQ(image.mHasAlpha, c.hasAlpha) << std::hex << c.pixels[0];
    }
}

TEST_F(MemoryImageTest, GetPixelIsZeroOutsideTheImage)
{
    MemoryImage image;
    Fill(image, 3, 2, {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004, 0xFF000005, 0xFF000006});
    const struct {
        int x, y;
        uint32_t expected;
    } cases[] = {
        {0, 0, 0xFF000001}, {2, 1, 0xFF000006}, {1, 1, 0xFF000005}, {-1, 0, 0},
        {3, 0, 0},          {0, -1, 0},         {0, 2, 0},          {-2147483647 - 1, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(image.GetPixel(c.x, c.y), c.expected) << c.x << ", " << c.y;
}

TEST_F(MemoryImageTest, ClearMakesEveryPixelTransparentBlack)
{
    MemoryImage image;
    Fill(image, 2, 2, {0xFFFFFFFF, 0x80123456, 0xFF000000, 0x01010101});
    const int changes = image.mChangeCount;
    image.Clear();
    EXPECT_EQ(Pixels(image), std::vector<uint32_t>(4, 0u));
    EXPECT_EQ(image.mBits[4], 0x4BEEFADEu);
    EXPECT_EQ(image.mChangeCount, changes + 1);
}

// --- copies ---------------------------------------------------------------

TEST_F(MemoryImageTest, CopyOfAPalettisedImageStaysPalettised)
{
    MemoryImage image;
    Fill(image, 2, 2, {0xFF0000FF, 0xFF00FF00, 0xFF0000FF, 0x00000000});
    ASSERT_TRUE(image.Palletize());
    image.GetDisplayFormatData(&mHost.format);
    MemoryImage copy(image);
    EXPECT_FALSE(copy.mBits);
    ASSERT_TRUE(copy.mColorIndices && copy.mColorTable && copy.mNativeAlpha);
    EXPECT_NE(copy.mColorTable.get(), image.mColorTable.get());
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(copy.mColorTable[i], image.mColorTable[i]);
        EXPECT_EQ(copy.mNativeAlpha[i], image.mNativeAlpha[i]);
    }
    EXPECT_EQ(copy.GetPixel(1, 0), 0xFF00FF00u);
    EXPECT_EQ(copy.GetPixel(1, 1), 0u);
    EXPECT_FALSE(image.mBits);
}

TEST_F(MemoryImageTest, CopyOfAnImageHeldAsDisplayDataGetsPixelsAndLeavesTheOriginal)
{
    MemoryImage image;
    Fill(image, 2, 1, {0x80FF0000, 0xFF123456});
    image.DiscardBits();
    ASSERT_FALSE(image.mBits);
    MemoryImage copy(image);
    EXPECT_FALSE(image.mBits);
    ASSERT_TRUE(image.mNativeAlpha);
    ASSERT_TRUE(copy.mBits);
    EXPECT_EQ(Pixels(copy), (std::vector<uint32_t>{0x80FE0000, 0xFF123456}));
    EXPECT_EQ(copy.mBits[2], 0x4BEEFADEu);
    ASSERT_TRUE(copy.mNativeAlpha);
    EXPECT_EQ(copy.mNativeAlpha[0], image.mNativeAlpha[0]);
    EXPECT_EQ(copy.mNativeAlpha[1], image.mNativeAlpha[1]);
}

TEST_F(MemoryImageTest, CopyHasNoFileNameNoTexturesAndItsOwnAnimation)
{
    MemoryImage image;
    Fill(image, 4, 2, std::vector<uint32_t>(8, 0xFF336699));
    image.mFileName = "images\\door.png";
    image.mNumRows = 2;
    image.mNumCols = 4;
    image.mDrawn = true;
    image.mTextureData = FakeTextures();
    image.mTextureFlags = 8;
    image.mWantDiscard = true;
    image.mVolatile = true;
    image.ForceAlphaFlags(true, false);
    image.GetAlphaRunTable();
    image.mAnimInfo = std::make_unique<Tandry::AnimInfo>();
    image.mAnimInfo->type = Tandry::AnimInfo::PingPong;
    image.mAnimInfo->frameDelay = 7;
    image.mAnimInfo->celCount = 6;
    image.mAnimInfo->frameDelays = {1, 2, 3};
    image.mAnimInfo->frameOrder = {0, 1, 2, 1};
    image.mAnimInfo->totalTime = 42;

    MemoryImage copy(image);
    EXPECT_TRUE(copy.mFileName.empty());
    EXPECT_FALSE(copy.mDrawn);
    EXPECT_EQ(copy.mTextureData, nullptr);
    EXPECT_EQ(copy.mTextureFlags, 8);
    EXPECT_EQ(copy.mNumRows, 2);
    EXPECT_EQ(copy.mNumCols, 4);
    EXPECT_TRUE(copy.mWantDiscard && copy.mVolatile && copy.mForced && copy.mHasTrans);
    EXPECT_EQ(copy.mChangeCount, image.mChangeCount);
    ASSERT_TRUE(copy.mRLAlpha);
    EXPECT_NE(copy.mRLAlpha.get(), image.mRLAlpha.get());
    ASSERT_TRUE(copy.mAnimInfo);
    EXPECT_NE(copy.mAnimInfo.get(), image.mAnimInfo.get());
    EXPECT_EQ(copy.mAnimInfo->type, Tandry::AnimInfo::PingPong);
    EXPECT_EQ(copy.mAnimInfo->frameDelay, 7);
    EXPECT_EQ(copy.mAnimInfo->celCount, 6);
    EXPECT_EQ(copy.mAnimInfo->frameDelays, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(copy.mAnimInfo->frameOrder, (std::vector<int>{0, 1, 2, 1}));
    EXPECT_EQ(copy.mAnimInfo->totalTime, 42);
    EXPECT_EQ(mHost.images.count(&copy), 1u);
    EXPECT_EQ(mHost.images.size(), 2u);
}

// --- run tables -------------------------------------------------------------

std::vector<uint8_t> AlphaRuns(MemoryImage& image)
{
    const uint8_t* runs = image.GetAlphaRunTable();
    return std::vector<uint8_t>(runs, runs + static_cast<size_t>(image.mWidth) * image.mHeight);
}

TEST_F(MemoryImageTest, ALongRunIsCappedAt255)
{
    // Either side of the one-byte count, where a wrong bound wraps a count to 0.
    for (const int length : {255, 256, 257, 300}) {
        MemoryImage image;
        Fill(image, length, 1, std::vector<uint32_t>(static_cast<size_t>(length), 0xFF102030));
        const std::vector<uint8_t> runs = AlphaRuns(image);
        const int capped = length - 255;
        for (int x = 0; x < capped; ++x)
            ASSERT_EQ(runs[x], 255) << length << " at " << x;
        for (int x = capped; x < length; ++x)
            ASSERT_EQ(runs[x], length - x) << length << " at " << x;
    }
}

TEST_F(MemoryImageTest, AlphaRunsSeparateTransparentOpaqueAndPartial)
{
    MemoryImage image;
    Fill(image, 4, 1, {0x00FFFFFF, 0xFF000000, 0xFFFFFFFF, 0x80000000});
    EXPECT_EQ(AlphaRuns(image), (std::vector<uint8_t>{1, 2, 1, 1}));
}

TEST_F(MemoryImageTest, RunsStopAtTheEndOfEachRow)
{
    MemoryImage narrow;
    Fill(narrow, 1, 5, std::vector<uint32_t>(5, 0xFF000000));
    EXPECT_EQ(AlphaRuns(narrow), std::vector<uint8_t>(5, 1));

    MemoryImage wide;
    Fill(wide, 3, 2, {0x10000000, 0x20000000, 0x30000000, 0x40000000, 0x00000000, 0x00000000});
    EXPECT_EQ(AlphaRuns(wide), (std::vector<uint8_t>{3, 2, 1, 1, 2, 1}));
}

TEST_F(MemoryImageTest, AlphaRunsReadEveryFormThePictureMayBeIn)
{
    const std::vector<uint32_t> pixels = {0x00000000, 0x00FF0000, 0x80808080, 0xFF000000, 0xFFFFFFFF, 0x00000000};
    const std::vector<uint8_t> expected = {2, 1, 1, 2, 1, 1};
    for (int form = 0; form < 3; ++form) {
        MemoryImage image;
        Fill(image, 6, 1, pixels);
        if (form == 1) {
            ASSERT_TRUE(image.Palletize());
        }
        if (form == 2)
            image.DiscardBits();
        EXPECT_EQ(AlphaRuns(image), expected) << "form " << form;
        EXPECT_EQ(image.mBits != nullptr, form == 0) << "form " << form;
    }
}

TEST_F(MemoryImageTest, AdditiveRunsSeparateWordsWithoutColour)
{
    MemoryImage image;
    Fill(image, 3, 1, {0xFF000000, 0x00FF0000, 0xFFFFFFFF});
    const uint8_t* runs = image.GetAdditiveRunTable(&mHost.format);
    EXPECT_EQ(std::vector<uint8_t>(runs, runs + 3), (std::vector<uint8_t>{2, 1, 1}));
    ASSERT_TRUE(image.mNativeAlpha);

    MemoryImage palettised;
    Fill(palettised, 3, 1, {0xFF000000, 0x00FF0000, 0xFFFFFFFF});
    ASSERT_TRUE(palettised.Palletize());
    runs = palettised.GetAdditiveRunTable(&mHost.format);
    EXPECT_EQ(std::vector<uint8_t>(runs, runs + 3), (std::vector<uint8_t>{2, 1, 1}));
}

// A dark pixel whose colour vanishes only in a coarse format.
TEST_F(MemoryImageTest, AdditiveRunsDependOnTheDisplayFormat)
{
    const Tandry::NativeDisplay rgb565 = Display(16, 0xF800, 0x7E0, 0x1F);
    MemoryImage image;
    Fill(image, 2, 1, {0xFF030303, 0xFFFFFFFF});
    const uint8_t* runs = image.GetAdditiveRunTable(&rgb565);
    EXPECT_EQ(runs[0], 1);
    EXPECT_EQ(runs[1], 1);
    image.MarkBitsChanged();
    runs = image.GetAdditiveRunTable(&mHost.format);
    EXPECT_EQ(runs[0], 2);
}

// --- display-format data --------------------------------------------------

TEST_F(MemoryImageTest, DisplayFormatDataAndBackInEveryFormat)
{
    const Tandry::NativeDisplay rgb32 = Display(32, 0xFF0000, 0xFF00, 0xFF);
    const Tandry::NativeDisplay rgb565 = Display(16, 0xF800, 0x7E0, 0x1F);
    const Tandry::NativeDisplay rgb555 = Display(16, 0x7C00, 0x3E0, 0x1F);
    const Tandry::NativeDisplay bgr565 = Display(16, 0x1F, 0x7E0, 0xF800);
    const struct {
        const char* name;
        const Tandry::NativeDisplay& display;
        uint32_t pixel, native, back;
    } cases[] = {
        {"32 partial", rgb32, 0x80FF0000, 0x80800000, 0x80FE0000},
        {"32 opaque", rgb32, 0xFF123456, 0xFF123456, 0xFF123456},
        {"32 transparent", rgb32, 0x00FFFFFF, 0x00000000, 0x00000000},
        {"565 partial", rgb565, 0x80FFFFFF, 0x80008410, 0x80F8FCF8},
        {"565 opaque", rgb565, 0xFF123456, 0xFF0011AA, 0xFF103450},
        {"565 transparent", rgb565, 0x00FFFFFF, 0x00000000, 0x00000000},
        {"555 opaque", rgb555, 0xFF123456, 0xFF0008CA, 0xFF103050},
        {"bgr565 opaque", bgr565, 0xFF123456, 0xFF0051A2, 0xFF103450},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        mHost.format = c.display;
        MemoryImage image;
        Fill(image, 1, 1, {c.pixel});
        EXPECT_EQ(image.GetDisplayFormatData(&c.display)[0], c.native);
        // Rebuilding the pixels goes through the host's display.
        image.mBits.reset();
        EXPECT_EQ(image.GetPixel(0, 0), c.back);
        EXPECT_TRUE(image.mNativeAlpha);
    }
}

TEST_F(MemoryImageTest, PalettisedDisplayDataHasOneWordPerTableEntry)
{
    MemoryImage image;
    std::vector<uint32_t> pixels(64);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = 0xFF000000u | static_cast<uint32_t>(i % 3) * 0x404040u;
    Fill(image, 8, 8, pixels);
    ASSERT_TRUE(image.Palletize());
    const uint32_t* data = image.GetDisplayFormatData(&mHost.format);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(data[i], image.mColorTable[i]) << i; // opaque colours stay as they are
    EXPECT_FALSE(image.mBits);
}

// --- palettising --------------------------------------------------------------

TEST_F(MemoryImageTest, PalletizeTakes256ColoursButNot257)
{
    std::vector<uint32_t> pixels(257);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = 0xFF000000u | static_cast<uint32_t>(i);

    MemoryImage fits;
    Fill(fits, 256, 1, std::vector<uint32_t>(pixels.begin(), pixels.end() - 1));
    fits.GetDisplayFormatData(&mHost.format);
    EXPECT_TRUE(fits.Palletize());
    EXPECT_TRUE(fits.mWantPalette);
    EXPECT_FALSE(fits.mBits);
    EXPECT_FALSE(fits.mNativeAlpha);
    for (int x = 0; x < 256; ++x)
        ASSERT_EQ(fits.GetPixel(x, 0), pixels[x]);

    MemoryImage tooMany;
    Fill(tooMany, 257, 1, pixels);
    tooMany.mWantPalette = true;
    EXPECT_FALSE(tooMany.Palletize());
    EXPECT_FALSE(tooMany.mWantPalette);
    EXPECT_FALSE(tooMany.mColorIndices);
    EXPECT_FALSE(tooMany.mColorTable);
    ASSERT_TRUE(tooMany.mBits);
    EXPECT_EQ(Pixels(tooMany), pixels);
}

TEST_F(MemoryImageTest, ColoursAreNumberedInOrderOfFirstAppearance)
{
    MemoryImage image;
    Fill(image, 2, 2, {0xFF0000FF, 0xFF00FF00, 0xFF0000FF, 0x00000000});
    ASSERT_TRUE(image.Palletize());
    EXPECT_EQ(image.mColorTable[0], 0xFF0000FFu);
    EXPECT_EQ(image.mColorTable[1], 0xFF00FF00u);
    EXPECT_EQ(image.mColorTable[2], 0x00000000u);
    for (int i = 3; i < 256; ++i)
        EXPECT_EQ(image.mColorTable[i], 0xFF000000u) << i;
    EXPECT_EQ(std::vector<uint8_t>(image.mColorIndices.get(), image.mColorIndices.get() + 4),
              (std::vector<uint8_t>{0, 1, 0, 2}));
    // The unused opaque-black entries do not count as colours of the picture.
    image.MarkBitsChanged();
    image.ScanAlpha();
    EXPECT_TRUE(image.mHasTrans);
    EXPECT_FALSE(image.mHasAlpha);
}

TEST_F(MemoryImageTest, AnImageWithoutPixelsPalettisesToAnEmptyTable)
{
    MemoryImage image;
    EXPECT_TRUE(image.Palletize());
    ASSERT_TRUE(image.mColorIndices);
    ASSERT_TRUE(image.mColorTable);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(image.mColorTable[i], 0xFF000000u);
    EXPECT_EQ(image.GetBits()[0], 0x4BEEFADEu);
}

// --- alpha flags --------------------------------------------------------------

TEST_F(MemoryImageTest, ScanAlphaTellsClearFromPartialAtTheEdgesOfTheAlphaRange)
{
    struct Case {
        std::vector<uint32_t> pixels;
        bool hasTrans;
        bool hasAlpha;
    };
    // Five pixels, so the odd one also sits past a whole group of four.
    const Case cases[] = {
        {{0xFF000000, 0xFFFFFFFF, 0xFF123456, 0xFF000000, 0xFF000000}, false, false},
        {{0xFF000000, 0xFFFFFFFF, 0xFF123456, 0xFF000000, 0x00FFFFFF}, true, false},
        {{0x01000000, 0xFFFFFFFF, 0xFF123456, 0xFF000000, 0xFF000000}, false, true},
        {{0xFF000000, 0xFFFFFFFF, 0xFF123456, 0xFF000000, 0xFE000000}, false, true},
        {{0xFF000000, 0x80FFFFFF, 0x00123456, 0xFF000000, 0xFF000000}, true, true},
        {{0x00000000, 0x00FFFFFF, 0x00123456, 0x00000000, 0x00000000}, true, false},
    };
    for (const Case& c : cases) {
        MemoryImage image;
        Fill(image, 5, 1, c.pixels);
        EXPECT_EQ(image.mHasTrans, c.hasTrans) << std::hex << c.pixels[0] << " " << c.pixels[4];
        EXPECT_EQ(image.mHasAlpha, c.hasAlpha) << std::hex << c.pixels[0] << " " << c.pixels[4];
    }
}

TEST_F(MemoryImageTest, ScanAlphaWithoutAnyPictureAssumesTransparency)
{
    MemoryImage image;
    image.mHasAlpha = true;
    image.MarkBitsChanged();
    image.ScanAlpha();
    EXPECT_TRUE(image.mHasTrans);
    EXPECT_FALSE(image.mHasAlpha);
    EXPECT_FALSE(image.mBits);
}

TEST_F(MemoryImageTest, ForcedAlphaFlagsSurviveChangesAndScans)
{
    MemoryImage image;
    Fill(image, 2, 1, {0xFF000000, 0xFF000000});
    image.ForceAlphaFlags(true, true);
    const uint32_t opaque[] = {0xFFFFFFFF, 0xFFFFFFFF};
    image.SetBits(opaque, 2, 1, true);
    image.ScanAlpha();
    EXPECT_TRUE(image.mForced);
    EXPECT_TRUE(image.mHasTrans);
    EXPECT_TRUE(image.mHasAlpha);
}

TEST_F(MemoryImageTest, ScanAlphaOnlyRunsWhenThePixelsChanged)
{
    MemoryImage image;
    Fill(image, 1, 1, {0x80000000});
    ASSERT_TRUE(image.mHasAlpha);
    image.mBits[0] = 0xFF000000; // changed without MarkBitsChanged
    image.ScanAlpha();
    EXPECT_TRUE(image.mHasAlpha);
    image.MarkBitsChanged();
    image.ScanAlpha();
    EXPECT_FALSE(image.mHasAlpha);
}

// --- discarding and caches ------------------------------------------------

TEST_F(MemoryImageTest, DiscardBitsOn2DKeepsOnlyTheDisplayData)
{
    MemoryImage image;
    Fill(image, 2, 1, {0x80FF0000, 0xFF123456});
    image.DiscardBits();
    EXPECT_TRUE(image.mWantDiscard);
    EXPECT_FALSE(image.mBits);
    ASSERT_TRUE(image.mNativeAlpha);
    EXPECT_EQ(image.GetPixel(0, 0), 0x80FE0000u);
    EXPECT_EQ(image.GetPixel(1, 0), 0xFF123456u);
    EXPECT_EQ(mHost.CountCalls(Event::ReadTextures), 0u);
}

TEST_F(MemoryImageTest, DiscardBitsOn2DWithoutAnyPictureOnlyRecordsTheWish)
{
    MemoryImage image;
    image.Create(3, 3);
    image.DiscardBits();
    EXPECT_TRUE(image.mWantDiscard);
    EXPECT_FALSE(image.mNativeAlpha);
}

TEST_F(MemoryImageTest, DiscardBitsOn2DKeepsThePaletteUnlessTexturesExist)
{
    const std::vector<uint32_t> pixels = {0xFF0000FF, 0xFF00FF00, 0x80FF0000, 0xFF0000FF, 0x00000000, 0xFF00FF00};
    MemoryImage image;
    Fill(image, 3, 2, pixels);
    ASSERT_TRUE(image.Palletize());
    image.DiscardBits();
    EXPECT_TRUE(image.mColorIndices);
    EXPECT_TRUE(image.mNativeAlpha);

    MemoryImage textured;
    Fill(textured, 3, 2, pixels);
    ASSERT_TRUE(textured.Palletize());
    textured.mTextureData = FakeTextures();
    textured.DiscardBits();
    EXPECT_FALSE(textured.mColorIndices);
    EXPECT_FALSE(textured.mColorTable);
    EXPECT_FALSE(textured.mBits);
    ASSERT_TRUE(textured.mNativeAlpha);
    // The display data now has a word per pixel, so the picture comes back whole.
    textured.GetBits();
    const std::vector<uint32_t> back = Pixels(textured);
    const std::vector<uint32_t> lossy = {0xFF0000FF, 0xFF00FF00, 0x80FE0000, 0xFF0000FF, 0x00000000, 0xFF00FF00};
    EXPECT_EQ(back, lossy);
    EXPECT_EQ(mHost.CountCalls(Event::ReadTextures), 0u);
}

TEST_F(MemoryImageTest, DiscardBitsOn3DWaitsForTextures)
{
    mHost.is3D = true;
    MemoryImage image;
    Fill(image, 2, 1, {0xFF102030, 0xFF405060});
    image.DiscardBits();
    EXPECT_TRUE(image.mWantDiscard);
    EXPECT_TRUE(image.mBits);
    EXPECT_FALSE(image.mNativeAlpha);

    image.mTextureData = FakeTextures();
    ASSERT_TRUE(image.Palletize());
    image.GetDisplayFormatData(&mHost.format);
    image.DiscardBits();
    EXPECT_FALSE(image.mBits);
    EXPECT_FALSE(image.mColorIndices);
    EXPECT_FALSE(image.mColorTable);
    // Display data made per palette entry cannot stand for the pixels.
    EXPECT_FALSE(image.mNativeAlpha);

    mHost.readBackPixel = 0xFF0A0B0C;
    EXPECT_EQ(image.GetPixel(1, 0), 0xFF0A0B0Cu);
    EXPECT_EQ(mHost.CountCalls(Event::ReadTextures), 1u);
}

TEST_F(MemoryImageTest, ARefusedReadBackGivesTransparentBlack)
{
    mHost.is3D = true;
    mHost.readBackSucceeds = false;
    MemoryImage image;
    Fill(image, 2, 2, std::vector<uint32_t>(4, 0xFFFFFFFF));
    image.mTextureData = FakeTextures();
    image.DiscardBits();
    ASSERT_FALSE(image.mBits);
    EXPECT_EQ(Pixels(MemoryImage(image)), std::vector<uint32_t>(4, 0u));
    EXPECT_EQ(image.GetBits()[4], 0x4BEEFADEu);
    EXPECT_EQ(Pixels(image), std::vector<uint32_t>(4, 0u));
}

TEST_F(MemoryImageTest, FreeingCachesKeepsAPictureHeldOnlyAsDisplayData)
{
    MemoryImage image;
    Fill(image, 2, 1, {0x80FF0000, 0xFF123456});
    image.DiscardBits();
    image.GetAlphaRunTable();
    image.FreeSoftwareCaches();
    EXPECT_FALSE(image.mNativeAlpha);
    EXPECT_FALSE(image.mRLAlpha);
    ASSERT_TRUE(image.mBits);
    EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{0x80FE0000, 0xFF123456}));
}

TEST_F(MemoryImageTest, FreeDisplayFormatDataKeepsTheAlphaRuns)
{
    MemoryImage image;
    Fill(image, 2, 1, {0x80FF0000, 0xFF123456});
    image.GetAdditiveRunTable(&mHost.format);
    image.GetAlphaRunTable();
    image.DiscardBits();
    image.FreeDisplayFormatData();
    EXPECT_TRUE(image.mBits);
    EXPECT_FALSE(image.mNativeAlpha);
    EXPECT_FALSE(image.mRLAdditive);
    EXPECT_TRUE(image.mRLAlpha);
}

TEST_F(MemoryImageTest, MarkBitsChangedDropsTheCachesButNotTheTextures)
{
    MemoryImage image;
    Fill(image, 2, 1, {0x80FF0000, 0xFF123456});
    image.GetAdditiveRunTable(&mHost.format);
    image.GetAlphaRunTable();
    image.mTextureData = FakeTextures();
    const int changes = image.mChangeCount;
    mHost.calls.clear();
    image.MarkBitsChanged();
    EXPECT_EQ(image.mChangeCount, changes + 1);
    EXPECT_TRUE(image.mAlphaDirty);
    EXPECT_FALSE(image.mNativeAlpha);
    EXPECT_FALSE(image.mRLAlpha);
    EXPECT_FALSE(image.mRLAdditive);
    EXPECT_EQ(image.mTextureData, FakeTextures());
    EXPECT_TRUE(mHost.calls.empty());
}

TEST_F(MemoryImageTest, FreeDerivedDataAlsoDropsTheTextures)
{
    MemoryImage image;
    Fill(image, 1, 1, {0xFF000000});
    image.GetAlphaRunTable();
    image.mTextureData = FakeTextures();
    image.FreeDerivedData();
    EXPECT_FALSE(image.mRLAlpha);
    EXPECT_EQ(image.mTextureData, nullptr);
    EXPECT_EQ(mHost.CountCalls(Event::FreeTextures), 1u);
}

TEST_F(MemoryImageTest, PendingConversionsPalettiseBeforeTheyDiscard)
{
    MemoryImage image;
    Fill(image, 2, 2, {0xFF0000FF, 0x80FF0000, 0xFF0000FF, 0x00000000});
    image.mWantPalette = true;
    image.mWantDiscard = true;
    image.ApplyPendingConversions();
    // Palettised first, then discarding keeps display data made per entry.
    EXPECT_FALSE(image.mBits);
    EXPECT_TRUE(image.mColorIndices);
    EXPECT_TRUE(image.mNativeAlpha);
    EXPECT_EQ(image.GetPixel(1, 0), 0x80FF0000u); // exact: it comes from the palette
}

// --- hostile sizes --------------------------------------------------------

TEST_F(MemoryImageTest, AnOversizedPictureIsRefusedBeforeAnythingIsWritten)
{
    MemoryImage image;
    image.Create(70000, 70000);
    EXPECT_THROW(image.GetBits(), std::bad_alloc);
    EXPECT_FALSE(image.mBits);
    EXPECT_THROW(image.Palletize(), std::bad_alloc);
    EXPECT_THROW(image.GetAlphaRunTable(), std::bad_alloc);
    EXPECT_FALSE(image.mColorIndices);
}

TEST_F(MemoryImageTest, BadSizesLeaveTheImageAsItWas)
{
    MemoryImage image;
    Fill(image, 2, 1, {0xFF000001, 0xFF000002});
    const uint32_t* bits = image.mBits.get();
    const int changes = image.mChangeCount;
    const uint32_t few[4] = {};
    const struct {
        int width, height;
    } sizes[] = {{-1, 5}, {5, -1}, {70000, 70000}, {65536, 16384}, {-2147483647 - 1, -1}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        EXPECT_THROW(image.SetBits(few, size.width, size.height, true), std::bad_alloc);
        if (size.width < 0 || size.height < 0) {
            EXPECT_THROW(image.Create(size.width, size.height), std::bad_alloc);
        }
        EXPECT_EQ(image.mWidth, 2);
        EXPECT_EQ(image.mHeight, 1);
        EXPECT_EQ(image.mBits.get(), bits);
        EXPECT_EQ(image.mChangeCount, changes);
        EXPECT_EQ(image.GetPixel(1, 0), 0xFF000002u);
    }
}

// --- threads ----------------------------------------------------------------

TEST_F(MemoryImageTest, ImagesComeAndGoOnTwoThreadsWhileTheSetIsWalked)
{
    mHost.recordCalls = false;
    std::atomic<int> running{2};
    auto churn = [&] {
        for (int i = 0; i < 10000; ++i) {
            MemoryImage image;
            if (i % 64 == 0) {
                MemoryImage copy(image);
            }
        }
        --running;
    };
    std::thread first(churn);
    std::thread second(churn);
    size_t walked = 0;
    while (running.load() > 0) {
        Tandry::CritSectLock hold(mHost.lock);
        for (MemoryImage* image : mHost.images)
            walked += image->mApp == &mHost ? 1 : 0;
    }
    first.join();
    second.join();
    EXPECT_TRUE(mHost.images.empty());
    (void)walked;
}

} // namespace
