#include "graphics/rasterizer/SampleBilinear.h"

#include "graphics/rasterizer/RasterTestInputs.h"
#include "graphics/rasterizer/ReferenceTexturing.h"
#include "graphics/rasterizer/TexturedFixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace Tandry;
using namespace Tandry::Testing;

TEST(SampleBilinear, FilteredTexels)
{
    TestTexture white(4, 4);
    TestTexture whiteBlack(2, 1, 0xFFFFFFFF);
    whiteBlack.Set(1, 0, 0xFF000000);
    TestTexture whiteClearRed(2, 1, 0xFFFFFFFF);
    whiteClearRed.Set(1, 0, 0x00FF0000);
    // Only the first texels of rows 1 and 2 are there.
    TestTexture nextRows(3, 3, 0);
    nextRows.Set(0, 1, 0xFFFFFFFF);
    nextRows.Set(0, 2, 0xFFFFFFFF);
    TestTexture empty(0, 0);

    struct Case {
        const char* name;
        const TestTexture& texture;
        int32_t su;
        int32_t sv;
        uint32_t expected;
    };
    const Case cases[] = {
        // The odd fractions never give the base texel the full weight.
        {"centre", white, 0x10000, 0x10000, 0xFEFDFDFD},
        {"halfway to black", whiteBlack, 0x8001, 0, 0xFE7E7E7E},
        // A transparent texel adds nothing to the colour, not even its red.
        {"halfway to clear red", whiteClearRed, 0x8001, 0, 0x7F7E7E7E},
        {"half above row 0", white, 0x10000, -0x8000, 0x7F7E7E7E},
        {"top-left corner", white, -0x8000, -0x8000, 0x3F3E3E3E},
        {"half below the last row", white, 0x10000, 0x38000, 0x7F7E7E7E},
        // Right of the last column the neighbours are the next rows' first texels.
        {"past the last column", nextRows, 0x28001, 0x8001, 0x7E7D7D7D},
        {"empty texture", empty, 0, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SampleBilinear(c.texture.Record(), c.su, c.sv), c.expected)
            << c.name << std::hex << " expected " << c.expected;
}

// Any sample position, near the texture and far from it, on textures of
// awkward sizes, against the model of the filter.
TEST(SampleBilinear, MatchesModel)
{
    const uint32_t seed = 106;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    RasterTestInputs in(seed);
    const int sizes[][2] = {{1, 1}, {2, 2}, {16, 16}, {1, 9}, {300, 3}, {0, 0}, {256, 256}};
    for (const auto& size : sizes) {
        TestTexture texture(size[0], size[1]);
        for (int i = 0; i < size[0] * size[1]; ++i)
            texture.Texels()[i] = static_cast<uint32_t>(in.Random()());
        for (int round = 0; round < 2000; ++round) {
            int32_t su = in.Int(-2 * 65536, (size[0] + 2) * 65536);
            int32_t sv = in.Int(-2 * 65536, (size[1] + 2) * 65536);
            if (round % 10 == 0)
                su = static_cast<int32_t>(in.Random()());
            if (round % 10 == 1)
                sv = static_cast<int32_t>(in.Random()());
            ASSERT_EQ(SampleBilinear(texture.Record(), su, sv), ReferenceSampleBilinear(texture.Record(), su, sv))
                << size[0] << "x" << size[1] << " at " << su << "," << sv;
        }
    }
}

} // namespace
