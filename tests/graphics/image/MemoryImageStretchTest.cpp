// StretchBlt of memory images with its nearest and filtered paths, and the
// stretch clipping both share.
#include <algorithm>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/image/ClipStretchRects.h"
#include "graphics/image/Image.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/image/SoftwareDrawTest.h"
#include "graphics/types/Color.h"
#include "graphics/types/DoubleRect.h"
#include "graphics/types/Rect.h"

namespace {

using Tandry::Color;
using Tandry::DoubleRect;
using Tandry::Rect;
using TandryTest::Argb;

class MemoryImageStretchTest : public TandryTest::SoftwareDrawTest {
protected:
    // Stretches srcRect of source onto destRect of target on the nearest
    // path in white and says whether the result follows the one-pixel rule.
    ::testing::AssertionResult NearestFollowsTheRule(Tandry::MemoryImage& source, Tandry::MemoryImage& target,
                                                     const Rect& destRect, const Rect& srcRect, const Rect& clip)
    {
        PixelReference::Picture expected = Picture(target);
        Rect clipped;
        DoubleRect srcF;
        if (Tandry::ClipStretchRects(destRect, srcRect, clip, clipped, srcF))
            PixelReference::StretchBltFast(expected, SourceOf(source), clipped, srcF, Color::White);
        target.StretchBlt(&source, destRect, srcRect, clip, Color::White, 0, true);
        if (Pixels(target) == expected.px)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "differs from the one-pixel rule";
    }

    // Reduces the whole of source onto the whole of target on the filtered
    // path and says whether the result is the reference's.
    ::testing::AssertionResult WholeReductionMatchesTheReference(Tandry::MemoryImage& source,
                                                                 Tandry::MemoryImage& target)
    {
        const Rect all(0, 0, target.mWidth, target.mHeight);
        const Rect srcRect(0, 0, source.mWidth, source.mHeight);
        PixelReference::Picture expected = Picture(target);
        Rect clipped;
        DoubleRect srcF;
        if (Tandry::ClipStretchRects(all, srcRect, all, clipped, srcF))
            PixelReference::StretchBltFiltered(expected, SourceOf(source), clipped, srcF);
        target.StretchBlt(&source, all, srcRect, all, Color::White, 0, false);
        if (Pixels(target) == expected.px)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "differs from the reference";
    }
};

TEST_F(MemoryImageStretchTest, ClippingCutsTheSourceInProportion)
{
    Rect clipped;
    DoubleRect srcF;
    ASSERT_TRUE(Tandry::ClipStretchRects(Rect(0, 0, 200, 10), Rect(0, 0, 100, 5), Rect(100, 0, 100, 10), clipped,
                                         srcF));
    EXPECT_EQ(clipped, Rect(100, 0, 100, 10));
    EXPECT_EQ(srcF, DoubleRect(50.0, 0.0, 50.0, 5.0));

    ASSERT_TRUE(Tandry::ClipStretchRectsMirrored(Rect(0, 0, 200, 10), Rect(0, 0, 100, 5), Rect(100, 0, 100, 10),
                                                 clipped, srcF));
    EXPECT_EQ(srcF, DoubleRect(0.0, 0.0, 50.0, 5.0));

    ASSERT_TRUE(Tandry::ClipStretchRects(Rect(10, 20, 40, 40), Rect(3, 4, 10, 20), Rect(0, 30, 30, 5), clipped,
                                         srcF));
    EXPECT_EQ(clipped, Rect(10, 30, 20, 5));
    EXPECT_EQ(srcF, DoubleRect(3.0, 9.0, 5.0, 2.5));
}

TEST_F(MemoryImageStretchTest, NothingIsLeftOfAMissedOrEmptyRectangle)
{
    Rect clipped;
    DoubleRect srcF;
    EXPECT_FALSE(Tandry::ClipStretchRects(Rect(0, 0, 10, 10), Rect(0, 0, 5, 5), Rect(20, 20, 5, 5), clipped, srcF));
    EXPECT_FALSE(Tandry::ClipStretchRects(Rect(0, 0, 0, 10), Rect(0, 0, 5, 5), Rect(0, 0, 50, 50), clipped, srcF));
    EXPECT_FALSE(Tandry::ClipStretchRects(Rect(0, 0, 10, 10), Rect(0, 0, 0, 5), Rect(0, 0, 50, 50), clipped, srcF));
    EXPECT_FALSE(
        Tandry::ClipStretchRectsMirrored(Rect(0, 0, 10, 10), Rect(0, 0, 5, -5), Rect(0, 0, 50, 50), clipped, srcF));
}

TEST_F(MemoryImageStretchTest, NearestRepeatsEachPixel)
{
    const std::vector<uint32_t> src = {Argb(1, 0, 0, 255), Argb(2, 0, 0, 255), Argb(3, 0, 0, 255),
                                       Argb(4, 0, 0, 255)};
    auto source = Image(2, 2, src);
    auto target = Filled(4, 4, 0);
    target->StretchBlt(source.get(), Rect(0, 0, 4, 4), Rect(0, 0, 2, 2), Rect(0, 0, 4, 4), Color::White, 0, true);
    EXPECT_TRUE(source->mDrawn);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const uint32_t s = src[static_cast<size_t>((y / 2) * 2 + x / 2)];
            // The white path onto transparent black: 255 stays 255 in alpha,
            // each channel scaled by 255/256.
            EXPECT_EQ(At(*target, x, y), (s & 0xFF000000) | (((s >> 16 & 255) * 255 / 256) << 16)) << x << "," << y;
        }
    }
}

TEST_F(MemoryImageStretchTest, NearestDrawsOnlyWithWhite)
{
    auto source = Filled(2, 2, Argb(1, 2, 3, 255));
    for (const Color& color : {Color(255, 255, 255, 128), Color(255, 0, 255, 255)}) {
        auto target = Filled(4, 4, Argb(9, 9, 9, 9));
        const int changes = target->mChangeCount;
        target->StretchBlt(source.get(), Rect(0, 0, 4, 4), Rect(0, 0, 2, 2), Rect(0, 0, 4, 4), color, 0, true);
        EXPECT_EQ(Pixels(*target), std::vector<uint32_t>(16, Argb(9, 9, 9, 9)));
        EXPECT_EQ(target->mChangeCount, changes + 1);
    }
}

TEST_F(MemoryImageStretchTest, FilteredDoublingSamplesAThirdApart)
{
    auto source = Image(2, 1, {Argb(255, 0, 0, 255), Argb(0, 0, 255, 255)});
    auto target = Filled(4, 1, Argb(0, 0, 0, 255));
    // The colour is not used by the filtered path.
    target->StretchBlt(source.get(), Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), Rect(0, 0, 4, 1), Color(1, 2, 3, 4), 1,
                       false);
    EXPECT_EQ(Pixels(*target), (std::vector<uint32_t>{Argb(254, 0, 0, 255), Argb(169, 0, 84, 255),
                                                      Argb(83, 0, 170, 255), Argb(0, 0, 254, 255)}));
}

TEST_F(MemoryImageStretchTest, FilteredHalvingAveragesColourWithoutAlphaWeights)
{
    const uint32_t white = Argb(255, 255, 255, 255);
    auto opaqueFirst = Image(4, 1, {white, white, 0, 0});
    auto target = Filled(2, 1, Argb(0, 0, 0, 255));
    target->StretchBlt(opaqueFirst.get(), Rect(0, 0, 2, 1), Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), Color::White, 0,
                       false);
    EXPECT_EQ(Pixels(*target), (std::vector<uint32_t>{Argb(254, 254, 254, 255), Argb(0, 0, 0, 255)}));

    auto alternating = Image(4, 1, {white, 0, white, 0});
    auto grey = Filled(2, 1, Argb(0, 0, 0, 255));
    grey->StretchBlt(alternating.get(), Rect(0, 0, 2, 1), Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), Color::White, 0,
                     false);
    EXPECT_EQ(Pixels(*grey), (std::vector<uint32_t>(2, Argb(63, 63, 63, 255))));
}

TEST_F(MemoryImageStretchTest, OnlyMemoryImagesAreStretched)
{
    Tandry::Image plain;
    plain.mWidth = 2;
    plain.mHeight = 2;
    for (bool fast : {true, false}) {
        auto target = Filled(4, 4, Argb(9, 9, 9, 9));
        const int changes = target->mChangeCount;
        target->StretchBlt(&plain, Rect(0, 0, 4, 4), Rect(0, 0, 2, 2), Rect(0, 0, 4, 4), Color::White, 0, fast);
        EXPECT_TRUE(plain.mDrawn);
        EXPECT_EQ(Pixels(*target), std::vector<uint32_t>(16, Argb(9, 9, 9, 9)));
        // The nearest path still marks the destination changed.
        EXPECT_EQ(target->mChangeCount, changes + (fast ? 1 : 0));
    }
}

// Random rectangles, clipped, on both paths and both source forms. The source
// rectangle lies inside the source, as the drawing context guarantees.
TEST_F(MemoryImageStretchTest, RandomStretchesAgreeWithTheReference)
{
    for (int round = 0; round < 800; ++round) {
        const int sw = Uniform(1, 24), sh = Uniform(1, 24);
        const bool palettised = Uniform(0, 1) == 1;
        const size_t count = static_cast<size_t>(sw) * sh;
        auto source = Image(sw, sh, palettised ? RandomFewColours(count) : RandomPixels(count));
        if (palettised) {
            ASSERT_TRUE(source->Palletize());
        }
        const int dw = Uniform(1, 40), dh = Uniform(1, 40);
        auto target = Image(dw, dh, RandomPixels(static_cast<size_t>(dw) * dh));

        const int w = Uniform(1, sw), h = Uniform(1, sh);
        const Rect srcRect(Uniform(0, sw - w), Uniform(0, sh - h), w, h);
        const Rect destRect(Uniform(-10, dw), Uniform(-10, dh), Uniform(1, 60), Uniform(1, 60));
        const int cx = Uniform(0, dw - 1), cy = Uniform(0, dh - 1);
        const Rect clip(cx, cy, Uniform(0, dw - cx), Uniform(0, dh - cy));
        const bool fast = Uniform(0, 1) == 1;
        const Color color = Uniform(0, 1) == 1 ? Color::White : RandomColor();

        PixelReference::Picture expected = Picture(*target);
        Rect clipped;
        DoubleRect srcF;
        if (Tandry::ClipStretchRects(destRect, srcRect, clip, clipped, srcF)) {
            const PixelReference::Source src = SourceOf(*source);
            if (fast)
                PixelReference::StretchBltFast(expected, src, clipped, srcF, color);
            else
                PixelReference::StretchBltFiltered(expected, src, clipped, srcF);
        }
        target->StretchBlt(source.get(), destRect, srcRect, clip, color, 0, fast);
        ASSERT_EQ(Pixels(*target), expected.px) << "round " << round << (fast ? " nearest" : " filtered");
    }
}

// Reductions both ways take the column sums first and then reduce each output
// row across: any ratio (whole, odd, a pixel to many), either source form,
// clipped or not, the reference's pixels.
TEST_F(MemoryImageStretchTest, FilteredReductionsBothWaysAgreeWithTheReference)
{
    for (int round = 0; round < 300; ++round) {
        const int sw = Uniform(1, 90), sh = Uniform(1, 60);
        const bool palettised = Uniform(0, 2) == 0;
        const size_t count = static_cast<size_t>(sw) * sh;
        auto source = Image(sw, sh, palettised ? RandomFewColours(count) : RandomPixels(count));
        if (palettised) {
            ASSERT_TRUE(source->Palletize());
        }
        const int w = Uniform(1, sw), h = Uniform(1, sh);
        const Rect srcRect(Uniform(0, sw - w), Uniform(0, sh - h), w, h);
        const int ratio = Uniform(0, 2);
        const int outW = ratio == 0 ? std::max(1, w / 2) : Uniform(1, w);
        const int outH = ratio == 0 ? std::max(1, h / 2) : Uniform(1, h);
        const int dw = outW + Uniform(0, 6), dh = outH + Uniform(0, 6);
        auto target = Image(dw, dh, RandomPixels(static_cast<size_t>(dw) * dh));
        const Rect destRect(Uniform(-3, dw - outW), Uniform(-3, dh - outH), outW, outH);
        const Rect clip = Uniform(0, 2) == 0 ? Rect(1, 1, dw - 1, dh - 1) : Rect(0, 0, dw, dh);

        PixelReference::Picture expected = Picture(*target);
        Rect clipped;
        DoubleRect srcF;
        if (Tandry::ClipStretchRects(destRect, srcRect, clip, clipped, srcF))
            PixelReference::StretchBltFiltered(expected, SourceOf(*source), clipped, srcF);
        target->StretchBlt(source.get(), destRect, srcRect, clip, Color::White, 0, false);
        ASSERT_EQ(Pixels(*target), expected.px) << "round " << round << " " << w << "x" << h << " to " << outW << "x"
                                                << outH;
    }
}

// An unstretched nearest blit goes eight pixels at a time, with a padded copy
// for the last few. Every source alpha meets every destination alpha (groups
// of eight mix alpha 0, partial and 255 below, and rows of opaque pixels take
// the opaque shortcut), on ARGB and palettised sources.
TEST_F(MemoryImageStretchTest, UnstretchedNearestFollowsTheRuleForEveryAlphaPair)
{
    const int n = 256;
    std::vector<uint32_t> src(static_cast<size_t>(n) * n), mixed(src.size()), opaque(src.size());
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const auto v = [&](int k) { return static_cast<uint32_t>((x * k + y * 29) & 255); };
            const size_t i = static_cast<size_t>(y) * n + x;
            src[i] = Argb(v(3), v(7), v(11), static_cast<uint32_t>(y));
            mixed[i] = Argb(v(5), v(13), v(1), static_cast<uint32_t>(x));
            opaque[i] = Argb(v(5), v(13), v(1), 255);
        }
    }
    const Rect all(0, 0, n, n);
    for (const auto* below : {&mixed, &opaque}) {
        auto source = Image(n, n, src);
        auto target = Image(n, n, *below);
        EXPECT_TRUE(NearestFollowsTheRule(*source, *target, all, all, all));
    }
    // A palettised source: 16 colours, one of them transparent.
    std::vector<uint32_t> few(src.size());
    for (size_t i = 0; i < few.size(); ++i)
        few[i] = i % 16 == 5 ? 0u : src[(i * 37) % 16 * 4099];
    auto palettised = Image(n, n, few);
    ASSERT_TRUE(palettised->Palletize());
    auto target = Image(n, n, mixed);
    EXPECT_TRUE(NearestFollowsTheRule(*palettised, *target, all, all, all));
}

// Every source channel against every destination channel, at a row of source
// alphas, over opaque and translucent destinations.
TEST_F(MemoryImageStretchTest, UnstretchedNearestFollowsTheRuleForEveryChannelPair)
{
    const int w = 256;
    const uint32_t alphas[] = {0, 1, 64, 127, 128, 200, 254, 255};
    const int h = 8;
    std::vector<uint32_t> src(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t v = static_cast<uint32_t>(x);
            src[static_cast<size_t>(y) * w + x] = Argb(v, 255 - v, v ^ 0xA5, alphas[y]);
        }
    }
    const Rect all(0, 0, w, h);
    auto source = Image(w, h, src);
    for (uint32_t d = 0; d < 256; ++d) {
        for (uint32_t belowAlpha : {255u, 90u}) {
            auto target = Filled(w, h, Argb(d, d ^ 0x3C, 255 - d, belowAlpha));
            ASSERT_TRUE(NearestFollowsTheRule(*source, *target, all, all, all))
                << "channel " << d << " alpha " << belowAlpha;
        }
    }
}

// Widths 1 to 40 from every start within a group of eight, on both sides,
// drawn whole and cut by the clip on each edge; a stretch by one pixel more on
// either axis keeps the general path, and must agree as well.
TEST_F(MemoryImageStretchTest, UnstretchedNearestOfEveryWidthAndStartFollowsTheRule)
{
    const int sw = 50, sh = 6;
    const size_t targetSize = size_t{64} * 9;
    for (int width = 1; width <= 40; ++width) {
        for (int start = 0; start < 8; ++start) {
            const bool palettised = start % 3 == 0;
            const size_t count = static_cast<size_t>(sw) * sh;
            auto source = Image(sw, sh, palettised ? RandomFewColours(count) : RandomPixels(count));
            if (palettised) {
                ASSERT_TRUE(source->Palletize());
            }
            const Rect srcRect(start, 1, width, 4);
            const Rect destRect(7 - start, 2, width, 4);
            const Rect clips[] = {Rect(0, 0, 64, 9), Rect(8 - start, 0, 64, 9), Rect(0, 3, 64, 2),
                                  Rect(0, 0, 6 + width - start, 9)};
            for (const Rect& clip : clips) {
                auto target = Image(64, 9, RandomPixels(targetSize));
                ASSERT_TRUE(NearestFollowsTheRule(*source, *target, destRect, srcRect, clip))
                    << "width " << width << " start " << start << " clip " << clip.x << "," << clip.y << " "
                    << clip.width << "x" << clip.height;
            }
            for (const Rect& near : {Rect(start, 1, width, 5), Rect(start, 1, width + 1, 4)}) {
                auto target = Image(64, 9, RandomPixels(targetSize));
                ASSERT_TRUE(NearestFollowsTheRule(*source, *target, destRect, near, Rect(0, 0, 64, 9)))
                    << "width " << width << " start " << start << " near 1:1";
            }
        }
    }
}

// A rectangle drawn at its own size whose source part reaches past an edge of
// the source takes each position clamped to the source, as stretched ones
// do: the model reads it from the source with its edge pixels repeated.
TEST_F(MemoryImageStretchTest, SameSizeRectanglesPastTheSourceEdgeReadTheEdge)
{
    const int sw = 12, sh = 7, pad = 6;
    const std::vector<uint32_t> pixels = RandomPixels(static_cast<size_t>(sw) * sh);
    PixelReference::Source extended;
    extended.picture = {sw + 2 * pad, sh + 2 * pad, {}};
    for (int y = 0; y < sh + 2 * pad; ++y)
        for (int x = 0; x < sw + 2 * pad; ++x)
            extended.picture.px.push_back(
                pixels[static_cast<size_t>(std::clamp(y - pad, 0, sh - 1)) * sw + std::clamp(x - pad, 0, sw - 1)]);
    const Rect srcRects[] = {Rect(-3, 1, 9, 4), Rect(1, -2, 9, 4), Rect(sw - 5, 1, 9, 4), Rect(1, sh - 2, 9, 4),
                             Rect(-1, -1, sw + 2, sh + 2)};
    for (const Rect& srcRect : srcRects) {
        for (const Rect& clip : {Rect(0, 0, 40, 20), Rect(6, 3, 5, 2)}) {
            auto source = Image(sw, sh, pixels);
            auto target = Image(40, 20, RandomPixels(40 * 20));
            PixelReference::Picture expected = Picture(*target);
            const Rect destRect(4, 2, srcRect.width, srcRect.height);
            Rect clipped;
            DoubleRect srcF;
            ASSERT_TRUE(Tandry::ClipStretchRects(destRect, srcRect, clip, clipped, srcF));
            srcF.x += pad;
            srcF.y += pad;
            PixelReference::StretchBltFast(expected, extended, clipped, srcF, Color::White);
            target->StretchBlt(source.get(), destRect, srcRect, clip, Color::White, 0, true);
            EXPECT_EQ(Pixels(*target), expected.px)
                << "source " << srcRect.x << "," << srcRect.y << " clip " << clip.x << "," << clip.y;
        }
    }
}

// At its own size as stretched: a colour other than white or a source that
// is no memory image draws nothing but marks the image changed, and a
// rectangle the clip misses leaves it unmarked.
TEST_F(MemoryImageStretchTest, SameSizeRectanglesThatDrawNothing)
{
    auto source = Filled(4, 4, Argb(1, 2, 3, 255));
    Tandry::Image plain;
    plain.mWidth = 4;
    plain.mHeight = 4;
    struct Case {
        Tandry::Image* src;
        Color color;
        Rect clip;
        int marks;
    };
    const Case cases[] = {
        {source.get(), Color(255, 255, 255, 128), Rect(0, 0, 8, 8), 1},
        {source.get(), Color(255, 0, 255, 255), Rect(0, 0, 8, 8), 1},
        {&plain, Color::White, Rect(0, 0, 8, 8), 1},
        {source.get(), Color::White, Rect(6, 6, 2, 2), 0},
        {source.get(), Color::White, Rect(1, 1, 0, 3), 0},
    };
    for (const Case& c : cases) {
        auto target = Filled(8, 8, Argb(9, 9, 9, 9));
        const int changes = target->mChangeCount;
        target->StretchBlt(c.src, Rect(1, 1, 4, 4), Rect(0, 0, 4, 4), c.clip, c.color, 0, true);
        EXPECT_TRUE(c.src->mDrawn);
        EXPECT_EQ(Pixels(*target), std::vector<uint32_t>(64, Argb(9, 9, 9, 9)));
        EXPECT_EQ(target->mChangeCount, changes + c.marks) << "case " << (&c - cases);
    }
}

// The column sums are 16 bits wide and the reduction across saturates at the
// end: sources of full and empty channels drive every sum to its largest and
// smallest, and both shares of a column may land in one cell at odd ratios.
TEST_F(MemoryImageStretchTest, FilteredReductionsOfFullAndEmptyChannelsAgreeWithTheReference)
{
    const uint32_t extremes[] = {0xFFFFFFFFu, 0x00000000u, 0xFF000000u, 0x00FFFFFFu, 0xFF00FF00u};
    for (int round = 0; round < 200; ++round) {
        const int sw = Uniform(1, 70), sh = Uniform(1, 50);
        std::vector<uint32_t> words(static_cast<size_t>(sw) * sh);
        const bool solid = Uniform(0, 1) == 0;
        for (uint32_t& word : words)
            word = solid ? extremes[0] : extremes[Uniform(0, 4)];
        auto source = Image(sw, sh, words);
        const int outW = Uniform(1, sw), outH = Uniform(1, sh);
        auto target = Image(outW, outH, RandomPixels(static_cast<size_t>(outW) * outH));
        ASSERT_TRUE(WholeReductionMatchesTheReference(*source, *target))
            << "round " << round << " " << sw << "x" << sh << " to " << outW << "x" << outH;
    }
}

// Sources with wholly transparent patches (colour kept, alpha 0) beside
// random or faint ones, reduced wide enough that whole groups of eight results come
// out transparent next to groups that draw: those groups must leave the
// destination exactly as it was, and their neighbours drawn, on either
// source form.
TEST_F(MemoryImageStretchTest, ReductionsOfPartlyTransparentSourcesAgreeWithTheReference)
{
    for (int round = 0; round < 120; ++round) {
        const int sw = Uniform(24, 160), sh = Uniform(2, 40);
        const int patch = Uniform(1, 24);
        const bool palettised = Uniform(0, 3) == 0;
        const std::vector<uint32_t> colours = palettised ? RandomFewColours(static_cast<size_t>(sw) * sh)
                                                         : RandomPixels(static_cast<size_t>(sw) * sh);
        // Some rounds draw faintly, so that groups of results are nearly
        // but not wholly transparent.
        const uint32_t faint = Uniform(0, 1) == 0 ? static_cast<uint32_t>(Uniform(1, 40)) << 24 : 0;
        std::vector<uint32_t> words(colours.size());
        for (int y = 0; y < sh; ++y) {
            for (int x = 0; x < sw; ++x) {
                const size_t i = static_cast<size_t>(y) * sw + x;
                // Patches of columns alternate between clear and drawn.
                const uint32_t rgb = colours[i] & 0x00FFFFFFu;
                words[i] = (x / patch) % 2 == 0 ? rgb : faint != 0 ? rgb | faint : colours[i];
            }
        }
        auto source = Image(sw, sh, words);
        if (palettised) {
            ASSERT_TRUE(source->Palletize());
        }
        const int outW = Uniform(std::max(1, sw / 4), sw), outH = Uniform(1, sh);
        auto target = Image(outW, outH, RandomPixels(static_cast<size_t>(outW) * outH));
        ASSERT_TRUE(WholeReductionMatchesTheReference(*source, *target))
            << "round " << round << " " << sw << "x" << sh << " to " << outW << "x" << outH << " patches of " << patch;
    }
}

} // namespace

namespace {

// Enlargements whose clipped source is less than a pixel wide or tall, so the
// samples step backwards and reach past the first or last column or row,
// where both neighbours are the edge pixel; wide targets run whole groups of
// eight pixels and a tail. Either source form, the reference's pixels.
TEST_F(MemoryImageStretchTest, EnlargementsOfSliversPastTheEdgesAgreeWithTheReference)
{
    struct Case {
        int sourceWidth, sourceHeight;
        Rect srcRect;
        Rect destRect;
        Rect clip;
    };
    const Case cases[] = {
        {1, 1, Rect(0, 0, 1, 1), Rect(0, 0, 40, 30), Rect(0, 0, 9, 7)},
        {1, 1, Rect(0, 0, 1, 1), Rect(0, 0, 40, 30), Rect(31, 23, 9, 7)},
        {3, 2, Rect(0, 0, 3, 2), Rect(-5, -3, 90, 40), Rect(0, 0, 37, 3)},
        {3, 2, Rect(2, 1, 1, 1), Rect(0, 0, 64, 48), Rect(40, 2, 24, 46)},
        {5, 4, Rect(0, 0, 5, 4), Rect(0, 0, 123, 17), Rect(0, 0, 123, 17)},
        {17, 3, Rect(1, 0, 15, 3), Rect(3, 1, 100, 9), Rect(0, 0, 70, 11)},
    };
    for (const Case& c : cases) {
        for (const bool palettised : {false, true}) {
            const size_t count = static_cast<size_t>(c.sourceWidth) * c.sourceHeight;
            auto source =
                Image(c.sourceWidth, c.sourceHeight, palettised ? RandomFewColours(count) : RandomPixels(count));
            if (palettised) {
                ASSERT_TRUE(source->Palletize());
            }
            const int dw = c.clip.x + c.clip.width + 2, dh = c.clip.y + c.clip.height + 2;
            auto target = Image(dw, dh, RandomPixels(static_cast<size_t>(dw) * dh));

            PixelReference::Picture expected = Picture(*target);
            Rect clipped;
            DoubleRect srcF;
            if (Tandry::ClipStretchRects(c.destRect, c.srcRect, c.clip, clipped, srcF))
                PixelReference::StretchBltFiltered(expected, SourceOf(*source), clipped, srcF);
            target->StretchBlt(source.get(), c.destRect, c.srcRect, c.clip, Color::White, 0, false);
            EXPECT_EQ(Pixels(*target), expected.px)
                << c.sourceWidth << "x" << c.sourceHeight << " clip " << c.clip.x << "," << c.clip.y
                << (palettised ? " palettised" : "");
        }
    }
}

} // namespace
