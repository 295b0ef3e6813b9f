// The 128-byte parameter block of an own-engine particle file: how an effect
// emits, moves, grows, turns and colours its particles. The file is outside
// data; FromBytes reads it field by field, little-endian, over the defaults.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Tandry {

struct ParticleParams {
    static constexpr size_t kSize = 128;

    // Used when the cel sheet has no animation record.
    int16_t fixedCel = 0;
    // 6 draws normally, any other value additively.
    int16_t blendMode = 0;
    // Particles per unit of time.
    int32_t rate = 0;
    // -1: endless.
    float duration = 0.0f;
    float lifetimeMin = 0.0f;
    float lifetimeMax = 0.0f;
    // Radians.
    float direction = 0.0f;
    float spread = 0.0f;
    // Direction taken relative to the emitter's movement.
    bool relative = false;
    float speedMin = 0.0f;
    float speedMax = 0.0f;
    float gravityMin = 0.0f;
    float gravityMax = 0.0f;
    float radialMin = 0.0f;
    float radialMax = 0.0f;
    float tangentialMin = 0.0f;
    float tangentialMax = 0.0f;
    float sizeStart = 0.0f;
    float sizeEnd = 0.0f;
    float sizeVariation = 0.0f;
    float spinStart = 0.0f;
    float spinEnd = 0.0f;
    float spinVariation = 0.0f;
    // Red, green, blue, alpha in 0..1.
    float colorStart[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float colorEnd[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float colorVariation = 0.0f;
    float alphaVariation = 0.0f;

    // The first min(size, 128) bytes over the default block (a shorter file
    // keeps the defaults after its end). False when a float of the result is
    // not finite: such a block is refused like a missing file.
    static bool FromBytes(const uint8_t* bytes, size_t size, ParticleParams& out);
    // The 128-byte form of these values.
    void ToBytes(uint8_t out[kSize]) const;
};

} // namespace Tandry
