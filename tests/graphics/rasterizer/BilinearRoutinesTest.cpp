#include "graphics/rasterizer/BilinearRoutines.h"

#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/TexturedFixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace Tandry;
using namespace Tandry::Testing;

TEST(BilinearRoutines, Pixels)
{
    struct Case {
        const char* name;
        TriangleRoutine routine;
        int32_t format;
        uint32_t texel;
        uint32_t background;
        RasterColor color;
        uint64_t expected;
    };
    const RasterColor white;
    const Case cases[] = {
        // On a centre the filter gives alpha 254 and colour 253: always the
        // alpha path, so even opaque white comes out a little darker.
        {"8888 white", &TexTri8888Bilinear, 0x8888, 0xFFFFFFFF, 0, white, 0xFFFDFDFD},
        {"888 white", &TexTri888Bilinear, 0x888, 0xFFFFFFFF, 0, white, 0xFFFDFDFD},
        {"565 white", &TexTri565Bilinear, 0x565, 0xFFFFFFFF, 0, white, 0xFFFF},
        {"555 white", &TexTri555Bilinear, 0x555, 0xFFFFFFFF, 0x8000, white, 0x7FFF},
        {"channel 0x41", &TexTri888Bilinear, 0x888, 0xFF414141, 0, white, 0xFF404040},
        // Filtered alpha 8 (texel alpha 9) is skipped, 9 is blended.
        {"filtered alpha 8", &TexTri888Bilinear, 0x888, 0x09FFFFFF, 0xFF000000, white, 0xFF000000},
        {"filtered alpha 9", &TexTri888Bilinear, 0x888, 0x0AFFFFFF, 0xFF000000, white, 0xFF080808},
        {"transparent 8888", &TexTri8888Bilinear, 0x8888, 0x00FFFFFF, 0x12345678, white, 0x12345678},
        {"transparent 565", &TexTri565Bilinear, 0x565, 0x00FFFFFF, 0x1234, white, 0x1234},
        // W = 127, s = 252, p = 126; then W = 253 with p = (251, 251, 250).
        {"half colour", &TexTri8888BilinearMod, 0x8888, 0xFFFFFFFF, 0xFF000000, {128, 255, 255, 255},
         0xFF7E7E7E},
        {"blue 254", &TexTri8888BilinearMod, 0x8888, 0xFFFFFFFF, 0xFF000000, {255, 255, 255, 254}, 0xFFFBFBFA},
        // Colour alpha 0 still blends every pixel with W = 0.
        {"565 colour alpha 0", &TexTri565BilinearMod, 0x565, 0xFFFFFFFF, 0xFFFF, {0, 255, 255, 255}, 0xF7BE},
        {"888 colour alpha 0", &TexTri888BilinearMod, 0x888, 0xFFFFFFFF, 0xFF808080, {0, 255, 255, 255},
         0xFF7F7F7F},
        {"8888 colour alpha 0", &TexTri8888BilinearMod, 0x8888, 0xFFFFFFFF, 0x80808080, {0, 255, 255, 255},
         0x7F808080},
        {"555 colour alpha 0", &TexTri555BilinearMod, 0x555, 0xFFFFFFFF, 0x7FFF, {0, 255, 255, 255}, 0x7BDE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SquarePixel(c.routine, c.format, c.texel, c.background, c.color), c.expected)
            << c.name << std::hex << " expected " << c.expected;
}

// One pixel at (0, 0) whose sample position is (su, sv), drawn over `background`.
uint32_t FilteredPixel(TriangleRoutine routine, int32_t format, const TestTexture& texture, int32_t su, int32_t sv,
                       uint32_t background)
{
    RasterCanvas canvas(format, 1, 1);
    canvas.Fill(background);
    DrawTexelRect(routine, canvas, texture.Record(), {}, {0, 0, 1, 1}, su + 0x8000, sv + 0x8000);
    return canvas.At(0, 0);
}

TEST(BilinearRoutines, SamplePositionIsHalfATexelBack)
{
    // Halfway between white and black: alpha 254, colour 126, opaque.
    TestTexture pair(2, 1, 0xFFFFFFFF);
    pair.Set(1, 0, 0xFF000000);
    EXPECT_EQ(FilteredPixel(&TexTri8888Bilinear, 0x8888, pair, 0x8001, 0, 0), 0xFF7E7E7Eu);

    // Half a texel above an opaque white texture: row -1 reads as nothing,
    // alpha 127 with colour 126 blended over opaque black.
    TestTexture white(4, 4);
    EXPECT_EQ(FilteredPixel(&TexTri8888Bilinear, 0x8888, white, 0x10000, -0x8000, 0xFF000000), 0xFF7E7E7Eu);
    EXPECT_EQ(FilteredPixel(&TexTri888Bilinear, 0x888, white, 0x10000, -0x8000, 0xFF000000), 0xFF7E7E7Eu);
    EXPECT_EQ(FilteredPixel(&TexTri565Bilinear, 0x565, white, 0x10000, -0x8000, 0), 0x7BEFu);
}

} // namespace
