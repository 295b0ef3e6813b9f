// The pixel step of the bilinear textured routines. The filter's colour comes
// out premultiplied by its alpha and goes to the destination as it is, opaque
// or blended, so even an opaque texture is scaled by about 254/256. A tint
// multiplies the filtered colour by its channels and again by its alpha, and
// the filtered alpha by its alpha. Pixels of filtered alpha 8 or less are
// skipped before any tint. Spans whose samples all sit on texel positions
// (an untransformed or integer-moved quad) read one texel per pixel, which
// is all the filter reads there. Spans go four pixels at a time through the
// lanes where the call's texture and colour fit them (the filter eight at a
// time where the processor has AVX2), the rest one by one.
#pragma once

#include "graphics/rasterizer/BilinearSpan.h"
#include "graphics/rasterizer/BilinearSpanAvx2.h"
#include "graphics/rasterizer/FilteredPixel.h"
#include "graphics/rasterizer/FixedPoint.h"
#include "graphics/rasterizer/SampleBilinear.h"
#include "graphics/rasterizer/TextureTint.h"
#include "graphics/rasterizer/WholeTexelSpan.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace Tandry {

template <class F, class Tint>
struct BilinearKind {
    using Format = F;
    static constexpr auto kInterpolants = Tint::kInterpolants;
    static constexpr size_t kU = kInterpolants.size() - 2;
    using Values = std::array<int32_t, kInterpolants.size()>;
    using State = TexturedState<Tint>;

    // Half a texel back, once per span, puts whole sample positions on texel
    // centres; the walk then adds the gradients to the shifted values.
    static void BeginSpan(Values& q)
    {
        q[kU] = Fixed::Sub(q[kU], 0x8000);
        q[kU + 1] = Fixed::Sub(q[kU + 1], 0x8000);
    }

    static void Step(uint8_t* at, const Values& q, const State& state)
    {
        Shade(at, SampleBilinear(state.texture, q[kU], q[kU + 1]), q, state);
    }

    static void DrawSpan(uint8_t* at, Values& q, const Values& step, int64_t n, const State& state)
    {
        // Steps of whole texels leave every sample's fraction the first one's.
        const auto stepFraction = (static_cast<uint32_t>(step[kU]) | static_cast<uint32_t>(step[kU + 1])) & 0xFFFF;
        const bool wholeTexels = stepFraction == 0 && OnWholeTexel(q[kU], q[kU + 1]);
#if defined(__SSE2__)
        if (Span4::FitsBilinear(state)) {
            if (wholeTexels) {
                Span4::WholeTexelSpan<F>(at, q, step, n, state);
            } else {
#if defined(__x86_64__)
                if (Span8::HasAvx2())
                    Span8::Bilinear<F>(at, q, step, n, state);
#endif
                Span4::Bilinear<F>(at, q, step, n, state);
            }
        }
#endif
        if (wholeTexels) {
            for (; n > 0; --n) {
                Shade(at, SampleWholeTexel(state.texture, BaseTexelIndex(state.texture, q[kU], q[kU + 1])), q,
                      state);
                Advance(q, step);
                at += sizeof(typename F::Pixel);
            }
            return;
        }
        for (; n > 0; --n) {
            Step(at, q, state);
            Advance(q, step);
            at += sizeof(typename F::Pixel);
        }
    }

private:
    static void Advance(Values& q, const Values& step)
    {
        for (size_t i = 0; i < q.size(); ++i)
            q[i] = Fixed::Add(q[i], step[i]);
    }

    // What the filtered word becomes at one pixel.
    static void Shade(uint8_t* at, uint32_t filtered, const Values& q, const State& state)
    {
        const uint32_t coverage = filtered >> 24;
        if (coverage <= 8)
            return;
        uint32_t r = (filtered >> 16) & 0xFF;
        uint32_t g = (filtered >> 8) & 0xFF;
        uint32_t b = filtered & 0xFF;
        uint32_t w = coverage;
        if constexpr (Tint::kTints) {
            const TintFactors k = Tint::At(q, state.constant);
            const auto tint = [&](uint32_t c, uint32_t factor) {
                return ((((c * factor) >> 8) & Tint::kMask) * k.alpha >> 8) & Tint::kMask;
            };
            r = tint(r, k.red);
            g = tint(g, k.green);
            b = tint(b, k.blue);
            w = (k.alpha * coverage) >> 8;
        }
        PutFiltered<F>(at, r, g, b, w);
    }
};

} // namespace Tandry
