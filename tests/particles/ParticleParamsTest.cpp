#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

#include "particles/ParticleParams.h"

namespace {

using Tandry::ParticleParams;

void PutFloat(std::vector<uint8_t>& block, size_t offset, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    for (int i = 0; i < 4; ++i)
        block[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
}

TEST(ParticleParamsTest, EveryFloatFieldAtItsOffset)
{
    const struct {
        size_t offset;
        std::function<float(const ParticleParams&)> field;
    } fields[] = {
        {8, [](auto& p) { return p.duration; }},         {12, [](auto& p) { return p.lifetimeMin; }},
        {16, [](auto& p) { return p.lifetimeMax; }},     {20, [](auto& p) { return p.direction; }},
        {24, [](auto& p) { return p.spread; }},          {32, [](auto& p) { return p.speedMin; }},
        {36, [](auto& p) { return p.speedMax; }},        {40, [](auto& p) { return p.gravityMin; }},
        {44, [](auto& p) { return p.gravityMax; }},      {48, [](auto& p) { return p.radialMin; }},
        {52, [](auto& p) { return p.radialMax; }},       {56, [](auto& p) { return p.tangentialMin; }},
        {60, [](auto& p) { return p.tangentialMax; }},   {64, [](auto& p) { return p.sizeStart; }},
        {68, [](auto& p) { return p.sizeEnd; }},         {72, [](auto& p) { return p.sizeVariation; }},
        {76, [](auto& p) { return p.spinStart; }},       {80, [](auto& p) { return p.spinEnd; }},
        {84, [](auto& p) { return p.spinVariation; }},   {88, [](auto& p) { return p.colorStart[0]; }},
        {92, [](auto& p) { return p.colorStart[1]; }},   {96, [](auto& p) { return p.colorStart[2]; }},
        {100, [](auto& p) { return p.colorStart[3]; }},  {104, [](auto& p) { return p.colorEnd[0]; }},
        {108, [](auto& p) { return p.colorEnd[1]; }},    {112, [](auto& p) { return p.colorEnd[2]; }},
        {116, [](auto& p) { return p.colorEnd[3]; }},    {120, [](auto& p) { return p.colorVariation; }},
        {124, [](auto& p) { return p.alphaVariation; }},
    };
    for (const auto& f : fields) {
        std::vector<uint8_t> block(128, 0);
        PutFloat(block, f.offset, -3.25f);
        ParticleParams p;
        ASSERT_TRUE(ParticleParams::FromBytes(block.data(), block.size(), p));
        EXPECT_EQ(f.field(p), -3.25f) << "offset " << f.offset;
        // And written back at the same place.
        uint8_t out[128];
        p.ToBytes(out);
        EXPECT_EQ(std::vector<uint8_t>(out, out + 128), block) << "offset " << f.offset;
    }
}

TEST(ParticleParamsTest, IntegerFieldsAreLittleEndianAndSigned)
{
    std::vector<uint8_t> block(128, 0);
    block[0] = 0xFF;
    block[1] = 0xFF;
    block[2] = 0x06;
    block[4] = 0x78;
    block[5] = 0x56;
    block[6] = 0x34;
    block[7] = 0x92;
    block[28] = 0x40;
    block[29] = 0xFF;  // padding
    ParticleParams p;
    ASSERT_TRUE(ParticleParams::FromBytes(block.data(), block.size(), p));
    EXPECT_EQ(p.fixedCel, -1);
    EXPECT_EQ(p.blendMode, 6);
    EXPECT_EQ(p.rate, static_cast<int32_t>(0x92345678u));
    EXPECT_TRUE(p.relative);
}

TEST(ParticleParamsTest, ShortInputKeepsTheDefaultsAfterItsEnd)
{
    const uint8_t bytes[] = {2, 0, 6, 0, 100, 0, 0, 0, 0, 0, 0x80, 0xBF};  // ..., duration -1
    for (size_t size : {size_t{0}, size_t{4}, sizeof bytes}) {
        ParticleParams p;
        ASSERT_TRUE(ParticleParams::FromBytes(bytes, size, p)) << size;
        EXPECT_EQ(p.fixedCel, size >= 2 ? 2 : 0);
        EXPECT_EQ(p.rate, size >= 8 ? 100 : 0);
        EXPECT_EQ(p.duration, size >= 12 ? -1.0f : 0.0f);
        EXPECT_EQ(p.colorStart[3], 1.0f);
        EXPECT_EQ(p.colorEnd[3], 1.0f);
        EXPECT_EQ(p.colorStart[0], 0.0f);
    }
    // Bytes past the 128th are not read.
    std::vector<uint8_t> longer(300, 0xFF);
    std::fill(longer.begin(), longer.begin() + 128, uint8_t{0});
    ParticleParams p;
    EXPECT_TRUE(ParticleParams::FromBytes(longer.data(), longer.size(), p));
}

TEST(ParticleParamsTest, NonFiniteFloatsAreRefused)
{
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()}) {
        for (size_t offset : {size_t{8}, size_t{64}, size_t{124}}) {
            std::vector<uint8_t> block(128, 0);
            PutFloat(block, offset, bad);
            ParticleParams p;
            p.rate = 77;
            EXPECT_FALSE(ParticleParams::FromBytes(block.data(), block.size(), p)) << offset;
            EXPECT_EQ(p.rate, 77) << "the output is left alone";
        }
    }
}

} // namespace
