// An RGBA colour as every drawing call takes it: four int channels meant to
// lie in 0..255. Construction never clamps (game data may carry any value and
// the drawing routines guard themselves); only Multiply and WithAlpha clamp.
#pragma once

#include <cstdint>

namespace Tandry {

class Color {
public:
    constexpr Color() = default;
    // 0xAARRGGBB; a top byte of 0 means opaque, so 0xFFFFFF is opaque white.
    constexpr Color(uint32_t packed)
        : red(static_cast<int32_t>((packed >> 16) & 255)),
          green(static_cast<int32_t>((packed >> 8) & 255)),
          blue(static_cast<int32_t>(packed & 255)),
          alpha(packed < 0x1000000u ? 255 : static_cast<int32_t>(packed >> 24))
    {
    }
    constexpr Color(int32_t r, int32_t g, int32_t b, int32_t a = 255)
        : red(r), green(g), blue(b), alpha(a)
    {
    }

    // Per channel a.c * b.c / 255.0, truncated, clamped to 0..255.
    static Color Multiply(const Color& a, const Color& b);
    // Alpha becomes f * 255.0, truncated, clamped to 0..255.
    Color WithAlpha(float f) const;

    // (alpha << 24) | (red << 16) | (green << 8) | blue, each channel taken as a byte.
    constexpr uint32_t Packed() const
    {
        return (static_cast<uint32_t>(alpha & 255) << 24) | (static_cast<uint32_t>(red & 255) << 16) |
               (static_cast<uint32_t>(green & 255) << 8) | static_cast<uint32_t>(blue & 255);
    }

    constexpr bool operator==(const Color&) const = default;

    static const Color White;
    static const Color Black;

    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
    int32_t alpha = 255;
};

// Constant-initialised, so namespace-scope objects of any file may use them.
inline constexpr Color Color::White{255, 255, 255, 255};
inline constexpr Color Color::Black{0, 0, 0, 255};

} // namespace Tandry
