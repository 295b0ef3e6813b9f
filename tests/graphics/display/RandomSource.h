// Random sources for the tests of the stretched and rotated drawing into
// surfaces: pixels of alpha 0, 255 and partial in about equal shares, now
// and then palettised, with the model's copy of them, and random parts of them.
#pragma once

#include "graphics/display/DisplayTestSupport.h"
#include "graphics/display/SurfaceReference.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/types/Rect.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace DisplayTest {

inline std::vector<uint32_t> RandomPixels(std::mt19937& rng, size_t count)
{
    std::vector<uint32_t> pixels(count);
    for (uint32_t& p : pixels) {
        const uint32_t kind = rng() % 4;
        p = (kind == 0 ? 0u : kind == 1 ? 255u : rng() % 256) << 24 | (rng() & 0xFFFFFF);
    }
    return pixels;
}

struct RandomSource {
    SurfaceReference::Source model;
    std::unique_ptr<Tandry::MemoryImage> image;
    bool palettised = false;
};

inline RandomSource MakeRandomSource(std::mt19937& rng, int width, int height)
{
    RandomSource out;
    std::vector<uint32_t> pixels = RandomPixels(rng, static_cast<size_t>(width) * height);
    out.palettised = rng() % 3 == 0;
    if (out.palettised) {
        for (uint32_t& p : pixels)
            p = (p & 0xFF000000u) | ((p & 0xFFFFFF) % 5) * 0x332211u;
    }
    out.image = MakeImage(width, height, pixels);
    if (out.palettised) {
        EXPECT_TRUE(out.image->Palletize());
    }
    out.model.width = width;
    out.model.height = height;
    out.model.argb = pixels;
    return out;
}

// At least one pixel of a width x height image.
inline Tandry::Rect RandomPart(std::mt19937& rng, int width, int height)
{
    const int x = static_cast<int>(rng() % static_cast<uint32_t>(width));
    const int y = static_cast<int>(rng() % static_cast<uint32_t>(height));
    return Tandry::Rect(x, y, 1 + static_cast<int>(rng() % static_cast<uint32_t>(width - x)),
                        1 + static_cast<int>(rng() % static_cast<uint32_t>(height - y)));
}

} // namespace DisplayTest
