// A 2D transform that stays in cheap components (translation, one scale or one
// rotation) as long as it can, so the drawing context can pick a cheap drawing
// path, and switches for good to a full matrix when a step cannot be expressed
// by the components.
#pragma once

#include "graphics/types/Matrix3x3.h"

namespace Tandry {

class Transform {
public:
    Transform() = default;

    void Translate(float tx, float ty);
    void Rotate(float angle);
    void Scale(float sx, float sy);
    void MakeMatrixMode();
    // Builds matrix from the components when they changed since the last build.
    void RebuildMatrix();

    // Valid in matrix mode and after RebuildMatrix.
    Matrix3x3 matrix;
    bool dirty = true;
    // From here on only matrix counts; the components below are stale.
    bool matrixMode = false;
    // Component mode: never both set. While scaled, the pre-translation is 0.
    bool rotated = false;
    bool scaled = false;
    // Components: T(post) * S(scale) when scaled, T(post) * R(angle) * T(pre)
    // when rotated, T(pre + post) otherwise.
    float preTransX = 0.0f;
    float preTransY = 0.0f;
    float postTransX = 0.0f;
    float postTransY = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float angle = 0.0f;
};

} // namespace Tandry
