// A 3x3 float matrix, row-major (m[row][column]), for transformed drawing. A
// drawing operation maps (x, y) to (m00 x + m01 y + m02, m10 x + m11 y + m12).
// Products sum left to right in float, so every machine gets the same bits:
// each operation below builds its standard matrix and multiplies in full.
#pragma once

namespace Tandry {

class Matrix3x3 {
public:
    // All nine elements 0; LoadIdentity gives the identity.
    Matrix3x3() = default;

    void LoadIdentity();

    // out = left * right; out may be either operand.
    static void Multiply(const Matrix3x3& left, const Matrix3x3& right, Matrix3x3& out);

    // The operations multiply on the left: the new step applies after the old ones.
    void Translate(float tx, float ty);  // this = T(tx, ty) * this
    void Scale(float sx, float sy);      // this = S(sx, sy) * this
    void Rotate(float angle);            // this = R(angle) * this
    void PostMultiply(const Matrix3x3& right);  // this = this * right
    void PostRotate(float angle);        // this = this * R'(angle)

    // Reads the matrix the other way round from drawing (row vector times
    // matrix, then divided by w), so a PostRotate turns a point the opposite
    // way to the one the same matrix gives in drawing.
    void TransformPoint(float& x, float& y) const;

    static Matrix3x3 Translation(float tx, float ty);
    static Matrix3x3 Scaling(float sx, float sy);
    // R(a) = [cos, sin; -sin, cos]; R'(a) is its transpose. Sine and cosine are
    // computed in double and stored as float; -sin negates the stored float.
    static Matrix3x3 Rotation(float angle);
    static Matrix3x3 PostRotation(float angle);

    float m[3][3] = {};
};

} // namespace Tandry
