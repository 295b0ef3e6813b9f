#include "graphics/display/DDImage.h"

#include "graphics/display/DDInterface.h"
#include "graphics/display/DrawnSurfaceReference.h"
#include "graphics/display/RandomSource.h"
#include "graphics/display/SurfaceTestSupport.h"
#include "graphics/types/Color.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace {

using namespace Platform;
using DisplayTest::StoredWords;
using Tandry::Color;
using Tandry::DDImage;
using Tandry::MemoryImage;
using Tandry::Rect;

constexpr auto& kFormats = DisplayTest::kSurfaceFormats;
const Color kWhite(255, 255, 255, 255);
constexpr int kWidth = 24, kHeight = 20;

class RotateTest : public DisplayTest::SurfaceFixture {
protected:
    void TearDown() override
    {
        Tandry::gDisplayRGBOrdered = false;
        SurfaceFixture::TearDown();
    }

    // Draws src rotated onto a surface of the given words; the stored words after.
    std::vector<uint32_t> Draw(const std::vector<uint32_t>& words, MemoryImage& src, float x, float y,
                               const Color& color, int mode, double angle)
    {
        auto dest = Destination(words, kWidth, kHeight);
        dest->BltRotated(&src, x, y, Rect(0, 0, src.mWidth, src.mHeight), Rect(0, 0, kWidth, kHeight), color, mode,
                         angle, 3.5f, 2.5f);
        return StoredWords(dest->mSurface);
    }

    // words with the pixels the rotated 8 x 6 source covers replaced by kept's.
    std::vector<uint32_t> Rewritten(const std::vector<uint32_t>& words, const std::vector<uint32_t>& kept)
    {
        auto probe = DisplayTest::MakeImage(8, 6, std::vector<uint32_t>(48, 0xFFFFFFFFu));
        const std::vector<uint32_t> zero(words.size(), 0);
        const std::vector<uint32_t> drawn = Draw(zero, *probe, 4.25f, 3.5f, Color(255, 255, 255, 255), 0, 0.6);
        std::vector<uint32_t> out = words;
        for (size_t i = 0; i < out.size(); ++i) {
            if (drawn[i] != 0)
                out[i] = kept[i];
        }
        return out;
    }

    uint32_t ColourMask() const
    {
        return static_cast<uint32_t>(mDisplay->mRedMask | mDisplay->mGreenMask | mDisplay->mBlueMask);
    }
};

TEST_F(RotateTest, PixelsThatAddNothingRewriteTheDestinationUnchanged)
{
    for (DDrawFormat format : kFormats) {
        Up(format);
        std::mt19937 rng(11u + static_cast<uint32_t>(format));
        const uint32_t colours = ColourMask();
        const std::vector<uint32_t> words = RandomWords(rng, size_t{kWidth} * kHeight);
        std::vector<uint32_t> kept = words;
        for (uint32_t& w : kept)
            w &= colours;
        // Transparent texels in normal mode.
        auto clear = DisplayTest::MakeImage(8, 6, std::vector<uint32_t>(48, 0x00FFFFFFu));
        // Every drawn pixel is rewritten from its fields, so bits outside the masks go.
        EXPECT_EQ(Draw(words, *clear, 4.25f, 3.5f, kWhite, 0, 0.6), Rewritten(words, kept)) << static_cast<int>(format);
        auto opaque = DisplayTest::MakeImage(8, 6, DisplayTest::RandomPixels(rng, 48));
        // A colour of alpha 0 weighs every texel 0.
        EXPECT_EQ(Draw(words, *opaque, 4.25f, 3.5f, Color(90, 200, 10, 0), 0, 0.6), Rewritten(words, kept));
        // Additive with a black colour adds nothing.
        EXPECT_EQ(Draw(words, *opaque, 4.25f, 3.5f, Color(0, 0, 0, 255), 1, 0.6), Rewritten(words, kept));
    }
}

TEST_F(RotateTest, NearlyOpaqueSamplesOnPacked565TakeTheSourceFieldsAlone)
{
    Up(DDrawFormat::R5G6B5);
    ASSERT_TRUE(Tandry::gDisplayRGBOrdered);
    // At angle 0 on whole positions w00 = 65534, so A = 254 and k = 0.
    auto src = DisplayTest::MakeImage(6, 5, std::vector<uint32_t>(30, 0xFFFFFFFFu));
    std::mt19937 rng(5);
    const std::vector<uint32_t> words = RandomWords(rng, size_t{kWidth} * kHeight);
    const std::vector<uint32_t> after = Draw(words, *src, 2.0f, 3.0f, kWhite, 0, 0.0);
    int drawn = 0;
    for (size_t i = 0; i < after.size(); ++i) {
        if (after[i] != words[i]) {
            EXPECT_EQ(after[i], 0xFFFFu) << i;
            ++drawn;
        }
    }
    EXPECT_GT(drawn, 0);
}

int ChannelGap(uint32_t a, uint32_t b, uint32_t mask)
{
    const int shift = __builtin_ctz(mask);
    return std::abs(static_cast<int>((a & mask) >> shift) - static_cast<int>((b & mask) >> shift));
}

TEST_F(RotateTest, PackedAndGeneralWhiteFormsDifferByAtMostOneStep)
{
    for (DDrawFormat format : {DDrawFormat::R5G6B5, DDrawFormat::X1R5G5B5, DDrawFormat::X8R8G8B8}) {
        Up(format);
        ASSERT_TRUE(Tandry::gDisplayRGBOrdered);
        std::mt19937 rng(21u + static_cast<uint32_t>(format));
        for (int round = 0; round < 6; ++round) {
            auto src = DisplayTest::MakeImage(9, 7, DisplayTest::RandomPixels(rng, 63));
            const std::vector<uint32_t> words = RandomWords(rng, size_t{kWidth} * kHeight);
            const double angle = static_cast<double>(rng() % 628) / 100.0;
            Tandry::gDisplayRGBOrdered = true;
            const std::vector<uint32_t> packed = Draw(words, *src, 6.3f, 5.1f, kWhite, 0, angle);
            Tandry::gDisplayRGBOrdered = false;
            const std::vector<uint32_t> general = Draw(words, *src, 6.3f, 5.1f, kWhite, 0, angle);
            for (size_t i = 0; i < packed.size(); ++i) {
                if (format == DDrawFormat::X8R8G8B8) {
                    ASSERT_EQ(packed[i], general[i]) << i;
                    continue;
                }
                for (uint32_t mask : {static_cast<uint32_t>(mDisplay->mRedMask),
                                      static_cast<uint32_t>(mDisplay->mGreenMask),
                                      static_cast<uint32_t>(mDisplay->mBlueMask)})
                    ASSERT_LE(ChannelGap(packed[i], general[i], mask), 1) << i;
            }
        }
    }
}

// The shared geometry: at angle 0 the surface changes exactly the pixels the
// memory routine changes.
TEST_F(RotateTest, AtAngleZeroTheSurfaceAndMemoryRoutinesDrawTheSamePixels)
{
    Up(DDrawFormat::X8R8G8B8);
    const std::vector<uint32_t> texels(7 * 5, 0xFFC86432u);
    for (const auto& at : {std::pair(3.0f, 2.0f), std::pair(3.4f, 2.7f), std::pair(-2.5f, -1.25f),
                           std::pair(20.9f, 17.1f)}) {
        auto src = DisplayTest::MakeImage(7, 5, texels);
        MemoryImage memory;
        const std::vector<uint32_t> empty(size_t{kWidth} * kHeight, 0);
        memory.SetBits(empty.data(), kWidth, kHeight, true);
        memory.MemoryImage::BltRotated(src.get(), at.first, at.second, Rect(0, 0, 7, 5), Rect(0, 0, kWidth, kHeight),
                                       kWhite, 0, 0.0, 0.0f, 0.0f);
        auto dest = Destination(empty, kWidth, kHeight);
        dest->BltF(src.get(), at.first, at.second, Rect(0, 0, 7, 5), Rect(0, 0, kWidth, kHeight), kWhite, 0);
        const std::vector<uint32_t> surface = StoredWords(dest->mSurface);
        const uint32_t* bits = memory.GetBits();
        for (size_t i = 0; i < surface.size(); ++i)
            EXPECT_EQ(surface[i] != 0, bits[i] != 0) << at.first << "," << at.second << " pixel " << i;
    }
}

TEST_F(RotateTest, NothingIsDrawnAndTheMemoryCopiesStayWhenTheCallCannotDraw)
{
    Up(DDrawFormat::R5G6B5);
    auto src = DisplayTest::MakeImage(4, 4, std::vector<uint32_t>(16, 0xFFFFFFFFu));
    enum class Why { NoDraw, EmptyBox, FailedLock, NotANumber };
    for (Why why : {Why::NoDraw, Why::EmptyBox, Why::FailedLock, Why::NotANumber}) {
        auto dest = std::make_unique<DDImage>(mDisplay);
        const std::vector<uint32_t> black(64, 0xFF000000u);
        dest->SetBits(black.data(), 8, 8, true);
        ASSERT_TRUE(dest->CreateSurface());
        Rect clip(0, 0, 8, 8);
        double angle = 0.3;
        if (why == Why::NoDraw)
            dest->mNoDraw = true;
        if (why == Why::EmptyBox)
            clip = Rect(0, 0, 8, 0);
        if (why == Why::FailedLock)
            Inject({DDrawOp::Lock, DDERR_SURFACEBUSY});
        if (why == Why::NotANumber)
            angle = std::numeric_limits<double>::quiet_NaN();
        const int changes = dest->mChangeCount;
        dest->BltRotated(src.get(), 2.0f, 2.0f, Rect(0, 0, 4, 4), clip, kWhite, 0, angle, 2.0f, 2.0f);
        EXPECT_TRUE(dest->mBits != nullptr) << static_cast<int>(why);
        EXPECT_EQ(dest->mChangeCount, changes);
        EXPECT_EQ(dest->mLockCount, 0);
        dest->mNoDraw = false;
        EXPECT_EQ(StoredWords(dest->mSurface), std::vector<uint32_t>(64, 0u));
    }
}

TEST_F(RotateTest, AgreesWithTheTranscription)
{
    const Color colors[] = {kWhite, Color(255, 255, 255, 128), Color(200, 100, 50, 255), Color(30, 220, 140, 77),
                            Color(300, -5, 255, 255), Color(0, 0, 0, 0)};
    for (DDrawFormat format : kFormats) {
        Up(format);
        std::mt19937 rng(static_cast<uint32_t>(format) * 17u + 3u);
        for (int round = 0; round < 40; ++round) {
            const int sw = 2 + static_cast<int>(rng() % 9), sh = 2 + static_cast<int>(rng() % 7);
            const DisplayTest::RandomSource src = DisplayTest::MakeRandomSource(rng, sw, sh);
            const Rect from = DisplayTest::RandomPart(rng, sw, sh);
            const Rect clip(static_cast<int>(rng() % 6), static_cast<int>(rng() % 5), 10 + static_cast<int>(rng() % 14),
                            8 + static_cast<int>(rng() % 12));
            const Rect clipInside = Rect::Intersection(clip, Rect(0, 0, kWidth, kHeight));
            const float x = static_cast<float>(static_cast<int>(rng() % 400) - 80) / 16.0f;
            const float y = static_cast<float>(static_cast<int>(rng() % 320) - 64) / 16.0f;
            const float cx = static_cast<float>(rng() % 160) / 16.0f, cy = static_cast<float>(rng() % 128) / 16.0f;
            const double angle = rng() % 5 == 0 ? 0.0 : static_cast<double>(static_cast<int>(rng() % 1300) - 650) / 100.0;
            const Color color = colors[rng() % std::size(colors)];
            const int mode = static_cast<int>(rng() % 3);
            const bool ordered = rng() % 2 != 0;
            Tandry::gDisplayRGBOrdered = ordered;
            SCOPED_TRACE(testing::Message() << "format " << static_cast<int>(format) << " round " << round);

            const std::vector<uint32_t> words = RandomWords(rng, size_t{kWidth} * kHeight);
            auto dest = Destination(words, kWidth, kHeight);
            SurfaceReference::Surface model{Layout(), kWidth, kHeight, words};
            SurfaceReference::Rotated(model, src.model, x, y, from, clipInside, color, mode, angle, cx, cy, ordered);
            dest->BltRotated(src.image.get(), x, y, from, clipInside, color, mode, angle, cx, cy);
            ASSERT_EQ(StoredWords(dest->mSurface), model.words);
        }
    }
}

} // namespace
