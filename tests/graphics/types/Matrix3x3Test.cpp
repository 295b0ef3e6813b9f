#include "graphics/types/Matrix3x3.h"

#include "graphics/types/MatrixExpect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using Tandry::Matrix3x3;
using Tandry::Testing::ExpectMatrix;
using Tandry::Testing::FromRows;

Matrix3x3 Identity()
{
    Matrix3x3 m;
    m.LoadIdentity();
    return m;
}

TEST(Matrix3x3, StartsAllZero)
{
    ExpectMatrix(Matrix3x3(), {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}});
    ExpectMatrix(Identity(), {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}});
}

TEST(Matrix3x3, OperationsMultiplyOnTheLeftAndPostOperationsOnTheRight)
{
    Matrix3x3 translated = Identity();
    translated.Translate(5, 0);
    translated.Scale(2, 2);
    ExpectMatrix(translated, {{{2, 0, 10}, {0, 2, 0}, {0, 0, 1}}});

    Matrix3x3 scaled = Identity();
    scaled.Scale(2, 2);
    scaled.Translate(5, 0);
    ExpectMatrix(scaled, {{{2, 0, 5}, {0, 2, 0}, {0, 0, 1}}});

    Matrix3x3 post = Identity();
    post.Scale(2, 2);
    post.PostMultiply(Matrix3x3::Translation(5, 0));
    ExpectMatrix(post, {{{2, 0, 10}, {0, 2, 0}, {0, 0, 1}}});
}

TEST(Matrix3x3, RotationsUseTheStoredSineAndCosine)
{
    const float angle = 0.5f;
    const float c = static_cast<float>(std::cos(0.5));
    const float s = static_cast<float>(std::sin(0.5));
    Matrix3x3 r = Identity();
    r.Rotate(angle);
    ExpectMatrix(r, {{{c, s, 0}, {-s, c, 0}, {0, 0, 1}}});
    Matrix3x3 post = Identity();
    post.PostRotate(angle);
    ExpectMatrix(post, {{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}});
}

TEST(Matrix3x3, TransformPointTurnsTheOtherWayToDrawing)
{
    const float angle = std::numbers::pi_v<float> / 2;
    const float c = static_cast<float>(std::cos(static_cast<double>(angle)));
    const float s = static_cast<float>(std::sin(static_cast<double>(angle)));
    Matrix3x3 m = Identity();
    m.PostRotate(angle);
    float x = 1, y = 0;
    m.TransformPoint(x, y);
    EXPECT_EQ(x, c);
    EXPECT_EQ(y, -s);
    // Drawing reads the same matrix as x' = m00 x + m01 y: (1, 0) goes to (c, -s)
    // there too, but (0, 1) goes to (-s, c) in drawing and to (s, c) here.
    x = 0, y = 1;
    m.TransformPoint(x, y);
    EXPECT_EQ(x, s);
    EXPECT_EQ(y, c);
}

TEST(Matrix3x3, TransformPointDividesByW)
{
    const Matrix3x3 m = FromRows({{{2, 0, 0}, {0, 2, 0}, {4, 6, 2}}});
    float x = 3, y = 5;
    m.TransformPoint(x, y);
    EXPECT_EQ(x, 5.0f);  // (3*2 + 4) / 2
    EXPECT_EQ(y, 8.0f);  // (5*2 + 6) / 2
}

// Each sum runs left to right in float and each product is rounded before it
// is added: reordering, double accumulation or a fused multiply-add would each
// change these results.
TEST(Matrix3x3, ProductsAreRoundedAfterEveryStepLeftToRight)
{
    const float big = 1e8f;
    const float e = 1.0f + 0x1p-12f;
    const Matrix3x3 left = FromRows({{{1, 1, 1}, {e, -e, 0}, {0, 0, 1}}});
    const Matrix3x3 right = FromRows({{{1, e, 0}, {big, e, 0}, {-big, 0, 1}}});
    Matrix3x3 out;
    Matrix3x3::Multiply(left, right, out);
    // 1 + 1e8 rounds to 1e8 in float, so the row sums to 0 (1 in exact order).
    EXPECT_EQ(out.m[0][0], 0.0f);
    // e * e = 1 + 2^-11 + 2^-24 rounds to 1 + 2^-11 on its own; fusing either
    // product into the addition leaves +-2^-24.
    EXPECT_EQ(out.m[1][1], 0.0f);
}

TEST(Matrix3x3, MultiplyMayWriteIntoAnOperand)
{
    Matrix3x3 a = FromRows({{{1, 2, 0}, {3, 4, 0}, {0, 0, 1}}});
    const Matrix3x3 b = FromRows({{{0, 1, 0}, {1, 0, 0}, {0, 0, 1}}});
    Matrix3x3::Multiply(a, b, a);
    ExpectMatrix(a, {{{2, 1, 0}, {4, 3, 0}, {0, 0, 1}}});
}

} // namespace
