// What the particle tests share: a cel sheet of distinct colours, still
// particle parameters, and a fixture that seeds rand, installs the sheet and
// leaves the pool as it found it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "graphics/image/MemoryImage.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"
#include "particles/ParticlePool.h"
#include "particles/ParticleParams.h"
#include "particles/Particles.h"
#include "util/RandomGenerator.h"

namespace TandryTest {

constexpr int kCelSize = 4;

// Cel i of a cols x rows grid is filled with CelColor(i).
inline uint32_t CelColor(int cel)
{
    return 0xFF000000u | static_cast<uint32_t>(0x10 + 0x18 * cel) << 16 | static_cast<uint32_t>(0xF0 - 0x14 * cel) << 8
        | static_cast<uint32_t>(0x30 + 0x10 * cel);
}

inline std::unique_ptr<Tandry::MemoryImage> MakeSheet(int cols, int rows)
{
    auto sheet = std::make_unique<Tandry::MemoryImage>(nullptr);
    const int width = cols * kCelSize, height = rows * kCelSize;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(y) * width + x] = CelColor(y / kCelSize * cols + x / kCelSize);
    }
    sheet->SetBits(pixels.data(), width, height, true);
    sheet->mNumCols = cols;
    sheet->mNumRows = rows;
    return sheet;
}

inline std::unique_ptr<Tandry::MemoryImage> MakeCanvas(int width, int height)
{
    auto canvas = std::make_unique<Tandry::MemoryImage>(nullptr);
    canvas->Create(width, height);
    canvas->GetBits();
    return canvas;
}

// Parameters that give still, white, long-lived particles of size 1.
inline Tandry::ParticleParams StillParams(int rate)
{
    Tandry::ParticleParams p;
    p.rate = rate;
    p.duration = -1.0f;
    p.lifetimeMin = p.lifetimeMax = 100.0f;
    p.sizeStart = p.sizeEnd = 1.0f;
    for (int i = 0; i < 4; ++i)
        p.colorStart[i] = p.colorEnd[i] = 1.0f;
    p.blendMode = 6;
    return p;
}

class ParticleTest : public ::testing::Test {
protected:
    // A position for the calls that take float[2]; valid until the next call.
    static const float* At(float x, float y)
    {
        static float p[2];
        p[0] = x;
        p[1] = y;
        return p;
    }

    void SetUp() override
    {
        Tandry::CrtSeed(1);
        Tandry::ParticlePool::Global().Reset();
        Tandry::Particles::SetSheet(mSheet.get());
    }

    void TearDown() override
    {
        Tandry::Particles::SetSheet(nullptr);
        EXPECT_EQ(Tandry::ParticlePool::Global().UsedCount(), 0u) << "a record was not given back";
        Tandry::ParticlePool::Global().Reset();
    }

    std::unique_ptr<Tandry::MemoryImage> mSheet = MakeSheet(4, 2);
};

} // namespace TandryTest
