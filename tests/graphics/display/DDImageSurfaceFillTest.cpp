#include "graphics/display/DDImage.h"

#include "graphics/display/DDInterface.h"
#include "graphics/display/DisplayTestSupport.h"
#include "graphics/display/SurfaceReference.h"
#include "graphics/display/SurfaceTestSupport.h"
#include "graphics/types/Color.h"

#include <gtest/gtest.h>

#include <bit>
#include <memory>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

using namespace Platform;
using DisplayTest::StoredWords;
using Tandry::Color;
using Tandry::DDImage;
using Tandry::Rect;

constexpr int kWidth = 32;
constexpr int kHeight = 20;
constexpr auto& kFormats = DisplayTest::kSurfaceFormats;

class SurfaceFillTest : public DisplayTest::SurfaceFixture {
protected:
    std::unique_ptr<DDImage> Destination(const std::vector<uint32_t>& words, int width = kWidth, int height = kHeight)
    {
        return SurfaceFixture::Destination(words, width, height);
    }

    // The channels of a stored word, each as a value of its own bit width.
    std::vector<uint32_t> Channels(uint32_t word) const
    {
        std::vector<uint32_t> out;
        for (int32_t m : {mDisplay->mRedMask, mDisplay->mGreenMask, mDisplay->mBlueMask}) {
            const auto mask = static_cast<uint32_t>(m);
            out.push_back((word & mask) >> std::countr_zero(mask));
        }
        return out;
    }
};

TEST_F(SurfaceFillTest, FillsAndLinesAgreeWithTheTranscription)
{
    const Color colors[] = {Color(255, 255, 255, 255), Color(200, 100, 50, 255), Color(10, 250, 90, 128),
                            Color(255, 255, 255, 0),   Color(77, 0, 255, 1),     Color(300, -5, 128, 300)};
    for (DDrawFormat format : kFormats) {
        Up(format);
        std::mt19937 rng(static_cast<uint32_t>(format) + 11);
        const uint32_t keep = mDisplay->mRGBBits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
        for (int round = 0; round < 12; ++round) {
            for (const Color& color : colors) {
                for (int op = 0; op < 4; ++op) {
                    std::vector<uint32_t> words(size_t{kWidth} * kHeight);
                    for (uint32_t& w : words)
                        w = rng() & keep;
                    auto dest = Destination(words);
                    SurfaceReference::Surface model{Layout(), kWidth, kHeight, words};
                    const int x = static_cast<int>(rng() % kWidth), y = static_cast<int>(rng() % kHeight);
                    const Rect rect(x, y, 1 + static_cast<int>(rng() % (kWidth - x)),
                                    1 + static_cast<int>(rng() % (kHeight - y)));
                    const auto coord = [&](int limit) { return (rng() % (limit * 16)) / 16.0; };
                    const double x1 = coord(kWidth), y1 = coord(kHeight), x2 = coord(kWidth), y2 = coord(kHeight);
                    SCOPED_TRACE(testing::Message() << "format " << static_cast<int>(format) << " op " << op
                                                    << " colour " << color.red << "," << color.green << ","
                                                    << color.blue << "," << color.alpha);
                    switch (op) {
                    case 0:
                        dest->SurfaceFillRect(rect, color);
                        SurfaceReference::FillRect(model, rect, color);
                        break;
                    case 1:
                        dest->SurfaceFillRectAdditive(rect, color);
                        SurfaceReference::FillRectAdditive(model, rect, color);
                        break;
                    case 2:
                        dest->SurfaceDrawLine(x1, y1, x2, y2, color);
                        SurfaceReference::DrawLine(model, x1, y1, x2, y2, color);
                        break;
                    case 3:
                        dest->SurfaceDrawLineAdditive(x1, y1, x2, y2, color);
                        SurfaceReference::DrawLineAdditive(model, x1, y1, x2, y2, color);
                        break;
                    }
                    EXPECT_EQ(dest->mLockCount, 0);
                    ASSERT_EQ(StoredWords(dest->mSurface), model.words);
                }
            }
        }
    }
}

// Fills round up and lines to the nearest: opaque white differs on purpose.
TEST_F(SurfaceFillTest, OpaqueWhiteFillAndLineWorkedValues)
{
    struct Case {
        DDrawFormat format;
        std::vector<uint32_t> fill;
        std::vector<uint32_t> line;
    };
    const Case cases[] = {
        {DDrawFormat::R5G6B5, {31, 63, 31}, {30, 62, 30}},
        {DDrawFormat::X8R8G8B8, {254, 254, 254}, {254, 254, 254}},
    };
    for (const Case& c : cases) {
        Up(c.format);
        auto dest = Destination(std::vector<uint32_t>(4, 0), 4, 1);
        dest->SurfaceFillRect(Rect(0, 0, 1, 1), Color(255, 255, 255));
        dest->SurfaceDrawLine(1.0, 0.0, 3.0, 0.5, Color(255, 255, 255));
        const std::vector<uint32_t> words = StoredWords(dest->mSurface);
        EXPECT_EQ(Channels(words[0]), c.fill);
        EXPECT_EQ(Channels(words[2]), c.line);
    }
}

TEST_F(SurfaceFillTest, TranslucentAndAdditiveFillWorkedValues)
{
    for (DDrawFormat format : {DDrawFormat::R5G6B5, DDrawFormat::X1R5G5B5, DDrawFormat::X8R8G8B8}) {
        Up(format);
        const std::vector<uint32_t> words = {0x12345678u & (mDisplay->mRGBBits == 16 ? 0xFFFFu : 0xFFFFFFu)};
        auto dest = Destination(words, 1, 1);
        dest->SurfaceFillRect(Rect(0, 0, 1, 1), Color(255, 0, 255, 0));
        EXPECT_EQ(StoredWords(dest->mSurface), words) << static_cast<int>(format);
    }
    Up(DDrawFormat::R5G6B5);
    auto saturated = Destination({0x4208u}, 1, 1);
    saturated->SurfaceFillRectAdditive(Rect(0, 0, 1, 1), Color(255, 255, 255, 255));
    EXPECT_EQ(Channels(StoredWords(saturated->mSurface)[0]), (std::vector<uint32_t>{31, 63, 31}));
    // (255 * 128 / 255) >> 3 = 16 on a 5-bit channel.
    auto half = Destination({1u << 11 | 2u << 5 | 3u}, 1, 1);
    half->SurfaceFillRectAdditive(Rect(0, 0, 1, 1), Color(255, 0, 255, 128));
    EXPECT_EQ(Channels(StoredWords(half->mSurface)[0]), (std::vector<uint32_t>{17, 2, 19}));
}

using Points = std::vector<std::pair<int, int>>;

Points Row(int y, int from, int to)
{
    Points out;
    for (int x = from; x <= to; ++x)
        out.emplace_back(x, y);
    return out;
}

// What the surface line plots, read from the stored words of a black surface.
TEST_F(SurfaceFillTest, LineWalkPlotsTheBresenhamPixels)
{
    Up(DDrawFormat::X8R8G8B8);
    struct Case {
        double x1, y1, x2, y2;
        Points pixels;
    };
    const Case cases[] = {
        // E = 1, K = -19, D = -9: the decision reaches 0 at column 10, and
        // only a positive one steps, so all of row 0 up to the end point's
        // own pixel (10, 0); both end pixels are drawn.
        {0.0, 0.0, 10.0, 0.5, Row(0, 0, 10)},
        // At column 10 the step to row 1 leaves the box (maxY = 0.9): the line ends.
        {0.0, 0.0, 10.0, 0.9, Row(0, 0, 9)},
        {0.0, 0.0, 10.7, 0.2, Row(0, 0, 10)},
        {2.9, 3.9, 6.0, 4.5, {{2, 3}, {3, 3}, {4, 4}, {5, 4}, {6, 4}}},
        // Equal deltas are walked along y.
        {1.0, 1.0, 4.0, 4.0, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SurfaceReference::LinePixels(c.x1, c.y1, c.x2, c.y2), c.pixels);
        auto dest = Destination(std::vector<uint32_t>(size_t{kWidth} * kHeight, 0));
        dest->SurfaceDrawLine(c.x1, c.y1, c.x2, c.y2, Color(255, 255, 255));
        const std::vector<uint32_t> words = StoredWords(dest->mSurface);
        std::set<std::pair<int, int>> drawn;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (words[static_cast<size_t>(y) * kWidth + x] != 0)
                    drawn.emplace(x, y);
            }
        }
        const std::set<std::pair<int, int>> expected(c.pixels.begin(), c.pixels.end());
        EXPECT_EQ(drawn, expected)
            << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
    }
}

TEST_F(SurfaceFillTest, NothingIsDrawnWithoutSoftwareAccessOrLock)
{
    Up(DDrawFormat::X8R8G8B8);
    auto dest = Destination(std::vector<uint32_t>(4, 0x111111u), 2, 2);
    dest->mNoDraw = true;
    dest->SurfaceFillRect(Rect(0, 0, 2, 2), Color(255, 0, 0));
    dest->SurfaceDrawLine(0.0, 0.0, 1.0, 1.0, Color(255, 0, 0));
    dest->mNoDraw = false;
    Inject({DDrawOp::Lock, DDERR_SURFACEBUSY});
    dest->SurfaceFillRectAdditive(Rect(0, 0, 2, 2), Color(255, 0, 0));
    EXPECT_EQ(dest->mLockCount, 0);
    EXPECT_EQ(StoredWords(dest->mSurface), std::vector<uint32_t>(4, 0x111111u));
}

} // namespace
