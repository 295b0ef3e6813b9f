// Which pixels the device covers: the top-left fill rule, culling, clipping
// of far and broken vertices, the interpolation of colours, the diamond-exit
// rule of lines and the nearest pixel of points.
#include "platform/d3d/D3DTestSupport.h"

#include <cmath>
#include <limits>

namespace {

using namespace D3DTest;

using D3DCoverageTest = D3DFixture;

// Adds 1 to the blue channel of every pixel each draw covers.
void CountCoverage(DeviceOn& scene)
{
    scene.SetStates({{D3DRENDERSTATE_ALPHABLENDENABLE, 1},
                     {D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE},
                     {D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE},
                     {D3DRENDERSTATE_CULLMODE, D3DCULL_NONE}});
}

TEST_F(D3DCoverageTest, TwoTrianglesSharingAnEdgeCoverEachPixelOnce)
{
    DeviceOn scene(12, 12);
    CountCoverage(scene);
    ASSERT_EQ(scene->BeginScene(), DD_OK);
    ASSERT_EQ(scene->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), DD_OK);
    // The shared diagonal runs through the centres (i, i); the outer edges
    // through the centres of column 0, row 0, column 8 and row 8.
    ASSERT_EQ(scene.Draw(D3DPT_TRIANGLELIST, {{0, 0, 0, 1, 0xFF000001}, {8, 8, 0, 1, 0xFF000001},
                                              {0, 8, 0, 1, 0xFF000001}, {0, 0, 0, 1, 0xFF000001},
                                              {8, 0, 0, 1, 0xFF000001}, {8, 8, 0, 1, 0xFF000001}}),
              DD_OK);
    ASSERT_EQ(scene->EndScene(), DD_OK);
    const std::vector<uint32_t> pixels = scene.Pixels();
    for (uint32_t y = 0; y < 12; ++y)
        for (uint32_t x = 0; x < 12; ++x)
            EXPECT_EQ(pixels[y * 12 + x], (x < 8 && y < 8) ? 1u : 0u) << x << "," << y;
}

TEST_F(D3DCoverageTest, AFanAroundAPointCoversItsPolygonExactlyOnce)
{
    DeviceOn scene(24, 24);
    CountCoverage(scene);
    // A convex polygon whose edges pass through no pixel centre.
    const std::vector<std::pair<float, float>> corners = {
        {3.3f, 11.1f}, {7.7f, 2.2f}, {17.1f, 3.3f}, {21.6f, 12.7f}, {15.2f, 21.4f}, {5.1f, 18.9f}};
    std::vector<TLVertex> fan = {{11.37f, 10.81f, 0, 1, 0xFF000001}};
    for (const auto& [x, y] : corners)
        fan.push_back({x, y, 0, 1, 0xFF000001});
    fan.push_back(fan[1]);
    ASSERT_EQ(scene.DrawScene(D3DPT_TRIANGLEFAN, fan, 0), DD_OK);
    const std::vector<uint32_t> pixels = scene.Pixels();
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            // Inside: on the right of every edge as the corners run clockwise on the screen.
            bool inside = true;
            for (size_t i = 0; i < corners.size(); ++i) {
                const auto [ax, ay] = corners[i];
                const auto [bx, by] = corners[(i + 1) % corners.size()];
                inside = inside && (double(bx) - ax) * (y - double(ay)) - (double(by) - ay) * (x - double(ax)) > 0;
            }
            EXPECT_EQ(pixels[y * 24 + x], inside ? 1u : 0u) << x << "," << y;
        }
    }
}

TEST_F(D3DCoverageTest, AQuadFromMinusHalfCoversExactlyItsPixels)
{
    DeviceOn scene(12, 12);
    scene.SetStates({{D3DRENDERSTATE_CULLMODE, D3DCULL_NONE}});
    ASSERT_EQ(scene.DrawScene(D3DPT_TRIANGLESTRIP, Quad(-0.5f, -0.5f, 9.5f, 9.5f, 0xFF00FF00)), DD_OK);
    const std::vector<uint32_t> pixels = scene.Pixels();
    for (uint32_t y = 0; y < 12; ++y)
        for (uint32_t x = 0; x < 12; ++x)
            EXPECT_EQ(pixels[y * 12 + x], (x < 10 && y < 10) ? 0x00FF00u : 0u) << x << "," << y;
}

TEST_F(D3DCoverageTest, CullingDropsTrianglesByTheirTurnOnTheScreen)
{
    // (0, 0) -> (8, 0) -> (0, 8) runs clockwise on a screen whose y points down.
    const std::vector<TLVertex> clockwise = {{0, 0, 0, 1, 0xFFFFFFFF}, {8, 0, 0, 1, 0xFFFFFFFF},
                                             {0, 8, 0, 1, 0xFFFFFFFF}};
    const std::vector<TLVertex> counter = {clockwise[0], clockwise[2], clockwise[1]};
    struct Case {
        uint32_t cull;
        bool clockwiseDrawn;
        bool counterDrawn;
    };
    for (const Case c : {Case{0, true, false}, Case{D3DCULL_NONE, true, true}, Case{D3DCULL_CW, false, true},
                         Case{D3DCULL_CCW, true, false}}) {
        SCOPED_TRACE(c.cull);
        DeviceOn scene(10, 10);
        if (c.cull != 0) // 0: the default
            scene.SetStates({{D3DRENDERSTATE_CULLMODE, c.cull}});
        ASSERT_EQ(scene.DrawScene(D3DPT_TRIANGLELIST, clockwise), DD_OK);
        EXPECT_EQ(scene.Pixel(1, 1) != 0, c.clockwiseDrawn);
        ASSERT_EQ(scene.DrawScene(D3DPT_TRIANGLELIST, counter), DD_OK);
        EXPECT_EQ(scene.Pixel(1, 1) != 0, c.counterDrawn);
    }
    // A strip's second triangle runs the other way round, and is tested with
    // its first two vertices exchanged: with CCW culling both halves of a
    // clockwise-started quad draw.
    DeviceOn scene(10, 10);
    ASSERT_EQ(scene.DrawScene(D3DPT_TRIANGLESTRIP, {{0, 0, 0, 1, 0xFFFFFFFF}, {8, 0, 0, 1, 0xFFFFFFFF},
                                                    {0, 8, 0, 1, 0xFFFFFFFF}, {8, 8, 0, 1, 0xFFFFFFFF}}),
              DD_OK);
    EXPECT_NE(scene.Pixel(1, 1), 0u);
    EXPECT_NE(scene.Pixel(7, 7), 0u);
}

TEST_F(D3DCoverageTest, FarAndBrokenVerticesAreClippedOrDropped)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    DeviceOn scene(16, 16);
    scene.SetStates({{D3DRENDERSTATE_CULLMODE, D3DCULL_NONE}});
    // Reaching 1e30 in every direction: the whole target is inside.
    ASSERT_EQ(scene.DrawScene(D3DPT_TRIANGLELIST, {{-1e30f, -1e30f, 0, 1, 0xFF0000FF}, {3e30f, -1e30f, 0, 1, 0xFF0000FF},
                                                   {-1e30f, 3e30f, 0, 1, 0xFF0000FF}}),
              DD_OK);
    EXPECT_EQ(scene.Pixels(), std::vector<uint32_t>(256, 0xFFu));
    // One far vertex: the part inside is drawn with undistorted colours.
    ASSERT_EQ(scene.DrawScene(D3DPT_TRIANGLELIST, {{-0.5f, -0.5f, 0, 1, 0xFF00FF00}, {1e30f, -0.5f, 0, 1, 0xFF00FF00},
                                                   {-0.5f, 15.5f, 0, 1, 0xFF00FF00}}),
              DD_OK);
    EXPECT_EQ(scene.Pixel(15, 0), 0x00FF00u);
    EXPECT_EQ(scene.Pixel(0, 15), 0x00FF00u);
    for (const float broken : {nan, inf, -inf}) {
        ASSERT_EQ(scene.DrawScene(D3DPT_TRIANGLELIST,
                                  {{0, 0, 0, 1, 0xFFFFFFFF}, {broken, 8, 0, 1, 0xFFFFFFFF}, {0, 8, 0, 1, 0xFFFFFFFF}}),
                  DD_OK);
        EXPECT_EQ(scene.Pixels(), std::vector<uint32_t>(256, 0u));
        ASSERT_EQ(scene.DrawScene(D3DPT_LINELIST, {{0, 0, 0, 1, 0xFFFFFFFF}, {broken, broken, 0, 1, 0xFFFFFFFF}}),
                  DD_OK);
        EXPECT_EQ(scene.Pixels(), std::vector<uint32_t>(256, 0u));
    }
    // Slivers and zero-area triangles.
    ASSERT_EQ(scene.DrawScene(D3DPT_TRIANGLELIST, {{0, 0, 0, 1, 0xFFFFFFFF}, {15, 15, 0, 1, 0xFFFFFFFF},
                                                   {7.5f, 7.5f, 0, 1, 0xFFFFFFFF}, {0, 0.3f, 0, 1, 0xFFFFFFFF},
                                                   {15, 0.3001f, 0, 1, 0xFFFFFFFF}, {15, 0.3002f, 0, 1, 0xFFFFFFFF}}),
              DD_OK);
    EXPECT_EQ(scene.Pixels(), std::vector<uint32_t>(256, 0u));
}

TEST_F(D3DCoverageTest, ColoursAreInterpolatedAcrossTheTriangle)
{
    DeviceOn scene(40, 40);
    scene.SetStates({{D3DRENDERSTATE_CULLMODE, D3DCULL_NONE}});
    ASSERT_EQ(scene.DrawScene(D3DPT_TRIANGLELIST, {{0, 0, 0, 1, 0xFFFF0000}, {30, 0, 0, 1, 0xFF00FF00},
                                                   {0, 30, 0, 1, 0xFF0000FF}}),
              DD_OK);
    // At the centroid (10, 10) each weight is one third of 255.
    const uint32_t centre = scene.Pixel(10, 10);
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(double((centre >> shift) & 0xFF), 85.0, 1.0) << shift;
    // At (15, 3): red 12/30, green 15/30, blue 3/30 of 255, rounded.
    EXPECT_EQ(scene.Pixel(15, 3), (102u << 16) | (128u << 8) | 26u);
}

TEST_F(D3DCoverageTest, LinesLeaveTheDiamondOfEachPixelTheyDraw)
{
    struct Case {
        const char* name;
        uint32_t type;
        std::vector<std::pair<float, float>> points;
        std::vector<std::pair<int, int>> pixels;
    };
    const std::vector<Case> cases = {
        {"the display's line strip", D3DPT_LINESTRIP, {{10, 5}, {20, 5}, {20.5f, 5.5f}},
         {{10, 5}, {11, 5}, {12, 5}, {13, 5}, {14, 5}, {15, 5}, {16, 5}, {17, 5}, {18, 5}, {19, 5}, {20, 5}}},
        {"a segment ending on a centre", D3DPT_LINELIST, {{10, 5}, {20, 5}},
         {{10, 5}, {11, 5}, {12, 5}, {13, 5}, {14, 5}, {15, 5}, {16, 5}, {17, 5}, {18, 5}, {19, 5}}},
        {"a diagonal", D3DPT_LINELIST, {{0, 0}, {4, 4}}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {"backwards", D3DPT_LINELIST, {{4, 2}, {0, 2}}, {{4, 2}, {3, 2}, {2, 2}, {1, 2}}},
        {"steep", D3DPT_LINELIST, {{2.2f, 0.1f}, {2.6f, 4.1f}},
         {{2, 0}, {2, 1}, {2, 2}, {2, 3}, {3, 4}}},
        {"a dropped last vertex", D3DPT_LINELIST, {{0, 1}, {3, 1}, {5, 5}}, {{0, 1}, {1, 1}, {2, 1}}},
        {"points", D3DPT_POINTLIST, {{3.4f, 2.6f}, {-0.6f, 0.0f}, {29.5f, 1.49f}}, {{3, 3}, {30, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceOn scene(32, 8);
        std::vector<TLVertex> vertices;
        for (const auto& [x, y] : c.points)
            vertices.push_back({x, y, 0, 1, 0xFFFFFFFF});
        ASSERT_EQ(scene.DrawScene(c.type, vertices, 0), DD_OK);
        std::vector<uint32_t> expected(32 * 8, 0u);
        for (const auto& [x, y] : c.pixels)
            expected[y * 32 + x] = 0xFFFFFFu;
        const std::vector<uint32_t> pixels = scene.Pixels();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 32; ++x)
                EXPECT_EQ(pixels[y * 32 + x], expected[y * 32 + x]) << x << "," << y;
    }
}

} // namespace
