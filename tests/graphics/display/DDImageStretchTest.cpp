#include "graphics/display/DDImage.h"

#include "graphics/display/DDInterface.h"
#include "graphics/display/DrawnSurfaceReference.h"
#include "graphics/display/RandomSource.h"
#include "graphics/display/SurfaceTestSupport.h"
#include "graphics/image/ClipStretchRects.h"
#include "graphics/types/Color.h"
#include "graphics/types/DoubleRect.h"

#include <gtest/gtest.h>

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

constexpr auto& kFormats = DisplayTest::kSurfaceFormats;
const Color kWhite(255, 255, 255, 255);

class StretchTest : public DisplayTest::SurfaceFixture {
protected:
    // The stored word of an opaque ARGB pixel: its display-format word, on
    // 32 bits with the alpha byte, which is copied along.
    uint32_t Word(uint32_t argb) const
    {
        const uint32_t w = SurfaceReference::DisplayWord(Layout(), argb);
        return mDisplay->mRGBBits == 16 ? (w & 0xFFFFu) : w;
    }
};

// Four distinct opaque colours, one per source column.
const uint32_t kColumns[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u};

TEST_F(StretchTest, DoublingSamplesEachColumnTwiceAndTheMirrorReversesThem)
{
    for (DDrawFormat format : kFormats) {
        Up(format);
        SCOPED_TRACE(static_cast<int>(format));
        auto src = DisplayTest::MakeImage(2, 1, {kColumns[0], kColumns[1]});
        for (bool mirrored : {false, true}) {
            auto dest = Destination(std::vector<uint32_t>(4, 0), 4, 1);
            const int changes = dest->mChangeCount;
            if (mirrored)
                dest->StretchBltMirror(src.get(), Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), Rect(0, 0, 4, 1), kWhite, 0,
                                       true);
            else
                dest->StretchBlt(src.get(), Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), Rect(0, 0, 4, 1), kWhite, 0, true);
            const uint32_t a = Word(kColumns[0]), b = Word(kColumns[1]);
            const std::vector<uint32_t> expected = mirrored ? std::vector<uint32_t>{b, b, a, a}
                                                            : std::vector<uint32_t>{a, a, b, b};
            EXPECT_EQ(StoredWords(dest->mSurface), expected) << "mirrored " << mirrored;
            EXPECT_EQ(dest->mChangeCount, changes + 1);
        }
    }
}

TEST_F(StretchTest, ClippingTheRightOfAMirroredDestinationDropsTheLeftOfTheSource)
{
    Up(DDrawFormat::X8R8G8B8);
    auto src = DisplayTest::MakeImage(4, 1, {kColumns[0], kColumns[1], kColumns[2], kColumns[3]});
    auto dest = Destination(std::vector<uint32_t>(4, 0x123456u), 4, 1);
    dest->StretchBltMirror(src.get(), Rect(0, 0, 4, 1), Rect(0, 0, 4, 1), Rect(0, 0, 3, 1), kWhite, 0, true);
    EXPECT_EQ(StoredWords(dest->mSurface),
              (std::vector<uint32_t>{Word(kColumns[3]), Word(kColumns[2]), Word(kColumns[1]), 0x123456u}));
}

TEST_F(StretchTest, PixelsWorkedOutByHand)
{
    struct Case {
        DDrawFormat format;
        uint32_t source;
        Color color;
        int mode;
        uint32_t before;
        uint32_t after;
    };
    const Case cases[] = {
        // An opaque pixel replaces whatever the destination held.
        {DDrawFormat::R5G6B5, 0xFF8040C0u, kWhite, 0, 0xFFFFu, 0x8218u},
        // a' = 128 and ia = 128: opaque red over white gives (31, 31, 15).
        {DDrawFormat::R5G6B5, 0xFFFF0000u, Color(255, 255, 255, 128), 0, 0xFFFFu, 31u << 11 | 31u << 5 | 15u},
        // A source word of 0 is skipped, even the bits outside the masks stay.
        {DDrawFormat::X8R8G8B8, 0x00000000u, kWhite, 1, 0xAB102030u, 0xAB102030u},
        {DDrawFormat::X8R8G8B8, 0x00000000u, Color(10, 20, 30, 200), 3, 0xAB102030u, 0xAB102030u},
        // Opaque black adds nothing to the channels; the rest becomes 0.
        {DDrawFormat::X8R8G8B8, 0xFF000000u, kWhite, 1, 0xAB102030u, 0x00102030u},
        {DDrawFormat::X8R8G8B8, 0xFF000000u, Color(90, 20, 30, 200), 2, 0xAB102030u, 0x00102030u},
        {DDrawFormat::R5G6B5, 0xFF000000u, kWhite, 1, 0x1234u, 0x1234u},
        // Additive white saturates each channel.
        {DDrawFormat::X8R8G8B8, 0xFFF08010u, kWhite, 1, 0x00204080u, 0x00FFC090u},
    };
    for (const Case& c : cases) {
        Up(c.format);
        SCOPED_TRACE(testing::Message() << std::hex << c.source << " mode " << c.mode);
        auto src = DisplayTest::MakeImage(1, 1, {c.source});
        auto dest = Destination({c.before}, 1, 1);
        dest->StretchBlt(src.get(), Rect(0, 0, 1, 1), Rect(0, 0, 1, 1), Rect(0, 0, 1, 1), c.color, c.mode, true);
        EXPECT_EQ(StoredWords(dest->mSurface).at(0), c.after);
    }
}

TEST_F(StretchTest, AnEmptyDestinationDrawsNothingAndKeepsTheMemoryCopies)
{
    Up(DDrawFormat::R5G6B5);
    auto src = DisplayTest::MakeImage(2, 2, std::vector<uint32_t>(4, 0xFFFFFFFFu));
    for (const Rect& to : {Rect(0, 0, 0, 4), Rect(0, 0, 4, 0)}) {
        for (bool mirrored : {false, true}) {
            auto dest = std::make_unique<DDImage>(mDisplay);
            const std::vector<uint32_t> black(16, 0xFF000000u);
            dest->SetBits(black.data(), 4, 4, true);
            ASSERT_TRUE(dest->CreateSurface());
            const int changes = dest->mChangeCount;
            if (mirrored)
                dest->StretchBltMirror(src.get(), to, Rect(0, 0, 2, 2), Rect(0, 0, 4, 4), kWhite, 0, true);
            else
                dest->StretchBlt(src.get(), to, Rect(0, 0, 2, 2), Rect(0, 0, 4, 4), kWhite, 0, true);
            EXPECT_TRUE(dest->mBits != nullptr);
            EXPECT_EQ(dest->mChangeCount, changes);
            EXPECT_EQ(StoredWords(dest->mSurface), std::vector<uint32_t>(16, 0u));
        }
    }
}

TEST_F(StretchTest, AFailedLockDrawsNothingAndKeepsTheMemoryCopies)
{
    Up(DDrawFormat::X8R8G8B8);
    auto src = DisplayTest::MakeImage(1, 1, {0xFFFFFFFFu});
    auto dest = std::make_unique<DDImage>(mDisplay);
    const std::vector<uint32_t> black(4, 0xFF000000u);
    dest->SetBits(black.data(), 2, 2, true);
    ASSERT_TRUE(dest->CreateSurface());
    Inject({DDrawOp::Lock, DDERR_SURFACEBUSY});
    dest->StretchBltMirror(src.get(), Rect(0, 0, 2, 2), Rect(0, 0, 1, 1), Rect(0, 0, 2, 2), kWhite, 0, true);
    EXPECT_TRUE(dest->mBits != nullptr);
    EXPECT_EQ(dest->mLockCount, 0);
}

// Every variant on every layout against the transcription, on random
// sources (straight and palettised), colours, modes and rectangles.
TEST_F(StretchTest, AgreesWithTheTranscription)
{
    const Color colors[] = {kWhite, Color(255, 255, 255, 128), Color(200, 100, 50, 255), Color(30, 220, 140, 77),
                            Color(300, -5, 255, 255), Color(0, 0, 0, 0)};
    constexpr int kWidth = 33, kHeight = 11;
    for (DDrawFormat format : kFormats) {
        Up(format);
        std::mt19937 rng(static_cast<uint32_t>(format) * 31u + 5u);
        for (int round = 0; round < 40; ++round) {
            const int sw = 1 + static_cast<int>(rng() % 9), sh = 1 + static_cast<int>(rng() % 7);
            const DisplayTest::RandomSource src = DisplayTest::MakeRandomSource(rng, sw, sh);
            const Rect from = DisplayTest::RandomPart(rng, sw, sh);
            const Rect to(static_cast<int>(rng() % 40) - 8, static_cast<int>(rng() % 16) - 4,
                          1 + static_cast<int>(rng() % 40), 1 + static_cast<int>(rng() % 14));
            const Rect clip(static_cast<int>(rng() % 8), static_cast<int>(rng() % 4), 20 + static_cast<int>(rng() % 14),
                            5 + static_cast<int>(rng() % 7));
            const Rect clipInside = Rect::Intersection(clip, Rect(0, 0, kWidth, kHeight));
            const Color color = colors[rng() % std::size(colors)];
            const int mode = static_cast<int>(rng() % 3);
            const bool mirrored = rng() % 2 != 0;
            SCOPED_TRACE(testing::Message() << "format " << static_cast<int>(format) << " round " << round);

            const std::vector<uint32_t> words = RandomWords(rng, size_t{kWidth} * kHeight);
            auto dest = Destination(words, kWidth, kHeight);
            SurfaceReference::Surface model{Layout(), kWidth, kHeight, words};
            Rect clipped;
            Tandry::DoubleRect srcF;
            const bool drawn = mirrored ? Tandry::ClipStretchRectsMirrored(to, from, clipInside, clipped, srcF)
                                        : Tandry::ClipStretchRects(to, from, clipInside, clipped, srcF);
            if (drawn)
                SurfaceReference::Stretch(model, src.model, clipped, srcF, color, mode, mirrored);
            if (mirrored)
                dest->StretchBltMirror(src.image.get(), to, from, clipInside, color, mode, true);
            else
                dest->StretchBlt(src.image.get(), to, from, clipInside, color, mode, true);
            ASSERT_EQ(StoredWords(dest->mSurface), model.words);
        }
    }
}

} // namespace
