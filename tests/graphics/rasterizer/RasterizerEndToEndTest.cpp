// A rotated, scaled alpha sprite drawn through the front ends into
// screen-sized buffers, and untransformed sprites, whole and cut, against the
// reference model's picture.
#include "graphics/rasterizer/rasterizer.h"

#include "graphics/rasterizer/FrontEndFixtures.h"
#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/ReferenceFrontEnds.h"
#include "graphics/types/TriVertex.h"

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

RasterCanvas Screen(int32_t format)
{
    RasterCanvas screen(format, 1024, 768, 0);
    for (uint32_t y = 0; y < 768; ++y)
        for (uint32_t x = 0; x < 1024; ++x)
            screen.Set(static_cast<int>(x), static_cast<int>(y), x * 0x10203 + y * 0x3020100);
    return screen;
}

TEST(RasterizerEndToEnd, RotatedSpriteMatchesModel)
{
    const std::vector<uint32_t> texels = Sprite(128);
    MemoryImage image(nullptr);
    image.SetBits(texels.data(), 128, 128, true);
    const Matrix3x3 m = RotationScale(30, 1.3);
    const Rect source{0, 0, 128, 128};
    // The whole screen, and a clip that cuts every side of the quad.
    for (const Rect& clip : {Rect{0, 0, 1024, 768}, Rect{450, 330, 130, 110}})
        for (int32_t format : {0x8888, 0x565})
            for (bool linear : {false, true})
                for (const Color& color : {Color::White, Color(200, 180, 160, 200)}) {
                    RasterCanvas actual = Screen(format);
                    RasterCanvas expected = actual;
                    const uint32_t middle = actual.At(512, 384);
                    RasterizeTransformedQuad(&image, 512.25f, 384.75f, &m, &clip, &color, &source, actual.Origin(),
                                             actual.Pitch(), format, linear);
                    ReferenceTransformedQuad(&image, 512.25f, 384.75f, &m, &clip, &color, &source,
                                             expected.Origin(), expected.Pitch(), format, linear);
                    EXPECT_TRUE(actual == expected)
                        << std::hex << format << " linear " << linear << std::dec << " clip " << clip.width;
                    // Something was drawn: the quad's middle shows the sprite.
                    EXPECT_NE(actual.At(512, 384), middle);
                }
}

// The same sprite as a list of two triangles with their own vertex colours,
// moved by a fraction of a pixel.
TEST(RasterizerEndToEnd, VertexColouredSpriteMatchesModel)
{
    const std::vector<uint32_t> texels = Sprite(128);
    MemoryImage image(nullptr);
    image.SetBits(texels.data(), 128, 128, true);
    const std::vector<TriVertex> triangles = {
        {300.5f, 200.25f, 0, 0, 0xFFFF8040}, {480.75f, 260, 1, 0, 0xC040FF80}, {250, 380.5f, 0, 1, 0xFF8040FF},
        {480.75f, 260, 1, 0, 0xC040FF80},    {430, 440.75f, 1, 1, 0x80FFFFFF}, {250, 380.5f, 0, 1, 0xFF8040FF}};
    // The whole screen, and a clip that cuts every side of both triangles.
    for (const Rect& clip : {Rect{0, 0, 1024, 768}, Rect{280, 230, 170, 180}})
        for (int32_t format : {0x8888, 0x565})
            for (bool linear : {false, true})
                for (const Color& color : {Color::White, Color(200, 180, 160, 200)}) {
                    RasterCanvas actual = Screen(format);
                    RasterCanvas expected = actual;
                    RasterizeTriangleList(&image, triangles.data(), 2, &clip, &color, actual.Origin(),
                                          actual.Pitch(), format, 0.25f, -0.5f, linear);
                    ReferenceTriangleList(&image, triangles.data(), 2, &clip, &color, expected.Origin(),
                                          expected.Pitch(), format, 0.25f, -0.5f, linear);
                    EXPECT_TRUE(actual == expected)
                        << std::hex << format << " linear " << linear << std::dec << " clip " << clip.width;
                }
}

// Sprites drawn where they stand, the commonest quad: whole-pixel and
// fractional positions, whole textures and parts of them (odd sizes, whose
// steps do not come out whole texels), the quad inside the clip or cut by it,
// every format, plain and tinted.
TEST(RasterizerEndToEnd, UntransformedSpritesMatchModel)
{
    const std::vector<uint32_t> texels = Sprite(24);
    MemoryImage image(nullptr);
    image.SetBits(texels.data(), 24, 24, true);
    const Matrix3x3 identity = Identity();
    const float positions[][2] = {{20, 18}, {20.5f, 17.5f}, {19.25f, 18.75f}, {7, 5}, {33, 30.5f}};
    const Rect sources[] = {{0, 0, 24, 24}, {3, 5, 13, 7}, {16, 0, 8, 24}, {1, 1, 22, 21}};
    const Rect clips[] = {{0, 0, 48, 40}, {12, 10, 30, 25}};
    for (int32_t format : {0x8888, 0x888, 0x565, 0x555})
        for (const Color& color : {Color::White, Color(200, 180, 160, 200)})
            for (const auto& at : positions)
                for (const Rect& source : sources)
                    for (const Rect& clip : clips) {
                        RasterCanvas actual(format, 48, 40);
                        for (uint32_t y = 0; y < 40; ++y)
                            for (uint32_t x = 0; x < 48; ++x)
                                actual.Set(static_cast<int>(x), static_cast<int>(y), x * 0x50607 + y * 0x7060500);
                        RasterCanvas expected = actual;
                        RasterizeTransformedQuad(&image, at[0], at[1], &identity, &clip, &color, &source,
                                                 actual.Origin(), actual.Pitch(), format, true);
                        ReferenceTransformedQuad(&image, at[0], at[1], &identity, &clip, &color, &source,
                                                 expected.Origin(), expected.Pitch(), format, true);
                        ASSERT_TRUE(actual == expected)
                            << std::hex << format << std::dec << " at " << at[0] << "," << at[1] << " source "
                            << source.x << "," << source.y << " " << source.width << "x" << source.height
                            << " clip " << clip.width;
                    }
}

} // namespace
