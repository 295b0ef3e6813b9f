// Helpers for the tests of the rasteriser's front ends: memory images made
// from a fill or a pattern, and a quad drawn into a whole test canvas.
#pragma once

#include "graphics/image/MemoryImage.h"
#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/rasterizer.h"
#include "graphics/types/Color.h"
#include "graphics/types/Matrix3x3.h"
#include "graphics/types/Rect.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace Tandry::Testing {

inline std::unique_ptr<MemoryImage> FilledImage(int width, int height, uint32_t fill)
{
    auto image = std::make_unique<MemoryImage>(nullptr);
    const std::vector<uint32_t> texels(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
    image->SetBits(texels.data(), width, height, true);
    return image;
}

inline Matrix3x3 Identity()
{
    Matrix3x3 m;
    m.LoadIdentity();
    return m;
}

// A rotation by `degrees` scaled by `scale`, as drawing reads a matrix.
inline Matrix3x3 RotationScale(double degrees, double scale)
{
    const double radians = degrees * 3.14159265358979323846 / 180.0;
    Matrix3x3 m;
    m.m[0][0] = static_cast<float>(scale * std::cos(radians));
    m.m[0][1] = static_cast<float>(-scale * std::sin(radians));
    m.m[1][0] = static_cast<float>(scale * std::sin(radians));
    m.m[1][1] = static_cast<float>(scale * std::cos(radians));
    m.m[2][2] = 1.0f;
    return m;
}

inline void DrawQuad(RasterCanvas& canvas, Image* image, float x, float y, const Matrix3x3& matrix,
                     const Rect& source, const Color& color = Color::White, bool linear = false)
{
    const Rect clip{0, 0, canvas.Width(), canvas.Height()};
    RasterizeTransformedQuad(image, x, y, &matrix, &clip, &color, &source, canvas.Origin(), canvas.Pitch(),
                             canvas.Format(), linear);
}

} // namespace Tandry::Testing
