#include "graphics/display/DDImage.h"

#include "graphics/display/DDInterface.h"
#include "graphics/display/DisplayTestSupport.h"
#include "graphics/display/SurfaceConverter.h"
#include "graphics/types/Color.h"
#include "graphics/types/Span.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

using namespace Platform;
using DisplayTest::MakeImage;
using DisplayTest::ReadSurface;
using DisplayTest::StoredWords;
using Tandry::Color;
using Tandry::DDImage;
using Tandry::Image;
using Tandry::Rect;

constexpr int kSize = 24;

// Every pixel opaque and different from its neighbours.
std::vector<uint32_t> Picture()
{
    std::vector<uint32_t> pixels(kSize * kSize);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x9E3779B1u >> 8);
    return pixels;
}

class DDImageDrawing : public DisplayTest::DisplayFixture {
protected:
    void Up(DDrawFormat format)
    {
        SetDesktopFormat(format);
        MakeDisplay();
        ASSERT_EQ(InitWindowed(), 0);
    }

    // An opaque image whose only form is its surface.
    std::unique_ptr<DDImage> SurfaceImage(const std::vector<uint32_t>& pixels)
    {
        auto image = std::make_unique<DDImage>(mDisplay);
        image->SetBits(pixels.data(), kSize, kSize, true);
        EXPECT_TRUE(image->CreateSurface());
        image->FreeMemoryCopies();
        return image;
    }

    std::vector<uint32_t> AsShown(const std::vector<uint32_t>& pixels)
    {
        const Tandry::SurfaceConverter converter(*mDisplay, static_cast<uint32_t>(mDisplay->mRedMask),
                                                 static_cast<uint32_t>(mDisplay->mGreenMask),
                                                 static_cast<uint32_t>(mDisplay->mBlueMask));
        std::vector<uint32_t> shown;
        for (uint32_t p : pixels)
            shown.push_back(converter.ToArgb(converter.ToSurface(p)));
        return shown;
    }
};

// On a 32-bit display the read-back is exact, so drawing into the surface
// gives what the same call gives on a memory image of the same picture, for
// every slot, partial alpha included.
TEST_F(DDImageDrawing, SurfaceDrawingMatchesMemoryDrawing)
{
    Up(DDrawFormat::X8R8G8B8);
    auto source = MakeImage(6, 5, [] {
        std::vector<uint32_t> pixels(30);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = static_cast<uint32_t>(i * 0x51) << 24 | static_cast<uint32_t>(i * 0x10305);
        return pixels;
    }());
    const Color halfRed(255, 0, 0, 128);
    const Color white(255, 255, 255);
    const Rect clip(2, 3, 18, 17);
    const Tandry::Span spans[] = {{4, 3, 10}, {5, 1, 12}, {9, 7, 2}};
    std::vector<uint8_t> coverage(kSize * kSize);
    for (size_t i = 0; i < coverage.size(); ++i)
        coverage[i] = static_cast<uint8_t>(i * 37);

    struct Case {
        const char* name;
        std::function<void(Image&)> draw;
    };
    const Case cases[] = {
        {"FillRect", [&](Image& i) { i.FillRect(Rect(3, 4, 10, 7), halfRed, 0); }},
        {"FillRect opaque", [&](Image& i) { i.FillRect(Rect(0, 0, 5, 24), white, 0); }},
        {"ClearRect", [&](Image& i) { i.ClearRect(Rect(20, 20, 4, 4)); }},
        {"DrawRect", [&](Image& i) { i.DrawRect(Rect(1, 2, 15, 9), halfRed, 0); }},
        {"DrawLine", [&](Image& i) { i.DrawLine(1.5, 22.25, 21.75, 0.5, halfRed, 0); }},
        {"DrawLine steep", [&](Image& i) { i.DrawLine(3.0, 0.0, 5.0, 23.0, white, 0); }},
        {"DrawLineAA", [&](Image& i) { i.DrawLineAA(0.0, 0.0, 23.0, 17.0, white, 0); }},
        {"FillScanLines", [&](Image& i) { i.FillScanLines(spans, 3, halfRed, 0); }},
        {"FillScanLinesWithCoverage",
         [&](Image& i) { i.FillScanLinesWithCoverage(spans, 3, halfRed, 0, coverage.data(), 0, 0, kSize, 0); }},
        {"Blt", [&](Image& i) { i.Blt(source.get(), 17, 18, Rect(0, 0, 6, 5), white, 0); }},
        {"Blt additive", [&](Image& i) { i.Blt(source.get(), 2, 2, Rect(1, 1, 5, 4), Color(200, 100, 50), 1); }},
        {"BltF", [&](Image& i) { i.BltF(source.get(), 4.5f, 7.25f, Rect(0, 0, 6, 5), clip, white, 0); }},
        {"BltRotated",
         [&](Image& i) { i.BltRotated(source.get(), 8.0f, 8.0f, Rect(0, 0, 6, 5), clip, white, 0, 0.7, 3.0f, 2.5f); }},
        {"StretchBlt", [&](Image& i) { i.StretchBlt(source.get(), Rect(1, 1, 20, 15), Rect(0, 0, 6, 5), clip, white, 0, false); }},
        {"StretchBlt fast", [&](Image& i) { i.StretchBlt(source.get(), Rect(0, 5, 24, 10), Rect(0, 0, 6, 5), clip, white, 0, true); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto reference = MakeImage(kSize, kSize, Picture());
        c.draw(*reference);
        auto image = SurfaceImage(Picture());
        IDirectDrawSurface* surface = image->mSurface;
        c.draw(*image);
        // Drawn into the surface, which stays the only form.
        EXPECT_EQ(image->mSurface, surface);
        EXPECT_FALSE(image->mBits);
        EXPECT_EQ(image->mLockCount, 0);
        const std::vector<uint32_t> expected(reference->GetBits(), reference->GetBits() + kSize * kSize);
        EXPECT_EQ(ReadSurface(surface), AsShown(expected));
    }
}

TEST_F(DDImageDrawing, OpaqueFillsAndBlitsAreExactOn16Bits)
{
    for (DDrawFormat format : {DDrawFormat::R5G6B5, DDrawFormat::X1R5G5B5, DDrawFormat::BGR565}) {
        SCOPED_TRACE(static_cast<int>(format));
        Restart();
        Up(format);
        auto image = SurfaceImage(Picture());
        const std::vector<uint32_t> before = StoredWords(image->mSurface);
        auto square = MakeImage(2, 2, {0xFFFF00FF, 0xFF000000, 0xFFFFFFFF, 0xFF00FFFF});
        image->FillRect(Rect(5, 6, 4, 3), Color(0, 255, 0), 0);
        image->Blt(square.get(), 20, 1, Rect(0, 0, 2, 2), Color(255, 255, 255), 0);

        std::vector<uint32_t> expected = Picture();
        for (int y = 6; y < 9; ++y) {
            for (int x = 5; x < 9; ++x)
                expected[static_cast<size_t>(y) * kSize + x] = 0xFF00FF00;
        }
        expected[1 * kSize + 20] = 0xFFFF00FF;
        expected[1 * kSize + 21] = 0xFF000000;
        expected[2 * kSize + 20] = 0xFFFFFFFF;
        expected[2 * kSize + 21] = 0xFF00FFFF;
        EXPECT_EQ(ReadSurface(image->mSurface), AsShown(expected));
        // Everything outside the two rectangles keeps its stored words.
        const std::vector<uint32_t> after = StoredWords(image->mSurface);
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                const bool inFill = x >= 5 && x < 9 && y >= 6 && y < 9;
                const bool inBlit = x >= 20 && x < 22 && y >= 1 && y < 3;
                if (!inFill && !inBlit) {
                    ASSERT_EQ(after[static_cast<size_t>(y) * kSize + x], before[static_cast<size_t>(y) * kSize + x])
                        << x << "," << y;
                }
            }
        }
    }
}

TEST_F(DDImageDrawing, OnlyTheRectangleIsWrittenBack)
{
    Up(DDrawFormat::X8R8G8B8);
    auto image = SurfaceImage(Picture());
    // A stored top byte that a read-back and write-back would lose.
    DDSURFACEDESC desc;
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(image->mSurface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    static_cast<uint32_t*>(desc.lpSurface)[0] = 0xAB123456;
    image->mSurface->Unlock(nullptr);
    image->FillRect(Rect(1, 0, 2, 1), Color(0, 0, 255), 0);
    image->Blt(image.get(), 10, 10, Rect(0, 0, 1, 1), Color(255, 255, 255), 0);
    const std::vector<uint32_t> words = StoredWords(image->mSurface);
    EXPECT_EQ(words[0], 0xAB123456u);
    EXPECT_EQ(words[1], 0x0000FFu);
    EXPECT_EQ(words[2], 0x0000FFu);
    // A blit of the image into itself reads the picture as it stood.
    EXPECT_EQ(words[10 * kSize + 10], 0x123456u);
}

TEST_F(DDImageDrawing, ImagesWithTransparencyOrWithoutASurfaceAreDrawnInMemory)
{
    Up(DDrawFormat::X8R8G8B8);
    std::vector<uint32_t> pixels = Picture();
    pixels[0] = 0x00000000;
    auto keyed = SurfaceImage(pixels);
    ASSERT_TRUE(keyed->mHasTrans);
    keyed->FillRect(Rect(2, 2, 2, 2), Color(0, 255, 0), 0);
    EXPECT_EQ(keyed->mSurface, nullptr);
    ASSERT_TRUE(keyed->mBits);
    EXPECT_EQ(keyed->mBits[0], 0u);
    EXPECT_EQ(keyed->mBits[2 * kSize + 2], 0xFF00FF00u);
    // The next surface holds the change.
    ASSERT_NE(keyed->GetSurface(), nullptr);
    EXPECT_EQ(ReadSurface(keyed->mSurface)[2 * kSize + 2], 0xFF00FF00u);

    auto plain = std::make_unique<DDImage>(mDisplay);
    plain->SetBits(Picture().data(), kSize, kSize, true);
    plain->FillRect(Rect(0, 0, 1, 1), Color(0, 255, 0), 0);
    EXPECT_EQ(plain->mSurface, nullptr);
    EXPECT_EQ(plain->mBits[0], 0xFF00FF00u);
}

TEST_F(DDImageDrawing, NothingIsDrawnWhenTheSurfaceRefuses)
{
    Up(DDrawFormat::X8R8G8B8);
    mDisplay->SetScreenInVideoMemory(true);
    DDImage* screen = mDisplay->mScreenImage;
    ASSERT_TRUE(screen->mNoDraw);
    const std::vector<uint32_t> before = StoredWords(screen->mSurface);
    screen->FillRect(Rect(0, 0, 100, 100), Color(0, 255, 0), 0);
    EXPECT_EQ(StoredWords(screen->mSurface), before);

    auto image = SurfaceImage(Picture());
    image->GetBits();
    Inject({DDrawOp::Lock, DDERR_SURFACEBUSY});
    image->FillRect(Rect(0, 0, 4, 4), Color(0, 255, 0), 0);
    // The memory copy stays: nothing was drawn.
    EXPECT_TRUE(image->mBits);
    EXPECT_EQ(ReadSurface(image->mSurface)[0], AsShown(Picture())[0]);
}

} // namespace
