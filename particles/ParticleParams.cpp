#include "particles/ParticleParams.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace Tandry {

namespace {

uint32_t ReadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16
        | static_cast<uint32_t>(p[3]) << 24;
}

void WriteU32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Each float field with its byte offset: one table serves reading and writing.
template <class Params, class Visit>
void ForEachFloat(Params& params, Visit visit)
{
    visit(8, params.duration);
    visit(12, params.lifetimeMin);
    visit(16, params.lifetimeMax);
    visit(20, params.direction);
    visit(24, params.spread);
    visit(32, params.speedMin);
    visit(36, params.speedMax);
    visit(40, params.gravityMin);
    visit(44, params.gravityMax);
    visit(48, params.radialMin);
    visit(52, params.radialMax);
    visit(56, params.tangentialMin);
    visit(60, params.tangentialMax);
    visit(64, params.sizeStart);
    visit(68, params.sizeEnd);
    visit(72, params.sizeVariation);
    visit(76, params.spinStart);
    visit(80, params.spinEnd);
    visit(84, params.spinVariation);
    for (int i = 0; i < 4; ++i) {
        visit(88 + 4 * i, params.colorStart[i]);
        visit(104 + 4 * i, params.colorEnd[i]);
    }
    visit(120, params.colorVariation);
    visit(124, params.alphaVariation);
}

} // namespace

void ParticleParams::ToBytes(uint8_t out[kSize]) const
{
    std::fill(out, out + kSize, uint8_t{0});
    out[0] = static_cast<uint8_t>(fixedCel);
    out[1] = static_cast<uint8_t>(static_cast<uint16_t>(fixedCel) >> 8);
    out[2] = static_cast<uint8_t>(blendMode);
    out[3] = static_cast<uint8_t>(static_cast<uint16_t>(blendMode) >> 8);
    WriteU32(out + 4, static_cast<uint32_t>(rate));
    out[28] = relative ? 1 : 0;
    ForEachFloat(*this, [&](size_t offset, const float& v) { WriteU32(out + offset, std::bit_cast<uint32_t>(v)); });
}

bool ParticleParams::FromBytes(const uint8_t* bytes, size_t size, ParticleParams& out)
{
    uint8_t block[kSize];
    ParticleParams().ToBytes(block);
    if (bytes != nullptr)
        std::copy(bytes, bytes + std::min(size, kSize), block);

    ParticleParams p;
    p.fixedCel = static_cast<int16_t>(static_cast<uint16_t>(block[0] | block[1] << 8));
    p.blendMode = static_cast<int16_t>(static_cast<uint16_t>(block[2] | block[3] << 8));
    p.rate = static_cast<int32_t>(ReadU32(block + 4));
    p.relative = block[28] != 0;
    bool finite = true;
    ForEachFloat(p, [&](size_t offset, float& v) {
        v = std::bit_cast<float>(ReadU32(block + offset));
        finite = finite && std::isfinite(v);
    });
    if (!finite)
        return false;
    out = p;
    return true;
}

} // namespace Tandry
