// Compares a Matrix3x3 with nine expected floats, bit for bit (EXPECT_EQ on
// floats), since the products are meant to be reproducible exactly.
#pragma once

#include "graphics/types/Matrix3x3.h"

#include <gtest/gtest.h>

#include <array>

namespace Tandry::Testing {

using Rows = std::array<std::array<float, 3>, 3>;

inline void ExpectMatrix(const Matrix3x3& actual, const Rows& expected)
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(actual.m[i][j], expected[i][j]) << "m[" << i << "][" << j << "]";
}

inline Matrix3x3 FromRows(const Rows& rows)
{
    Matrix3x3 result;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            result.m[i][j] = rows[i][j];
    return result;
}

} // namespace Tandry::Testing
