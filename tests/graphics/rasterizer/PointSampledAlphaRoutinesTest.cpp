#include "graphics/rasterizer/PointSampledAlphaRoutines.h"

#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/RasterTestInputs.h"
#include "graphics/rasterizer/RasterizeTriangle.h"
#include "graphics/rasterizer/ReferenceRasterizer.h"
#include "graphics/rasterizer/TexturedFixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace Tandry;
using namespace Tandry::Testing;

TEST(PointSampledAlphaRoutines, Pixels)
{
    const RasterColor white;
    const SquareCase cases[] = {
        // Texel alpha 8 and less is skipped, up to 239 blended, 240 and up opaque.
        {"alpha 8", &TexTri888Alpha, 0x888, 0x08FFFFFF, 0xFF000000, white, 0, 0xFF000000},
        {"alpha 9", &TexTri888Alpha, 0x888, 0x09FFFFFF, 0xFF000000, white, 0, 0xFF080808},
        {"alpha 239", &TexTri888Alpha, 0x888, 0xEFFFFFFF, 0xFF000000, white, 0, 0xFFEEEEEE},
        {"alpha 240", &TexTri888Alpha, 0x888, 0xF0FFFFFF, 0xFF000000, white, 0, 0xFFFFFFFF},
        {"8888 alpha 240", &TexTri8888Alpha, 0x8888, 0xF0123456, 0, white, 0, 0xFF123456},
        {"8888 alpha 239 over nothing", &TexTri8888Alpha, 0x8888, 0xEFFFFFFF, 0, white, 0, 0xEEFEFEFE},
        {"565 alpha 8", &TexTri565Alpha, 0x565, 0x08FFFFFF, 0x1234, white, 0, 0x1234},
        {"555 alpha 240", &TexTri555Alpha, 0x555, 0xF0FFFFFF, 0x8000, white, 0, 0x7FFF},
        // Colour alpha 255 gives W = sa - 1: 240 blends, 241 is opaque.
        {"colour, texel 240", &TexTri888AlphaMod, 0x888, 0xF0FFFFFF, 0xFF000000, {255, 254, 255, 255}, 0,
         0xFFECEDED},
        {"colour, texel 241", &TexTri888AlphaMod, 0x888, 0xF1FFFFFF, 0xFF000000, {255, 254, 255, 255}, 0,
         0xFFFDFEFE},
        {"vertex, texel 240", &TexTri888AlphaVc, 0x888, 0xF0FFFFFF, 0xFF000000, white, 0xFFFFFFFF, 0xFFEDEDED},
        {"vertex, texel 241", &TexTri888AlphaVc, 0x888, 0xF1FFFFFF, 0xFF000000, white, 0xFFFFFFFF, 0xFFFEFEFE},
        // Colour alpha 0 skips nothing: W = 0 still blends.
        {"888 colour alpha 0", &TexTri888AlphaMod, 0x888, 0xFFFFFFFF, 0xFF808080, {0, 255, 255, 255}, 0,
         0xFF7F7F7F},
        {"565 colour alpha 0", &TexTri565AlphaMod, 0x565, 0xFFFFFFFF, 0xFFFF, {0, 255, 255, 255}, 0, 0xF7BE},
        {"555 colour alpha 0", &TexTri555AlphaMod, 0x555, 0xFFFFFFFF, 0x7FFF, {0, 255, 255, 255}, 0, 0x7BDE},
        {"8888 colour alpha 0", &TexTri8888AlphaMod, 0x8888, 0xFFFFFFFF, 0x80808080, {0, 255, 255, 255}, 0,
         0x7F808080},
        {"8888 colour alpha 0 over nothing", &TexTri8888AlphaMod, 0x8888, 0xFFFFFFFF, 0x00ABCDEF,
         {0, 255, 255, 255}, 0, 0x00ABCDEF},
        // W = 127, s = 254, p = 126.
        {"8888 half colour", &TexTri8888AlphaMod, 0x8888, 0xFFFFFFFF, 0xFFFFFFFF, {128, 255, 255, 255}, 0,
         0xFFFDFDFD},
    };
    ExpectSquarePixels(cases);
}

// Outside the texture the texel reads 0, alpha 0, and the pixel is skipped.
TEST(PointSampledAlphaRoutines, OutsideTheTextureLeavesThePixel)
{
    TestTexture texture(16, 16);
    const RasterColor color{0, 255, 255, 255};
    for (int index = 24; index < 128; index += 2) {
        if ((index & 31) < 24)
            continue;
        RasterCanvas canvas(FormatOfIndex(index), 1, 1);
        canvas.Fill(0x1234);
        DrawTexelRect(gTriangleRoutines[index], canvas, texture.Record(), color, {0, 0, 1, 1}, -0x4000, 0x8000,
                      0x00FFFFFF);
        EXPECT_EQ(canvas.At(0, 0), 0x1234u) << index;
    }
}

// On a texture of alpha 255 everywhere, with coordinates inside it, each
// routine draws exactly what its sibling without texel alpha draws.
TEST(PointSampledAlphaRoutines, OpaqueTextureMatchesSibling)
{
    const uint32_t seed = 105;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    RasterTestInputs in(seed);
    TestTexture texture(16, 16);
    for (int i = 0; i < 256; ++i)
        texture.Texels()[i] = 0xFF000000 | static_cast<uint32_t>(in.Random()());
    for (int group = 0; group < 4; ++group)
        for (int kind = 0; kind < 8; kind += 2) {
            const int index = group * 32 + 24 + kind;
            const int32_t format = FormatOfIndex(index);
            for (int round = 0; round < 30; ++round) {
                RasterVertex v[3];
                in.Triangle(v, -4, 36, -4, 36);
                // Half a texel inside every edge, so no pixel's walk strays out.
                for (RasterVertex& c : v) {
                    c.u = in.Int(0x8000, 0xF8000);
                    c.v = in.Int(0x8000, 0xF8000);
                }
                const RasterColor color = in.Color();
                const Rect clip = in.Clip(32, 32);
                RasterCanvas alpha(format, 32, 32);
                alpha.FillRandom(in.Random());
                RasterCanvas sibling = alpha;
                gTriangleRoutines[index](v, alpha.Origin(), alpha.Pitch(), &texture.Record(), &color, &clip);
                gTriangleRoutines[index - 8](v, sibling.Origin(), sibling.Pitch(), &texture.Record(), &color,
                                             &clip);
                ASSERT_TRUE(alpha == sibling) << "index " << index << " round " << round;
            }
        }
}

} // namespace
