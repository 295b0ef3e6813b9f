#include "graphics/display/DDImage.h"

#include "graphics/display/DDInterface.h"
#include "graphics/display/DrawnSurfaceReference.h"
#include "graphics/display/SurfaceTestSupport.h"
#include "graphics/types/Color.h"
#include "graphics/types/Span.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <vector>

namespace {

using namespace Platform;
using DisplayTest::StoredWords;
using Tandry::Color;
using Tandry::DDImage;
using Tandry::MemoryImage;
using Tandry::Rect;
using Tandry::Span;

constexpr auto& kFormats = DisplayTest::kSurfaceFormats;
const Color kWhite(255, 255, 255, 255);

// The bytes of every row beyond its pixels.
std::vector<uint8_t> Padding(IDirectDrawSurface* surface)
{
    DDSURFACEDESC desc;
    desc.dwSize = sizeof(desc);
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    const size_t used = desc.dwWidth * (desc.ddpfPixelFormat.dwRGBBitCount / 8);
    std::vector<uint8_t> out;
    const auto* row = static_cast<const uint8_t*>(desc.lpSurface);
    for (uint32_t y = 0; y < desc.dwHeight; ++y, row += desc.lPitch)
        out.insert(out.end(), row + used, row + desc.lPitch);
    surface->Unlock(nullptr);
    return out;
}

int RowLength(IDirectDrawSurface* surface)
{
    DDSURFACEDESC desc;
    desc.dwSize = sizeof(desc);
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    surface->Unlock(nullptr);
    return desc.lPitch / static_cast<int32_t>(desc.ddpfPixelFormat.dwRGBBitCount / 8);
}

// A surface image that records the blits it is asked for, with the pixels of the source.
class RecordingDDImage : public DDImage {
public:
    explicit RecordingDDImage(Tandry::DDInterface* display) : DDImage(display) {}

    struct BltCall {
        int x, y;
        Rect srcRect;
        Color color;
        int mode;
        int srcWidth, srcHeight;
        std::vector<uint32_t> pixels;
    };
    std::vector<BltCall> blts;

    void Blt(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode) override
    {
        auto* m = dynamic_cast<MemoryImage*>(src);
        ASSERT_NE(m, nullptr);
        const uint32_t* bits = m->GetBits();
        blts.push_back({x, y, srcRect, color, drawMode, m->mWidth, m->mHeight,
                        std::vector<uint32_t>(bits, bits + static_cast<size_t>(m->mWidth) * m->mHeight)});
    }
};

class AntiAliasedTest : public DisplayTest::SurfaceFixture {};

TEST_F(AntiAliasedTest, LineEndsAndWeightsWorkedOutByHand)
{
    Up(DDrawFormat::X8R8G8B8);
    // e = 0.5 * 0.5 * 65536 = 16384: the top pixel's weight is 255 - 64 = 191,
    // and white is 254 in an 8-bit field: 254 * 191 / 256 = 189.
    auto dest = Destination(std::vector<uint32_t>(16 * 6, 0), 16, 6);
    dest->SurfaceDrawLineAA(0.5, 0.5, 10.5, 3.5, kWhite);
    EXPECT_EQ(StoredWords(dest->mSurface).at(0), 0xBDBDBDu);

    // With alpha 128 a full weight of 255 becomes (255 * 129) >> 8 = 128.
    auto half = Destination(std::vector<uint32_t>(16 * 6, 0), 16, 6);
    half->SurfaceDrawLineAA(0, 0, 10, 3, Color(255, 255, 255, 128));
    EXPECT_EQ(StoredWords(half->mSurface).at(0), 0x7F7F7Fu);
}

// y from 3.9 down to 3.1 within one row: the error wraps below zero and the
// line moves one row down; on the last row that row is outside and skipped.
TEST_F(AntiAliasedTest, ANegativeSlopeInOneRowStepsDownAndNeverBelowTheImage)
{
    for (DDrawFormat format : kFormats) {
        Up(format);
        for (int height : {4, 5}) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(format) << " height " << height);
            const std::vector<uint32_t> words(static_cast<size_t>(12) * height, 0);
            auto dest = Destination(words, 12, height);
            const std::vector<uint8_t> padding = Padding(dest->mSurface);
            dest->SurfaceDrawLineAA(1.5, 3.9, 8.5, 3.1, kWhite);
            SurfaceReference::Surface model{Layout(), 12, height, words};
            SurfaceReference::LineAA(model, 1.5, 3.9, 8.5, 3.1, kWhite, RowLength(dest->mSurface));
            EXPECT_EQ(StoredWords(dest->mSurface), model.words);
            EXPECT_EQ(Padding(dest->mSurface), padding);
            // The fifth step wraps: column 6 is drawn on row 4 when there is one.
            const std::vector<uint32_t> after = StoredWords(dest->mSurface);
            if (height == 5) {
                EXPECT_NE(after.at(4 * 12 + 6), 0u);
            }
        }
    }
}

// Lines along the edges in every direction, and lines inside one pixel.
TEST_F(AntiAliasedTest, LinesAlongTheEdgesWriteNothingOutsideTheImage)
{
    constexpr int kWidth = 9, kHeight = 7;
    const double edges[][4] = {
        {0.7, 0.2, 0.1, 6.9},  {0.1, 6.9, 0.7, 0.2},  {0.9, 1.5, 0.0, 5.5}, // column 0, x decreasing
        {0.2, 6.5, 8.9, 6.1},  {8.9, 6.9, 0.1, 6.2},  {3.0, 6.9, 8.9, 6.0}, // the last row
        {8.9, 0.1, 8.1, 6.9},  {8.2, 6.9, 8.9, 0.3},  {8.0, 0.5, 7.2, 6.5}, // the last column
        {4.2, 3.2, 4.7, 3.8},  {4.9, 3.9, 4.1, 3.1},                        // one pixel
        {0.0, 0.0, 8.99, 6.99}, {8.99, 0.0, 0.0, 6.99},
    };
    for (DDrawFormat format : kFormats) {
        Up(format);
        std::mt19937 rng(7u + static_cast<uint32_t>(format));
        for (const auto& e : edges) {
            for (const Color& color : {kWhite, Color(200, 40, 90, 100)}) {
                SCOPED_TRACE(testing::Message() << static_cast<int>(format) << " " << e[0] << "," << e[1] << " -> "
                                                << e[2] << "," << e[3]);
                const std::vector<uint32_t> words = RandomWords(rng, size_t{kWidth} * kHeight);
                auto dest = Destination(words, kWidth, kHeight);
                const std::vector<uint8_t> padding = Padding(dest->mSurface);
                dest->SurfaceDrawLineAA(e[0], e[1], e[2], e[3], color);
                SurfaceReference::Surface model{Layout(), kWidth, kHeight, words};
                SurfaceReference::LineAA(model, e[0], e[1], e[2], e[3], color, RowLength(dest->mSurface));
                EXPECT_EQ(StoredWords(dest->mSurface), model.words);
                EXPECT_EQ(Padding(dest->mSurface), padding);
            }
        }
    }
}

TEST_F(AntiAliasedTest, TheAdditiveRouteDrawsNothing)
{
    Up(DDrawFormat::R5G6B5);
    const std::vector<uint32_t> words(64, 0x1234u);
    auto dest = Destination(words, 8, 8);
    dest->DrawLineAA(0.5, 0.5, 7.5, 5.5, kWhite, 1);
    EXPECT_EQ(StoredWords(dest->mSurface), words);
}

TEST_F(AntiAliasedTest, NonFiniteOrFarEndPointsDrawNothing)
{
    Up(DDrawFormat::X8R8G8B8);
    const std::vector<uint32_t> words(64, 0x123456u);
    auto dest = Destination(words, 8, 8);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    dest->SurfaceDrawLineAA(nan, 1, 5, 6, kWhite);
    dest->SurfaceDrawLineAA(1, 1, inf, 6, kWhite);
    dest->SurfaceDrawLineAA(1, 1, 5, -3e12, kWhite);
    EXPECT_EQ(StoredWords(dest->mSurface), words);
}

TEST_F(AntiAliasedTest, CoverageGivesTheWeight)
{
    Up(DDrawFormat::X8R8G8B8);
    auto dest = Destination({0, 0x405060u}, 2, 1);
    const Span span{0, 0, 2};
    const uint8_t coverage[2] = {255, 0};
    dest->FillScanLinesWithCoverage(&span, 1, kWhite, 1, coverage, 0, 0, 2, 0);
    // w = 255: each field is 254 * 255 / 256 = 253; w = 0 keeps the pixel.
    EXPECT_EQ(StoredWords(dest->mSurface), (std::vector<uint32_t>{0xFDFDFDu, 0x405060u}));
}

TEST_F(AntiAliasedTest, CoverageFillsAgreeWithTheTranscription)
{
    constexpr int kWidth = 21, kHeight = 9;
    for (DDrawFormat format : kFormats) {
        Up(format);
        std::mt19937 rng(99u + static_cast<uint32_t>(format));
        for (int round = 0; round < 30; ++round) {
            std::vector<Span> spans;
            for (int i = 0, n = 1 + static_cast<int>(rng() % 5); i < n; ++i) {
                const int y = static_cast<int>(rng() % kHeight), x = static_cast<int>(rng() % kWidth);
                spans.push_back({y, x, 1 + static_cast<int>(rng() % (kWidth - x))});
            }
            // The mask covers the image from (-2, -1) with a pitch wider than it.
            const int coverX = -2, coverY = -1, coverPitch = kWidth + 5;
            std::vector<uint8_t> coverage(static_cast<size_t>(coverPitch) * (kHeight + 1));
            for (uint8_t& c : coverage)
                c = static_cast<uint8_t>(rng() % 3 == 0 ? (rng() % 2) * 255 : rng());
            const Color color(static_cast<int>(rng() % 300), static_cast<int>(rng() % 256),
                              static_cast<int>(rng() % 256), static_cast<int>(rng() % 256));
            const std::vector<uint32_t> words = RandomWords(rng, size_t{kWidth} * kHeight);
            auto dest = Destination(words, kWidth, kHeight);
            const std::vector<uint8_t> padding = Padding(dest->mSurface);
            const int changes = dest->mChangeCount;
            dest->FillScanLinesWithCoverage(spans.data(), static_cast<int>(spans.size()), color,
                                            static_cast<int>(rng() % 3), coverage.data(), coverX, coverY, coverPitch,
                                            0);
            SurfaceReference::Surface model{Layout(), kWidth, kHeight, words};
            SurfaceReference::CoverageFill(model, spans, color, coverage.data(), coverX, coverY, coverPitch);
            ASSERT_EQ(StoredWords(dest->mSurface), model.words) << "round " << round;
            EXPECT_EQ(Padding(dest->mSurface), padding);
            EXPECT_EQ(dest->mChangeCount, changes + 1);
        }
    }
}

TEST_F(AntiAliasedTest, AntiAliasedLinesAgreeWithTheTranscription)
{
    constexpr int kWidth = 23, kHeight = 13;
    for (DDrawFormat format : kFormats) {
        Up(format);
        std::mt19937 rng(3u + static_cast<uint32_t>(format));
        const auto coord = [&rng](int size) { return static_cast<double>(rng() % (size * 64)) / 64.0; };
        for (int round = 0; round < 60; ++round) {
            const double x1 = coord(kWidth), y1 = coord(kHeight), x2 = coord(kWidth), y2 = coord(kHeight);
            const Color color(static_cast<int>(rng() % 256), static_cast<int>(rng() % 256),
                              static_cast<int>(rng() % 256), rng() % 2 == 0 ? 255 : static_cast<int>(rng() % 256));
            const std::vector<uint32_t> words = RandomWords(rng, size_t{kWidth} * kHeight);
            auto dest = Destination(words, kWidth, kHeight);
            dest->SurfaceDrawLineAA(x1, y1, x2, y2, color);
            SurfaceReference::Surface model{Layout(), kWidth, kHeight, words};
            SurfaceReference::LineAA(model, x1, y1, x2, y2, color, RowLength(dest->mSurface));
            ASSERT_EQ(StoredWords(dest->mSurface), model.words)
                << x1 << "," << y1 << " -> " << x2 << "," << y2 << " round " << round;
        }
    }
}

TEST_F(AntiAliasedTest, OnTheThreeDScreenCoverageGoesThroughATemporaryAndTheSpansStay)
{
    Up(DDrawFormat::X8R8G8B8);
    RecordingDDImage screen(mDisplay);
    const std::vector<uint32_t> black(32 * 16, 0xFF000000u);
    screen.SetBits(black.data(), 32, 16, true);
    ASSERT_TRUE(screen.CreateSurface());
    mDisplay->mIs3D = true;
    IDirectDrawSurface* const drawSurface = mDisplay->mDrawSurface;
    mDisplay->mDrawSurface = screen.mSurface;
    ASSERT_TRUE(screen.Is3DScreen());

    const Span spans[2] = {{5, 10, 4}, {6, 8, 3}};
    std::vector<uint8_t> coverage(32 * 16, 255);
    screen.FillScanLinesWithCoverage(spans, 2, Color(255, 0, 0, 255), 1, coverage.data(), 0, 0, 32, 0);
    mDisplay->mDrawSurface = drawSurface;
    mDisplay->mIs3D = false;

    ASSERT_EQ(screen.blts.size(), 1u);
    const RecordingDDImage::BltCall& call = screen.blts[0];
    EXPECT_EQ(call.x, 8);
    EXPECT_EQ(call.y, 5);
    EXPECT_EQ(call.srcWidth, 6);
    EXPECT_EQ(call.srcHeight, 2);
    EXPECT_EQ(call.srcRect, Rect(0, 0, 6, 2));
    EXPECT_EQ(call.mode, 1);
    EXPECT_EQ(call.color.red, 255);
    EXPECT_EQ(call.color.green, 255);
    EXPECT_EQ(call.color.blue, 255);
    EXPECT_EQ(call.color.alpha, 255);
    // The spans landed at their places in the temporary, the rest is transparent.
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool covered = (y == 0 && x >= 2) || (y == 1 && x < 3);
            EXPECT_EQ(call.pixels[static_cast<size_t>(y) * 6 + x] != 0, covered) << x << "," << y;
        }
    }
    EXPECT_EQ(spans[0].y, 5);
    EXPECT_EQ(spans[0].x, 10);
    EXPECT_EQ(spans[0].width, 4);
    EXPECT_EQ(spans[1].y, 6);
    EXPECT_EQ(spans[1].x, 8);
    EXPECT_EQ(spans[1].width, 3);
}

} // namespace
