// A drawing colour as the software pixel routines use it: each channel brought
// into 0..255 once, when a routine takes the colour. Colour channels are not
// clamped on construction, and an out-of-range channel would index past the
// saturation table or carry into the next channel of a packed word.
#pragma once

#include <algorithm>
#include <cstdint>

#include "graphics/types/Color.h"

namespace Tandry {

struct ClampedColor {
    explicit constexpr ClampedColor(const Color& c)
        : red(Clamp(c.red)), green(Clamp(c.green)), blue(Clamp(c.blue)), alpha(Clamp(c.alpha))
    {
    }

    // Equal to Color::White once clamped.
    constexpr bool IsWhite() const { return (red & green & blue & alpha) == 255; }
    constexpr bool IsGrey() const { return red == green && green == blue; }
    // 0x00RRGGBB.
    constexpr uint32_t Rgb() const { return red << 16 | green << 8 | blue; }
    constexpr uint32_t Packed() const { return alpha << 24 | Rgb(); }

    uint32_t red;
    uint32_t green;
    uint32_t blue;
    uint32_t alpha;

private:
    static constexpr uint32_t Clamp(int32_t v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); }
};

} // namespace Tandry
