#include "graphics/context/Graphics.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "graphics/context/RecordingImage.h"

namespace Tandry {
namespace {

class GraphicsShapes : public ::testing::Test {
protected:
    GraphicsShapes() : mGraphics(&mDest)
    {
        mGraphics.SetClipRect(0, 0, 100, 100);
        mGraphics.SetColor(mRed);
    }

    std::vector<Rect> Rects(Slot slot) const
    {
        std::vector<Rect> rects;
        for (const SlotCall& call : mDest.calls) {
            EXPECT_EQ(call.slot, slot);
            rects.push_back(call.rect);
        }
        return rects;
    }

    // A software fill is offered to PolyFill3D, then ends with one FillScanLines.
    std::vector<Span> Spans() const
    {
        EXPECT_EQ(mDest.calls.size(), 2u);
        if (mDest.calls.size() != 2u)
            return {};
        EXPECT_EQ(mDest.calls[0].slot, Slot::PolyFill3D);
        EXPECT_EQ(mDest.calls[1].slot, Slot::FillScanLines);
        return mDest.calls[1].spans;
    }

    const Color mRed{255, 0, 0, 255};
    RecordingImage mDest{640, 480};
    Graphics mGraphics;
};

TEST_F(GraphicsShapes, FillRectTranslatesAndClips)
{
    mGraphics.mTransX = 2.9f;
    mGraphics.mTransY = -0.9f;
    mGraphics.SetDrawMode(DRAWMODE_ADDITIVE);
    mGraphics.FillRect(10, 20, 30, 40);
    mGraphics.FillRect(Rect(90, 90, 30, 40));
    // Outside the clip the slot still gets the all-zero rectangle.
    mGraphics.FillRect(200, 0, 10, 10);
    EXPECT_EQ(Rects(Slot::FillRect), (std::vector<Rect>{{12, 19, 30, 40}, {92, 89, 8, 11}, {0, 0, 0, 0}}));
    for (const SlotCall& call : mDest.calls) {
        EXPECT_EQ(call.color, mRed);
        EXPECT_EQ(call.drawMode, DRAWMODE_ADDITIVE);
    }
}

TEST_F(GraphicsShapes, TransparentColourFillsAndOutlinesNothing)
{
    for (const int mode : {DRAWMODE_NORMAL, DRAWMODE_ADDITIVE}) {
        mGraphics.SetDrawMode(mode);
        mGraphics.SetColor(Color(255, 255, 255, 0));
        mGraphics.FillRect(0, 0, 10, 10);
        mGraphics.DrawRect(0, 0, 10, 10);
        mGraphics.DrawRect(-5, -5, 10, 10);
    }
    EXPECT_TRUE(mDest.calls.empty());
    // Lines have no alpha test.
    mGraphics.DrawLine(0, 0, 5, 5);
    EXPECT_EQ(mDest.calls.size(), 1u);
}

TEST_F(GraphicsShapes, ClearRectIgnoresColourAndMode)
{
    mGraphics.SetColor(Color(0, 0, 0, 0));
    mGraphics.mTransX = 5.0f;
    mGraphics.ClearRect(-10, 0, 20, 20);
    mGraphics.ClearRect(Rect(1, 2, 3, 4));
    EXPECT_EQ(Rects(Slot::ClearRect), (std::vector<Rect>{{0, 0, 15, 20}, {6, 2, 3, 4}}));
}

TEST_F(GraphicsShapes, DrawRectInsideTheClipIsOneOutline)
{
    mGraphics.DrawRect(2, 3, 4, 5);
    mGraphics.DrawRect(Rect(95, 95, 4, 4));
    EXPECT_EQ(Rects(Slot::DrawRect), (std::vector<Rect>{{2, 3, 4, 5}, {95, 95, 4, 4}}));
}

TEST_F(GraphicsShapes, DrawRectCrossingTheClipIsFourStrips)
{
    const struct {
        Rect clip;
        Rect outline;
        std::vector<Rect> strips;
    } cases[] = {
        // The right strip at x = 6 is clipped away.
        {{0, 0, 6, 100}, {2, 3, 4, 5}, {{2, 3, 4, 1}, {2, 8, 4, 1}, {2, 4, 1, 4}, {6, 4, 0, 4}}},
        // Height 0: top and bottom share a row, the sides are empty.
        {{0, 0, 6, 100}, {2, 3, 4, 0}, {{2, 3, 4, 1}, {2, 3, 4, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
        // Strips that only touch the clip keep their place with no height or width.
        {{3, 4, 100, 100}, {2, 3, 4, 5}, {{3, 4, 4, 0}, {3, 8, 4, 1}, {3, 4, 0, 4}, {6, 4, 1, 4}}},
    };
    for (const auto& c : cases) {
        mDest.calls.clear();
        mGraphics.mClipRect = c.clip;
        mGraphics.DrawRect(c.outline);
        EXPECT_EQ(Rects(Slot::FillRect), c.strips);
    }
}

TEST_F(GraphicsShapes, LinesAreClippedOneUnitInsideTheFarEdges)
{
    using Line = std::array<double, 4>;
    const struct {
        int x1, y1, x2, y2;
        bool drawn;
        Line clipped;
    } cases[] = {
        {-10, 5, 10, 5, true, {0, 5, 10, 5}},
        // Upper end point first.
        {5, 200, 5, -50, true, {5, 0, 5, 99}},
        {10, 5, -10, 5, true, {0, 5, 10, 5}},
        {-50, -50, 150, 150, true, {0, 0, 99, 99}},
        {0, 100, 100, 0, true, {99, 1, 1, 99}},
        {20, 30, 40, 50, true, {20, 30, 40, 50}},
        // Wholly left, or touching only the column just right of the clip.
        {-20, 5, -1, 50, false, {}},
        {100, 0, 100, 50, false, {}},
        {0, 100, 50, 100, false, {}},
        {-5, -5, 5, -1, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x1 << " " << c.y1 << " " << c.x2 << " " << c.y2);
        mDest.calls.clear();
        mGraphics.DrawLine(c.x1, c.y1, c.x2, c.y2);
        if (!c.drawn) {
            EXPECT_TRUE(mDest.calls.empty());
            continue;
        }
        ASSERT_EQ(mDest.calls.size(), 1u);
        EXPECT_EQ(mDest.calls[0].slot, Slot::DrawLine);
        for (int k = 0; k < 4; ++k)
            EXPECT_DOUBLE_EQ(mDest.calls[0].line[k], c.clipped[k]) << k;
        EXPECT_EQ(mDest.calls[0].color, mRed);
    }
}

TEST_F(GraphicsShapes, LinesAreTranslatedInDoublePrecision)
{
    mGraphics.mTransX = 0.5f;
    mGraphics.mTransY = 10.25f;
    mGraphics.DrawLine(1, 2, 3, 4);
    ASSERT_EQ(mDest.calls.size(), 1u);
    EXPECT_EQ(mDest.calls[0].line, (std::array<double, 4>{1.5, 12.25, 3.5, 14.25}));

    // An end point between the last kept row and the clip's edge leaves
    // nothing in the kept range; pulling the other end up to row 99 would
    // carry the line to x = -0.49, outside the destination.
    mDest.calls.clear();
    mGraphics.mTransX = 0.0f;
    mGraphics.mTransY = 0.5f;
    mGraphics.DrawLine(0, 99, 50, 150);
    mGraphics.mTransX = 0.5f;
    mGraphics.mTransY = 0.0f;
    mGraphics.DrawLine(99, 0, 150, 50);
    EXPECT_TRUE(mDest.calls.empty());

    // A translation that is not a number leaves nothing to draw.
    mDest.calls.clear();
    mGraphics.mTransX = std::numeric_limits<float>::quiet_NaN();
    mGraphics.DrawLine(1, 2, 3, 4);
    mGraphics.mTransX = std::numeric_limits<float>::infinity();
    mGraphics.DrawLine(1, 2, 3, 4);
    EXPECT_TRUE(mDest.calls.empty());
}

TEST_F(GraphicsShapes, TriangleSpans)
{
    const Point corner[] = {{0, 0}, {10, 0}, {0, 10}};
    mGraphics.PolyFill(corner, 3);
    std::vector<Span> expected;
    for (int y = 0; y < 10; ++y)
        expected.push_back({y, 0, 10 - y});
    EXPECT_EQ(Spans(), expected);

    mDest.calls.clear();
    const Point slanted[] = {{2, 1}, {8, 4}, {3, 9}};
    mGraphics.PolyFill(slanted, 3);
    EXPECT_EQ(Spans(), (std::vector<Span>{{1, 2, 1},
                                          {2, 2, 3},
                                          {3, 2, 5},
                                          {4, 2, 6},
                                          {5, 3, 4},
                                          {6, 3, 3},
                                          {7, 3, 2},
                                          {8, 3, 1}}));
    EXPECT_EQ(mDest.calls[1].color, mRed);
}

TEST_F(GraphicsShapes, PolygonsFillByTheEvenOddRule)
{
    // A U shape: two runs per row in its legs, one in its base.
    const Point u[] = {{0, 0}, {3, 0}, {3, 5}, {6, 5}, {6, 0}, {9, 0}, {9, 8}, {0, 8}};
    mGraphics.PolyFill(u, 8);
    std::vector<Span> expected;
    for (int y = 0; y < 5; ++y) {
        expected.push_back({y, 0, 3});
        expected.push_back({y, 6, 3});
    }
    for (int y = 5; y < 8; ++y)
        expected.push_back({y, 0, 9});
    EXPECT_EQ(Spans(), expected);

    // A bow tie crossing itself; the same points in either winding.
    for (const bool reversed : {false, true}) {
        mDest.calls.clear();
        Point bow[] = {{0, 0}, {8, 0}, {0, 8}, {8, 8}};
        if (reversed)
            std::swap(bow[1], bow[3]);
        mGraphics.PolyFill(bow, 4);
        const std::vector<Span> spans = Spans();
        ASSERT_EQ(spans.size(), 8u);
        EXPECT_EQ(spans[0], (Span{0, 0, 8}));
        EXPECT_EQ(spans[3], (Span{3, 3, 2}));
        EXPECT_EQ(spans[4], (Span{4, 3, 2}));
    }
}

TEST_F(GraphicsShapes, StarLeavesItsCentreOpen)
{
    const Point star[] = {{5, 0}, {8, 10}, {0, 3}, {10, 3}, {2, 10}};
    mGraphics.PolyFill(star, 5);
    const auto row = [](const std::vector<Span>& spans, int y) {
        std::vector<Span> out;
        for (const Span& s : spans) {
            if (s.y == y)
                out.push_back(s);
        }
        return out;
    };
    const std::vector<Span> spans = Spans();
    // The centre pentagon is crossed twice: even, so outside.
    EXPECT_EQ(row(spans, 4), (std::vector<Span>{{4, 2, 2}, {4, 6, 2}}));
    EXPECT_EQ(row(spans, 8), (std::vector<Span>{{8, 2, 2}, {8, 6, 2}}));
    EXPECT_TRUE(row(spans, 5).empty());
}

TEST_F(GraphicsShapes, PolygonsAreTranslatedAndClipped)
{
    mGraphics.mTransX = 20.0f;
    mGraphics.mTransY = 30.0f;
    const Point square[] = {{-25, -35}, {5, -35}, {5, -25}, {-25, -25}};
    mGraphics.PolyFill(square, 4);
    std::vector<Span> expected;
    for (int y = 0; y < 5; ++y)
        expected.push_back({y, 0, 25});
    EXPECT_EQ(Spans(), expected);

    // Wholly above the clip: the slot still hears of the fill, without spans.
    mDest.calls.clear();
    const Point above[] = {{0, -40}, {10, -40}, {5, -31}};
    mGraphics.PolyFill(above, 3);
    EXPECT_TRUE(Spans().empty());
}

TEST_F(GraphicsShapes, PolygonIsOfferedTo3DFirst)
{
    mDest.polyFill3DDraws = true;
    mGraphics.mTransX = 3.7f;
    mGraphics.mTransY = -2.2f;
    mGraphics.SetDrawMode(DRAWMODE_ADDITIVE);
    const Point triangle[] = {{0, 0}, {10, 0}, {0, 10}};
    mGraphics.PolyFill(triangle, 3);
    ASSERT_EQ(mDest.calls.size(), 1u);
    const SlotCall& call = mDest.calls[0];
    EXPECT_EQ(call.slot, Slot::PolyFill3D);
    EXPECT_EQ(call.points, (std::vector<Point>{{0, 0}, {10, 0}, {0, 10}}));
    EXPECT_EQ(call.clip, Rect(0, 0, 100, 100));
    EXPECT_EQ(call.color, mRed);
    EXPECT_EQ(call.drawMode, DRAWMODE_ADDITIVE);
    EXPECT_EQ(call.x, 3);
    EXPECT_EQ(call.y, -2);
    EXPECT_TRUE(call.flag);

    // Declined, the fill goes on in software.
    mDest.calls.clear();
    mDest.polyFill3DDraws = false;
    mGraphics.PolyFill(triangle, 3);
    ASSERT_EQ(mDest.calls.size(), 2u);
    EXPECT_EQ(mDest.calls[1].slot, Slot::FillScanLines);
}

TEST_F(GraphicsShapes, EmptyPolygonDrawsNothing)
{
    const Point one[] = {{5, 5}};
    mGraphics.PolyFill(one, 0);
    mGraphics.PolyFill(one, -3);
    mGraphics.PolyFill(nullptr, 3);
    EXPECT_TRUE(mDest.calls.empty());
    // A single point covers no pixel centre.
    mGraphics.PolyFill(one, 1);
    EXPECT_TRUE(Spans().empty());
}

TEST_F(GraphicsShapes, SpanListStopsAt8192)
{
    RecordingImage tall(4, 9000);
    Graphics t(&tall);
    const Point column[] = {{0, 0}, {4, 0}, {4, 9000}, {0, 9000}};
    t.PolyFill(column, 4);
    ASSERT_EQ(tall.calls.size(), 2u);
    const std::vector<Span>& spans = tall.calls[1].spans;
    ASSERT_EQ(spans.size(), 8192u);
    EXPECT_EQ(spans.front(), (Span{0, 0, 4}));
    EXPECT_EQ(spans.back(), (Span{8191, 0, 4}));
}

} // namespace
} // namespace Tandry
