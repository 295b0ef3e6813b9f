// Properties of the whole untextured path, from floating-point polygons to
// pixels, over seeded random input: coverage against exact geometry, shared
// edges drawn once, and no byte written outside the clip rectangle.
#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/RasterTestInputs.h"
#include "graphics/rasterizer/RasterTexture.h"
#include "graphics/rasterizer/RasterizePolygon.h"
#include "graphics/rasterizer/RasterizeTriangle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

using namespace Tandry;
using namespace Tandry::Testing;

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kOnce = 0xFF7F7F7F;  // white at alpha 128 over black in 0x888
constexpr uint32_t kTwice = 0xFFBEBEBE; // the same drawn twice

struct Point {
    double x;
    double y;
};

double Cross(Point o, Point a, Point b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

double SegmentDistance(Point p, Point a, Point b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Signed distance of p from the triangle's boundary: positive inside, and
// outside the true distance to the triangle, negated.
double Depth(const Point (&t)[3], Point p)
{
    const double orientation = Cross(t[0], t[1], t[2]) > 0 ? 1.0 : -1.0;
    double inside = std::numeric_limits<double>::max();
    double outside = std::numeric_limits<double>::max();
    bool in = true;
    for (int i = 0; i < 3; ++i) {
        const Point a = t[i];
        const Point b = t[(i + 1) % 3];
        const double side = orientation * Cross(a, b, p) / std::hypot(b.x - a.x, b.y - a.y);
        in = in && side >= 0;
        inside = std::min(inside, side);
        outside = std::min(outside, SegmentDistance(p, a, b));
    }
    return in ? inside : -outside;
}

void Draw(RasterCanvas& canvas, const std::vector<TriVertex>& polygon, const Rect& clip)
{
    RasterizePolygon(polygon.data(), static_cast<int>(polygon.size()), nullptr, &Color::White, &clip,
                     canvas.Origin(), canvas.Pitch(), canvas.Format(), false, true);
}

std::vector<TriVertex> Triangle(const Point (&t)[3], uint32_t color)
{
    std::vector<TriVertex> polygon;
    for (const Point& p : t)
        polygon.push_back({static_cast<float>(p.x), static_cast<float>(p.y), 0, 0, color});
    return polygon;
}

// Points already float, so the geometry is the drawn triangle's.
Point RandomPoint(RasterTestInputs& in, double low, double high)
{
    std::uniform_real_distribution<float> d(static_cast<float>(low), static_cast<float>(high));
    return {d(in.Random()), d(in.Random())};
}

// Every pixel centre 0.01 or more inside is drawn, none 0.01 or more outside.
void ExpectCoverage(const RasterCanvas& canvas, const Point (&t)[3], int round, bool insideMustBeDrawn)
{
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const double depth = Depth(t, {static_cast<double>(x), static_cast<double>(y)});
            const bool drawn = canvas.At(x, y) != kBlack;
            if (drawn && depth <= -0.01)
                ADD_FAILURE() << "round " << round << ": drawn " << -depth << " outside at " << x << "," << y;
            if (insideMustBeDrawn && !drawn && depth >= 0.01)
                ADD_FAILURE() << "round " << round << ": undrawn " << depth << " inside at " << x << "," << y;
        }
}

TEST(RasterizerProperties, CoverageMatchesGeometry)
{
    for (uint32_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        RasterTestInputs in(seed);
        for (int round = 0; round < 150; ++round) {
            const Point t[3] = {RandomPoint(in, 1, 62), RandomPoint(in, 1, 62), RandomPoint(in, 1, 62)};
            RasterCanvas canvas(0x888, 64, 64);
            canvas.Fill(kBlack);
            Draw(canvas, Triangle(t, 0xFFFFFFFF), {0, 0, 64, 64});
            ExpectCoverage(canvas, t, round, true);
            if (HasFailure())
                return;
        }
    }
}

// Slivers under a pixel high with near-horizontal edges, many too flat for
// a 16.16 slope, reaching past the clip on either side.
TEST(RasterizerProperties, SliversStayInsideTheirTriangle)
{
    for (uint32_t seed : {11u, 12u, 13u}) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        RasterTestInputs in(seed);
        for (int round = 0; round < 300; ++round) {
            const double row = in.Int(-1, 41);
            const double height = in.Int(0, 1) ? 0.005 : 0.9;
            std::uniform_real_distribution<double> across(-100, 420);
            std::uniform_real_distribution<double> up(-height, height);
            Point t[3];
            for (Point& p : t)
                p = {static_cast<float>(across(in.Random())), static_cast<float>(row + up(in.Random()))};
            RasterCanvas canvas(0x888, 320, 40);
            canvas.Fill(kBlack);
            const RasterCanvas before = canvas;
            const Rect clip{0, 0, 320, 40};
            Draw(canvas, Triangle(t, 0xFFFFFFFF), clip);
            ASSERT_FALSE(canvas.ChangedOutside(before, clip)) << "round " << round;
            ExpectCoverage(canvas, t, round, false);
            if (HasFailure())
                return;
        }
    }
}

TEST(RasterizerProperties, SharedEdgesAreDrawnOnce)
{
    for (uint32_t seed : {21u, 22u, 23u}) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        RasterTestInputs in(seed);
        for (int round = 0; round < 150; ++round) {
            const Point a = RandomPoint(in, -8, 72);
            const Point b = RandomPoint(in, -8, 72);
            const Point c = RandomPoint(in, -8, 72);
            const Point d = RandomPoint(in, -8, 72);
            if (Cross(a, b, c) * Cross(a, b, d) >= 0)
                continue;
            // Each triangle starts at a different corner.
            const Point first[3] = {a, b, c};
            const Point second[3] = {d, b, a};
            RasterCanvas canvas(0x888, 64, 64);
            canvas.Fill(kBlack);
            Draw(canvas, Triangle(first, 0x80FFFFFF), {0, 0, 64, 64});
            Draw(canvas, Triangle(second, 0x80FFFFFF), {0, 0, 64, 64});
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 64; ++x) {
                    const uint32_t pixel = canvas.At(x, y);
                    ASSERT_TRUE(pixel == kBlack || pixel == kOnce)
                        << "round " << round << " at " << x << "," << y << std::hex << ": " << pixel
                        << (pixel == kTwice ? " (drawn twice)" : "");
                }
        }
    }
}

float AnyFloat(RasterTestInputs& in)
{
    static const float kSpecial[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                     -std::numeric_limits<float>::infinity(), 1e30f, -1e30f, 32767.9f, -32768.5f,
                                     3e9f, std::numeric_limits<float>::denorm_min()};
    switch (in.Int(0, 3)) {
    case 0: return kSpecial[in.Int(0, 8)];
    case 1: {
        const auto bits = static_cast<uint32_t>(in.Random()());
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    default: return std::uniform_real_distribution<float>(-100, 200)(in.Random());
    }
}

TEST(RasterizerProperties, NothingOutsideTheClipChanges)
{
    const uint32_t seed = 31;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    RasterTestInputs in(seed);
    const RasterTexture texture;
    for (int32_t format : {0x8888, 0x888, 0x565, 0x555}) {
        // Any 32-bit vertex values, straight into every table entry.
        for (int round = 0; round < 400; ++round) {
            RasterCanvas canvas(format, 40, 30);
            canvas.FillRandom(in.Random());
            const RasterCanvas before = canvas;
            RasterVertex v[3];
            for (RasterVertex& c : v) {
                c = in.Vertex(-40, 80, -40, 70);
                if (in.Int(0, 2) == 0)
                    c.x = static_cast<int32_t>(in.Random()());
                if (in.Int(0, 2) == 0)
                    c.y = static_cast<int32_t>(in.Random()());
                if (in.Int(0, 5) == 0)
                    c.alpha = static_cast<int32_t>(in.Random()());
            }
            const RasterColor color = in.Color();
            const Rect clip = in.Clip(40, 30);
            const int index = TriangleRoutineIndex(false, false, true, in.Int(0, 1) == 1, format, false);
            gTriangleRoutines[index](v, canvas.Origin(), canvas.Pitch(), &texture, &color, &clip);
            ASSERT_FALSE(canvas.ChangedOutside(before, clip)) << std::hex << format << std::dec << " round " << round;
        }
        // Any float vertices, through clipping.
        for (int round = 0; round < 400; ++round) {
            RasterCanvas canvas(format, 40, 30);
            canvas.FillRandom(in.Random());
            const RasterCanvas before = canvas;
            std::vector<TriVertex> polygon(static_cast<size_t>(in.Int(3, 5)));
            for (TriVertex& v : polygon)
                v = {AnyFloat(in), AnyFloat(in), 0, 0, static_cast<uint32_t>(in.Random()())};
            const Rect clip = in.Int(0, 9) == 0 ? Rect{5, 5, in.Int(-3, 0), 10} : in.Clip(40, 30);
            const Color color{in.Channel(), in.Channel(), in.Channel(), in.Channel()};
            RasterizePolygon(polygon.data(), static_cast<int>(polygon.size()), nullptr, &color, &clip,
                             canvas.Origin(), canvas.Pitch(), format, false, true);
            ASSERT_FALSE(canvas.ChangedOutside(before, clip)) << std::hex << format << std::dec << " round " << round;
        }
    }
}

} // namespace
