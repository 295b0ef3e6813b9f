// FillRect, ClearRect, DrawRect and the coverage fill of memory images.
#include <cstdint>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/image/CoverageMaskFill.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/image/SoftwareDrawTest.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"
#include "graphics/types/Span.h"

namespace {

using Tandry::Color;
using Tandry::Rect;
using Tandry::Span;
using TandryTest::Argb;

class MemoryImageFillTest : public TandryTest::SoftwareDrawTest {
protected:
    // Fills the spans of image through the mask and says whether the result
    // follows the one-pixel rule.
    ::testing::AssertionResult CoverageFollowsTheRule(Tandry::MemoryImage& image, const std::vector<Span>& spans,
                                                      const Color& color, const std::vector<uint8_t>& mask,
                                                      int maskX, int maskY, int pitch)
    {
        PixelReference::Picture expected = Picture(image);
        const int count = static_cast<int>(spans.size());
        image.FillScanLinesWithCoverage(spans.data(), count, color, 0, mask.data(), maskX, maskY, pitch, 0);
        PixelReference::FillScanLinesWithCoverage(expected, spans.data(), count, color, mask.data(), maskX, maskY,
                                                  pitch);
        if (Pixels(image) == expected.px)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "differs from the one-pixel rule";
    }

    // Fills area of image through the whole mask and says whether the result
    // follows the one-pixel rule of a mask: an opaque colour (once clamped)
    // at coverage 255 is stored as the fill stores it, and every other pixel
    // of area takes the coverage fill.
    ::testing::AssertionResult MaskFollowsTheRule(Tandry::MemoryImage& image, const Rect& area, const Color& color,
                                                  const std::vector<uint8_t>& mask, int maskX, int maskY, int pitch)
    {
        PixelReference::Picture expected = Picture(image);
        const int changes = image.mChangeCount;
        Tandry::FillCoverageMask(image, area, color, mask.data(), maskX, maskY, pitch);
        const bool opaque = PixelReference::Clamped(color).alpha == 255;
        for (int y = area.y; y < area.y + area.height; ++y) {
            for (int x = area.x; x < area.x + area.width; ++x) {
                const uint8_t coverage = mask[static_cast<size_t>((y - maskY) * pitch + (x - maskX))];
                const Span span{y, x, 1};
                if (opaque && coverage == 255)
                    PixelReference::FillRect(expected, Rect(x, y, 1, 1), color);
                else
                    PixelReference::FillScanLinesWithCoverage(expected, &span, 1, color, &coverage, x, y, 1);
            }
        }
        if (image.mChangeCount == changes)
            return ::testing::AssertionFailure() << "the image is not marked changed";
        if (Pixels(image) == expected.px)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "differs from the one-pixel rule";
    }

    // A w x h picture with one span over each whole row; at(x, y) gives each
    // place's coverage and pixel.
    struct Grid {
        std::vector<uint8_t> mask;
        std::vector<uint32_t> below;
        std::vector<Span> spans;
    };
    template <class At>
    static Grid MakeGrid(int w, int h, const At& at)
    {
        Grid grid;
        for (int y = 0; y < h; ++y) {
            grid.spans.push_back(Span{y, 0, w});
            for (int x = 0; x < w; ++x) {
                const auto [coverage, pixel] = at(x, y);
                grid.mask.push_back(coverage);
                grid.below.push_back(pixel);
            }
        }
        return grid;
    }
};

struct FillCase {
    Color color;
    uint32_t before;
    uint32_t after;
};

TEST_F(MemoryImageFillTest, FillRectBlendsByTheFillRule)
{
    const FillCase cases[] = {
        {Color(255, 0, 0, 128), Argb(0, 0, 0, 0), Argb(254, 0, 0, 128)},
        {Color(255, 0, 0, 128), Argb(0, 0, 0, 255), Argb(127, 0, 0, 255)},
        {Color(255, 255, 255, 64), Argb(0, 0, 255, 255), Argb(63, 63, 255, 255)},
        {Color(10, 20, 30, 100), Argb(200, 100, 50, 50), Argb(54, 38, 34, 130)},
        {Color(12, 34, 56, 255), Argb(200, 100, 50, 50), Argb(12, 34, 56, 255)},
        {Color(12, 34, 56, 0), Argb(200, 100, 50, 50), Argb(200, 100, 50, 50)},
        // Channels outside 0..255 are taken as their clamped values.
        {Color(300, -5, 128, 400), Argb(1, 2, 3, 4), Argb(255, 0, 128, 255)},
        {Color(-20, 999, 0, 128), Argb(0, 0, 0, 255), Argb(0, 127, 0, 255)},
    };
    for (const FillCase& c : cases) {
        for (int mode : {0, 1, 2}) {
            auto image = Filled(3, 3, c.before);
            const int changes = image->mChangeCount;
            image->FillRect(Rect(1, 1, 1, 1), c.color, mode);
            EXPECT_EQ(At(*image, 1, 1), c.after) << std::hex << c.before << " mode " << mode;
            EXPECT_EQ(At(*image, 0, 1), c.before);
            EXPECT_EQ(At(*image, 2, 2), c.before);
            EXPECT_EQ(image->mChangeCount, changes + 1);
        }
    }
}

TEST_F(MemoryImageFillTest, FillRectTouchesOnlyItsRectangle)
{
    auto image = Filled(6, 5, Argb(9, 9, 9, 9));
    image->FillRect(Rect(1, 2, 3, 2), Color(1, 2, 3), 0);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 4 && y >= 2 && y < 4;
            EXPECT_EQ(At(*image, x, y), inside ? Argb(1, 2, 3, 255) : Argb(9, 9, 9, 9)) << x << "," << y;
        }
    }
}

TEST_F(MemoryImageFillTest, ClearRectZeroesOnlyItsRectangle)
{
    auto image = Filled(4, 3, Argb(9, 8, 7, 255));
    const int changes = image->mChangeCount;
    image->ClearRect(Rect(1, 1, 2, 1));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(At(*image, x, y), (y == 1 && x >= 1 && x < 3) ? 0u : Argb(9, 8, 7, 255));
    }
    EXPECT_EQ(image->mChangeCount, changes + 1);
}

TEST_F(MemoryImageFillTest, DrawRectOutlinesWidthPlusOneByHeightPlusOne)
{
    auto image = Filled(10, 10, 0);
    image->DrawRect(Rect(2, 3, 4, 5), Color(255, 255, 255), 0);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool row = (y == 3 || y == 8) && x >= 2 && x <= 6;
            const bool column = (x == 2 || x == 6) && y >= 4 && y <= 7;
            EXPECT_EQ(At(*image, x, y), row || column ? 0xFFFFFFFFu : 0u) << x << "," << y;
        }
    }
}

TEST_F(MemoryImageFillTest, CoverageWeighsTheColourAlpha)
{
    const uint8_t coverage[] = {0, 255, 0};
    const Span span{0, 0, 3};

    auto image = Filled(3, 1, Argb(10, 20, 30, 255));
    image->FillScanLinesWithCoverage(&span, 1, Color(200, 100, 50), 0, coverage, 0, 0, 3, 0);
    EXPECT_EQ(Pixels(*image), (std::vector<uint32_t>{Argb(10, 20, 30, 255), Argb(199, 99, 49, 255),
                                                     Argb(10, 20, 30, 255)}));

    // Full coverage of alpha 128 blends at (128 * 256) >> 8 = 128.
    auto black = Filled(3, 1, Argb(0, 0, 0, 255));
    black->FillScanLinesWithCoverage(&span, 1, Color(255, 255, 255, 128), 0, coverage, 0, 0, 3, 0);
    EXPECT_EQ(At(*black, 1, 0), Argb(127, 127, 127, 255));
}

TEST_F(MemoryImageFillTest, CoverageIsAddressedFromItsOwnOrigin)
{
    // A 4 x 3 mask placed at (5, 2) with a pitch of 6; the span reads its row 1.
    std::vector<uint8_t> mask(6 * 3, 0);
    mask[1 * 6 + 2] = 255;
    const Span span{3, 6, 3};
    auto image = Filled(10, 5, Argb(0, 0, 0, 255));
    image->FillScanLinesWithCoverage(&span, 1, Color(255, 0, 0), 1, mask.data(), 5, 2, 6, 0);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(At(*image, x, 3), x == 7 ? Argb(254, 0, 0, 255) : Argb(0, 0, 0, 255)) << x;
}

TEST_F(MemoryImageFillTest, RandomFillsAgreeWithTheReference)
{
    for (int round = 0; round < 200; ++round) {
        const int w = Uniform(1, 12), h = Uniform(1, 6);
        auto image = Image(w, h, RandomPixels(static_cast<size_t>(w) * h));
        PixelReference::Picture expected = Picture(*image);
        const int x = Uniform(0, w - 1), y = Uniform(0, h - 1);
        const Rect rect(x, y, Uniform(0, w - x), Uniform(0, h - y));
        const Color color = RandomColor();
        image->FillRect(rect, color, Uniform(0, 2));
        PixelReference::FillRect(expected, rect, color);
        ASSERT_EQ(Pixels(*image), expected.px) << "round " << round;
    }
}

TEST_F(MemoryImageFillTest, RandomCoverageFillsAgreeWithTheReference)
{
    for (int round = 0; round < 200; ++round) {
        const int w = Uniform(1, 12), h = Uniform(1, 6);
        auto image = Image(w, h, RandomPixels(static_cast<size_t>(w) * h));
        PixelReference::Picture expected = Picture(*image);
        std::vector<uint8_t> mask(static_cast<size_t>(w) * h);
        for (uint8_t& m : mask)
            m = static_cast<uint8_t>(Uniform(0, 3) == 0 ? 255 : Uniform(0, 255));
        std::vector<Span> spans;
        for (int y = 0; y < h; ++y) {
            const int x = Uniform(0, w - 1);
            spans.push_back(Span{y, x, Uniform(0, w - x)});
        }
        const Color color = RandomColor();
        image->FillScanLinesWithCoverage(spans.data(), h, color, 0, mask.data(), 0, 0, w, 0);
        PixelReference::FillScanLinesWithCoverage(expected, spans.data(), h, color, mask.data(), 0, 0, w);
        ASSERT_EQ(Pixels(*image), expected.px) << "round " << round;
    }
}

// The coverage fill works eight pixels at a time, with a shortcut for eight
// opaque pixels and a padded copy for the last few; every pixel must still
// follow the one-pixel rule. Every colour alpha meets every coverage over
// opaque, transparent and mixed pixels (the mixed rows put pixels of alpha 0,
// partial alpha and 255 into the same group of eight).
TEST_F(MemoryImageFillTest, CoverageFillFollowsTheRuleForEveryAlphaAndCoverage)
{
    const int w = 256, h = 12;
    const Grid grid = MakeGrid(w, h, [](int x, int y) {
        const auto channel = [&](int k) { return static_cast<uint32_t>((x * k + y * 67) & 255); };
        const uint32_t alpha = y < 4 ? 255u : y < 8 ? static_cast<uint32_t>((x * 13 + y * 29) & 255) : 0u;
        return std::pair{static_cast<uint8_t>(x), Argb(channel(5), channel(11), channel(3), alpha)};
    });
    for (int a = 0; a < 256; ++a) {
        const Color color((a * 73 + 11) & 255, 255 - a, (a * 151) & 255, a);
        auto image = Image(w, h, grid.below);
        ASSERT_TRUE(CoverageFollowsTheRule(*image, grid.spans, color, grid.mask, 0, 0, w)) << "colour alpha " << a;
    }
}

// Every colour channel against every pixel channel, at full and partial
// coverage and colour alpha, over opaque and translucent pixels.
TEST_F(MemoryImageFillTest, CoverageFillFollowsTheRuleForEveryChannelPair)
{
    const int w = 256;
    const uint8_t coverages[] = {255, 254, 128, 1};
    const uint32_t alphas[] = {255, 200, 1};
    const int h = 4 * 3;
    const Grid grid = MakeGrid(w, h, [&](int x, int y) {
        const uint32_t v = static_cast<uint32_t>(x);
        return std::pair{coverages[y % 4], Argb(v, 255 - v, v ^ 0x5A, alphas[y / 4])};
    });
    for (int c = 0; c < 256; ++c) {
        for (int alpha : {255, 100}) {
            const Color color(c, c, 255 - c, alpha);
            auto image = Image(w, h, grid.below);
            ASSERT_TRUE(CoverageFollowsTheRule(*image, grid.spans, color, grid.mask, 0, 0, w))
                << "colour channel " << c << " alpha " << alpha;
        }
    }
}

// Spans of every length from 1 to 40 at every start within a group of eight,
// read from a mask placed elsewhere with its own pitch, with stretches of no
// coverage: no pixel outside a span changes, and none inside breaks the rule.
TEST_F(MemoryImageFillTest, CoverageSpansOfEveryLengthAndStartFollowTheRule)
{
    const int w = 56, h = 3, maskX = 3, maskY = 1, pitch = 61;
    std::vector<uint8_t> mask(static_cast<size_t>(pitch) * (h + maskY));
    for (uint8_t& m : mask)
        m = Uniform(0, 2) == 0 ? 0 : static_cast<uint8_t>(Uniform(0, 3) == 0 ? 255 : Uniform(0, 255));
    for (int length = 1; length <= 40; ++length) {
        for (int start = maskX; start < maskX + 8; ++start) {
            auto image = Image(w, h + maskY, RandomPixels(static_cast<size_t>(w) * (h + maskY)));
            std::vector<Span> spans;
            for (int y = maskY; y < maskY + h; ++y)
                spans.push_back(Span{y, start + y, length});
            ASSERT_TRUE(CoverageFollowsTheRule(*image, spans, RandomColor(), mask, maskX, maskY, pitch))
                << "length " << length << " start " << start;
        }
    }
}

// A whole mask at once: every colour alpha (out-of-range ones too) meets
// every coverage over opaque, transparent and mixed pixels. Runs of eight
// fully covered and of eight empty bytes sit beside mixed ones, so the
// whole-group shortcuts meet the blended groups in every colour.
TEST_F(MemoryImageFillTest, MaskFillFollowsTheRuleForEveryAlphaAndCoverage)
{
    const int w = 256 + 32, h = 12;
    const Grid grid = MakeGrid(w, h, [](int x, int y) {
        const auto channel = [&](int k) { return static_cast<uint32_t>((x * k + y * 67) & 255); };
        const uint32_t alpha = y < 4 ? 255u : y < 8 ? static_cast<uint32_t>((x * 13 + y * 29) & 255) : 0u;
        const uint8_t coverage = x < 256 ? static_cast<uint8_t>(x) : (x / 8) % 2 == 0 ? 255 : 0;
        return std::pair{coverage, Argb(channel(5), channel(11), channel(3), alpha)};
    });
    std::vector<int> alphas;
    for (int a = 0; a < 256; ++a)
        alphas.push_back(a);
    alphas.insert(alphas.end(), {256, 1000, -1});
    for (const int a : alphas) {
        const Color color((a * 73 + 11) & 255, 255 - (a & 255), (a * 151) & 255, a);
        auto image = Image(w, h, grid.below);
        ASSERT_TRUE(MaskFollowsTheRule(*image, Rect(0, 0, w, h), color, grid.mask, 0, 0, w)) << "colour alpha " << a;
    }
    // Colour channels out of range are clamped before they are stored.
    auto image = Image(w, h, grid.below);
    ASSERT_TRUE(MaskFollowsTheRule(*image, Rect(0, 0, w, h), Color(300, -20, 128, 255), grid.mask, 0, 0, w));
}

// Areas of every width from 1 to 40 at every start within a group of eight,
// over a mask placed elsewhere with its own pitch, in an opaque and a
// translucent colour; the last rows reach the image's right and bottom edges,
// where fewer than eight words are left. No pixel outside the area changes.
TEST_F(MemoryImageFillTest, MaskAreasOfEveryWidthAndStartFollowTheRule)
{
    const int maskX = 3, maskY = 1, pitch = 61, rows = 4;
    std::vector<uint8_t> mask(static_cast<size_t>(pitch) * (rows + 1));
    for (size_t i = 0; i < mask.size(); ++i) {
        // Stretches of full and of no coverage long enough to fill a group.
        const size_t stretch = (i / 9) % 4;
        mask[i] = stretch == 0 ? 255
            : stretch == 1     ? 0
                               : static_cast<uint8_t>(Uniform(0, 2) == 0 ? 255 : Uniform(0, 3) == 0 ? 0 : Uniform(1, 254));
    }
    for (int width = 1; width <= 40; ++width) {
        for (int start = maskX; start < maskX + 8; ++start) {
            for (const Color& color : {Color(30, 200, 90), Color(30, 200, 90, 140)}) {
                // Inside the image, and flush with its bottom right corner.
                for (const int imageWidth : {start + width + 9, start + width}) {
                    auto image = Image(imageWidth, maskY + rows, RandomPixels(static_cast<size_t>(imageWidth) * (maskY + rows)));
                    ASSERT_TRUE(MaskFollowsTheRule(*image, Rect(start, maskY, width, rows), color, mask, maskX, maskY,
                                                   pitch))
                        << "width " << width << " start " << start << " image width " << imageWidth << " alpha "
                        << color.alpha;
                }
            }
        }
    }
}

// An empty area draws nothing.
TEST_F(MemoryImageFillTest, EmptyMaskAreaLeavesThePicture)
{
    const std::vector<uint32_t> before = RandomPixels(64);
    const std::vector<uint8_t> mask(64, 255);
    for (const Rect& area : {Rect(2, 2, 0, 3), Rect(2, 2, 3, 0), Rect(2, 2, -1, 3)}) {
        auto image = Image(8, 8, before);
        Tandry::FillCoverageMask(*image, area, Color(1, 2, 3), mask.data(), 0, 0, 8);
        EXPECT_EQ(Pixels(*image), before);
    }
}

} // namespace
