// Blt of memory images: the run, white and colour paths of the normal blit,
// the additive blit, palettised sources, and the cases that draw nothing.
#include <cstdint>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/image/Image.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/image/SoftwareDrawTest.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace {

using Tandry::Color;
using Tandry::MemoryImage;
using Tandry::Rect;
using TandryTest::Argb;

class MemoryImageBlitTest : public TandryTest::SoftwareDrawTest {
protected:
    // One source pixel onto one destination pixel. The destination's flags
    // are scanned from its pixel unless forced.
    uint32_t BlitOne(uint32_t src, uint32_t dest, const Color& color, int mode, bool srcHasAlpha,
                     bool destOpaqueFlags)
    {
        auto source = Filled(1, 1, src);
        source->ForceAlphaFlags(false, srcHasAlpha);
        auto target = Filled(1, 1, dest);
        if (destOpaqueFlags)
            target->ForceAlphaFlags(false, false);
        else
            target->ForceAlphaFlags(true, false);
        target->Blt(source.get(), 0, 0, Rect(0, 0, 1, 1), color, mode);
        return At(*target, 0, 0);
    }
};

struct BlitCase {
    const char* name;
    uint32_t src;
    uint32_t dest;
    Color color;
    int mode;
    bool srcHasAlpha;
    bool destOpaqueFlags;
    uint32_t after;
};

TEST_F(MemoryImageBlitTest, PixelsOfEachPath)
{
    const Color white = Color::White;
    const BlitCase cases[] = {
        {"run: opaque copied", Argb(1, 2, 3, 255), Argb(9, 9, 9, 255), white, 0, false, true, Argb(1, 2, 3, 255)},
        {"run: blended opaque", Argb(255, 128, 0, 128), Argb(0, 0, 255, 255), white, 0, true, true,
         Argb(127, 64, 127, 255)},
        {"run: transparent left", Argb(255, 128, 0, 0), Argb(0, 0, 255, 255), white, 0, true, true,
         Argb(0, 0, 255, 255)},
        {"white: opaque", Argb(255, 255, 255, 255), Argb(0, 0, 0, 255), white, 0, false, false,
         Argb(254, 254, 254, 255)},
        {"white: onto transparent", Argb(255, 128, 0, 128), Argb(0, 0, 0, 0), white, 0, true, false,
         Argb(254, 127, 0, 128)},
        {"white: transparent left", Argb(255, 128, 0, 0), Argb(7, 7, 7, 7), white, 0, true, false,
         Argb(7, 7, 7, 7)},
        {"colour: grey", Argb(200, 100, 50, 255), Argb(0, 0, 0, 255), Color(128, 128, 128, 255), 0, false, true,
         Argb(99, 49, 24, 255)},
        {"colour: other", Argb(200, 100, 50, 255), Argb(0, 0, 0, 255), Color(255, 0, 128, 255), 0, false, true,
         Argb(198, 0, 24, 255)},
        {"colour: near white", Argb(255, 255, 255, 255), Argb(0, 0, 0, 255), Color(255, 255, 254, 255), 0, false,
         true, Argb(253, 253, 252, 255)},
        {"colour: transparent left", Argb(200, 100, 50, 0), Argb(7, 7, 7, 7), Color(1, 2, 3, 255), 0, false, false,
         Argb(7, 7, 7, 7)},
        {"colour: alpha 0 draws nothing", Argb(200, 100, 50, 255), Argb(7, 7, 7, 7), Color(1, 2, 3, 0), 0, false,
         false, Argb(7, 7, 7, 7)},
        {"add: white, no source alpha", Argb(100, 100, 100, 255), Argb(200, 10, 0, 77), white, 1, false, false,
         Argb(255, 110, 100, 77)},
        {"add: white, source alpha", Argb(100, 100, 100, 128), Argb(200, 10, 0, 77), white, 1, true, false,
         Argb(250, 60, 50, 77)},
        {"add: transparent pixel added", Argb(100, 50, 0, 0), Argb(10, 10, 10, 255), white, 1, false, false,
         Argb(110, 60, 10, 255)},
        {"add: colour", Argb(200, 100, 50, 255), Argb(10, 10, 10, 255), Color(255, 128, 0, 128), 1, false, false,
         Argb(110, 35, 10, 255)},
        {"add: colour, source alpha", Argb(200, 100, 50, 128), Argb(10, 10, 10, 255), Color(255, 128, 0, 128), 1,
         true, false, Argb(60, 22, 10, 255)},
        // Channels outside 0..255 act as their clamped values.
        {"add: clamped colour", Argb(200, 100, 50, 255), Argb(10, 10, 10, 255), Color(300, 128, -5, 128), 1, false,
         false, Argb(110, 35, 10, 255)},
        {"colour: clamped to white", Argb(255, 255, 255, 255), Argb(0, 0, 0, 255), Color(256, 300, 999, 1000), 0,
         false, false, Argb(254, 254, 254, 255)},
        {"colour: clamped grey", Argb(200, 100, 50, 255), Argb(0, 0, 0, 255), Color(128, 128, 128, 700), 0, false,
         true, Argb(99, 49, 24, 255)},
    };
    for (const BlitCase& c : cases)
        EXPECT_EQ(BlitOne(c.src, c.dest, c.color, c.mode, c.srcHasAlpha, c.destOpaqueFlags), c.after) << c.name;
}

TEST_F(MemoryImageBlitTest, RunPathCopiesOpaqueWordsExactly)
{
    const std::vector<uint32_t> src = {Argb(1, 2, 3, 255), Argb(4, 5, 6, 255), Argb(7, 8, 9, 255),
                                       Argb(10, 11, 12, 255)};
    auto source = Image(4, 1, src);
    auto target = Filled(6, 2, Argb(50, 50, 50, 255));
    ASSERT_FALSE(target->mHasAlpha || target->mHasTrans);
    target->Blt(source.get(), 1, 1, Rect(0, 0, 4, 1), Color::White, 0);
    EXPECT_EQ(Pixels(*target), (std::vector<uint32_t>{Argb(50, 50, 50, 255), Argb(50, 50, 50, 255),
                                                      Argb(50, 50, 50, 255), Argb(50, 50, 50, 255),
                                                      Argb(50, 50, 50, 255), Argb(50, 50, 50, 255),
                                                      Argb(50, 50, 50, 255), src[0], src[1], src[2], src[3],
                                                      Argb(50, 50, 50, 255)}));
}

// A run that starts before the source rectangle, or runs on past it, is cut
// to the rectangle.
TEST_F(MemoryImageBlitTest, RunPathCutsRunsToTheRectangle)
{
    std::vector<uint32_t> src(300, Argb(200, 0, 0, 255));
    for (int i = 100; i < 200; ++i)
        src[i] = Argb(0, 200, 0, 100);
    auto source = Image(300, 1, src);
    auto target = Filled(100, 1, Argb(0, 0, 0, 255));
    target->Blt(source.get(), 0, 0, Rect(150, 0, 100, 1), Color::White, 0);
    for (int x = 0; x < 100; ++x)
        EXPECT_EQ(At(*target, x, 0), x < 50 ? Argb(0, 78, 0, 255) : Argb(200, 0, 0, 255)) << x;
}

// Create leaves both alpha flags set until a scan, so an opaque fill does not
// send white blits onto the run path.
TEST_F(MemoryImageBlitTest, CreatedDestinationTakesTheWhitePath)
{
    MemoryImage target;
    target.Create(1, 1);
    target.FillRect(Rect(0, 0, 1, 1), Color(0, 0, 0), 0);
    ASSERT_TRUE(target.mHasAlpha && target.mHasTrans);
    auto source = Filled(1, 1, Argb(255, 255, 255, 255));
    target.Blt(source.get(), 0, 0, Rect(0, 0, 1, 1), Color::White, 0);
    EXPECT_EQ(At(target, 0, 0), Argb(254, 254, 254, 255));
}

// The additive routines read the host's saturation table, on every pixel of
// a row, whatever it holds.
TEST_F(MemoryImageBlitTest, AdditiveDrawingReadsTheHostsTable)
{
    mHost.addTable[100 + 50] = 7;
    mHost.addTable[100 + 20] = 9;
    auto source = Filled(19, 2, Argb(50, 20, 50, 255));
    source->ForceAlphaFlags(false, false);
    auto target = Filled(19, 2, Argb(100, 100, 100, 33));
    target->Blt(source.get(), 0, 0, Rect(0, 0, 19, 2), Color::White, 1);
    EXPECT_EQ(Pixels(*target), std::vector<uint32_t>(38, Argb(7, 9, 7, 33)));
}

TEST_F(MemoryImageBlitTest, OtherModesAndOtherImagesDrawNothing)
{
    auto source = Filled(2, 2, Argb(1, 2, 3, 255));
    auto target = Filled(2, 2, Argb(9, 9, 9, 9));
    const int changes = target->mChangeCount;
    target->Blt(source.get(), 0, 0, Rect(0, 0, 2, 2), Color::White, 2);
    EXPECT_TRUE(source->mDrawn);
    EXPECT_EQ(target->mChangeCount, changes);
    EXPECT_EQ(Pixels(*target), std::vector<uint32_t>(4, Argb(9, 9, 9, 9)));

    Tandry::Image plain;
    plain.mWidth = 2;
    plain.mHeight = 2;
    for (int mode : {0, 1}) {
        target->Blt(&plain, 0, 0, Rect(0, 0, 2, 2), Color::White, mode);
        EXPECT_TRUE(plain.mDrawn);
        EXPECT_EQ(target->mChangeCount, changes);
    }
}

TEST_F(MemoryImageBlitTest, MirroredBlitsLeaveTheDestination)
{
    auto source = Filled(2, 2, Argb(1, 2, 3, 255));
    auto target = Filled(2, 2, Argb(9, 9, 9, 9));
    const int changes = target->mChangeCount;
    target->BltMirror(source.get(), 0, 0, Rect(0, 0, 2, 2), Color::White, 0);
    target->StretchBltMirror(source.get(), Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), Color::White, 0,
                             true);
    EXPECT_EQ(Pixels(*target), std::vector<uint32_t>(4, Argb(9, 9, 9, 9)));
    EXPECT_EQ(target->mChangeCount, changes);
    EXPECT_FALSE(target->PolyFill3D(nullptr, 0, nullptr, Color::White, 0, 0, 0, false));
}

// The same picture palettised and as ARGB words draws the same pixels on
// every path of the blits, the stretches and the rotated blit.
TEST_F(MemoryImageBlitTest, PalettisedSourcesDrawLikeTheirArgbForm)
{
    const std::vector<uint32_t> picture = RandomFewColours(12 * 6);
    auto argb = Image(12, 6, picture);
    auto palettised = Image(12, 6, picture);
    ASSERT_TRUE(palettised->Palletize());
    const std::vector<uint32_t> backdrop = RandomPixels(20 * 10);
    using Draw = std::function<void(MemoryImage&, MemoryImage&)>;
    const Rect all(0, 0, 20, 10);
    const std::vector<Draw> draws = {
        [](MemoryImage& d, MemoryImage& s) { d.Blt(&s, 3, 2, Rect(1, 1, 10, 5), Color::White, 0); },
        [](MemoryImage& d, MemoryImage& s) { d.Blt(&s, 3, 2, Rect(1, 1, 10, 5), Color(90, 90, 90, 200), 0); },
        [](MemoryImage& d, MemoryImage& s) { d.Blt(&s, 3, 2, Rect(1, 1, 10, 5), Color(20, 200, 90, 255), 0); },
        [](MemoryImage& d, MemoryImage& s) { d.Blt(&s, 3, 2, Rect(1, 1, 10, 5), Color::White, 1); },
        [](MemoryImage& d, MemoryImage& s) { d.Blt(&s, 3, 2, Rect(1, 1, 10, 5), Color(20, 200, 90, 99), 1); },
        [&](MemoryImage& d, MemoryImage& s) {
            d.StretchBlt(&s, Rect(0, 0, 20, 10), Rect(0, 0, 12, 6), all, Color::White, 0, true);
        },
        [&](MemoryImage& d, MemoryImage& s) {
            d.StretchBlt(&s, Rect(0, 0, 20, 10), Rect(0, 0, 12, 6), all, Color::White, 0, false);
        },
        [&](MemoryImage& d, MemoryImage& s) {
            d.StretchBlt(&s, Rect(2, 2, 7, 4), Rect(0, 0, 12, 6), all, Color::White, 0, false);
        },
        [&](MemoryImage& d, MemoryImage& s) {
            d.BltRotated(&s, 4.5f, 1.25f, Rect(0, 0, 12, 6), all, Color::White, 0, 0.4, 6.0f, 3.0f);
        },
        [&](MemoryImage& d, MemoryImage& s) {
            d.BltRotated(&s, 4.5f, 1.25f, Rect(0, 0, 12, 6), all, Color(40, 50, 60, 70), 1, -0.9, 6.0f, 3.0f);
        },
    };
    for (size_t i = 0; i < draws.size(); ++i) {
        for (bool opaqueFlags : {false, true}) {
            auto fromArgb = Image(20, 10, backdrop);
            auto fromPalette = Image(20, 10, backdrop);
            if (opaqueFlags) {
                fromArgb->ForceAlphaFlags(false, false);
                fromPalette->ForceAlphaFlags(false, false);
            }
            draws[i](*fromArgb, *argb);
            draws[i](*fromPalette, *palettised);
            EXPECT_EQ(Pixels(*fromArgb), Pixels(*fromPalette)) << "draw " << i;
            EXPECT_NE(Pixels(*fromArgb), backdrop) << "draw " << i;
        }
    }
    EXPECT_TRUE(palettised->mColorIndices != nullptr);
}

// Every path, ARGB and palettised sources, random colours (some outside
// 0..255) and destinations with any flags, against the reference model.
TEST_F(MemoryImageBlitTest, RandomBlitsAgreeWithTheReference)
{
    for (int round = 0; round < 600; ++round) {
        const int sw = Uniform(1, 40), sh = Uniform(1, 5);
        const bool palettised = Uniform(0, 1) == 1;
        const size_t count = static_cast<size_t>(sw) * sh;
        auto source = Image(sw, sh, palettised ? RandomFewColours(count) : RandomPixels(count));
        if (palettised) {
            ASSERT_TRUE(source->Palletize());
        }
        if (Uniform(0, 3) == 0)
            source->ForceAlphaFlags(Uniform(0, 1) == 1, Uniform(0, 1) == 1);
        // A source whose flags await a rescan: only the run path rescans them.
        if (Uniform(0, 3) == 0)
            source->MarkBitsChanged();

        const int dw = Uniform(1, 40), dh = Uniform(1, 5);
        std::vector<uint32_t> destPixels = RandomPixels(static_cast<size_t>(dw) * dh);
        if (Uniform(0, 1) == 1) {
            for (uint32_t& p : destPixels)
                p |= 0xFF000000;
        }
        auto target = Image(dw, dh, destPixels);
        if (Uniform(0, 3) == 0)
            target->ForceAlphaFlags(Uniform(0, 1) == 1, Uniform(0, 1) == 1);

        const int w = Uniform(1, std::min(sw, dw)), h = Uniform(1, std::min(sh, dh));
        const Rect srcRect(Uniform(0, sw - w), Uniform(0, sh - h), w, h);
        const int x = Uniform(0, dw - w), y = Uniform(0, dh - h);
        const Color color = Uniform(0, 2) == 0 ? Color::White
            : Uniform(0, 2) == 0               ? Color(Uniform(0, 255), Uniform(0, 255), Uniform(0, 255), 255)
                                               : RandomColor();
        const int mode = Uniform(0, 5) == 0 ? 2 : Uniform(0, 1);
        const bool runPath = mode == 0 && PixelReference::Clamped(color) == Color::White && !target->mHasAlpha
            && !target->mHasTrans;
        const bool dirtyBefore = source->mAlphaDirty;

        PixelReference::Picture expected = Picture(*target);
        const PixelReference::Source src = SourceOf(*source);
        PixelReference::Blt(expected, target->mHasAlpha, target->mHasTrans, src, x, y, srcRect, color, mode);
        target->Blt(source.get(), x, y, srcRect, color, mode);
        ASSERT_EQ(Pixels(*target), expected.px) << "round " << round << " mode " << mode;
        ASSERT_EQ(source->mColorIndices != nullptr, palettised) << "the source stays palettised";
        if (!runPath && mode != 2) {
            ASSERT_EQ(source->mAlphaDirty, dirtyBefore) << "round " << round;
        }
    }
}

// Long runs and short ones, in sources from one pixel wide (drawn pixel by
// pixel) to a hundred (drawn run by run, the long runs eight pixels at a
// time): each way gives the reference's pixels.
TEST_F(MemoryImageBlitTest, NarrowAndWideSourcesWithLongRunsAgreeWithTheReference)
{
    for (int round = 0; round < 400; ++round) {
        const int sw = Uniform(1, 100), sh = Uniform(1, 4);
        std::vector<uint32_t> pixels;
        while (pixels.size() < static_cast<size_t>(sw) * sh) {
            const int kind = Uniform(0, 2);
            const auto alpha = static_cast<uint32_t>(kind == 0 ? 0 : kind == 1 ? 255 : Uniform(1, 254));
            const int run = Uniform(0, 3) == 0 ? Uniform(1, 3) : Uniform(4, 40);
            for (int i = 0; i < run; ++i)
                pixels.push_back(alpha << 24 | (static_cast<uint32_t>(Uniform(0, 0xFFFFFF))));
        }
        pixels.resize(static_cast<size_t>(sw) * sh);
        auto source = Image(sw, sh, pixels);
        const int dw = sw + Uniform(0, 9), dh = sh + Uniform(0, 2);
        std::vector<uint32_t> destPixels = RandomPixels(static_cast<size_t>(dw) * dh);
        const bool opaque = Uniform(0, 1) == 1;
        if (opaque) {
            for (uint32_t& p : destPixels)
                p |= 0xFF000000;
        }
        auto target = Image(dw, dh, destPixels);
        const int w = Uniform(1, sw), h = Uniform(1, sh);
        const Rect srcRect(Uniform(0, sw - w), Uniform(0, sh - h), w, h);
        const int x = Uniform(0, dw - w), y = Uniform(0, dh - h);
        const int mode = Uniform(0, 2) == 0 ? 1 : 0;
        const Color color = Uniform(0, 1) == 0 ? Color::White : RandomColor();

        PixelReference::Picture expected = Picture(*target);
        PixelReference::Blt(expected, target->mHasAlpha, target->mHasTrans, SourceOf(*source), x, y, srcRect, color,
                            mode);
        target->Blt(source.get(), x, y, srcRect, color, mode);
        ASSERT_EQ(Pixels(*target), expected.px) << "round " << round << " width " << w << " mode " << mode;
    }
}

} // namespace
