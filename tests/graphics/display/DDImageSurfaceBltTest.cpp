#include "graphics/display/DDImage.h"

#include "graphics/display/DDInterface.h"
#include "graphics/display/DisplayTestSupport.h"
#include "graphics/display/SurfaceReference.h"
#include "graphics/display/SurfaceTestSupport.h"
#include "graphics/types/Color.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

namespace {

using namespace Platform;
using DisplayTest::CallsOf;
using DisplayTest::StoredWords;
using Tandry::Color;
using Tandry::DDImage;
using Tandry::MemoryImage;
using Tandry::Rect;

constexpr int kWidth = 40;
constexpr int kHeight = 12;
constexpr auto& kFormats = DisplayTest::kSurfaceFormats;

class SurfaceBltTest : public DisplayTest::SurfaceFixture {
protected:
    std::unique_ptr<DDImage> Destination(const std::vector<uint32_t>& words, int width = kWidth, int height = kHeight)
    {
        return SurfaceFixture::Destination(words, width, height);
    }
};

// Pixels in runs of alpha 0, 255 and partial, some longer than a row.
std::vector<uint32_t> RandomSource(std::mt19937& rng, int width, int height, bool partial, bool transparent)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    size_t i = 0;
    while (i < pixels.size()) {
        const int kind = static_cast<int>(rng() % 3);
        const size_t run = 1 + rng() % 9;
        for (size_t n = 0; n < run && i < pixels.size(); ++n, ++i) {
            uint32_t a = 255;
            if (kind == 1 && transparent)
                a = 0;
            else if (kind == 2 && partial)
                a = 1 + rng() % 254;
            pixels[i] = a << 24 | (rng() & 0xFFFFFF);
        }
    }
    return pixels;
}

SurfaceReference::Source ModelOf(const MemoryImage& image, const std::vector<uint32_t>& pixels)
{
    SurfaceReference::Source s;
    s.width = image.mWidth;
    s.height = image.mHeight;
    s.argb = pixels;
    s.hasTrans = image.mHasTrans;
    s.hasAlpha = image.mHasAlpha;
    s.isVolatile = image.mVolatile;
    return s;
}

enum class Call { Blt, Mirror, Additive, MirrorAdditive };

// Every path on every layout against the transcription, on random sources
// (straight and palettised, volatile or not), colours and destinations.
TEST_F(SurfaceBltTest, AgreesWithTheTranscriptionOnEveryPathAndLayout)
{
    const Color colors[] = {Color(255, 255, 255, 255), Color(200, 200, 200, 255), Color(200, 100, 50, 255),
                            Color(90, 90, 90, 128),    Color(30, 220, 140, 77),   Color(300, -5, 255, 255),
                            Color(255, 255, 255, 128), Color(0, 0, 0, 255)};
    for (DDrawFormat format : kFormats) {
        Up(format);
        std::mt19937 rng(static_cast<uint32_t>(format) * 7919u + 1);
        for (int round = 0; round < 24; ++round) {
            const int sw = 1 + static_cast<int>(rng() % 30);
            const int sh = 1 + static_cast<int>(rng() % 6);
            const bool partial = rng() % 3 != 0;
            const bool transparent = rng() % 2 != 0;
            // A small palette when palettised.
            const bool palettised = rng() % 3 == 0;
            std::vector<uint32_t> pixels = RandomSource(rng, sw, sh, partial, transparent);
            if (palettised) {
                for (uint32_t& p : pixels)
                    p = (p & 0xFF000000u) | ((p & 0xFFFFFF) % 7) * 0x242424u;
            }
            for (const Color& color : colors) {
                for (Call call : {Call::Blt, Call::Mirror, Call::Additive, Call::MirrorAdditive}) {
                    auto src = std::make_unique<MemoryImage>();
                    src->SetBits(pixels.data(), sw, sh, true);
                    if (palettised) {
                        ASSERT_TRUE(src->Palletize());
                    }
                    src->SetVolatile(rng() % 2 != 0);
                    const Rect srcRect(static_cast<int>(rng() % sw), static_cast<int>(rng() % sh), 0, 0);
                    const Rect r(srcRect.x, srcRect.y, 1 + static_cast<int>(rng() % (sw - srcRect.x)),
                                 1 + static_cast<int>(rng() % (sh - srcRect.y)));
                    const int x = static_cast<int>(rng() % (kWidth - r.width + 1));
                    const int y = static_cast<int>(rng() % (kHeight - r.height + 1));
                    const std::vector<uint32_t> words = RandomWords(rng, size_t{kWidth} * kHeight);
                    auto dest = Destination(words);
                    SCOPED_TRACE(testing::Message() << "format " << static_cast<int>(format) << " round " << round
                                                    << " colour " << color.red << "," << color.green << ","
                                                    << color.blue << "," << color.alpha << " call "
                                                    << static_cast<int>(call) << " palettised " << palettised);

                    src->ScanAlpha();
                    SurfaceReference::Surface model{Layout(), kWidth, kHeight, words};
                    const SurfaceReference::Source source = ModelOf(*src, pixels);
                    switch (call) {
                    case Call::Blt:
                        dest->SurfaceBlt(src.get(), x, y, r, color);
                        SurfaceReference::Blt(model, source, x, y, r, color, Tandry::gDisplayRGBOrdered);
                        break;
                    case Call::Mirror:
                        dest->SurfaceBltMirror(src.get(), x, y, r, color);
                        SurfaceReference::BltMirror(model, source, x, y, r, color);
                        break;
                    case Call::Additive:
                        dest->SurfaceBltAdditive(src.get(), x, y, r, color);
                        SurfaceReference::BltAdditive(model, source, x, y, r, color, false);
                        break;
                    case Call::MirrorAdditive:
                        dest->SurfaceBltMirrorAdditive(src.get(), x, y, r, color);
                        SurfaceReference::BltAdditive(model, source, x, y, r, color, true);
                        break;
                    }
                    EXPECT_TRUE(src->mDrawn);
                    EXPECT_EQ(dest->mLockCount, 0);
                    ASSERT_EQ(StoredWords(dest->mSurface), model.words);
                }
            }
        }
    }
}

// Runs longer than eight pixels, and rows of a volatile source, are blended
// eight pixels at a time on 8-8-8; a run's tail and every other layout go
// pixel by pixel. Both agree with the transcription.
TEST_F(SurfaceBltTest, LongRunsAgreeWithTheTranscription)
{
    constexpr int sw = 37, sh = 4;
    std::vector<uint32_t> pixels;
    for (int y = 0; y < sh; ++y) {
        for (int x = 0; x < sw; ++x) {
            const uint32_t rgb = (static_cast<uint32_t>(x * 71 + y * 13) * 2654435761u) >> 8;
            const uint32_t a = x < 3 ? 0u : x < 23 ? 1u + static_cast<uint32_t>(x * 37 + y * 11) % 254u : 255u;
            pixels.push_back(a << 24 | rgb);
        }
    }
    const Color colors[] = {Color(255, 255, 255), Color(200, 200, 200), Color(200, 100, 50, 255),
                            Color(30, 220, 140, 77)};
    std::mt19937 rng(5);
    for (DDrawFormat format : kFormats) {
        Up(format);
        for (const Color& color : colors) {
            for (Call call : {Call::Blt, Call::Additive}) {
                for (bool isVolatile : {false, true}) {
                    SCOPED_TRACE(testing::Message() << "format " << static_cast<int>(format) << " colour "
                                                    << color.red << "," << color.alpha << " call "
                                                    << static_cast<int>(call) << " volatile " << isVolatile);
                    auto src = std::make_unique<MemoryImage>();
                    src->SetBits(pixels.data(), sw, sh, true);
                    src->SetVolatile(isVolatile);
                    src->ScanAlpha();
                    const std::vector<uint32_t> words = RandomWords(rng, size_t{kWidth} * kHeight);
                    auto dest = Destination(words);
                    SurfaceReference::Surface model{Layout(), kWidth, kHeight, words};
                    const Rect r(0, 0, sw, sh);
                    if (call == Call::Blt) {
                        dest->SurfaceBlt(src.get(), 2, 3, r, color);
                        SurfaceReference::Blt(model, ModelOf(*src, pixels), 2, 3, r, color,
                                              Tandry::gDisplayRGBOrdered);
                    } else {
                        dest->SurfaceBltAdditive(src.get(), 2, 3, r, color);
                        SurfaceReference::BltAdditive(model, ModelOf(*src, pixels), 2, 3, r, color, false);
                    }
                    ASSERT_EQ(StoredWords(dest->mSurface), model.words);
                }
            }
        }
    }
}

// The worked values: white over white under half alpha, on 32 bits and 565.
TEST_F(SurfaceBltTest, WhiteCompositingWorkedValues)
{
    Up(DDrawFormat::X8R8G8B8);
    // Alpha 128, red 255: display word alpha 128 with premultiplied red 128.
    auto src = DisplayTest::MakeImage(1, 1, {0x80FF0000u});
    ASSERT_EQ(src->GetDisplayFormatData(mDisplay)[0], 0x80800000u);
    auto dest = Destination({0x00FFFFFFu}, 1, 1);
    dest->SurfaceBlt(src.get(), 0, 0, Rect(0, 0, 1, 1), Color(255, 255, 255));
    // Each channel halved, red added, and the source alpha in the top byte.
    EXPECT_EQ(StoredWords(dest->mSurface)[0], 0x80FF7F7Fu);

    Up(DDrawFormat::R5G6B5);
    // Alpha 128, red 255 gives 565 red (255 * 129 >> 8) >> 3 = 16.
    auto src16 = DisplayTest::MakeImage(1, 1, {0x80FF0000u});
    ASSERT_EQ(src16->GetDisplayFormatData(mDisplay)[0] & 0xFFFF, 16u << 11);
    auto dest16 = Destination({0xFFFFu}, 1, 1);
    dest16->SurfaceBlt(src16.get(), 0, 0, Rect(0, 0, 1, 1), Color(255, 255, 255));
    const uint32_t p = StoredWords(dest16->mSurface)[0];
    EXPECT_EQ(p >> 11, 31u);
    EXPECT_EQ((p >> 5) & 63, 31u);
    EXPECT_EQ(p & 31, 15u);
}

TEST_F(SurfaceBltTest, GreyAndColourPathsWorkedValues)
{
    struct Case {
        DDrawFormat format;
        Color color;
        uint32_t expected; // the stored word
    };
    const Case cases[] = {
        // Grey: factor 200 >> 3 = 25 over 32: 31 * 25 >> 5 = 24, 63 * 25 >> 5 = 49.
        {DDrawFormat::R5G6B5, Color(200, 200, 200, 255), 24u << 11 | 49u << 5 | 24u},
        {DDrawFormat::X8R8G8B8, Color(200, 200, 200, 255), 0xC7C7C7u},
        // Per mask: red 31 * 200 >> 8 = 24, green 63 * 100 >> 8 = 24, blue 31 * 50 >> 8 = 6.
        {DDrawFormat::R5G6B5, Color(200, 100, 50, 255), 24u << 11 | 24u << 5 | 6u},
    };
    for (const Case& c : cases) {
        Up(c.format);
        auto src = DisplayTest::MakeImage(1, 1, {0xFFFFFFFFu});
        auto dest = Destination({0}, 1, 1);
        dest->SurfaceBlt(src.get(), 0, 0, Rect(0, 0, 1, 1), c.color);
        EXPECT_EQ(StoredWords(dest->mSurface)[0], c.expected) << static_cast<int>(c.format);
    }
}

// Transparent pixels keep the destination; a 300-pixel row is copied whole.
TEST_F(SurfaceBltTest, CopyPathSkipsTransparentPixelsAndCopiesLongRuns)
{
    Up(DDrawFormat::X8R8G8B8);
    std::vector<uint32_t> pixels(300, 0xFF123456u);
    pixels[7] = 0x00FFFFFFu;
    auto src = DisplayTest::MakeImage(300, 1, pixels);
    ASSERT_TRUE(src->mHasTrans);
    ASSERT_FALSE(src->mHasAlpha);
    auto dest = Destination(std::vector<uint32_t>(300, 0xABCDEFu), 300, 1);
    dest->SurfaceBlt(src.get(), 0, 0, Rect(0, 0, 300, 1), Color(255, 255, 255));
    std::vector<uint32_t> expected(300, 0xFF123456u);
    expected[7] = 0xABCDEFu;
    EXPECT_EQ(StoredWords(dest->mSurface), expected);
}

TEST_F(SurfaceBltTest, AdditiveSaturatesAndSkipsBlack)
{
    Up(DDrawFormat::R5G6B5);
    auto src = DisplayTest::MakeImage(3, 1, {0xFF000000u, 0xFFFFFFFFu, 0xFF808080u});
    auto dest = Destination({0x1234u, 0x8410u, 0xFFFFu}, 3, 1);
    dest->SurfaceBltAdditive(src.get(), 0, 0, Rect(0, 0, 3, 1), Color(255, 255, 255));
    const std::vector<uint32_t> words = StoredWords(dest->mSurface);
    EXPECT_EQ(words[0], 0x1234u);
    EXPECT_EQ(words[1], 0xFFFFu);
    EXPECT_EQ(words[2], 0xFFFFu);
}

TEST_F(SurfaceBltTest, MirrorReversesTheRowAndAOneColumnBlitIsUnchanged)
{
    Up(DDrawFormat::X8R8G8B8);
    auto src = DisplayTest::MakeImage(3, 1, {0xFF000001u, 0xFF000002u, 0xFF000003u});
    auto dest = Destination({0, 0, 0}, 3, 1);
    dest->SurfaceBltMirror(src.get(), 0, 0, Rect(0, 0, 3, 1), Color(255, 255, 255));
    EXPECT_EQ(StoredWords(dest->mSurface), (std::vector<uint32_t>{0xFF000003u, 0xFF000002u, 0xFF000001u}));

    auto column = DisplayTest::MakeImage(1, 2, {0x80FF8000u, 0xFF00FF00u});
    auto plain = Destination({0x112233u, 0x445566u}, 1, 2);
    auto mirrored = Destination({0x112233u, 0x445566u}, 1, 2);
    plain->SurfaceBlt(column.get(), 0, 0, Rect(0, 0, 1, 2), Color(255, 255, 255));
    mirrored->SurfaceBltMirror(column.get(), 0, 0, Rect(0, 0, 1, 2), Color(255, 255, 255));
    EXPECT_EQ(StoredWords(mirrored->mSurface), StoredWords(plain->mSurface));
}

// Opaque surface to surface goes through DirectDraw when the destination
// prefers video memory or the source does not.
TEST_F(SurfaceBltTest, PathChoiceBetweenSurfaces)
{
    Up(DDrawFormat::X8R8G8B8);
    struct Case {
        bool destVideo;
        bool srcVideo;
        bool transparent;
        bool viaBlt;
        uint32_t flags;
    };
    const Case cases[] = {
        {true, false, false, true, 0x01000000u},
        {true, false, true, true, 0x01008000u},
        {false, false, false, true, 0x01000000u},
        {false, true, false, false, 0},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> pixels(4, 0xFF336699u);
        if (c.transparent)
            pixels[0] = 0;
        DDImage src(mDisplay);
        src.SetBits(pixels.data(), 2, 2, true);
        src.SetVideoMemory(c.srcVideo);
        ASSERT_TRUE(src.CreateSurface());
        auto dest = Destination(std::vector<uint32_t>(16, 0), 4, 4);
        dest->SetVideoMemory(c.destVideo);
        ASSERT_NE(dest->GetSurface(), nullptr);
        const size_t before = CallsOf(CallLog(), DDrawOp::Blt).size();
        dest->SurfaceBlt(&src, 1, 1, Rect(0, 0, 2, 2), Color(255, 255, 255));
        const auto blts = CallsOf(CallLog(), DDrawOp::Blt);
        ASSERT_EQ(blts.size() - before, c.viaBlt ? 1u : 0u);
        if (c.viaBlt) {
            EXPECT_EQ(blts.back().flags, c.flags);
            EXPECT_EQ(blts.back().destRect->left, 1);
            EXPECT_EQ(blts.back().destRect->bottom, 3);
        }
        const std::vector<uint32_t> words = StoredWords(dest->mSurface);
        EXPECT_EQ(words[1 * 4 + 2] & 0xFFFFFFu, 0x336699u);
        EXPECT_EQ(words[2 * 4 + 1] & 0xFFFFFFu, 0x336699u);
    }
}

// Inside an outer lock the DirectDraw path unlocks, blits and locks again;
// the outer pass keeps drawing into the relocked memory.
TEST_F(SurfaceBltTest, DirectDrawPathInsideAnOuterLock)
{
    Up(DDrawFormat::X8R8G8B8);
    DDImage src(mDisplay);
    const std::vector<uint32_t> pixels(4, 0xFF0000FFu);
    src.SetBits(pixels.data(), 2, 2, true);
    ASSERT_TRUE(src.CreateSurface());
    auto dest = Destination(std::vector<uint32_t>(16, 0), 4, 4);
    dest->SetVideoMemory(true);
    ASSERT_NE(dest->GetSurface(), nullptr);
    ASSERT_TRUE(dest->LockSurface());
    const size_t start = CallLog().size();
    dest->SurfaceBlt(&src, 0, 0, Rect(0, 0, 2, 2), Color(255, 255, 255));
    const auto log = CallLog();
    std::vector<DDrawOp> ops;
    for (size_t i = start; i < log.size(); ++i) {
        if (log[i].op == DDrawOp::Unlock || log[i].op == DDrawOp::Blt || log[i].op == DDrawOp::Lock)
            ops.push_back(log[i].op);
    }
    EXPECT_EQ(ops, (std::vector<DDrawOp>{DDrawOp::Unlock, DDrawOp::Blt, DDrawOp::Lock}));
    EXPECT_EQ(dest->mLockCount, 1);
    dest->SurfaceFillRect(Rect(3, 3, 1, 1), Color(0, 255, 0));
    ASSERT_TRUE(dest->UnlockSurface());
    const std::vector<uint32_t> words = StoredWords(dest->mSurface);
    EXPECT_EQ(words[0], 0x0000FFu);
    EXPECT_EQ(words[15], 0x00FE00u);
}

// A volatile source under white is blended raw; under another colour it is
// composited from its display-format data, which it then holds.
TEST_F(SurfaceBltTest, VolatileSourceTakesTheRawPathOnlyUnderWhite)
{
    Up(DDrawFormat::X8R8G8B8);
    auto src = DisplayTest::MakeImage(1, 1, {0x80FF0000u});
    src->SetVolatile(true);
    auto dest = Destination({0x0000FFu}, 1, 1);
    dest->SurfaceBlt(src.get(), 0, 0, Rect(0, 0, 1, 1), Color(255, 255, 255));
    EXPECT_FALSE(src->mNativeAlpha);
    // Ordered 32-bit raw: ((s - d) * 128 >> 8) + d over red and blue together.
    EXPECT_EQ(StoredWords(dest->mSurface)[0], 0x7F007Fu);

    dest->SurfaceBlt(src.get(), 0, 0, Rect(0, 0, 1, 1), Color(255, 255, 255, 254));
    EXPECT_TRUE(src->mNativeAlpha);
    EXPECT_TRUE(src->mRLAlpha);
}

TEST_F(SurfaceBltTest, BGR565UsesTheMaskFormulasAndIsNotOrdered)
{
    Up(DDrawFormat::BGR565);
    EXPECT_FALSE(Tandry::gDisplayRGBOrdered);
    // White compositing of alpha 100 over white: per mask (d * 156) >> 8, where
    // the spread form's factor 156 >> 3 would give green 37.
    auto src = DisplayTest::MakeImage(1, 1, {0x64000000u});
    auto dest = Destination({0xFFFFu}, 1, 1);
    dest->SurfaceBlt(src.get(), 0, 0, Rect(0, 0, 1, 1), Color(255, 255, 255));
    const uint32_t p = StoredWords(dest->mSurface)[0];
    EXPECT_EQ(p & 0x1F, 18u);
    EXPECT_EQ((p >> 5) & 0x3F, 38u);
    EXPECT_EQ(p >> 11, 18u);
}

// Channels outside 0..255 draw like the clamped colour and stay inside the tables.
TEST_F(SurfaceBltTest, OutOfRangeChannelsDrawAsClamped)
{
    for (DDrawFormat format : kFormats) {
        Up(format);
        auto src = DisplayTest::MakeImage(2, 1, {0xFFFFFFFFu, 0x80808080u});
        for (bool additive : {false, true}) {
            auto wild = Destination({0x1234u, 0x5678u}, 2, 1);
            auto clamped = Destination({0x1234u, 0x5678u}, 2, 1);
            if (additive) {
                wild->SurfaceBltAdditive(src.get(), 0, 0, Rect(0, 0, 2, 1), Color(300, -5, 128, 300));
                clamped->SurfaceBltAdditive(src.get(), 0, 0, Rect(0, 0, 2, 1), Color(255, 0, 128, 255));
            } else {
                wild->SurfaceBlt(src.get(), 0, 0, Rect(0, 0, 2, 1), Color(300, -5, 128, 300));
                clamped->SurfaceBlt(src.get(), 0, 0, Rect(0, 0, 2, 1), Color(255, 0, 128, 255));
            }
            EXPECT_EQ(StoredWords(wild->mSurface), StoredWords(clamped->mSurface));
        }
    }
}

} // namespace
