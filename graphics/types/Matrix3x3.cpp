#include "graphics/types/Matrix3x3.h"

#include <cmath>

namespace Tandry {

void Matrix3x3::LoadIdentity()
{
    *this = Matrix3x3();
    m[0][0] = m[1][1] = m[2][2] = 1.0f;
}

void Matrix3x3::Multiply(const Matrix3x3& left, const Matrix3x3& right, Matrix3x3& out)
{
    Matrix3x3 product;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            // One float store per addition, in this order.
            float sum = left.m[i][0] * right.m[0][j];
            sum = sum + left.m[i][1] * right.m[1][j];
            sum = sum + left.m[i][2] * right.m[2][j];
            product.m[i][j] = sum;
        }
    }
    out = product;
}

void Matrix3x3::Translate(float tx, float ty)
{
    Multiply(Translation(tx, ty), *this, *this);
}

void Matrix3x3::Scale(float sx, float sy)
{
    Multiply(Scaling(sx, sy), *this, *this);
}

void Matrix3x3::Rotate(float angle)
{
    Multiply(Rotation(angle), *this, *this);
}

void Matrix3x3::PostMultiply(const Matrix3x3& right)
{
    Multiply(*this, right, *this);
}

void Matrix3x3::PostRotate(float angle)
{
    Multiply(*this, PostRotation(angle), *this);
}

void Matrix3x3::TransformPoint(float& x, float& y) const
{
    float tx = x * m[0][0];
    tx = tx + y * m[1][0];
    tx = tx + m[2][0];
    float ty = x * m[0][1];
    ty = ty + y * m[1][1];
    ty = ty + m[2][1];
    float w = x * m[0][2];
    w = w + y * m[1][2];
    w = w + m[2][2];
    x = tx / w;
    y = ty / w;
}

Matrix3x3 Matrix3x3::Translation(float tx, float ty)
{
    Matrix3x3 t;
    t.LoadIdentity();
    t.m[0][2] = tx;
    t.m[1][2] = ty;
    return t;
}

Matrix3x3 Matrix3x3::Scaling(float sx, float sy)
{
    Matrix3x3 s;
    s.m[0][0] = sx;
    s.m[1][1] = sy;
    s.m[2][2] = 1.0f;
    return s;
}

Matrix3x3 Matrix3x3::Rotation(float angle)
{
    const float c = static_cast<float>(std::cos(static_cast<double>(angle)));
    const float s = static_cast<float>(std::sin(static_cast<double>(angle)));
    Matrix3x3 r;
    r.m[0][0] = c;
    r.m[0][1] = s;
    r.m[1][0] = -s;
    r.m[1][1] = c;
    r.m[2][2] = 1.0f;
    return r;
}

Matrix3x3 Matrix3x3::PostRotation(float angle)
{
    Matrix3x3 r = Rotation(angle);
    r.m[0][1] = -r.m[0][1];
    r.m[1][0] = -r.m[1][0];
    return r;
}

} // namespace Tandry
