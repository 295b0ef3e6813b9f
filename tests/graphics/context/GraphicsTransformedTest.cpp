#include "graphics/context/Graphics.h"

#include <gtest/gtest.h>

#include "graphics/context/RecordingImage.h"
#include "graphics/types/Transform.h"

namespace Tandry {
namespace {

class GraphicsTransformed : public ::testing::Test {
protected:
    GraphicsTransformed() : mGraphics(&mDest) { mGraphics.SetClipRect(0, 0, 100, 100); }

    const SlotCall& OnlyCall() const
    {
        EXPECT_EQ(mDest.calls.size(), 1u);
        static const SlotCall none;
        return mDest.calls.empty() ? none : mDest.calls.front();
    }

    void ExpectMatrix(const Matrix3x3& actual, const Matrix3x3& expected)
    {
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col)
                EXPECT_EQ(actual.m[row][col], expected.m[row][col]) << row << ", " << col;
        }
    }

    RecordingImage mDest{640, 480};
    RecordingImage mImage{20, 20};
    Graphics mGraphics;
};

TEST_F(GraphicsTransformed, TranslatedTransformTakesThePlainPath)
{
    Transform t;
    t.Translate(3.4f, 0.0f);
    mGraphics.DrawImageMatrix(&mImage, t, 10.0f, 10.0f);
    const SlotCall matrixCall = OnlyCall();
    EXPECT_EQ(matrixCall.slot, Slot::Blt);
    EXPECT_EQ(matrixCall.x, 3);
    EXPECT_EQ(matrixCall.y, 0);
    EXPECT_EQ(matrixCall.srcRect, Rect(0, 0, 20, 20));

    mDest.calls.clear();
    mGraphics.DrawImageTransformed(&mImage, t, 10.0f, 10.0f);
    const SlotCall& smooth = OnlyCall();
    EXPECT_EQ(smooth.slot, Slot::BltF);
    EXPECT_FLOAT_EQ(smooth.fx, 3.9f);
    EXPECT_FLOAT_EQ(smooth.fy, 0.5f);
    EXPECT_EQ(smooth.clip, Rect(0, 0, 100, 100));

    // The plain path on whole pixels goes through the scaled drawing.
    mDest.calls.clear();
    mGraphics.SetScale(2.0f, 2.0f, 0.0f, 0.0f);
    mGraphics.DrawImageMatrix(&mImage, t, 10.0f, 10.0f);
    EXPECT_EQ(OnlyCall().slot, Slot::StretchBlt);
    EXPECT_EQ(OnlyCall().rect, Rect(6, 0, 40, 40));
}

TEST_F(GraphicsTransformed, FlipTakesTheMirroredPathWhateverSmoothSays)
{
    Transform t;
    t.Scale(-1.0f, 1.0f);
    t.Translate(0.6f, 0.0f);
    mGraphics.DrawImageMatrix(&mImage, t, 50.0f, 50.0f);
    mGraphics.DrawImageTransformed(&mImage, t, 50.0f, 50.0f);
    ASSERT_EQ(mDest.calls.size(), 2u);
    for (const SlotCall& call : mDest.calls) {
        EXPECT_EQ(call.slot, Slot::BltMirror);
        // ((0 + 50) + 0.6 - 10) + 0.5 truncates to 41.
        EXPECT_EQ(call.x, 41);
        EXPECT_EQ(call.y, 40);
        EXPECT_EQ(call.srcRect, Rect(0, 0, 20, 20));
    }
}

TEST_F(GraphicsTransformed, ScaledTransformsStretch)
{
    const struct {
        float sx1, sy1, sx2, sy2;
        Slot slot;
        Rect dest;
    } cases[] = {
        {2.0f, 2.0f, 1.0f, 1.0f, Slot::StretchBlt, {30, 30, 40, 40}},
        {0.5f, 1.5f, 1.0f, 1.0f, Slot::StretchBlt, {45, 35, 10, 30}},
        // A flip followed by a scale: the mirrored stretch of the magnitude.
        {-1.0f, 1.0f, 2.0f, 1.0f, Slot::StretchBltMirror, {30, 40, 40, 20}},
        {-1.0f, 1.0f, 1.0f, 2.0f, Slot::StretchBltMirror, {40, 30, 20, 40}},
        {-1.0f, 1.0f, 0.5f, 0.5f, Slot::StretchBltMirror, {45, 45, 10, 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sx1 << " " << c.sy1 << " " << c.sx2 << " " << c.sy2);
        Transform t;
        t.Scale(c.sx1, c.sy1);
        t.Scale(c.sx2, c.sy2);
        ASSERT_FALSE(t.matrixMode);
        for (const bool smooth : {false, true}) {
            mDest.calls.clear();
            mGraphics.DrawImageTransformedPart(&mImage, t, Rect(0, 0, 20, 20), 50.0f, 50.0f, smooth);
            EXPECT_EQ(OnlyCall().slot, c.slot);
            EXPECT_EQ(OnlyCall().rect, c.dest);
            EXPECT_EQ(OnlyCall().clip, Rect(0, 0, 100, 100));
        }
    }
}

TEST_F(GraphicsTransformed, RotatedTransformRotatesOnSoftwareImages)
{
    Transform t;
    t.Rotate(0.5f);
    mGraphics.mTransX = 1.0f;
    mGraphics.DrawImageTransformed(&mImage, t, 50.0f, 50.0f);
    const SlotCall& call = OnlyCall();
    EXPECT_EQ(call.slot, Slot::BltRotated);
    EXPECT_EQ(call.angle, 0.5f);
    EXPECT_EQ(call.centerX, 10.0f);
    EXPECT_EQ(call.centerY, 10.0f);
    // ((0 + 50) - 10) + 0.5, then the context's translation.
    EXPECT_EQ(call.fx, 41.5f);
    EXPECT_EQ(call.fy, 40.5f);
}

TEST_F(GraphicsTransformed, RotationOnWholePixelsTruncatesCentreAndPosition)
{
    RecordingImage odd(19, 19);
    Transform t;
    t.Rotate(0.3f);
    t.Translate(2.75f, 0.0f);
    mGraphics.DrawImageMatrix(&odd, t, 0.0f, 0.0f);
    const SlotCall& call = OnlyCall();
    EXPECT_EQ(call.slot, Slot::BltRotated);
    // 9.5 rotates about 9.
    EXPECT_EQ(call.centerX, 9.0f);
    EXPECT_EQ(call.centerY, 9.0f);
    // ((2.75 + 0) - 9.5) + 0.5 = -6.25 truncates toward zero.
    EXPECT_EQ(call.fx, -6.0f);
    EXPECT_EQ(call.fy, -9.0f);
}

TEST_F(GraphicsTransformed, PreTranslationMovesTheRotationCentre)
{
    Transform t;
    t.Translate(4.0f, -2.0f);
    t.Rotate(1.0f);
    t.Translate(5.0f, 6.0f);
    mGraphics.DrawImageTransformed(&mImage, t, 30.0f, 40.0f);
    const SlotCall& call = OnlyCall();
    EXPECT_EQ(call.centerX, 6.0f);
    EXPECT_EQ(call.centerY, 12.0f);
    // The centre lands at (x + post + 0.5, y + post + 0.5).
    EXPECT_EQ(call.fx + call.centerX, 35.5f);
    EXPECT_EQ(call.fy + call.centerY, 46.5f);
}

TEST_F(GraphicsTransformed, SmoothDrawingOnThe3DScreenTakesTheMatrixPath)
{
    mGraphics.mIs3DScreen = true;
    mGraphics.mTransX = 2.0f;
    mGraphics.SetLinearBlend(true);
    mGraphics.SetColorizeImages(true);
    mGraphics.SetColor(Color(1, 2, 3, 4));
    Transform t;
    t.Rotate(0.5f);
    mGraphics.DrawImageTransformed(&mImage, t, 50.0f, 60.0f);
    const SlotCall& call = OnlyCall();
    EXPECT_EQ(call.slot, Slot::BltMatrix);
    ExpectMatrix(call.matrix, Matrix3x3::Rotation(0.5f));
    EXPECT_EQ(call.fx, 52.0f);
    EXPECT_EQ(call.fy, 60.0f);
    EXPECT_EQ(call.srcRect, Rect(0, 0, 20, 20));
    EXPECT_EQ(call.clip, Rect(0, 0, 100, 100));
    EXPECT_EQ(call.color, Color(1, 2, 3, 4));
    EXPECT_TRUE(call.flag);
    // The caller's transform keeps its components.
    EXPECT_TRUE(t.rotated);
    EXPECT_FALSE(t.matrixMode);

    // On whole pixels the 3D screen still takes the cheap path.
    mDest.calls.clear();
    mGraphics.DrawImageMatrix(&mImage, t, 50.0f, 60.0f);
    EXPECT_EQ(OnlyCall().slot, Slot::BltRotated);
}

TEST_F(GraphicsTransformed, MatrixModeAlwaysTakesTheMatrixPath)
{
    Transform t;
    t.Scale(1.0f, -1.0f);
    t.Translate(3.0f, 4.0f);
    ASSERT_TRUE(t.matrixMode);
    for (const bool screen3D : {false, true}) {
        mGraphics.mIs3DScreen = screen3D;
        for (const bool smooth : {false, true}) {
            mDest.calls.clear();
            mGraphics.DrawImageTransformedPart(&mImage, t, Rect(5, 5, 10, 10), 7.5f, 8.0f, smooth);
            const SlotCall& call = OnlyCall();
            EXPECT_EQ(call.slot, Slot::BltMatrix);
            ExpectMatrix(call.matrix, t.matrix);
            EXPECT_EQ(call.srcRect, Rect(5, 5, 10, 10));
            EXPECT_EQ(call.fx, 7.5f);
            EXPECT_EQ(call.fy, 8.0f);
            EXPECT_FALSE(call.flag);
        }
    }
}

} // namespace
} // namespace Tandry
