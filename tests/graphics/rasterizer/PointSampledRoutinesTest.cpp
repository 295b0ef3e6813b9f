#include "graphics/rasterizer/PointSampledRoutines.h"

#include "graphics/rasterizer/BilinearVcRoutines.h"
#include "graphics/rasterizer/PointSampledAlphaRoutines.h"
#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/RasterizeTriangle.h"
#include "graphics/rasterizer/TexturedFixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace Tandry;
using namespace Tandry::Testing;

TEST(PointSampledRoutines, Pixels)
{
    const RasterColor white;
    const SquareCase cases[] = {
        // The plain routines write the texel opaque, whatever its alpha.
        {"8888 texel alpha 0x12", &TexTri8888, 0x8888, 0x12ABCDEF, 0, white, 0xFFFFFFFF, 0xFFABCDEF},
        {"888 entry", gTriangleRoutines[48], 0x888, 0x12ABCDEF, 0, white, 0xFFFFFFFF, 0xFFABCDEF},
        {"565 packs", &TexTri565, 0x565, 0xFF8040C0, 0, white, 0xFFFFFFFF, 0x8218},
        {"555 packs", &TexTri555, 0x555, 0xFF8040C0, 0x8000, white, 0xFFFFFFFF, 0x4118},
        // W = colour alpha * 255 >> 8: 241 gives 240 (opaque), 240 gives 239.
        {"colour alpha 241", &TexTri888Mod, 0x888, 0xFFFFFFFF, 0, {241, 255, 255, 255}, 0, 0xFFFEFEFE},
        {"colour alpha 240", &TexTri888Mod, 0x888, 0xFFFFFFFF, 0, {240, 255, 255, 255}, 0, 0xFFEDEDED},
        {"colour alpha 0", &TexTri888Mod, 0x888, 0xFFFFFFFF, 0xFF808080, {0, 255, 255, 255}, 0, 0xFF7F7F7F},
        {"565 colour alpha 0", &TexTri565Mod, 0x565, 0xFFFFFFFF, 0xFFFF, {0, 255, 255, 255}, 0, 0xF7BE},
        {"555 colour alpha 0", &TexTri555Mod, 0x555, 0xFFFFFFFF, 0x7FFF, {0, 255, 255, 255}, 0, 0x7BDE},
        // s = 254, W = 127, p = 126.
        {"8888 half over nothing", &TexTri8888Mod, 0x8888, 0xFFFFFFFF, 0, {128, 255, 255, 255}, 0, 0x7EFDFDFD},
        {"8888 half over white", &TexTri8888Mod, 0x8888, 0xFFFFFFFF, 0xFFFFFFFF, {128, 255, 255, 255}, 0,
         0xFFFDFDFD},
        {"vertex alpha 241", &TexTri8888Vc, 0x8888, 0xFFFFFFFF, 0xFF000000, white, 0xF1FFFFFF, 0xFFFEFEFE},
        {"vertex alpha 240", &TexTri8888Vc, 0x8888, 0xFFFFFFFF, 0xFF000000, white, 0xF0FFFFFF, 0xFFEDEDED},
        {"565 vertex tint", &TexTri565Vc, 0x565, 0xFFFFFFFF, 0, white, 0xFFFF8008, 0xFBE0},
        // Folded: vertex alpha 127, channels 254; s = 253, W = 126, p = 124.
        {"888 both", &TexTri888VcMod, 0x888, 0xFFFFFFFF, 0xFF000000, {128, 255, 255, 255}, 0xFFFFFFFF,
         0xFF7C7C7C},
        {"8888 both", &TexTri8888VcMod, 0x8888, 0xFFFFFFFF, 0xFF000000, {128, 255, 255, 255}, 0xFFFFFFFF,
         0xFF7C7C7C},
    };
    ExpectSquarePixels(cases);
}

// One pixel at (0, 0) sampling the texture at (u, v), drawn by TexTri8888.
uint32_t SampledAt(const TestTexture& texture, int32_t u, int32_t v)
{
    RasterCanvas canvas(0x8888, 1, 1);
    canvas.Fill(0);
    DrawTexelRect(&TexTri8888, canvas, texture.Record(), {}, {0, 0, 1, 1}, u, v);
    return canvas.At(0, 0);
}

TEST(PointSampledRoutines, FetchHasNoPerAxisClamp)
{
    // A column a quarter texel left of the texture reads as column 65535.
    TestTexture small(16, 16, 0xFF808080);
    EXPECT_EQ(SampledAt(small, -0x4000, 0x8000), 0xFF000000u);
    TestTexture large(256, 256, 0xFF808080);
    large.Set(255, 255, 0xFF123456);
    EXPECT_EQ(SampledAt(large, -0x4000, 0x8000), 0xFF123456u);

    // The right edge of a row is the first texel of the next; past the last
    // row there is nothing, and an out-of-range texel is opaque black.
    TestTexture grid(4, 3, 0xFF808080);
    grid.Set(0, 1, 0xFF111111);
    grid.Set(0, 2, 0xFF222222);
    EXPECT_EQ(SampledAt(grid, 4 << 16, 0x8000), 0xFF111111u);
    EXPECT_EQ(SampledAt(grid, 4 << 16, 0x18000), 0xFF222222u);
    EXPECT_EQ(SampledAt(grid, 4 << 16, 0x28000), 0xFF000000u);
    EXPECT_EQ(SampledAt(grid, 0x8000, -1), 0xFF000000u);
}

// A red interpolant a little below 0 reads as a factor of 65535, which keeps
// the low byte of t * 255.996: 255 for any red from 1 up, before the weight
// and the blend take it.
TEST(PointSampledRoutines, StrayVertexFactorSaturatesTheChannel)
{
    struct Case {
        TriangleRoutine routine;
        uint32_t vertexAlpha;
        uint32_t texelRed;
        uint32_t expectedRed;
    };
    const Case cases[] = {
        {&TexTri888Vc, 255, 0, 0},
        {&TexTri888Vc, 255, 1, 255},
        {&TexTri888Vc, 255, 128, 255},
        {&TexTri888Vc, 255, 255, 255},
        // W = 127: p = 255 * 127 >> 8 over black.
        {&TexTri888Vc, 128, 128, 126},
        {&TexTri888AlphaVc, 128, 128, 126},
        // The filter's 253 becomes 255, then faded by 255.
        {&TexTri888BilinearVc, 255, 255, 254},
    };
    for (const Case& c : cases) {
        TestTexture texture(4, 4, 0xFF000000 | c.texelRed << 16);
        RasterCanvas canvas(0x888, 4, 4);
        canvas.Fill(0xFF000000);
        RasterVertex v[3] = {TexelCorner(0, 0, 0x8000, 0x8000, 0), TexelCorner(4, 0, 0x8000, 0x8000, 0),
                             TexelCorner(0, 4, 0x8000, 0x8000, 0)};
        for (RasterVertex& corner : v) {
            corner.alpha = static_cast<int32_t>(c.vertexAlpha << 16);
            corner.red = -1;
        }
        const RasterColor color;
        const Rect clip{0, 0, 4, 4};
        c.routine(v, canvas.Origin(), canvas.Pitch(), &texture.Record(), &color, &clip);
        EXPECT_EQ((canvas.At(1, 1) >> 16) & 0xFF, c.expectedRed) << c.vertexAlpha << " " << c.texelRed;
    }
}

// The combined routines fold the colour into a copy: the caller's vertices
// stay, so drawing the same triangle again gives the same pixels.
TEST(PointSampledRoutines, CombinedRoutinesKeepTheirVertices)
{
    TestTexture texture(16, 16, 0xFFC08040);
    const RasterColor color{200, 100, 180, 90};
    const Rect clip{0, 0, 16, 16};
    for (TriangleRoutine routine : {&TexTri8888VcMod, &TexTri888VcMod, &TexTri565VcMod, &TexTri555VcMod}) {
        const int32_t format = routine == &TexTri8888VcMod  ? 0x8888
                               : routine == &TexTri888VcMod ? 0x888
                               : routine == &TexTri565VcMod ? 0x565
                                                            : 0x555;
        const RasterVertex given[3] = {TexelCorner(1, 1, 0x8000, 0x8000, 0xC0FF8020),
                                       TexelCorner(15, 3, 0x8000, 0x8000, 0xFF2080FF),
                                       TexelCorner(4, 14, 0x8000, 0x8000, 0x80FFFFFF)};
        RasterVertex v[3] = {given[0], given[1], given[2]};
        RasterCanvas first(format, 16, 16);
        first.Fill(0x12345678);
        RasterCanvas second = first;
        routine(v, first.Origin(), first.Pitch(), &texture.Record(), &color, &clip);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(v[i], given[i]) << std::hex << format;
        routine(v, second.Origin(), second.Pitch(), &texture.Record(), &color, &clip);
        EXPECT_TRUE(first == second) << std::hex << format;
    }
}

} // namespace
