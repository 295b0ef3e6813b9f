#include "graphics/context/Graphics.h"

#include <gtest/gtest.h>

#include <memory>

#include "graphics/context/FakeFont.h"
#include "graphics/context/RecordingImage.h"

namespace Tandry {
namespace {

void ExpectSameState(const GraphicsState& actual, const GraphicsState& expected)
{
    EXPECT_EQ(actual.mDestImage, expected.mDestImage);
    EXPECT_EQ(actual.mTransX, expected.mTransX);
    EXPECT_EQ(actual.mTransY, expected.mTransY);
    EXPECT_EQ(actual.mScaleX, expected.mScaleX);
    EXPECT_EQ(actual.mScaleY, expected.mScaleY);
    EXPECT_EQ(actual.mScaleOrigX, expected.mScaleOrigX);
    EXPECT_EQ(actual.mScaleOrigY, expected.mScaleOrigY);
    EXPECT_EQ(actual.mClipRect, expected.mClipRect);
    EXPECT_EQ(actual.mColor, expected.mColor);
    EXPECT_EQ(actual.mFont, expected.mFont);
    EXPECT_EQ(actual.mDrawMode, expected.mDrawMode);
    EXPECT_EQ(actual.mColorizeImages, expected.mColorizeImages);
    EXPECT_EQ(actual.mFastStretch, expected.mFastStretch);
    EXPECT_EQ(actual.mWriteColoredString, expected.mWriteColoredString);
    EXPECT_EQ(actual.mLinearBlend, expected.mLinearBlend);
    EXPECT_EQ(actual.mIs3DScreen, expected.mIs3DScreen);
}

// A state in which every field differs from the defaults and from the other one.
void SetEveryField(Graphics& g, Image* dest, Font* font, int seed)
{
    g.mDestImage = dest;
    g.mTransX = 1.5f * seed;
    g.mTransY = -2.25f * seed;
    g.SetScale(0.5f * seed, 3.0f * seed, 7.0f * seed, 9.0f * seed);
    g.mClipRect = Rect(seed, 2 * seed, 30 + seed, 40 + seed);
    g.SetColor(Color(10 * seed, 20 * seed, 30 * seed, 40 * seed));
    g.SetFont(font);
    g.SetDrawMode(DRAWMODE_ADDITIVE + seed);
    g.SetColorizeImages(seed % 2 == 1);
    g.SetFastStretch(seed % 2 == 1);
    g.SetWriteColoredString(seed % 2 == 0);
    g.SetLinearBlend(seed % 2 == 1);
    g.mIs3DScreen = seed % 2 == 1;
}

TEST(Graphics, NewContextHasTheDefaults)
{
    RecordingImage dest(640, 480);
    const Graphics g(&dest);
    GraphicsState expected;
    expected.mDestImage = &dest;
    expected.mClipRect = Rect(0, 0, 640, 480);
    ExpectSameState(g, expected);
    EXPECT_EQ(g.mColor, Color(0, 0, 0, 255));
    EXPECT_TRUE(g.mWriteColoredString);
}

TEST(Graphics, WithoutDestinationDrawsIntoTheSharedEmptyImage)
{
    Graphics first(nullptr);
    const Graphics second;
    EXPECT_EQ(first.mDestImage, Graphics::SharedEmptyImage());
    EXPECT_EQ(second.mDestImage, first.mDestImage);
    EXPECT_EQ(first.mDestImage->mWidth, 0);
    EXPECT_EQ(first.mDestImage->mHeight, 0);
    EXPECT_EQ(first.mClipRect, Rect());
    EXPECT_FALSE(first.mIs3DScreen);

    first.SetClipRect(-5, -5, 50, 50);
    EXPECT_EQ(first.mClipRect, Rect());

    FakeFont font;
    first.SetFont(&font);
    EXPECT_EQ(first.GetStringWidth(L"abc"), 30);
    EXPECT_EQ(first.DrawStringWrapped(L"ab cd", Rect(0, 0, 30, 100)), 20);
}

TEST(Graphics, SetClipRectTranslatesTruncatesAndStaysInsideTheDestination)
{
    const struct {
        float transX, transY;
        Rect wanted, expected;
    } cases[] = {
        {0.0f, 0.0f, {-10, -10, 100, 100}, {0, 0, 90, 90}},
        // -9.3 truncates toward zero to -9.
        {0.7f, 0.7f, {-10, -10, 100, 100}, {0, 0, 91, 91}},
        {0.0f, 0.0f, {600, 450, 100, 100}, {600, 450, 40, 30}},
        {20.0f, 10.0f, {5, 5, 10, 10}, {25, 15, 10, 10}},
        {-0.5f, 0.0f, {0, 0, 10, 10}, {0, 0, 10, 10}},
        {0.0f, 0.0f, {700, 0, 10, 10}, {0, 0, 0, 0}},
    };
    RecordingImage dest(640, 480);
    for (const auto& c : cases) {
        Graphics g(&dest);
        g.mTransX = c.transX;
        g.mTransY = c.transY;
        g.SetClipRect(c.wanted.x, c.wanted.y, c.wanted.width, c.wanted.height);
        EXPECT_EQ(g.mClipRect, c.expected);
        g.mClipRect = Rect(1, 1, 1, 1);
        g.SetClipRect(c.wanted);
        EXPECT_EQ(g.mClipRect, c.expected);
    }
}

TEST(Graphics, ClipRectNarrowsTheCurrentClip)
{
    RecordingImage dest(640, 480);
    Graphics g(&dest);
    g.SetClipRect(100, 100, 200, 200);
    g.Translate(10, 20);
    g.ClipRect(150, 150, 500, 20);
    EXPECT_EQ(g.mClipRect, Rect(160, 170, 140, 20));

    // A rectangle outside the clip leaves nothing to draw into.
    g.ClipRect(0, 0, 10, 10);
    EXPECT_EQ(g.mClipRect, Rect());
    g.SetColor(Color(255, 0, 0));
    g.FillRect(0, 0, 640, 480);
    ASSERT_EQ(dest.calls.size(), 1u);
    EXPECT_EQ(dest.calls[0].rect, Rect());
}

TEST(Graphics, PopStateRestoresEveryFieldOfThePushedStates)
{
    RecordingImage first(640, 480);
    RecordingImage second(320, 200);
    FakeFont fontA, fontB;
    Graphics g(&first);
    SetEveryField(g, &first, &fontA, 1);
    const Graphics stateA(g);
    g.PushState();
    SetEveryField(g, &second, &fontB, 2);
    const Graphics stateB(g);
    g.PushState();
    SetEveryField(g, &first, nullptr, 3);

    g.PopState();
    ExpectSameState(g, stateB);
    g.PopState();
    ExpectSameState(g, stateA);
    // Nothing left to pop.
    g.PopState();
    ExpectSameState(g, stateA);
}

TEST(Graphics, CopiesTakeTheStateButNotTheSavedStates)
{
    RecordingImage dest(640, 480);
    FakeFont font;
    Graphics g(&dest);
    g.PushState();
    SetEveryField(g, &dest, &font, 1);

    Graphics copy(g);
    ExpectSameState(copy, g);
    copy.PopState();
    ExpectSameState(copy, g);

    const std::unique_ptr<Graphics> clone(g.Clone());
    ExpectSameState(*clone, g);
    clone->PopState();
    ExpectSameState(*clone, g);

    // The original keeps its own stack.
    g.PopState();
    EXPECT_EQ(g.mClipRect, Rect(0, 0, 640, 480));

    const std::unique_ptr<Graphics> created(Graphics::Create(&dest));
    EXPECT_EQ(created->mDestImage, &dest);
    EXPECT_EQ(created->mClipRect, Rect(0, 0, 640, 480));
}

TEST(Graphics, TranslateAndMultiplyColorChangeTheState)
{
    RecordingImage dest(640, 480);
    Graphics g(&dest);
    g.mTransX = 0.25f;
    g.Translate(3, -4);
    EXPECT_EQ(g.mTransX, 3.25f);
    EXPECT_EQ(g.mTransY, -4.0f);

    g.SetColor(Color(255, 128, 0, 255));
    g.MultiplyColor(Color(128, 128, 128, 128));
    EXPECT_EQ(g.mColor, Color(128, 64, 0, 128));
}

TEST(Graphics, PopInEffectSetsColourScaleOriginAndWidensTheClip)
{
    const struct {
        float t;
        Rect clip;
        Color color;
        float scale;
        Rect widened;
    } cases[] = {
        {0.0f, {200, 200, 100, 50}, {100, 100, 100, 0}, 0.0f, {150, 175, 200, 100}},
        // The settled box: full colour and a scale of exactly 1; the clip is
        // at least twice its size plus one.
        {1.0f, {200, 200, 100, 50}, {255, 255, 255, 255}, 1.0f, {150, 175, 201, 101}},
        // At its peak the box is 1.2 times as large, so the clip grows by more
        // than its own size: 121 = trunc(1.2 * 100) + 1.
        {0.8f, {200, 200, 100, 50}, {224, 224, 224, 204}, 1.2f, {140, 170, 221, 111}},
        {0.5f, {200, 200, 100, 50}, {177, 177, 177, 127}, 0.9977636f, {150, 175, 200, 100}},
        // Near the destination's edges the widened clip stays inside it.
        {0.0f, {0, 0, 100, 50}, {100, 100, 100, 0}, 0.0f, {0, 0, 150, 75}},
        {0.0f, {600, 450, 40, 30}, {100, 100, 100, 0}, 0.0f, {580, 435, 60, 45}},
    };
    RecordingImage dest(640, 480);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.t);
        Graphics g(&dest);
        g.Translate(3, 4);
        g.mClipRect = c.clip;
        g.SetPopInEffect(c.t, 100, 50);
        EXPECT_TRUE(g.mColorizeImages);
        EXPECT_EQ(g.mColor, c.color);
        EXPECT_FLOAT_EQ(g.mScaleX, c.scale);
        EXPECT_EQ(g.mScaleY, g.mScaleX);
        EXPECT_EQ(g.mScaleOrigX, 53.0f);
        EXPECT_EQ(g.mScaleOrigY, 29.0f);
        EXPECT_EQ(g.mClipRect, c.widened);
    }
}

TEST(Graphics, PopInScaleIsExactAtBothEnds)
{
    RecordingImage dest(640, 480);
    Graphics g(&dest);
    g.SetPopInEffect(0.0f, 10, 10);
    EXPECT_EQ(g.mScaleX, 0.0f);
    g.SetPopInEffect(1.0f, 10, 10);
    EXPECT_EQ(g.mScaleX, 1.0f);
}

TEST(Graphics, PopInColourIsClampedOutsideTheProgressRange)
{
    RecordingImage dest(640, 480);
    Graphics g(&dest);
    g.SetPopInEffect(2.0f, 10, 10);
    EXPECT_EQ(g.mColor, Color(255, 255, 255, 255));
    g.SetPopInEffect(-1.0f, 10, 10);
    EXPECT_EQ(g.mColor, Color(0, 0, 0, 0));
    // Whatever the progress, the clip stays inside the destination.
    for (const float t : {-3.0f, -1.0f, 0.3f, 0.8f, 5.0f, 1e30f}) {
        g.SetClipRect(0, 0, 640, 480);
        g.SetPopInEffect(t, 640, 480);
        EXPECT_EQ(Rect::Intersection(g.mClipRect, Rect(0, 0, 640, 480)), g.mClipRect);
    }
}

} // namespace
} // namespace Tandry
