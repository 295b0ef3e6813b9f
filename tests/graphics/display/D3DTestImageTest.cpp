#include "graphics/display/D3DTestImage.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using Tandry::D3DTestImage;
using Tandry::TestVerdict;

D3DTestImage Filled(int width, int height, uint32_t color)
{
    D3DTestImage image;
    image.Resize(width, height);
    image.FillColumns(0, width, height, color);
    return image;
}

TEST(D3DTestImage, ANewImageIs64By64AndResizeFreesOrRemakes)
{
    D3DTestImage image;
    EXPECT_EQ(image.mWidth, 64);
    EXPECT_EQ(image.mHeight, 64);
    EXPECT_EQ(image.mBits.size(), 64u * 64u);
    image.Resize(100, 70);
    EXPECT_EQ(image.mBits.size(), 100u * 70u);
    image.Resize(0, 70);
    EXPECT_TRUE(image.mBits.empty());
    // Checks on an image without pixels find nothing to complain about.
    int count = -1;
    EXPECT_TRUE(image.CheckColor(0x123456, &count));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(image.CountStripeErrors(), 0);
}

TEST(D3DTestImage, FillColumnsFillsOnlyItsColumnsAndRows)
{
    D3DTestImage image;
    image.Resize(6, 4);
    image.FillColumns(2, 3, 2, 0xFF112233);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 2 && x < 5 && y < 2;
            EXPECT_EQ(image.GetPixel(x, y), inside ? 0xFF112233u : 0u) << x << "," << y;
        }
    }
    // Past the edges it is cut, never written out of the picture.
    image.FillColumns(-3, 100, 100, 7);
    for (uint32_t pixel : image.mBits)
        EXPECT_EQ(pixel, 7u);
}

TEST(D3DTestImage, StripesAreWhiteInOddColumns)
{
    D3DTestImage image;
    image.FillStripes();
    for (int y : {0, 63}) {
        EXPECT_EQ(image.GetPixel(0, y), 0xFF000000u);
        EXPECT_EQ(image.GetPixel(1, y), 0xFFFFFFFFu);
        EXPECT_EQ(image.GetPixel(62, y), 0xFF000000u);
        EXPECT_EQ(image.GetPixel(63, y), 0xFFFFFFFFu);
    }
    EXPECT_EQ(image.CountStripeErrors(), 0);
}

TEST(D3DTestImage, CheckColorCountsPixelsBeyondTheToleranceInTheCorner)
{
    const uint32_t expected = 0x7F007F;
    struct Case {
        const char* name;
        uint32_t corner;    // every pixel of the 10 x 10 corner
        int oddX, oddY;     // one pixel set to odd, unless oddX < 0
        uint32_t odd;
        int wrong;
        bool alike;
        TestVerdict verdict;
    };
    // 16^2 + 16^2 + 16^2 = 768, the largest distance that still counts as right.
    const uint32_t at768 = 0xFF8F108F;
    // 12^2 + 25^2 = 769, the nearest that counts as wrong.
    const uint32_t at769 = 0xFF8B197F;
    const Case cases[] = {
        {"all exact", 0xFF7F007F, -1, -1, 0, 0, true, TestVerdict::Pass},
        {"all at 768", at768, -1, -1, 0, 0, true, TestVerdict::Pass},
        {"one at 769", 0xFF7F007F, 9, 9, at769, 1, false, TestVerdict::Wrong},
        {"one at 768, others exact", 0xFF7F007F, 3, 4, at768, 0, false, TestVerdict::Uneven},
        {"one far off", 0xFF7F007F, 0, 0, 0xFF000000, 1, false, TestVerdict::Wrong},
        {"all beyond", at769, -1, -1, 0, 100, true, TestVerdict::Wrong},
        // Alpha does not count towards the distance, but does towards "alike".
        {"alpha only differs", 0xFF7F007F, 5, 5, 0x007F007F, 0, false, TestVerdict::Uneven},
        // Outside the corner nothing counts.
        {"off outside the corner", 0xFF7F007F, 10, 3, 0xFFFFFFFF, 0, true, TestVerdict::Pass},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        D3DTestImage image = Filled(100, 100, c.corner);
        if (c.oddX >= 0)
            image.SetPixel(c.oddX, c.oddY, c.odd);
        int wrong = -1;
        EXPECT_EQ(image.CheckColor(expected, &wrong), c.alike);
        EXPECT_EQ(wrong, c.wrong);
        EXPECT_EQ(Tandry::JudgeBlendTest(image, expected), c.verdict);
    }
}

TEST(D3DTestImage, TheDistanceIsTheSumOfSquaredChannelDifferences)
{
    // The table above leans on these two: 16^2 * 3 and 12^2 + 25^2.
    EXPECT_EQ(Tandry::ColorDistanceSquared(0xFF8F108F, 0x7F007F), 768);
    EXPECT_EQ(Tandry::ColorDistanceSquared(0xFF8B197F, 0x7F007F), 769);
    EXPECT_EQ(Tandry::ColorDistanceSquared(0x00FFFFFF, 0xFF000000), 3 * 255 * 255);
}

TEST(D3DTestImage, CountStripeErrorsCountsEachWrongPixelOfTheCorner)
{
    D3DTestImage image;
    image.Resize(100, 100);
    image.FillStripes();
    EXPECT_EQ(image.CountStripeErrors(), 0);
    // Shifted by one column, as a clipping fault would draw it: every pixel of
    // the checked 62 x 62 is wrong.
    image.FillColumns(0, 100, 100, 0);
    for (int x = 0; x < 99; ++x)
        image.FillColumns(x, 1, 100, x % 2 == 0 ? 0xFFFFFFFF : 0xFF000000);
    EXPECT_EQ(image.CountStripeErrors(), 62 * 62);
    // Back to stripes, then three wrong pixels: two inside the corner, one outside it.
    image.FillStripes();
    image.SetPixel(0, 0, 0xFFFFFFFF);
    image.SetPixel(61, 61, 0xFF000000);
    image.SetPixel(62, 10, 0xFF000000);
    image.SetPixel(10, 62, 0xFFFFFFFF);
    EXPECT_EQ(image.CountStripeErrors(), 2);
    // Near enough is right.
    image.FillStripes();
    image.SetPixel(3, 3, 0xFFEFEFEF);
    EXPECT_EQ(image.CountStripeErrors(), 0);
}

} // namespace
