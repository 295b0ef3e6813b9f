// A rotated, scaled alpha sprite drawn through the transformed-quad front end
// into screen-sized buffers, against the reference model's picture: the same
// corners, clipped and converted by the polygon set-up, then drawn triangle
// by triangle by the model.
#include "graphics/rasterizer/rasterizer.h"

#include "graphics/rasterizer/FrontEndFixtures.h"
#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/RasterizePolygon.h"
#include "graphics/rasterizer/RasterizeTriangle.h"
#include "graphics/rasterizer/ReferenceRasterizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace Tandry;
using namespace Tandry::Testing;

// Opaque in the middle, transparent outside a circle, with a soft rim.
std::vector<uint32_t> Sprite(int size)
{
    std::vector<uint32_t> texels(static_cast<size_t>(size) * static_cast<size_t>(size));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double r = std::hypot(x - size / 2 + 0.5, y - size / 2 + 0.5);
            const double a = std::clamp((size * 0.47 - r) / (size * 0.08), 0.0, 1.0);
            const auto alpha = static_cast<uint32_t>(a * 255.0);
            texels[static_cast<size_t>(y * size + x)] = alpha << 24 | static_cast<uint32_t>(x * 2) << 16 |
                                                       static_cast<uint32_t>(y * 2) << 8 |
                                                       static_cast<uint32_t>((x + y) & 0xFF);
        }
    return texels;
}

RasterCanvas* gModel;

void DrawWithModel(bool textured, bool alpha, bool vertexColors, bool modulate, const RasterVertex* vertices,
                   void*, int32_t pitch, const RasterTexture* texture, const RasterColor* color, int32_t format,
                   bool bilinear, const Rect* clip)
{
    const int index = TriangleRoutineIndex(textured, alpha, vertexColors, modulate, format, bilinear);
    ReferenceTriangle(vertices, gModel->Bytes(), pitch, FormatOfIndex(index), FeaturesOfIndex(index), *color,
                      *clip, *texture);
}

// The quad's corners written out again from their definition.
void ModelQuad(RasterCanvas& canvas, MemoryImage* image, float x, float y, const Matrix3x3& m, const Rect& source,
               const Color& color, bool linear)
{
    const float hw = static_cast<float>(source.width) * 0.5f;
    const float hh = static_cast<float>(source.height) * 0.5f;
    const float w = static_cast<float>(image->mWidth);
    const float h = static_cast<float>(image->mHeight);
    const float u[2] = {static_cast<float>(source.x) / w, static_cast<float>(source.x + source.width) / w};
    const float v[2] = {static_cast<float>(source.y) / h, static_cast<float>(source.y + source.height) / h};
    TriVertex corners[4];
    for (int i = 0; i < 4; ++i) {
        const float cx = (i & 1) ? hw : -hw;
        const float cy = (i & 2) ? hh : -hh;
        const float mx = m.m[0][0] * cx + m.m[0][1] * cy + m.m[0][2];
        const float my = m.m[1][0] * cx + m.m[1][1] * cy + m.m[1][2];
        corners[i] = {mx + x - 0.5f, my + y - 0.5f, u[i & 1], v[i >> 1], 0xFFFFFFFF};
    }
    const Rect clip{0, 0, canvas.Width(), canvas.Height()};
    gModel = &canvas;
    RasterizePolygon(corners, 4, image, &color, &clip, canvas.Origin(), canvas.Pitch(), canvas.Format(), linear,
                     false, &DrawWithModel);
}

TEST(RasterizerEndToEnd, RotatedSpriteMatchesModel)
{
    const std::vector<uint32_t> texels = Sprite(128);
    MemoryImage image(nullptr);
    image.SetBits(texels.data(), 128, 128, true);
    const Matrix3x3 m = RotationScale(30, 1.3);
    for (int32_t format : {0x8888, 0x565})
        for (bool linear : {false, true})
            for (const Color& color : {Color::White, Color(200, 180, 160, 200)}) {
                RasterCanvas actual(format, 1024, 768, 0);
                for (int yy = 0; yy < 768; ++yy)
                    for (int xx = 0; xx < 1024; ++xx)
                        actual.Set(xx, yy, static_cast<uint32_t>(xx) * 0x10203 + static_cast<uint32_t>(yy) * 0x3020100);
                RasterCanvas expected = actual;
                const uint32_t middle = actual.At(512, 384);
                DrawQuad(actual, &image, 512.25f, 384.75f, m, {0, 0, 128, 128}, color, linear);
                ModelQuad(expected, &image, 512.25f, 384.75f, m, {0, 0, 128, 128}, color, linear);
                EXPECT_TRUE(actual == expected) << std::hex << format << " linear " << linear;
                // Something was drawn: the quad's middle shows the sprite.
                EXPECT_NE(actual.At(512, 384), middle);
            }
}

} // namespace
