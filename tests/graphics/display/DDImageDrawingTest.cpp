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

TEST_F(DDImageDrawing, ImagesWithTransparencyAreDrawnInMemory)
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
    // Nothing was drawn: the surface still holds the picture.
    EXPECT_EQ(ReadSurface(image->mSurface), AsShown(Picture()));
}

} // namespace
