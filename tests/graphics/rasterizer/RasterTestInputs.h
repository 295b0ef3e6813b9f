// Seeded random inputs for rasteriser tests: vertices in 16.16 with colours
// that straddle the routines' alpha thresholds, drawing colours and clip
// rectangles inside a canvas.
#pragma once

#include "graphics/rasterizer/RasterColor.h"
#include "graphics/rasterizer/RasterVertex.h"
#include "graphics/types/Rect.h"

#include <random>

namespace Tandry::Testing {

class RasterTestInputs {
public:
    explicit RasterTestInputs(uint32_t seed) : mRandom(seed) {}

    std::mt19937& Random() { return mRandom; }

    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(mRandom); }

    // Mostly the values the thresholds and products turn on, sometimes any byte.
    int32_t Channel()
    {
        static constexpr int32_t kEdges[] = {0, 1, 8, 9, 127, 128, 240, 241, 254, 255};
        return Int(0, 3) == 0 ? Int(0, 255) : kEdges[Int(0, 9)];
    }

    // A position in pixels from low to high, in 16.16 with any fraction.
    int32_t Position(int low, int high) { return Int(low * 65536, high * 65536); }

    RasterVertex Vertex(int left, int right, int top, int bottom)
    {
        return {Position(left, right), Position(top, bottom), Channel() << 16, Channel() << 16,
                Channel() << 16,       Channel() << 16,       0,               0};
    }

    // Sometimes of one colour, so the values sit exactly on a threshold. The
    // shape is sometimes thin (the third vertex near the line through the
    // first two), sometimes flat-topped or flat-bottomed, and sometimes a
    // sliver under a pixel high whose edges are too flat for a 16.16 slope.
    void Triangle(RasterVertex (&v)[3], int left, int right, int top, int bottom)
    {
        for (RasterVertex& c : v)
            c = Vertex(left, right, top, bottom);
        if (Int(0, 3) == 0) {
            for (RasterVertex& c : v) {
                c.alpha = v[0].alpha;
                c.red = v[0].red;
                c.green = v[0].green;
                c.blue = v[0].blue;
            }
        }
        switch (Int(0, 7)) {
        case 0:
            v[2].x = v[0].x + (v[1].x - v[0].x) / 2 + Int(-3000, 3000);
            v[2].y = v[0].y + (v[1].y - v[0].y) / 2 + Int(-3000, 3000);
            break;
        case 1: v[1].y = v[0].y; break;
        case 2: v[2].y = v[1].y; break;
        case 3: {
            // Around a row's centre line, so the sliver has a row to draw.
            const int32_t row = Int(top, bottom) * 65536;
            v[0].y = row - Int(1, 200);
            v[1].y = row + Int(0, 200);
            v[2].y = row + Int(-200, 200);
            break;
        }
        default: break;
        }
    }

    RasterColor Color() { return {Channel(), Channel(), Channel(), Channel()}; }

    // A texel with an alpha around the thresholds the routines turn on, now
    // and then any alpha; the colour any.
    uint32_t Texel()
    {
        static constexpr uint32_t kAlphas[] = {0, 8, 9, 128, 239, 240, 241, 255};
        const auto colour = static_cast<uint32_t>(mRandom()) & 0xFFFFFF;
        return colour | (Int(0, 4) == 0 ? static_cast<uint32_t>(mRandom()) : kAlphas[Int(0, 7)] << 24);
    }

    Rect Clip(int width, int height)
    {
        const int x = Int(0, width / 3);
        const int y = Int(0, height / 3);
        return {x, y, Int(1, width - x), Int(1, height - y)};
    }

private:
    std::mt19937 mRandom;
};

} // namespace Tandry::Testing
