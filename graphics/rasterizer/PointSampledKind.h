// The pixel step of the point-sampled textured routines, with and without the
// texel's own alpha: one texel per pixel, tinted, then written opaque when its
// weight reaches 240 and blended below. Without texel alpha the weight is
// 255 scaled by the tint's alpha; with it, texels of alpha 8 or less are
// skipped before any tint is applied, and the texel alpha replaces the 255.
#pragma once

#include "graphics/rasterizer/FixedPoint.h"
#include "graphics/rasterizer/PointSampledSpan.h"
#include "graphics/rasterizer/TexelFetch.h"
#include "graphics/rasterizer/TextureTint.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace Tandry {

template <class F, bool kTexelAlpha, class Tint>
struct PointSampledKind {
    using Format = F;
    static constexpr auto kInterpolants = Tint::kInterpolants;
    static constexpr size_t kU = kInterpolants.size() - 2;
    using Values = std::array<int32_t, kInterpolants.size()>;
    using State = TexturedState<Tint>;

    static void BeginSpan(Values&) {}

    static void Step(uint8_t* at, const Values& q, const State& state)
    {
        const uint32_t t = FetchTexel(state.texture, q[kU], q[kU + 1]);
        uint32_t coverage = 255;
        if constexpr (kTexelAlpha) {
            coverage = t >> 24;
            if (coverage <= 8)
                return;
        }
        uint32_t r = (t >> 16) & 0xFF;
        uint32_t g = (t >> 8) & 0xFF;
        uint32_t b = t & 0xFF;
        uint32_t w = coverage;
        if constexpr (Tint::kTints) {
            const TintFactors k = Tint::At(q, state.constant);
            r = ((r * k.red) >> 8) & Tint::kMask;
            g = ((g * k.green) >> 8) & Tint::kMask;
            b = ((b * k.blue) >> 8) & Tint::kMask;
            w = (k.alpha * coverage) >> 8;
        }
        // Opaque from 240: a 0x8888 pixel gets alpha 255 whatever the weight.
        if (w >= 240) {
            F::Store(at, F::Pack(r, g, b));
            return;
        }
        F::Store(at, F::Blend(F::Load(at), (r * w) >> 8, (g * w) >> 8, (b * w) >> 8, w));
    }

    // The kinds that can blend take four pixels at a time where the lanes
    // can hold the call's values; the rest, one by one.
    static void DrawSpan(uint8_t* at, Values& q, const Values& step, int64_t n, const State& state)
    {
#if defined(__SSE2__)
        if constexpr (kTexelAlpha || Tint::kTints) {
            if (Span4::Fits(state))
                Span4::PointSampled<F, kTexelAlpha, Tint>(at, q, step, n, state);
        }
#endif
        for (; n > 0; --n) {
            Step(at, q, state);
            for (size_t i = 0; i < q.size(); ++i)
                q[i] = Fixed::Add(q[i], step[i]);
            at += sizeof(typename F::Pixel);
        }
    }
};

} // namespace Tandry
