// A batch of stretching blits against the same calls made one by one through
// the destination's StretchBlt: the same pixels, the same sources marked
// drawn, the destination marked changed.
#include <cstdint>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/image/MemoryImage.h"
#include "graphics/image/MemoryImageStretchBatch.h"
#include "graphics/image/SoftwareDrawTest.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace {

using Tandry::Color;
using Tandry::MemoryImage;
using Tandry::MemoryImageStretchBatch;
using Tandry::Rect;

// A class of its own, so a batch onto it hands every call to it.
class DerivedImage : public MemoryImage {};

struct Call {
    Tandry::Image* src;
    Rect destRect;
    Rect srcRect;
};

class MemoryImageStretchBatchTest : public TandryTest::SoftwareDrawTest {
protected:
    // Draws calls onto a copy of target through a batch and onto another
    // copy one by one, and compares the results.
    void ExpectSameAsOneByOne(MemoryImage& target, const std::vector<Call>& calls, const Rect& clip,
                              const Color& color, int drawMode, bool fast, int round)
    {
        auto byBatch = Image(target.mWidth, target.mHeight, Pixels(target));
        auto oneByOne = Image(target.mWidth, target.mHeight, Pixels(target));
        // A call whose source is the destination reads its own picture.
        const auto sourceFor = [&](const Call& call, MemoryImage& dest) {
            return call.src == &target ? &dest : call.src;
        };
        for (const Call& call : calls)
            oneByOne->StretchBlt(sourceFor(call, *oneByOne), call.destRect, call.srcRect, clip, color, drawMode,
                                 fast);
        const int changes = byBatch->mChangeCount;
        MemoryImageStretchBatch batch(*byBatch, clip, color, drawMode, fast);
        for (const Call& call : calls)
            batch.StretchBlt(sourceFor(call, *byBatch), call.destRect, call.srcRect);
        batch.Flush();
        ASSERT_EQ(Pixels(*byBatch), Pixels(*oneByOne)) << "round " << round;
        if (oneByOne->mChangeCount != changes) {
            EXPECT_GT(byBatch->mChangeCount, changes) << "round " << round;
        }
    }
};

// Runs of rectangles at their own size (the glyph case) mixed with stretched
// ones, from two plain sources, a palettised one, one of a derived class and
// the destination itself; placed across the edges, clipped, in white and in
// other colours, more of them than the batch holds at once.
TEST_F(MemoryImageStretchBatchTest, RandomRunsDrawAsTheCallsOneByOne)
{
    for (int round = 0; round < 100; ++round) {
        std::vector<std::unique_ptr<MemoryImage>> sources;
        for (int i = 0; i < 2; ++i) {
            const int w = Uniform(1, 40), h = Uniform(1, 30);
            sources.push_back(Image(w, h, RandomPixels(static_cast<size_t>(w) * h)));
        }
        {
            const int w = Uniform(1, 20), h = Uniform(1, 20);
            sources.push_back(Image(w, h, RandomFewColours(static_cast<size_t>(w) * h)));
            ASSERT_TRUE(sources.back()->Palletize());
        }
        auto derived = std::make_unique<DerivedImage>();
        {
            const std::vector<uint32_t> pixels = RandomPixels(12 * 9);
            derived->SetBits(pixels.data(), 12, 9, true);
        }
        const int dw = Uniform(1, 60), dh = Uniform(1, 40);
        auto target = Image(dw, dh, RandomPixels(static_cast<size_t>(dw) * dh));

        const bool fast = Uniform(0, 3) != 0;
        std::vector<Call> calls;
        const int count = Uniform(0, 3) != 0 ? Uniform(0, 12) : Uniform(129, 160);
        for (int i = 0; i < count; ++i) {
            const int which = Uniform(0, 9);
            Tandry::Image* src = which < 6 ? sources[static_cast<size_t>(which % 2)].get()
                       : which < 8 ? sources[2].get()
                       : which < 9 ? static_cast<Tandry::Image*>(derived.get())
                                   : target.get();
            const int w = Uniform(1, src->mWidth), h = Uniform(1, src->mHeight);
            const bool sameSize = Uniform(0, 4) != 0;
            // Past the source's edge only where the nearest path clamps:
            // the drawing context keeps other source rectangles inside.
            const int past = sameSize && fast ? 2 : 0;
            const Rect srcRect(Uniform(-past, src->mWidth - w + past), Uniform(-past, src->mHeight - h + past), w,
                               h);
            const Rect destRect(Uniform(-15, dw + 2), Uniform(-15, dh + 2), sameSize ? w : Uniform(1, 50),
                                sameSize ? h : Uniform(1, 50));
            calls.push_back({src, destRect, srcRect});
        }
        // Inside the destination, as the drawing context keeps it.
        const int cx = Uniform(0, dw - 1), cy = Uniform(0, dh - 1);
        const Rect clip = Uniform(0, 2) == 0 ? Rect(0, 0, dw, dh)
                                             : Rect(cx, cy, Uniform(0, dw - cx), Uniform(0, dh - cy));
        const Color color = Uniform(0, 2) != 0 ? Color::White : RandomColor();
        ExpectSameAsOneByOne(*target, calls, clip, color, Uniform(0, 1), fast, round);
    }
}

// Glyphs of one page that overlap: the later blends over the earlier, as
// when each was drawn on its own.
TEST_F(MemoryImageStretchBatchTest, OverlappingRectanglesBlendInCallOrder)
{
    auto page = Image(16, 8, RandomPixels(16 * 8));
    auto target = Filled(20, 10, TandryTest::Argb(10, 20, 30, 128));
    std::vector<Call> calls;
    for (int i = 0; i < 6; ++i)
        calls.push_back({page.get(), Rect(i * 2, 1, 8, 8), Rect(i, 0, 8, 8)});
    ExpectSameAsOneByOne(*target, calls, Rect(0, 0, 20, 10), Color::White, 0, true, 0);
}

// Every source a call reaches is marked drawn, also when clipping leaves
// nothing of it; the destination is marked changed when something is drawn.
TEST_F(MemoryImageStretchBatchTest, MarksSourcesDrawnAndTheDestinationChanged)
{
    auto page = Filled(8, 8, 0xFFFFFFFFu);
    auto other = Filled(8, 8, 0xFFFFFFFFu);
    auto target = Filled(10, 10, 0u);
    const int changes = target->mChangeCount;
    MemoryImageStretchBatch batch(*target, Rect(0, 0, 10, 10), Color::White, 0, true);
    batch.StretchBlt(other.get(), Rect(20, 20, 4, 4), Rect(0, 0, 4, 4));
    EXPECT_TRUE(other->mDrawn);
    batch.StretchBlt(page.get(), Rect(1, 1, 4, 4), Rect(0, 0, 4, 4));
    EXPECT_TRUE(page->mDrawn);
    batch.Flush();
    EXPECT_GT(target->mChangeCount, changes);
    EXPECT_NE(At(*target, 1, 1), 0u);
    EXPECT_EQ(At(*target, 0, 0), 0u);
}

// Onto an image of a derived class each call goes to the image itself, in
// order, when it is made.
TEST_F(MemoryImageStretchBatchTest, AnotherImageClassGetsEveryCallAtOnce)
{
    auto page = Image(8, 8, RandomPixels(64));
    DerivedImage target;
    target.Create(10, 10);
    auto expected = Filled(10, 10, 0u);
    MemoryImageStretchBatch batch(target, Rect(0, 0, 10, 10), Color::White, 0, true);
    for (int i = 0; i < 3; ++i) {
        batch.StretchBlt(page.get(), Rect(i, i, 5, 5), Rect(i, 0, 5, 5));
        expected->StretchBlt(page.get(), Rect(i, i, 5, 5), Rect(i, 0, 5, 5), Rect(0, 0, 10, 10), Color::White, 0,
                             true);
        ASSERT_EQ(Pixels(target), Pixels(*expected)) << i;
    }
}

} // namespace
