#include "graphics/image/Image.h"

#include <vector>

#include <gtest/gtest.h>

#include "graphics/image/FakeHostTest.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace {

using Tandry::Color;
using Tandry::Image;
using Tandry::Rect;

// Records what the shared bodies ask of FillRect.
class FillRecorder : public Image {
public:
    struct Fill {
        Rect rect;
        int drawMode;
    };
    void FillRect(const Rect& rect, const Color&, int drawMode) override { fills.push_back({rect, drawMode}); }
    std::vector<Fill> fills;
};

std::vector<std::vector<int>> Rects(const FillRecorder& image)
{
    std::vector<std::vector<int>> rects;
    for (const auto& fill : image.fills)
        rects.push_back({fill.rect.x, fill.rect.y, fill.rect.width, fill.rect.height});
    return rects;
}

TEST(Image, CelSizeDividesByTheGrid)
{
    const struct {
        int width, height, rows, cols, celWidth, celHeight;
    } cases[] = {
        {100, 60, 2, 3, 33, 30},
        {100, 60, 1, 1, 100, 60},
        {7, 5, 5, 7, 1, 1},
        {3, 2, 4, 4, 0, 0},
        // A grid count of 0 from a bad attribute counts as one cel.
        {100, 60, 0, 0, 100, 60},
    };
    for (const auto& c : cases) {
        Image image;
        image.mWidth = c.width;
        image.mHeight = c.height;
        image.mNumRows = c.rows;
        image.mNumCols = c.cols;
        EXPECT_EQ(image.CelWidth(), c.celWidth) << c.cols;
        EXPECT_EQ(image.CelHeight(), c.celHeight) << c.rows;
    }
}

TEST(Image, CopyTakesSizeGridAndItsOwnAnimation)
{
    Image image;
    image.mWidth = 64;
    image.mHeight = 32;
    image.mNumRows = 2;
    image.mNumCols = 4;
    image.mDrawn = true;
    image.mFileName = "images\\lamp";
    const Image plain(image);
    EXPECT_EQ(plain.mAnimInfo, nullptr);

    image.mAnimInfo = std::make_unique<Tandry::AnimInfo>();
    image.mAnimInfo->type = Tandry::AnimInfo::Loop;
    image.mAnimInfo->frameOrder = {3, 2, 1};
    Image copy(image);
    EXPECT_EQ(copy.mWidth, 64);
    EXPECT_EQ(copy.mHeight, 32);
    EXPECT_EQ(copy.mNumRows, 2);
    EXPECT_EQ(copy.mNumCols, 4);
    EXPECT_FALSE(copy.mDrawn);
    EXPECT_TRUE(copy.mFileName.empty());
    ASSERT_NE(copy.mAnimInfo, nullptr);
    EXPECT_NE(copy.mAnimInfo.get(), image.mAnimInfo.get());
    image.mAnimInfo->frameOrder.clear();
    EXPECT_EQ(copy.mAnimInfo->frameOrder, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(copy.mAnimInfo->type, Tandry::AnimInfo::Loop);
}

TEST(Image, DrawRectIsFourFillsAroundTheRectangle)
{
    FillRecorder image;
    image.DrawRect(Rect(2, 3, 4, 5), Color(), 1);
    // Rows 3 and 8 from x 2 to 6, columns 2 and 6 from y 4 to 7.
    EXPECT_EQ(Rects(image), (std::vector<std::vector<int>>{{2, 3, 5, 1}, {2, 8, 5, 1}, {2, 4, 1, 4}, {6, 4, 1, 4}}));
    for (const auto& fill : image.fills)
        EXPECT_EQ(fill.drawMode, 1);
}

TEST(Image, FillScanLinesFillsEachSpanInOrder)
{
    FillRecorder image;
    const Tandry::Span spans[] = {{5, 1, 3}, {2, 0, 10}, {5, 7, 0}};
    image.FillScanLines(spans, 3, Color(), 0);
    EXPECT_EQ(Rects(image), (std::vector<std::vector<int>>{{1, 5, 3, 1}, {0, 2, 10, 1}, {7, 5, 0, 1}}));
    image.fills.clear();
    image.FillScanLines(spans, 0, Color(), 0);
    EXPECT_TRUE(image.fills.empty());
}

class ImageSlotTest : public TandryTest::FakeHostTest {};

TEST_F(ImageSlotTest, MirroredBlitsOntoAMemoryImageDrawNothing)
{
    Tandry::MemoryImage dest;
    Tandry::MemoryImage src;
    const uint32_t destPixels[] = {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000};
    const uint32_t srcPixels[] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    dest.SetBits(destPixels, 2, 2, true);
    src.SetBits(srcPixels, 2, 2, true);
    const int changes = dest.mChangeCount;
    dest.BltMirror(&src, 0, 0, Rect(0, 0, 2, 2), Color(), 0);
    dest.StretchBltMirror(&src, Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), Color(), 0, false);
    EXPECT_FALSE(dest.PolyFill3D(nullptr, 0, nullptr, Color(), 0, 0, 0, false));
    EXPECT_EQ(dest.mChangeCount, changes);
    EXPECT_FALSE(src.mDrawn);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(dest.mBits[i], 0xFF000000u);
}

TEST_F(ImageSlotTest, AMemoryImageIsDeletedThroughTheRoot)
{
    std::unique_ptr<Image> image = std::make_unique<Tandry::MemoryImage>();
    EXPECT_EQ(mHost.images.size(), 1u);
    image.reset();
    EXPECT_TRUE(mHost.images.empty());
}

} // namespace
