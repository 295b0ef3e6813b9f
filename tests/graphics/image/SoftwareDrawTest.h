// The fixture of the software drawing tests: memory images made from word
// lists behind a fake host, their pixels as plain pictures for the reference
// model, and seeded random pictures that mix transparent, translucent and
// opaque pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/image/FakeHostTest.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/image/PixelReference.h"

namespace TandryTest {

constexpr uint32_t Argb(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    return a << 24 | r << 16 | g << 8 | b;
}

class SoftwareDrawTest : public FakeHostTest {
protected:
    // The alpha flags are scanned from the pixels.
    std::unique_ptr<Tandry::MemoryImage> Image(int width, int height, const std::vector<uint32_t>& pixels)
    {
        auto image = std::make_unique<Tandry::MemoryImage>();
        image->SetBits(pixels.data(), width, height, true);
        return image;
    }

    std::unique_ptr<Tandry::MemoryImage> Filled(int width, int height, uint32_t word)
    {
        return Image(width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, word));
    }

    static std::vector<uint32_t> Pixels(Tandry::MemoryImage& image)
    {
        const uint32_t* bits = image.GetBits();
        return std::vector<uint32_t>(bits, bits + static_cast<size_t>(image.mWidth) * image.mHeight);
    }

    static uint32_t At(Tandry::MemoryImage& image, int x, int y) { return image.GetBits()[y * image.mWidth + x]; }

    static PixelReference::Picture Picture(Tandry::MemoryImage& image)
    {
        return {image.mWidth, image.mHeight, Pixels(image)};
    }

    // The words a blit reads, through the colour table of a palettised image
    // (which stays palettised).
    static PixelReference::Source SourceOf(const Tandry::MemoryImage& image)
    {
        PixelReference::Source s;
        s.picture.width = image.mWidth;
        s.picture.height = image.mHeight;
        s.hasAlpha = image.mHasAlpha;
        const size_t count = static_cast<size_t>(image.mWidth) * image.mHeight;
        for (size_t i = 0; i < count; ++i)
            s.picture.px.push_back(image.mColorIndices ? image.mColorTable[image.mColorIndices[i]] : image.mBits[i]);
        return s;
    }

    // A quarter transparent, a quarter opaque, the rest translucent; in runs,
    // so that the blitters' run tables have something to do.
    std::vector<uint32_t> RandomPixels(size_t count)
    {
        std::vector<uint32_t> out;
        while (out.size() < count) {
            const uint32_t colour = static_cast<uint32_t>(mRng()) & 0xFFFFFF;
            uint32_t alpha;
            switch (mRng() % 4) {
            case 0: alpha = 0; break;
            case 1: alpha = 255; break;
            default: alpha = static_cast<uint32_t>(mRng() % 256); break;
            }
            const size_t run = 1 + mRng() % 6;
            for (size_t i = 0; i < run && out.size() < count; ++i)
                out.push_back(alpha << 24 | (i == 0 ? colour : static_cast<uint32_t>(mRng()) & 0xFFFFFF));
        }
        return out;
    }

    // A few colours only, so that the picture palettises.
    std::vector<uint32_t> RandomFewColours(size_t count)
    {
        const std::vector<uint32_t> colours = RandomPixels(12);
        std::vector<uint32_t> out(count);
        for (uint32_t& p : out)
            p = colours[mRng() % colours.size()];
        return out;
    }

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(mRng); }

    // Channels mostly inside 0..255, now and then far outside.
    Tandry::Color RandomColor()
    {
        const auto channel = [this] {
            switch (mRng() % 8) {
            case 0: return Uniform(-300, -1);
            case 1: return Uniform(256, 600);
            case 2: return 255;
            default: return Uniform(0, 255);
            }
        };
        return Tandry::Color(channel(), channel(), channel(), channel());
    }

    std::mt19937 mRng{12345};
};

} // namespace TandryTest
