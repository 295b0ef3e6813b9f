// The kind of the untextured vertex-coloured triangle routines: it walks
// alpha, red, green and blue, and at each pixel writes opaque above alpha
// 240, blends between 8 and 240, and leaves the pixel unread at 8 or less.
// ModulateVertexColors gives the modulated routines their own copy of the
// three vertices with the drawing colour folded in.
#pragma once

#include "graphics/rasterizer/RasterColor.h"
#include "graphics/rasterizer/RasterVertex.h"

#include <array>
#include <cstdint>

namespace Tandry {

struct RasterTexture;

template <class F>
struct VertexColorKind {
    using Format = F;
    using Values = std::array<int32_t, 4>;
    static constexpr std::array<int32_t RasterVertex::*, 4> kInterpolants{
        &RasterVertex::alpha, &RasterVertex::red, &RasterVertex::green, &RasterVertex::blue};

    struct State {
        State(const RasterTexture*, const RasterColor*) {}
    };

    static void BeginSpan(Values&) {}

    static void Step(uint8_t* at, const Values& q, const State&)
    {
        // Read unsigned: an alpha that strayed below 0 at an edge is written opaque.
        const auto a = static_cast<uint32_t>(q[0]);
        const auto r = static_cast<uint32_t>(q[1]);
        const auto g = static_cast<uint32_t>(q[2]);
        const auto b = static_cast<uint32_t>(q[3]);
        if (a > 0xF00000) {
            F::Store(at, F::Pack((r >> 16) & 0xFF, (g >> 16) & 0xFF, (b >> 16) & 0xFF));
            return;
        }
        if (a <= 0x80000)
            return;
        const uint32_t w = a >> 16;
        uint32_t pr;
        uint32_t pg;
        uint32_t pb;
        if constexpr (F::kCode == 0x8888) {
            // Keeps 16, 8 and no fraction bits of red, green and blue.
            pr = (r * w) >> 24;
            pg = (((g >> 8) * w) >> 16) & 0xFF;
            pb = (((b >> 16) * w) >> 8) & 0xFF;
        } else {
            const uint32_t rb = ((((r & 0xFF0000) | (b >> 16)) * w) >> 8) & 0x00FF00FF;
            pr = rb >> 16;
            pb = rb & 0xFF;
            pg = (((g >> 16) & 0xFF) * w) >> 8;
        }
        F::Store(at, F::Blend(F::Load(at), pr, pg, pb, w));
    }
};

// Each channel becomes channel * k / 256 in 8.16, so even k = 255 darkens a
// little. Done once per fan triangle on a copy, never on the caller's vertices.
inline std::array<RasterVertex, 3> ModulateVertexColors(const RasterVertex* vertices, const RasterColor& k)
{
    const auto scale = [](int32_t value, int32_t factor) {
        return static_cast<int32_t>((static_cast<uint32_t>(value) * static_cast<uint32_t>(factor)) >> 8);
    };
    std::array<RasterVertex, 3> out{vertices[0], vertices[1], vertices[2]};
    for (RasterVertex& v : out) {
        v.alpha = scale(v.alpha, k.alpha);
        v.red = scale(v.red, k.red);
        v.green = scale(v.green, k.green);
        v.blue = scale(v.blue, k.blue);
    }
    return out;
}

} // namespace Tandry
