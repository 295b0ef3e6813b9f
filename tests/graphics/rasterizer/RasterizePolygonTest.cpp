#include "graphics/rasterizer/RasterizePolygon.h"

#include "graphics/image/MemoryImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

using namespace Tandry;

struct Call {
    bool textured;
    bool alpha;
    bool vertexColors;
    bool modulate;
    RasterVertex vertices[3];
    RasterTexture texture;
    RasterColor color;
    int32_t format;
    bool bilinear;
    Rect clip;
};

std::vector<Call> gCalls;

void Record(bool textured, bool alpha, bool vertexColors, bool modulate, const RasterVertex* vertices, void*,
            int32_t, const RasterTexture* texture, const RasterColor* color, int32_t format, bool bilinear,
            const Rect* clip)
{
    gCalls.push_back({textured, alpha, vertexColors, modulate, {vertices[0], vertices[1], vertices[2]}, *texture,
                      *color, format, bilinear, *clip});
}

std::vector<Call> Polygon(const std::vector<TriVertex>& vertices, const Rect& clip, const Color& color = Color::White,
                          bool vertexColors = false, MemoryImage* texture = nullptr, bool bilinear = false)
{
    gCalls.clear();
    RasterizePolygon(vertices.data(), static_cast<int>(vertices.size()), texture, &color, &clip, nullptr, 0, 0x8888,
                     bilinear, vertexColors, &Record);
    return gCalls;
}

constexpr int32_t F(double pixels) { return static_cast<int32_t>(pixels * 65536); }

void ExpectPositions(const Call& call, std::initializer_list<std::pair<double, double>> expected)
{
    int i = 0;
    for (const auto& [x, y] : expected) {
        EXPECT_EQ(call.vertices[i].x, F(x)) << "vertex " << i;
        EXPECT_EQ(call.vertices[i].y, F(y)) << "vertex " << i;
        ++i;
    }
}

const Rect kClip{0, 0, 200, 200};

TEST(RasterizePolygon, InsideTriangleArrivesOnceInItsOrder)
{
    const auto calls = Polygon({{10, 20, 0, 0, 0}, {50.5f, 5, 0, 0, 0}, {30, 60.25f, 0, 0, 0}}, kClip);
    ASSERT_EQ(calls.size(), 1u);
    ExpectPositions(calls[0], {{10, 20}, {50.5, 5}, {30, 60.25}});
    EXPECT_EQ(calls[0].clip, kClip);
}

TEST(RasterizePolygon, ClippedPolygonIsFannedAroundItsFirstVertex)
{
    const auto calls = Polygon({{64, 64, 0, 0, 0}, {128, 64, 0, 0, 0}, {64, 128, 0, 0, 0}}, {0, 0, 113, 113});
    ASSERT_EQ(calls.size(), 3u);
    ExpectPositions(calls[0], {{64, 64}, {112, 64}, {112, 80}});
    ExpectPositions(calls[1], {{64, 64}, {112, 80}, {80, 112}});
    ExpectPositions(calls[2], {{64, 64}, {80, 112}, {64, 112}});
}

TEST(RasterizePolygon, SevenVerticesGiveFiveFanTriangles)
{
    EXPECT_EQ(Polygon({{-64, -64, 0, 0, 0}, {40, 144, 0, 0, 0}, {144, 40, 0, 0, 0}}, {0, 0, 129, 129}).size(), 5u);
}

// The strip's odd triangles swap their last two corners; the alternation
// goes on past a triangle that draws nothing, whatever the reason.
TEST(RasterizePolygon, StripOrder)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const TriVertex p1{-16, 0, 0, 0, 0};
    const TriVertex p2{-16, 128, 0, 0, 0};
    const TriVertex p3{48, 64, 0, 0, 0};
    struct Case {
        const char* name;
        TriVertex p0;
    };
    const Case cases[] = {
        {"first clipped away", {-64, 64, 0, 0, 0}},
        {"first not a number", {nan, 64, 0, 0, 0}},
        {"first infinite", {10, inf, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const auto calls = Polygon({c.p0, p1, p2, p3}, kClip);
        ASSERT_EQ(calls.size(), 1u) << c.name;
        // (P1, P3, P2) clipped at x = 0 starts on the edge P1-P3; in the order
        // (P1, P2, P3) it would start on P2-P3 at (0, 112).
        ExpectPositions(calls[0], {{0, 16}, {48, 64}, {0, 112}});
    }

    const auto calls = Polygon({{7.5f, 18.5f, 0, 0, 0}, {11.5f, 18.5f, 0, 0, 0}, {7.5f, 20.5f, 0, 0, 0},
                                {11.5f, 20.5f, 0, 0, 0}},
                               kClip);
    ASSERT_EQ(calls.size(), 2u);
    ExpectPositions(calls[0], {{7.5, 18.5}, {11.5, 18.5}, {7.5, 20.5}});
    ExpectPositions(calls[1], {{11.5, 18.5}, {11.5, 20.5}, {7.5, 20.5}});
}

TEST(RasterizePolygon, FixedPointConversionTruncatesTowardZero)
{
    const auto calls = Polygon({{-0.3f, 0.3f, 0, 0, 0}, {50, 5, 0, 0, 0}, {30, 60, 0, 0, 0}}, {-1, 0, 100, 100});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].vertices[0].x, -19660);
    EXPECT_EQ(calls[0].vertices[0].y, 19660);
}

TEST(RasterizePolygon, VertexColoursAreUnpackedTo816)
{
    const auto calls = Polygon({{10, 20, 0, 0, 0x80FF4020}, {50, 5, 0, 0, 0}, {30, 60, 0, 0, 0xFF}}, kClip,
                               Color::White, true);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].vertexColors);
    const RasterVertex& v = calls[0].vertices[0];
    EXPECT_EQ(v.alpha, 0x800000);
    EXPECT_EQ(v.red, 0xFF0000);
    EXPECT_EQ(v.green, 0x400000);
    EXPECT_EQ(v.blue, 0x200000);
    // A zero word among coloured vertices is transparent black.
    EXPECT_EQ(calls[0].vertices[1].alpha, 0);
    EXPECT_EQ(calls[0].vertices[2].blue, 0xFF0000);
}

TEST(RasterizePolygon, ColourRecordAndModulateFlag)
{
    const std::vector<TriVertex> triangle = {{10, 20, 0, 0, 0}, {50, 5, 0, 0, 0}, {30, 60, 0, 0, 0}};
    struct Case {
        Color color;
        bool modulate;
    };
    const Case cases[] = {
        {Color::White, false},
        {{255, 255, 255, 254}, true},
        {{254, 255, 255, 255}, true},
        {{10, 20, 30, 40}, true},
    };
    for (const Case& c : cases) {
        const auto calls = Polygon(triangle, kClip, c.color);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].modulate, c.modulate) << c.color.red << " " << c.color.alpha;
        EXPECT_EQ(calls[0].color, (RasterColor{c.color.alpha, c.color.red, c.color.green, c.color.blue}));
        EXPECT_FALSE(calls[0].textured);
        EXPECT_FALSE(calls[0].alpha);
    }
}

TEST(RasterizePolygon, NothingToDraw)
{
    const std::vector<TriVertex> triangle = {{10, 20, 0, 0, 0}, {50, 5, 0, 0, 0}, {30, 60, 0, 0, 0}};
    EXPECT_TRUE(Polygon({triangle[0], triangle[1]}, kClip).empty());
    EXPECT_TRUE(Polygon(triangle, {0, 0, 0, 100}).empty());
    EXPECT_TRUE(Polygon(triangle, {0, 0, 100, -5}).empty());
    EXPECT_TRUE(Polygon(triangle, {300, 300, 10, 10}).empty());
}

// Vertices far out of range are clipped back to the bounds; a clip at the
// end of the int range must not overflow its own right edge.
TEST(RasterizePolygon, HugeCoordinatesAreClipped)
{
    auto calls = Polygon({{-1e30f, -1e30f, 0, 0, 0}, {1e30f, -1e30f, 0, 0, 0}, {0, 1e30f, 0, 0, 0}}, {0, 0, 64, 64});
    ASSERT_FALSE(calls.empty());
    for (const Call& call : calls)
        for (const RasterVertex& v : call.vertices) {
            EXPECT_GE(v.x, 0);
            EXPECT_LE(v.x, F(63));
            EXPECT_GE(v.y, 0);
            EXPECT_LE(v.y, F(63));
        }
    calls = Polygon({{10, 20, 0, 0, 0}, {50, 5, 0, 0, 0}, {30, 60, 0, 0, 0}}, {2147483600, 0, 2147483647, 100});
    EXPECT_TRUE(calls.empty());
}

std::vector<uint32_t> Picture(int width, int height, uint32_t argb)
{
    return std::vector<uint32_t>(static_cast<size_t>(width) * height, argb);
}

// Counts the pixel fetches, which happen once per strip triangle drawn.
class CountingImage : public MemoryImage {
public:
    CountingImage() : MemoryImage(nullptr) {}
    uint32_t* GetBits() override
    {
        ++fetches;
        return MemoryImage::GetBits();
    }
    int fetches = 0;
};

const std::vector<TriVertex> kTextured = {{10, 20, 0.5f, 0.25f, 0}, {50, 5, 1.0f, 0.0f, 0}, {30, 60, -0.3f, 1.0f, 0}};

TEST(RasterizePolygon, TextureRecord)
{
    struct Case {
        int width, height;
        int32_t shift, maxU, maxV;
    };
    const Case cases[] = {
        {1, 1, 16, 0, 0},
        {256, 2, 8, 255 << 16, 1 << 16},
        {300, 7, 8, 299 << 16, 6 << 16},
        {0, 3, 16, -(1 << 16), 2 << 16},
        {2, 0, 15, 1 << 16, -(1 << 16)},
        // Kept to 32 bits: 65535 << 16 wraps.
        {65536, 1, 0, -(1 << 16), 0},
    };
    for (const Case& c : cases) {
        MemoryImage image(nullptr);
        image.Create(c.width, c.height);
        const auto calls = Polygon(kTextured, kClip, Color::White, false, &image);
        ASSERT_EQ(calls.size(), 1u);
        const RasterTexture& t = calls[0].texture;
        EXPECT_TRUE(calls[0].textured);
        EXPECT_EQ(t.shift, c.shift) << c.width;
        EXPECT_EQ(t.maxU, c.maxU) << c.width;
        EXPECT_EQ(t.maxV, c.maxV) << c.height;
        EXPECT_EQ(t.width, c.width);
        EXPECT_EQ(t.height, c.height);
        EXPECT_EQ(t.count, c.width * c.height);
        EXPECT_EQ(t.bits, image.GetBits());
    }
}

TEST(RasterizePolygon, TexturePositionsInTexels)
{
    MemoryImage image(nullptr);
    image.Create(300, 7);
    const auto calls = Polygon(kTextured, kClip, Color::White, false, &image);
    ASSERT_EQ(calls.size(), 1u);
    const RasterVertex* v = calls[0].vertices;
    EXPECT_EQ(v[0].u, 150 << 16);
    EXPECT_EQ(v[0].v, 114688); // 0.25 * 7 texels
    EXPECT_EQ(v[1].u, 300 << 16);
    // -0.3f * 300 * 65536 in double, truncated toward zero.
    EXPECT_EQ(v[2].u, static_cast<int32_t>(static_cast<double>(-0.3f) * 300.0 * 65536.0));
    EXPECT_EQ(v[2].v, 7 << 16);
}

// The flags are brought up to date first: the picture decides, or linear
// filtering, which always blends.
TEST(RasterizePolygon, AlphaFlagFromTheTexture)
{
    struct Case {
        const char* name;
        uint32_t oddPixel;
        bool bilinear;
        bool alpha;
    };
    const Case cases[] = {
        {"opaque", 0xFF102030, false, false},
        {"opaque, linear", 0xFF102030, true, true},
        {"partial alpha", 0x80102030, false, true},
        {"transparent", 0x00102030, false, true},
    };
    for (const Case& c : cases) {
        MemoryImage image(nullptr);
        std::vector<uint32_t> picture = Picture(4, 4, 0xFFFFFFFF);
        picture[5] = c.oddPixel;
        image.SetBits(picture.data(), 4, 4, false);
        const auto calls = Polygon(kTextured, kClip, Color::White, false, &image, c.bilinear);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].alpha, c.alpha) << c.name;
        EXPECT_EQ(calls[0].bilinear, c.bilinear) << c.name;
    }
}

TEST(RasterizePolygon, PixelsFetchedForEachStripTriangle)
{
    CountingImage image;
    image.Create(8, 8);
    Polygon({{7.5f, 18.5f, 0, 0, 0}, {11.5f, 18.5f, 1, 0, 0}, {7.5f, 20.5f, 0, 1, 0}, {11.5f, 20.5f, 1, 1, 0}},
            kClip, Color::White, false, &image);
    EXPECT_EQ(image.fetches, 2);
    image.fetches = 0;
    Polygon({{-64, 64, 0, 0, 0}, {-16, 0, 0, 0, 0}, {-16, 128, 0, 0, 0}, {48, 64, 0, 0, 0}}, kClip, Color::White,
            false, &image);
    EXPECT_EQ(image.fetches, 1);
}

} // namespace
