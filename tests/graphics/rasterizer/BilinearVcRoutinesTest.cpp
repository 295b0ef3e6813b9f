#include "graphics/rasterizer/BilinearVcRoutines.h"

#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/TexturedFixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace Tandry;
using namespace Tandry::Testing;

TEST(BilinearVcRoutines, Pixels)
{
    struct Case {
        const char* name;
        TriangleRoutine routine;
        int32_t format;
        uint32_t background;
        RasterColor color;
        uint32_t argb;
        uint64_t expected;
    };
    const RasterColor white;
    const Case cases[] = {
        // Filtered alpha 254 and colour 253; tinted 252, faded 251; W = 253.
        {"8888 white", &TexTri8888BilinearVc, 0x8888, 0, white, 0xFFFFFFFF, 0xFFFBFBFB},
        {"888 white", &TexTri888BilinearVc, 0x888, 0, white, 0xFFFFFFFF, 0xFFFBFBFB},
        {"565 white", &TexTri565BilinearVc, 0x565, 0, white, 0xFFFFFFFF, 31 << 11 | 62 << 5 | 31},
        {"555 white", &TexTri555BilinearVc, 0x555, 0x8000, white, 0xFFFFFFFF, 0x7FFF},
        // Vertex alpha 241 gives W = 239 and p = 237; 242 gives W = 240, opaque 238.
        {"vertex alpha 241", &TexTri8888BilinearVc, 0x8888, 0xFF000000, white, 0xF1FFFFFF, 0xFFEDEDED},
        {"vertex alpha 242", &TexTri8888BilinearVc, 0x8888, 0xFF000000, white, 0xF2FFFFFF, 0xFFEEEEEE},
        {"red only", &TexTri8888BilinearVc, 0x8888, 0, white, 0xFFFF0000, 0xFFFB0000},
        // Vertex alpha 0 blends with W = 0.
        {"888 vertex alpha 0", &TexTri888BilinearVc, 0x888, 0xFF808080, white, 0x00FFFFFF, 0xFF7F7F7F},
        {"565 vertex alpha 0", &TexTri565BilinearVc, 0x565, 0xFFFF, white, 0x00FFFFFF, 0xF7BE},
        {"555 vertex alpha 0", &TexTri555BilinearVc, 0x555, 0x7FFF, white, 0x00FFFFFF, 0x7BDE},
        {"8888 vertex alpha 0", &TexTri8888BilinearVc, 0x8888, 0x80808080, white, 0x00FFFFFF, 0x7F808080},
        // Folded: factors 127 and 254; W = 126, s = 251, p = 124.
        {"8888 both", &TexTri8888BilinearVcMod, 0x8888, 0xFF000000, {128, 255, 255, 255}, 0xFFFFFFFF,
         0xFF7C7C7C},
        {"565 both", &TexTri565BilinearVcMod, 0x565, 0, {128, 255, 255, 255}, 0xFFFFFFFF, 15 << 11 | 31 << 5 | 15},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SquarePixel(c.routine, c.format, 0xFFFFFFFF, c.background, c.color, c.argb), c.expected)
            << c.name << std::hex << " expected " << c.expected;
}

// The vertex factors interpolate like u and v but without the half-texel
// offset: a red ramp from 0 to 128 across 8 pixels gives 16 per pixel.
TEST(BilinearVcRoutines, FactorsFollowTheVertices)
{
    TestTexture texture(8, 8);
    RasterCanvas canvas(0x888, 8, 8);
    canvas.Fill(0);
    const RasterVertex v[3] = {TexelCorner(0, 0, 0x8000, 0x8000, 0xFF00FFFF),
                               TexelCorner(8, 0, 0x8000, 0x8000, 0xFF80FFFF),
                               TexelCorner(0, 8, 0x8000, 0x8000, 0xFF00FFFF)};
    const RasterColor color;
    const Rect clip{0, 0, 8, 8};
    TexTri888BilinearVc(v, canvas.Origin(), canvas.Pitch(), &texture.Record(), &color, &clip);
    for (int x = 0; x < 7; ++x) {
        // s = 253 * 16x >> 8, faded by 255.
        const uint32_t s = (253 * 16 * static_cast<uint32_t>(x)) >> 8;
        EXPECT_EQ((canvas.At(x, 0) >> 16) & 0xFF, (s * 255) >> 8) << x;
    }
}

} // namespace
