#include "graphics/context/Graphics.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "graphics/context/RecordingImage.h"
#include "graphics/types/Transform.h"

namespace Tandry {
namespace {

class GraphicsImages : public ::testing::Test {
protected:
    GraphicsImages() : mGraphics(&mDest) { mGraphics.SetClipRect(0, 0, 100, 100); }

    RecordingImage mDest{640, 480};
    RecordingImage mImage{10, 10};
    Graphics mGraphics;
};

// A plain blit as the tests expect it: position and source rectangle.
struct Placed {
    int x, y;
    Rect src;
};

void ExpectBlits(const RecordingImage& dest, Slot slot, const std::vector<Placed>& expected)
{
    ASSERT_EQ(dest.calls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(dest.calls[i].slot, slot);
        EXPECT_EQ(dest.calls[i].x, expected[i].x);
        EXPECT_EQ(dest.calls[i].y, expected[i].y);
        EXPECT_EQ(dest.calls[i].srcRect, expected[i].src);
    }
}

TEST_F(GraphicsImages, DrawImageClipsBeforeTheBlit)
{
    const struct {
        float transX;
        int x, y;
        std::vector<Placed> expected;
    } cases[] = {
        {0.0f, -3, 4, {{0, 4, {3, 0, 7, 10}}}},
        {0.0f, 95, 95, {{95, 95, {0, 0, 5, 5}}}},
        {0.0f, 100, 0, {}},
        {0.0f, -10, 0, {}},
        // Truncation toward zero: -0.5 + 0 lands at 0, not -1.
        {-0.5f, 0, 0, {{0, 0, {0, 0, 10, 10}}}},
        {20.7f, 3, 0, {{23, 0, {0, 0, 10, 10}}}},
    };
    for (const auto& c : cases) {
        mDest.calls.clear();
        mGraphics.mTransX = c.transX;
        mGraphics.DrawImage(&mImage, c.x, c.y);
        ExpectBlits(mDest, Slot::Blt, c.expected);
        for (const SlotCall& call : mDest.calls)
            EXPECT_EQ(call.src, &mImage);
    }
}

TEST_F(GraphicsImages, DrawImagePartKeepsTheSourceOffset)
{
    mGraphics.DrawImagePart(&mImage, -1, -2, Rect(2, 3, 5, 5));
    ExpectBlits(mDest, Slot::Blt, {{0, 0, {3, 5, 4, 3}}});
}

TEST_F(GraphicsImages, ScaledDrawingStretchesAboutTheOrigin)
{
    const struct {
        float scale, originX, originY;
        int x, y;
        Rect expected;
    } cases[] = {
        {2.0f, 0.0f, 0.0f, 3, 3, {6, 6, 20, 20}},
        {1.5f, 10.0f, 10.0f, 0, 0, {-5, -5, 15, 15}},
        // The width rounds up, the position down.
        {0.35f, 0.0f, 0.0f, 5, 5, {1, 1, 4, 4}},
    };
    for (const auto& c : cases) {
        mDest.calls.clear();
        mGraphics.SetScale(c.scale, c.scale, c.originX, c.originY);
        mGraphics.SetFastStretch(true);
        mGraphics.DrawImage(&mImage, c.x, c.y);
        ASSERT_EQ(mDest.calls.size(), 1u);
        const SlotCall& call = mDest.calls[0];
        EXPECT_EQ(call.slot, Slot::StretchBlt);
        EXPECT_EQ(call.rect, c.expected);
        EXPECT_EQ(call.srcRect, Rect(0, 0, 10, 10));
        EXPECT_EQ(call.clip, Rect(0, 0, 100, 100));
        EXPECT_TRUE(call.flag);
    }
    // Only one axis scaled is scaled drawing too.
    mDest.calls.clear();
    mGraphics.SetScale(1.0f, 2.0f, 0.0f, 0.0f);
    mGraphics.DrawImagePart(&mImage, 1, 1, Rect(0, 0, 4, 4));
    ASSERT_EQ(mDest.calls.size(), 1u);
    EXPECT_EQ(mDest.calls[0].rect, Rect(1, 2, 4, 8));
}

// Every form that takes a source rectangle refuses one outside the image.
TEST_F(GraphicsImages, SourceOutsideTheImageDrawsNothing)
{
    Transform plain;
    Transform matrix;
    matrix.MakeMatrixMode();
    const std::vector<std::function<void(const Rect&)>> forms = {
        [&](const Rect& s) { mGraphics.DrawImagePart(&mImage, 5, 5, s); },
        [&](const Rect& s) {
            mGraphics.SetScale(2.0f, 2.0f, 0.0f, 0.0f);
            mGraphics.DrawImagePart(&mImage, 5, 5, s);
            mGraphics.SetScale(1.0f, 1.0f, 0.0f, 0.0f);
        },
        [&](const Rect& s) { mGraphics.DrawImagePartF(&mImage, 5.5f, 5.5f, s); },
        [&](const Rect& s) { mGraphics.DrawImageMirrorPart(&mImage, 5, 5, s); },
        [&](const Rect& s) { mGraphics.DrawImageStretched(&mImage, Rect(0, 0, 50, 50), s); },
        [&](const Rect& s) { mGraphics.DrawImageStretchedMirror(&mImage, Rect(0, 0, 50, 50), s, true); },
        [&](const Rect& s) { mGraphics.DrawImage(Rect(0, 0, 50, 50), &mImage, s); },
        [&](const Rect& s) { mGraphics.DrawImageRotated(&mImage, 5.0f, 5.0f, 1.0f, 1.0f, &s, 0.5); },
        [&](const Rect& s) { mGraphics.DrawImageTransformedPart(&mImage, plain, s, 20.0f, 20.0f, true); },
        [&](const Rect& s) { mGraphics.DrawImageTransformedPart(&mImage, matrix, s, 20.0f, 20.0f, false); },
    };
    const Rect bad[] = {
        {1, 0, 10, 10},  // one pixel past the right edge
        {0, 1, 10, 10},  // past the bottom edge
        {-1, 0, 5, 5},   // starts left of the image
        {0, -1, 5, 5},   // starts above it
        {0, 0, -1, 5},   // negative width
        {0, 0, 5, -1},   // negative height
        {2147483647, 0, 1, 1},
    };
    for (size_t form = 0; form < forms.size(); ++form) {
        SCOPED_TRACE(form);
        for (const Rect& src : bad) {
            forms[form](src);
            EXPECT_TRUE(mDest.calls.empty());
        }
        // The whole image is a good source.
        forms[form](Rect(0, 0, 10, 10));
        EXPECT_EQ(mDest.calls.size(), 1u);
        mDest.calls.clear();
    }
}

TEST_F(GraphicsImages, MirroredDrawingTakesCutColumnsFromTheOtherSide)
{
    mGraphics.DrawImageMirrorPart(&mImage, -4, 0, Rect(0, 0, 10, 10));
    mGraphics.DrawImageMirrorPart(&mImage, 95, 2, Rect(0, 0, 10, 10));
    mGraphics.DrawImageMirrorPart(&mImage, 0, -3, Rect(2, 1, 6, 8));
    mGraphics.DrawImageMirror(&mImage, 100, 0);
    mGraphics.DrawImageMirror(&mImage, 7, 8);
    ExpectBlits(mDest, Slot::BltMirror,
                {{0, 0, {0, 0, 6, 10}}, {95, 2, {5, 0, 5, 10}}, {0, 0, {2, 4, 6, 5}}, {7, 8, {0, 0, 10, 10}}});
}

TEST_F(GraphicsImages, FloatStretchedAndRotatedFormsPassTheClip)
{
    mGraphics.mTransX = 0.25f;
    mGraphics.mTransY = 3.0f;
    mGraphics.SetColorizeImages(true);
    mGraphics.SetColor(Color(1, 2, 3, 4));
    mGraphics.SetDrawMode(DRAWMODE_ADDITIVE);
    mGraphics.DrawImageF(&mImage, 1.5f, 2.0f);
    mGraphics.DrawImageStretchedMirror(&mImage, Rect(7, 8, 30, 40), Rect(1, 2, 3, 4), false);
    mGraphics.DrawImageStretchedMirror(&mImage, Rect(7, 8, 30, 40), Rect(1, 2, 3, 4), true);
    mGraphics.DrawImageStretched(&mImage, 50, 60);
    mGraphics.DrawImageRotated(&mImage, 4.0f, 5.0f, 6.0f, 7.0f, nullptr, 1.25);
    const Rect part(2, 2, 3, 3);
    mGraphics.DrawImageRotated(&mImage, 4.0f, 5.0f, 6.0f, 7.0f, &part, -0.5);

    ASSERT_EQ(mDest.calls.size(), 6u);
    for (const SlotCall& call : mDest.calls) {
        SCOPED_TRACE(call.slot);
        EXPECT_EQ(call.src, &mImage);
        EXPECT_EQ(call.clip, Rect(0, 0, 100, 100));
        EXPECT_EQ(call.color, Color(1, 2, 3, 4));
        EXPECT_EQ(call.drawMode, DRAWMODE_ADDITIVE);
    }
    EXPECT_EQ(mDest.calls[0].slot, Slot::BltF);
    EXPECT_EQ(mDest.calls[0].fx, 1.75f);
    EXPECT_EQ(mDest.calls[0].fy, 5.0f);
    EXPECT_EQ(mDest.calls[0].srcRect, Rect(0, 0, 10, 10));

    EXPECT_EQ(mDest.calls[1].slot, Slot::StretchBlt);
    EXPECT_EQ(mDest.calls[1].rect, Rect(7, 11, 30, 40));
    EXPECT_EQ(mDest.calls[1].srcRect, Rect(1, 2, 3, 4));
    EXPECT_EQ(mDest.calls[2].slot, Slot::StretchBltMirror);
    EXPECT_EQ(mDest.calls[2].rect, Rect(7, 11, 30, 40));
    EXPECT_EQ(mDest.calls[3].slot, Slot::StretchBlt);
    EXPECT_EQ(mDest.calls[3].rect, Rect(0, 3, 50, 60));
    EXPECT_EQ(mDest.calls[3].srcRect, Rect(0, 0, 10, 10));

    EXPECT_EQ(mDest.calls[4].slot, Slot::BltRotated);
    EXPECT_EQ(mDest.calls[4].fx, 4.25f);
    EXPECT_EQ(mDest.calls[4].fy, 8.0f);
    EXPECT_EQ(mDest.calls[4].srcRect, Rect(0, 0, 10, 10));
    EXPECT_EQ(mDest.calls[4].angle, 1.25);
    EXPECT_EQ(mDest.calls[4].centerX, 6.0f);
    EXPECT_EQ(mDest.calls[4].centerY, 7.0f);
    EXPECT_EQ(mDest.calls[5].srcRect, part);
    EXPECT_EQ(mDest.calls[5].angle, -0.5);
}

TEST_F(GraphicsImages, ColourAndSwitchesReachTheSlots)
{
    const std::vector<std::function<void()>> forms = {
        [&] { mGraphics.DrawImage(&mImage, 1, 1); },
        [&] { mGraphics.DrawImagePartF(&mImage, 1.0f, 1.0f, Rect(0, 0, 2, 2)); },
        [&] { mGraphics.DrawImageMirror(&mImage, 1, 1); },
        [&] { mGraphics.DrawImageStretched(&mImage, 20, 20); },
        [&] { mGraphics.DrawImageRotated(&mImage, 1.0f, 1.0f, 0.0f, 0.0f, nullptr, 0.1); },
        [&] { mGraphics.DrawTriangleTex(&mImage, TriVertex(), TriVertex(), TriVertex()); },
    };
    const Color tint(40, 50, 60, 70);
    for (const bool colorize : {false, true}) {
        for (const bool switches : {false, true}) {
            mGraphics.SetColor(tint);
            mGraphics.SetColorizeImages(colorize);
            mGraphics.SetDrawMode(switches ? DRAWMODE_ADDITIVE : DRAWMODE_NORMAL);
            mGraphics.SetFastStretch(switches);
            mGraphics.SetLinearBlend(switches);
            for (const auto& form : forms)
                form();
            ASSERT_EQ(mDest.calls.size(), forms.size());
            for (const SlotCall& call : mDest.calls) {
                SCOPED_TRACE(call.slot);
                EXPECT_EQ(call.color, colorize ? tint : Color::White);
                EXPECT_EQ(call.drawMode, switches ? DRAWMODE_ADDITIVE : DRAWMODE_NORMAL);
                if (call.slot == Slot::StretchBlt || call.slot == Slot::BltTrianglesTex) {
                    EXPECT_EQ(call.flag, switches);
                }
            }
            mDest.calls.clear();
        }
    }
}

TEST_F(GraphicsImages, TrianglesTravelUntranslatedWithTheTranslation)
{
    mGraphics.mTransX = 12.5f;
    mGraphics.mTransY = -3.0f;
    TriVertex a, b, c;
    a.x = 1.0f;
    a.u = 0.5f;
    b.y = 2.0f;
    b.color = 0xFF00FF00u;
    c.x = 3.0f;
    c.v = 1.0f;
    mGraphics.DrawTriangleTex(&mImage, a, b, c);
    const TriVertex list[2][3] = {{a, b, c}, {c, b, a}};
    mGraphics.DrawTrianglesTex(&mImage, list, 2);

    ASSERT_EQ(mDest.calls.size(), 2u);
    for (const SlotCall& call : mDest.calls) {
        EXPECT_EQ(call.slot, Slot::BltTrianglesTex);
        EXPECT_EQ(call.fx, 12.5f);
        EXPECT_EQ(call.fy, -3.0f);
        EXPECT_EQ(call.clip, Rect(0, 0, 100, 100));
    }
    ASSERT_EQ(mDest.calls[0].triangles.size(), 1u);
    EXPECT_EQ(mDest.calls[0].triangles[0][0].x, 1.0f);
    EXPECT_EQ(mDest.calls[0].triangles[0][0].u, 0.5f);
    EXPECT_EQ(mDest.calls[0].triangles[0][1].y, 2.0f);
    EXPECT_EQ(mDest.calls[0].triangles[0][1].color, 0xFF00FF00u);
    EXPECT_EQ(mDest.calls[0].triangles[0][2].v, 1.0f);
    ASSERT_EQ(mDest.calls[1].triangles.size(), 2u);
    EXPECT_EQ(mDest.calls[1].triangles[1][0].x, 3.0f);
}

// The expected tiles of a box: corners, top and bottom edges, sides, middle.
std::vector<Placed> BoxOf30x30Into95x40(int shift)
{
    std::vector<Placed> tiles = {
        {shift + 0, 0, {0, 0, 10, 10}},
        {shift + 85, 0, {20, 0, 10, 10}},
        {shift + 0, 30, {0, 20, 10, 10}},
        {shift + 85, 30, {20, 20, 10, 10}},
    };
    // The last column of the edges and middle is cut at x = 85.
    const auto width = [](int k) { return k == 7 ? 5 : 10; };
    for (int k = 0; k < 8; ++k) {
        tiles.push_back({shift + 10 + 10 * k, 0, {10, 0, width(k), 10}});
        tiles.push_back({shift + 10 + 10 * k, 30, {10, 20, width(k), 10}});
    }
    for (int k = 0; k < 2; ++k) {
        tiles.push_back({shift + 0, 10 + 10 * k, {0, 10, 10, 10}});
        tiles.push_back({shift + 85, 10 + 10 * k, {20, 10, 10, 10}});
    }
    for (int k = 0; k < 8; ++k) {
        for (int j = 0; j < 2; ++j)
            tiles.push_back({shift + 10 + 10 * k, 10 + 10 * j, {10, 10, width(k), 10}});
    }
    return tiles;
}

TEST_F(GraphicsImages, BoxTilesEdgesAndMiddleThroughClippedCopies)
{
    RecordingImage box(30, 30);
    mGraphics.SetClipRect(0, 0, 640, 480);
    mGraphics.DrawImageBox(Rect(0, 0, 95, 40), &box);
    ExpectBlits(mDest, Slot::Blt, BoxOf30x30Into95x40(0));

    // The bands of the copies are translated like everything else.
    mDest.calls.clear();
    mGraphics.Translate(50, 0);
    mGraphics.DrawImageBox(Rect(0, 0, 95, 40), &box);
    ExpectBlits(mDest, Slot::Blt, BoxOf30x30Into95x40(50));
    // The context itself is unchanged.
    EXPECT_EQ(mGraphics.mClipRect, Rect(0, 0, 640, 480));
}

TEST_F(GraphicsImages, BoxOfANarrowSourceTilesTwoPixelPieces)
{
    RecordingImage narrow(2, 30);
    mGraphics.DrawImageBox(Rect(0, 0, 7, 30), &narrow);
    // No corners or sides (a third of 2 is 0); top, middle and bottom rows of
    // 2-pixel tiles, the last cut to 1.
    std::vector<Placed> expected;
    const auto width = [](int k) { return k == 3 ? 1 : 2; };
    for (int k = 0; k < 4; ++k) {
        expected.push_back({2 * k, 0, {0, 0, width(k), 10}});
        expected.push_back({2 * k, 20, {0, 20, width(k), 10}});
    }
    for (int k = 0; k < 4; ++k)
        expected.push_back({2 * k, 10, {0, 10, width(k), 10}});
    ExpectBlits(mDest, Slot::Blt, expected);
}

TEST_F(GraphicsImages, BoxPartAndDegenerateBoxes)
{
    RecordingImage sheet(60, 30);
    // Only the source part is used: pieces come from x 30 onwards.
    mGraphics.DrawImageBoxPart(Rect(0, 0, 30, 30), Rect(30, 0, 30, 30), &sheet);
    ASSERT_EQ(mDest.calls.size(), 9u);
    for (const SlotCall& call : mDest.calls)
        EXPECT_GE(call.srcRect.x, 30);

    // Smaller than two corners: only the overlapping corners.
    mDest.calls.clear();
    mGraphics.DrawImageBox(Rect(20, 20, 15, 15), &sheet);
    ExpectBlits(mDest, Slot::Blt,
                {{20, 20, {0, 0, 20, 10}}, {15, 20, {40, 0, 20, 10}}, {20, 25, {0, 20, 20, 10}},
                 {15, 25, {40, 20, 20, 10}}});

    // An empty source draws nothing.
    mDest.calls.clear();
    mGraphics.DrawImageBoxPart(Rect(0, 0, 30, 30), Rect(0, 0, 0, 30), &sheet);
    mGraphics.DrawImageBoxPart(Rect(0, 0, 30, 30), Rect(0, 0, 30, -2), &sheet);
    EXPECT_TRUE(mDest.calls.empty());
}

TEST_F(GraphicsImages, NullImagesDrawNothing)
{
    Transform t;
    mGraphics.DrawImage(nullptr, 0, 0);
    mGraphics.DrawImagePart(nullptr, 0, 0, Rect());
    mGraphics.DrawImageF(nullptr, 0.0f, 0.0f);
    mGraphics.DrawImageMirror(nullptr, 0, 0);
    mGraphics.DrawImageStretched(nullptr, 5, 5);
    mGraphics.DrawImageRotated(nullptr, 0.0f, 0.0f, 0.0f, 0.0f, nullptr, 0.0);
    mGraphics.DrawTriangleTex(nullptr, TriVertex(), TriVertex(), TriVertex());
    mGraphics.DrawImageBox(Rect(0, 0, 10, 10), nullptr);
    mGraphics.DrawImageMatrix(nullptr, t);
    mGraphics.DrawImageTransformed(nullptr, t);
    EXPECT_TRUE(mDest.calls.empty());
}

} // namespace
} // namespace Tandry
