// BltMatrix and BltTrianglesTex of memory images hand their work to the
// software rasteriser, in the pixel format the destination's flags call for.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/image/Image.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/image/SoftwareDrawTest.h"
#include "graphics/rasterizer/rasterizer.h"
#include "graphics/types/Color.h"
#include "graphics/types/Matrix3x3.h"
#include "graphics/types/Rect.h"
#include "graphics/types/TriVertex.h"

namespace {

using Tandry::Color;
using Tandry::MemoryImage;
using Tandry::Rect;
using Tandry::TriVertex;

class MemoryImageTransformTest : public TandryTest::SoftwareDrawTest {
protected:
    enum class Flags { ForcedOpaque, ForcedTransparent, ScannedOpaque };

    std::unique_ptr<MemoryImage> Destination(Flags flags)
    {
        auto image = Image(kSize, kSize, flags == Flags::ScannedOpaque ? Opaque(mBackdrop) : mBackdrop);
        if (flags == Flags::ForcedOpaque)
            image->ForceAlphaFlags(false, false);
        else if (flags == Flags::ForcedTransparent)
            image->ForceAlphaFlags(true, false);
        return image;
    }

    static std::vector<uint32_t> Opaque(std::vector<uint32_t> pixels)
    {
        for (uint32_t& p : pixels)
            p |= 0xFF000000;
        return pixels;
    }

    static constexpr int kSize = 24;
    const std::vector<uint32_t> mBackdrop = RandomPixels(kSize * kSize);
    const Rect mClip{2, 1, 20, 21};
};

TEST_F(MemoryImageTransformTest, MatrixBlitsKeepTheAlphaUnlessForcedOpaque)
{
    auto source = Image(10, 8, RandomPixels(80));
    Tandry::Matrix3x3 matrix;
    matrix.LoadIdentity();
    matrix.Rotate(0.4f);
    matrix.Scale(1.3f, 1.1f);
    const Color color(200, 180, 255, 230);
    for (Flags flags : {Flags::ForcedOpaque, Flags::ForcedTransparent, Flags::ScannedOpaque}) {
        for (bool linear : {false, true}) {
            auto dest = Destination(flags);
            const std::vector<uint32_t> before = Pixels(*dest);
            const int changes = dest->mChangeCount;
            source->mDrawn = false;
            dest->BltMatrix(source.get(), 12.0f, 11.5f, matrix, mClip, color, 1, Rect(1, 1, 8, 6), linear);
            EXPECT_TRUE(source->mDrawn);
            EXPECT_EQ(dest->mChangeCount, changes + 1);

            std::vector<uint32_t> expected = before;
            const int32_t format = flags == Flags::ForcedOpaque ? 0x888 : 0x8888;
            const Rect srcRect(1, 1, 8, 6);
            Tandry::RasterizeTransformedQuad(source.get(), 12.0f, 11.5f, &matrix, &mClip, &color, &srcRect,
                                             expected.data(), kSize * 4, format, linear);
            EXPECT_EQ(Pixels(*dest), expected) << static_cast<int>(flags) << " linear " << linear;
            EXPECT_NE(Pixels(*dest), before);
        }
    }
}

TEST_F(MemoryImageTransformTest, TriangleBlitsKeepTheAlphaUnlessForcedOpaque)
{
    auto source = Image(8, 8, RandomPixels(64));
    const TriVertex triangles[2][3] = {
        {{1.0f, 2.0f, 0.0f, 0.0f, 0}, {18.0f, 3.0f, 1.0f, 0.0f, 0}, {2.0f, 19.0f, 0.0f, 1.0f, 0}},
        {{18.0f, 3.0f, 1.0f, 0.0f, 0xFF80FF40}, {19.0f, 18.0f, 1.0f, 1.0f, 0x80FFFFFF}, {2.0f, 19.0f, 0.0f, 1.0f, 0}},
    };
    const Color color(255, 255, 255, 200);
    for (Flags flags : {Flags::ForcedOpaque, Flags::ForcedTransparent, Flags::ScannedOpaque}) {
        auto dest = Destination(flags);
        const std::vector<uint32_t> before = Pixels(*dest);
        const int changes = dest->mChangeCount;
        dest->BltTrianglesTex(source.get(), triangles, 2, mClip, color, 1, 1.5f, 0.5f, true);
        EXPECT_TRUE(source->mDrawn);
        EXPECT_EQ(dest->mChangeCount, changes + 1);

        std::vector<uint32_t> expected = before;
        const int32_t format = flags == Flags::ForcedOpaque ? 0x888 : 0x8888;
        Tandry::RasterizeTriangleList(source.get(), triangles[0], 2, &mClip, &color, expected.data(), kSize * 4,
                                      format, 1.5f, 0.5f, true);
        EXPECT_EQ(Pixels(*dest), expected) << static_cast<int>(flags);
        EXPECT_NE(Pixels(*dest), before);
    }
}

// The colour reaches the rasteriser clamped to 0..255.
TEST_F(MemoryImageTransformTest, ColoursAreClampedFirst)
{
    auto source = Image(6, 6, RandomPixels(36));
    Tandry::Matrix3x3 matrix;
    matrix.LoadIdentity();
    auto clamped = Destination(Flags::ForcedTransparent);
    auto wild = Destination(Flags::ForcedTransparent);
    clamped->BltMatrix(source.get(), 9.0f, 9.0f, matrix, mClip, Color(255, 0, 128, 255), 0, Rect(0, 0, 6, 6), false);
    wild->BltMatrix(source.get(), 9.0f, 9.0f, matrix, mClip, Color(300, -5, 128, 999), 0, Rect(0, 0, 6, 6), false);
    EXPECT_EQ(Pixels(*wild), Pixels(*clamped));
}

} // namespace
