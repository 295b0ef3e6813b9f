// Properties of the textured path over seeded random input: textured
// routines cover what the vertex-coloured routine covers, a half-transparent
// quad is drawn once everywhere, and arbitrary front-end input writes nothing
// outside the clip and reads nothing outside the texels.
#include "graphics/rasterizer/rasterizer.h"

#include "graphics/rasterizer/ExactTexelImage.h"
#include "graphics/rasterizer/FrontEndFixtures.h"
#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/RasterTestInputs.h"
#include "graphics/rasterizer/RasterizeTriangle.h"
#include "graphics/rasterizer/TexturedFixtures.h"
#include "graphics/rasterizer/VertexColorRoutines.h"
#include "graphics/types/TriVertex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

using namespace Tandry;
using namespace Tandry::Testing;

// Drawn pixels are those whose alpha became 0xFF over a canvas of zeros.
std::vector<bool> Drawn(const RasterCanvas& canvas)
{
    std::vector<bool> drawn;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            drawn.push_back(canvas.At(x, y) >> 24 == 0xFF);
    return drawn;
}

TEST(TexturedProperties, SameCoverageAsVertexColours)
{
    const uint32_t seed = 1071;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    RasterTestInputs in(seed);
    TestTexture texture(32, 32);
    for (int i = 0; i < 32 * 32; ++i)
        texture.Texels()[i] = 0xFF000000 | static_cast<uint32_t>(in.Random()());
    for (int round = 0; round < 150; ++round) {
        RasterVertex v[3];
        in.Triangle(v, -8, 56, -8, 56);
        for (RasterVertex& c : v) {
            c.alpha = 255 << 16;
            // Two texels inside every edge: the filter's block stays inside.
            c.u = in.Int(2 << 16, 30 << 16);
            c.v = in.Int(2 << 16, 30 << 16);
        }
        const RasterColor color{255, in.Channel(), in.Channel(), in.Channel()};
        const Rect clip = in.Clip(48, 48);
        RasterCanvas untextured(0x8888, 48, 48);
        untextured.Fill(0);
        Tri8888Vc(v, untextured.Origin(), untextured.Pitch(), &texture.Record(), &color, &clip);
        for (int index = 16; index < 32; ++index) {
            RasterCanvas textured(0x8888, 48, 48);
            textured.Fill(0);
            gTriangleRoutines[index](v, textured.Origin(), textured.Pitch(), &texture.Record(), &color, &clip);
            ASSERT_EQ(Drawn(textured), Drawn(untextured)) << "index " << index << " round " << round;
        }
    }
}

struct Point {
    double x;
    double y;
};

// Distance of p inside the convex polygon (negative outside).
double Depth(const std::vector<Point>& polygon, Point p)
{
    const size_t n = polygon.size();
    double area = 0;
    for (size_t i = 0; i < n; ++i)
        area += polygon[i].x * polygon[(i + 1) % n].y - polygon[(i + 1) % n].x * polygon[i].y;
    double depth = std::numeric_limits<double>::max();
    for (size_t i = 0; i < n; ++i) {
        const Point a = polygon[i];
        const Point b = polygon[(i + 1) % n];
        const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
        depth = std::min(depth, (area > 0 ? cross : -cross) / std::hypot(b.x - a.x, b.y - a.y));
    }
    return depth;
}

// White at alpha 128 over black 0x888 gives 126; the two strip triangles
// share their diagonal, and a pixel drawn by both would read 189.
TEST(TexturedProperties, HalfTransparentQuadIsDrawnOnce)
{
    const uint32_t seed = 1072;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    RasterTestInputs in(seed);
    auto image = FilledImage(8, 8, 0xFFFFFFFF);
    const Color color(255, 255, 255, 128);
    std::uniform_real_distribution<double> angle(0, 360);
    std::uniform_real_distribution<double> scale(0.5, 5);
    std::uniform_real_distribution<float> place(10, 54);
    for (int round = 0; round < 200; ++round) {
        const Matrix3x3 m = RotationScale(angle(in.Random()), scale(in.Random()));
        const float x = place(in.Random());
        const float y = place(in.Random());
        RasterCanvas canvas(0x888, 64, 64);
        canvas.Fill(0xFF000000);
        DrawQuad(canvas, image.get(), x, y, m, {0, 0, 8, 8}, color);
        std::vector<Point> quad;
        for (const Point corner : {Point{-4, -4}, Point{4, -4}, Point{4, 4}, Point{-4, 4}}) {
            const float cx = static_cast<float>(corner.x);
            const float cy = static_cast<float>(corner.y);
            quad.push_back({m.m[0][0] * cx + m.m[0][1] * cy + m.m[0][2] + x - 0.5f,
                            m.m[1][0] * cx + m.m[1][1] * cy + m.m[1][2] + y - 0.5f});
        }
        for (int py = 0; py < 64; ++py)
            for (int px = 0; px < 64; ++px) {
                const uint32_t pixel = canvas.At(px, py);
                ASSERT_TRUE(pixel == 0xFF000000 || pixel == 0xFF7E7E7E)
                    << "round " << round << " at " << px << "," << py << std::hex << ": " << pixel;
                // The clip's last column and row are never drawn.
                const bool drawable = px < 63 && py < 63;
                if (drawable && Depth(quad, {static_cast<double>(px), static_cast<double>(py)}) >= 0.01) {
                    ASSERT_EQ(pixel, 0xFF7E7E7Eu) << "round " << round << " at " << px << "," << py;
                }
            }
    }
}

// A vertex-coloured triangle cut by the clip into a fan: every fan triangle
// gets the same colours, the drawing colour folded in once, so every pixel
// equals the one of the whole triangle.
TEST(TexturedProperties, ClippedFanHasNoColourStep)
{
    auto image = FilledImage(64, 64, 0xFFFFFFFF);
    const Color color(200, 100, 50, 180);
    // Every pixel samples the centre of texel (10, 10).
    const float centre = 10.5f / 64;
    const std::vector<TriVertex> triangle = {{4, 4, centre, centre, 0xC0FF8040},
                                             {60, 4, centre, centre, 0xC0FF8040},
                                             {4, 60, centre, centre, 0xC0FF8040}};
    for (int32_t format : {0x8888, 0x888, 0x565, 0x555})
        for (bool linear : {false, true}) {
            RasterCanvas whole(format, 64, 64);
            whole.Fill(0);
            const Rect all{0, 0, 64, 64};
            RasterizeTriangleList(image.get(), triangle.data(), 1, &all, &color, whole.Origin(), whole.Pitch(),
                                  format, 0, 0, linear);
            RasterCanvas cut(format, 64, 64);
            cut.Fill(0);
            const Rect corner{0, 0, 40, 40};
            RasterizeTriangleList(image.get(), triangle.data(), 1, &corner, &color, cut.Origin(), cut.Pitch(),
                                  format, 0, 0, linear);
            const uint32_t inside = whole.At(10, 10);
            ASSERT_NE(inside, 0u);
            for (int y = 0; y < 39; ++y)
                for (int x = 0; x < 39; ++x)
                    ASSERT_EQ(cut.At(x, y), whole.At(x, y)) << std::hex << format << " " << linear << " at " << x
                                                            << "," << y;
        }
}

float AnyFloat(RasterTestInputs& in, float low, float high)
{
    static const float kSpecial[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                     -std::numeric_limits<float>::infinity(), 1e30f, -1e30f, 0.0f, -0.0f, 3e9f,
                                     std::numeric_limits<float>::denorm_min()};
    switch (in.Int(0, 5)) {
    case 0: return kSpecial[in.Int(0, 8)];
    case 1: {
        const auto bits = static_cast<uint32_t>(in.Random()());
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    default: return std::uniform_real_distribution<float>(low, high)(in.Random());
    }
}

// Any image size and alpha, any matrix, position, source rectangle, vertex
// and colour: nothing outside the clip changes, and (under AddressSanitizer)
// no texel is read outside the image's exact array.
TEST(TexturedProperties, ArbitraryInputStaysInside)
{
    const uint32_t seed = 1073;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    RasterTestInputs in(seed);
    for (int round = 0; round < 1500; ++round) {
        const int width = in.Int(0, 3) == 0 ? in.Int(0, 2) : in.Int(0, 40);
        const int height = in.Int(0, 3) == 0 ? in.Int(0, 2) : in.Int(0, 40);
        std::vector<uint32_t> texels(static_cast<size_t>(width * height));
        const uint32_t alphaMask = in.Int(0, 2) == 0 ? 0xFF000000 : 0xFFFFFFFF;
        for (uint32_t& t : texels)
            t = static_cast<uint32_t>(in.Random()()) | (0xFFFFFFFF ^ alphaMask);
        ExactTexelImage image(width, height, texels.data());
        static constexpr int32_t kFormats[] = {0x8888, 0x888, 0x565, 0x555, 0x1234};
        const int32_t format = kFormats[in.Int(0, 4)];
        RasterCanvas canvas(format, 40, 30);
        canvas.FillRandom(in.Random());
        const RasterCanvas before = canvas;
        const Rect clip = in.Clip(40, 30);
        const Color color{in.Channel(), in.Channel(), in.Channel(), in.Channel()};
        const bool linear = in.Int(0, 1) == 1;
        if (in.Int(0, 1) == 0) {
            Matrix3x3 m;
            for (auto& row : m.m)
                for (float& e : row)
                    e = AnyFloat(in, -3, 3);
            const Rect source{in.Int(-10, 50), in.Int(-10, 50), in.Int(-20, 60), in.Int(-20, 60)};
            RasterizeTransformedQuad(&image, AnyFloat(in, -20, 60), AnyFloat(in, -20, 50), &m, &clip, &color,
                                     &source, canvas.Origin(), canvas.Pitch(), format, linear);
        } else {
            std::vector<TriVertex> vertices(static_cast<size_t>(3 * in.Int(1, 3)));
            for (TriVertex& v : vertices)
                v = {AnyFloat(in, -20, 60), AnyFloat(in, -20, 50), AnyFloat(in, -1, 2), AnyFloat(in, -1, 2),
                     in.Int(0, 2) == 0 ? 0u : static_cast<uint32_t>(in.Random()())};
            RasterizeTriangleList(&image, vertices.data(), static_cast<int>(vertices.size() / 3), &clip, &color,
                                  canvas.Origin(), canvas.Pitch(), format, AnyFloat(in, -5, 5),
                                  AnyFloat(in, -5, 5), linear);
        }
        ASSERT_FALSE(canvas.ChangedOutside(before, clip)) << "round " << round;
    }
}

} // namespace
