// Fixtures for the textured rasteriser tests: a texture whose texels live in
// a heap array of exactly width x height words, so AddressSanitizer sees any
// read outside it, and rectangles drawn as two triangles whose texture
// coordinates put every pixel on a chosen texel position.
#pragma once

#include <gtest/gtest.h>

#include "graphics/rasterizer/RasterCanvas.h"
#include "graphics/rasterizer/RasterColor.h"
#include "graphics/rasterizer/RasterTexture.h"
#include "graphics/rasterizer/RasterVertex.h"
#include "graphics/rasterizer/TriangleRoutine.h"
#include "graphics/types/Rect.h"

#include <cstdint>
#include <memory>

namespace Tandry::Testing {

class TestTexture {
public:
    TestTexture(int width, int height, uint32_t fill = 0xFFFFFFFF)
        : mTexels(new uint32_t[static_cast<size_t>(width) * static_cast<size_t>(height)])
    {
        int shift = 16;
        for (int w = width; w > 1; w >>= 1)
            --shift;
        mRecord = {mTexels.get(), shift, (width - 1) * 65536, (height - 1) * 65536, width, width * height, height};
        for (int i = 0; i < width * height; ++i)
            mTexels[static_cast<size_t>(i)] = fill;
    }

    void Set(int x, int y, uint32_t texel) { mTexels[static_cast<size_t>(y * mRecord.width + x)] = texel; }
    uint32_t At(int x, int y) const { return mTexels[static_cast<size_t>(y * mRecord.width + x)]; }
    uint32_t* Texels() { return mTexels.get(); }
    const RasterTexture& Record() const { return mRecord; }

private:
    std::unique_ptr<uint32_t[]> mTexels;
    RasterTexture mRecord;
};

// A corner at pixel (x, y) with the texture position (x, y) + (du, dv), in
// 16.16 texels, and the vertex colour argb.
inline RasterVertex TexelCorner(int x, int y, int32_t du, int32_t dv, uint32_t argb)
{
    return {x * 65536,
            y * 65536,
            static_cast<int32_t>((argb >> 24) << 16),
            static_cast<int32_t>(((argb >> 16) & 0xFF) << 16),
            static_cast<int32_t>(((argb >> 8) & 0xFF) << 16),
            static_cast<int32_t>((argb & 0xFF) << 16),
            x * 65536 + du,
            y * 65536 + dv};
}

// The texture offset that puts pixel p on the centre of texel p - shift.
constexpr int32_t OnCentres(int shift) { return 0x8000 - shift * 65536; }

// Draws the pixels of `area` (whose width and height must be powers of two,
// so the gradients are exact) through `routine` as two triangles, every
// pixel (x, y) sampling at (x, y) + (du, dv) with the vertex colour argb.
inline void DrawTexelRect(TriangleRoutine routine, RasterCanvas& canvas, const RasterTexture& texture,
                          const RasterColor& color, const Rect& area, int32_t du, int32_t dv,
                          uint32_t argb = 0xFFFFFFFF)
{
    const int l = area.x;
    const int t = area.y;
    const int r = area.x + area.width;
    const int b = area.y + area.height;
    const RasterVertex first[3] = {TexelCorner(l, t, du, dv, argb), TexelCorner(r, t, du, dv, argb),
                                   TexelCorner(l, b, du, dv, argb)};
    const RasterVertex second[3] = {TexelCorner(r, t, du, dv, argb), TexelCorner(r, b, du, dv, argb),
                                    TexelCorner(l, b, du, dv, argb)};
    const Rect clip{0, 0, canvas.Width(), canvas.Height()};
    routine(first, canvas.Origin(), canvas.Pitch(), &texture, &color, &clip);
    routine(second, canvas.Origin(), canvas.Pitch(), &texture, &color, &clip);
}

// Draws an 8 x 8 square of one texel value, every pixel on a texel centre,
// over `background`, and gives the pixel the square comes out as, or
// `kNotUniform` when its pixels differ or a pixel around it changed.
constexpr uint64_t kNotUniform = 0x100000000;

inline uint64_t SquarePixel(TriangleRoutine routine, int32_t format, uint32_t texel, uint32_t background,
                            const RasterColor& color = {}, uint32_t argb = 0xFFFFFFFF)
{
    TestTexture texture(8, 8, texel);
    RasterCanvas canvas(format, 16, 16);
    canvas.Fill(background);
    DrawTexelRect(routine, canvas, texture.Record(), color, {4, 4, 8, 8}, OnCentres(4), OnCentres(4), argb);
    const uint32_t pixel = canvas.At(4, 4);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool inside = x >= 4 && x < 12 && y >= 4 && y < 12;
            if (canvas.At(x, y) != (inside ? pixel : background))
                return kNotUniform;
        }
    return pixel;
}

// One row of a pixel table: a square drawn by `routine` comes out as `expected`.
struct SquareCase {
    const char* name;
    TriangleRoutine routine;
    int32_t format;
    uint32_t texel;
    uint32_t background;
    RasterColor color;
    uint32_t argb;
    uint64_t expected;
};

template <size_t N>
void ExpectSquarePixels(const SquareCase (&cases)[N])
{
    for (const SquareCase& c : cases)
        EXPECT_EQ(SquarePixel(c.routine, c.format, c.texel, c.background, c.color, c.argb), c.expected)
            << c.name << std::hex << " expected " << c.expected;
}

} // namespace Tandry::Testing
