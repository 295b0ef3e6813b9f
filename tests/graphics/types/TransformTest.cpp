#include "graphics/types/Transform.h"

#include "graphics/types/MatrixExpect.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

using Tandry::Transform;
using Tandry::Testing::ExpectMatrix;
using Tandry::Testing::Rows;

struct Components {
    bool rotated, scaled;
    float preX, preY, postX, postY, scaleX, scaleY, angle;
};

struct Case {
    const char* name;
    std::function<void(Transform&)> steps;
    bool matrixMode;
    // Checked in component mode.
    std::optional<Components> components;
    // The matrix: as it stands in matrix mode, after RebuildMatrix otherwise.
    std::optional<Rows> matrix;
};

const float kCos = 0x1.c1528p-1f;   // cos 0.5 as a float
const float kSin = 0x1.eaee88p-2f;  // sin 0.5 as a float

TEST(Transform, StepsKeepComponentsOrSwitchToMatrixMode)
{
    const Case cases[] = {
        {"translated", [](Transform& t) { t.Translate(5, 0); }, false,
         Components{false, false, 5, 0, 0, 0, 1, 1, 0}, Rows{{{1, 0, 5}, {0, 1, 0}, {0, 0, 1}}}},
        {"scaled then translated",
         [](Transform& t) {
             t.Scale(2, 2);
             t.Translate(5, 0);
         },
         false, Components{false, true, 0, 0, 5, 0, 2, 2, 0}, Rows{{{2, 0, 5}, {0, 2, 0}, {0, 0, 1}}}},
        {"flipped", [](Transform& t) { t.Scale(-1, 1); }, false,
         Components{false, true, 0, 0, 0, 0, -1, 1, 0}, Rows{{{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
        // The second flip is applied to the rebuilt first one: back to identity.
        {"flipped back",
         [](Transform& t) {
             t.Scale(-1, 1);
             t.Scale(-1, 1);
         },
         true, std::nullopt, Rows{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
        {"negative factor not -1", [](Transform& t) { t.Scale(-2, 1); }, true, std::nullopt,
         Rows{{{-2, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
        {"vertical flip", [](Transform& t) { t.Scale(1, -1); }, true, std::nullopt,
         Rows{{{1, 0, 0}, {0, -1, 0}, {0, 0, 1}}}},
        {"halved then doubled negatively reaches -1",
         [](Transform& t) {
             t.Scale(0.5f, 1);
             t.Scale(-2, 1);
         },
         false, Components{false, true, 0, 0, 0, 0, -1, 1, 0}, std::nullopt},
        {"flipped then stretched",
         [](Transform& t) {
             t.Scale(-1, 1);
             t.Scale(2, 1);
         },
         false, Components{false, true, 0, 0, 0, 0, -2, 1, 0}, std::nullopt},
        {"scale after a pre-translation",
         [](Transform& t) {
             t.Translate(3, 4);
             t.Scale(2, 2);
         },
         true, std::nullopt, Rows{{{2, 0, 6}, {0, 2, 8}, {0, 0, 1}}}},
        {"scale after a rotation",
         [](Transform& t) {
             t.Rotate(0.5f);
             t.Scale(2, 2);
         },
         true, std::nullopt, Rows{{{2 * kCos, 2 * kSin, 0}, {-2 * kSin, 2 * kCos, 0}, {0, 0, 1}}}},
        {"rotation after a scale",
         [](Transform& t) {
             t.Scale(2, 2);
             t.Rotate(0.5f);
         },
         true, std::nullopt, Rows{{{2 * kCos, 2 * kSin, 0}, {-2 * kSin, 2 * kCos, 0}, {0, 0, 1}}}},
        // T(post) * R * T(pre), each product rounded as the matrix does it.
        {"translated, rotated, translated",
         [](Transform& t) {
             t.Translate(3, 4);
             t.Rotate(0.5f);
             t.Translate(1, 2);
         },
         false, Components{true, false, 3, 4, 1, 2, 1, 1, 0.5f},
         Rows{{{kCos, kSin, 0x1.633a92p+2f}, {-kSin, kCos, 0x1.049c86p+2f}, {0, 0, 1}}}},
        // A rotation added after a post-translation still folds into the angle.
        {"rotations fold",
         [](Transform& t) {
             t.Rotate(0.25f);
             t.Translate(1, 0);
             t.Rotate(0.25f);
         },
         false, Components{true, false, 0, 0, 1, 0, 1, 1, 0.5f}, std::nullopt},
        // Matrix mode applies every new step after all the earlier ones.
        {"translation in matrix mode",
         [](Transform& t) {
             t.Scale(-2, 1);
             t.Translate(3, 0);
             t.Scale(1, 2);
         },
         true, std::nullopt, Rows{{{-2, 0, 3}, {0, 2, 0}, {0, 0, 1}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Transform t;
        c.steps(t);
        EXPECT_EQ(t.matrixMode, c.matrixMode);
        if (c.components) {
            const Components& e = *c.components;
            EXPECT_TRUE(t.dirty);
            EXPECT_EQ(t.rotated, e.rotated);
            EXPECT_EQ(t.scaled, e.scaled);
            EXPECT_EQ(t.preTransX, e.preX);
            EXPECT_EQ(t.preTransY, e.preY);
            EXPECT_EQ(t.postTransX, e.postX);
            EXPECT_EQ(t.postTransY, e.postY);
            EXPECT_EQ(t.scaleX, e.scaleX);
            EXPECT_EQ(t.scaleY, e.scaleY);
            EXPECT_EQ(t.angle, e.angle);
        }
        if (!c.matrixMode)
            t.RebuildMatrix();
        EXPECT_FALSE(t.dirty);
        if (c.matrix)
            ExpectMatrix(t.matrix, *c.matrix);
    }
}

TEST(Transform, RebuildMatrixDoesNothingWhenNotDirty)
{
    Transform t;
    t.Translate(5, 0);
    t.RebuildMatrix();
    t.matrix.m[0][0] = 7;
    t.RebuildMatrix();
    EXPECT_EQ(t.matrix.m[0][0], 7.0f);
    t.Translate(1, 0);
    t.RebuildMatrix();
    ExpectMatrix(t.matrix, {{{1, 0, 6}, {0, 1, 0}, {0, 0, 1}}});
}

TEST(Transform, MakeMatrixModeKeepsAnExistingMatrix)
{
    Transform t;
    t.Scale(-2, 1);
    t.matrix.m[2][0] = 9;
    t.MakeMatrixMode();
    EXPECT_EQ(t.matrix.m[2][0], 9.0f);
}

} // namespace
