#include "graphics/types/Transform.h"

namespace Tandry {

void Transform::Translate(float tx, float ty)
{
    if (matrixMode) {
        matrix.Translate(tx, ty);
        return;
    }
    dirty = true;
    if (rotated || scaled) {
        postTransX += tx;
        postTransY += ty;
    } else {
        preTransX += tx;
        preTransY += ty;
    }
}

void Transform::Rotate(float a)
{
    if (!matrixMode && !scaled) {
        // A rotation after a post-translation still folds into angle: component
        // mode keeps the order rotate-then-translate.
        dirty = true;
        rotated = true;
        angle += a;
        return;
    }
    MakeMatrixMode();
    matrix.Rotate(a);
}

void Transform::Scale(float sx, float sy)
{
    // Only one negative horizontal factor stays in components: the flip of an
    // unflipped transform (scaleX becomes exactly -1).
    const bool needsMatrix = rotated || preTransX != 0.0f || preTransY != 0.0f ||
                             (sx < 0.0f && scaleX * sx != -1.0f) || sy < 0.0f;
    if (!matrixMode && !needsMatrix) {
        dirty = true;
        scaled = true;
        scaleX *= sx;
        scaleY *= sy;
        return;
    }
    MakeMatrixMode();
    matrix.Scale(sx, sy);
}

void Transform::MakeMatrixMode()
{
    if (matrixMode)
        return;
    matrixMode = true;
    RebuildMatrix();
}

void Transform::RebuildMatrix()
{
    if (!dirty)
        return;
    dirty = false;
    matrix = Matrix3x3::Translation(preTransX, preTransY);
    if (scaled) {
        matrix.m[0][0] = scaleX;
        matrix.m[1][1] = scaleY;
    } else if (rotated) {
        matrix.Rotate(angle);
    }
    if (postTransX != 0.0f || postTransY != 0.0f)
        matrix.Translate(postTransX, postTransY);
}

} // namespace Tandry
