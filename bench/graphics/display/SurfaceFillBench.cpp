// Fills of a whole 1024 x 768 surface on a 32-bit and a 565 display, beside
// the outside references measured in the same run, in Mpixel/s: an opaque
// fill beside SDL_FillRect, and an alpha-128 fill beside pixman's solid OVER.
// Goal: a ratio of at least 1.0 against each.
#include "bench/graphics/display/SurfaceBench.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace {

using namespace SurfaceBench;
using Tandry::Color;
using Tandry::Rect;

void SurfaceFill(benchmark::State& state, const Color& colour)
{
    SurfaceTarget target(FormatOf(state));
    if (!target.ok) {
        state.SkipWithError("the display did not come up");
        return;
    }
    for (auto _ : state)
        target.image->SurfaceFillRect(Rect(0, 0, kWidth, kHeight), colour);
    Label(state, "whole frame", kFramePixels);
}

void BM_SurfaceFill_Opaque(benchmark::State& state)
{
    SurfaceFill(state, Color(20, 40, 60));
}

void BM_SurfaceFill_HalfAlpha(benchmark::State& state)
{
    SurfaceFill(state, Color(20, 40, 60, 128));
}

void BM_SurfaceFill_SdlFillRect(benchmark::State& state)
{
    SdlTarget dest(Is565(state));
    const Uint32 pixel = SDL_MapRGB(dest.Get()->format, 20, 40, 60);
    for (auto _ : state)
        SDL_FillRect(dest.Get(), nullptr, pixel);
    Label(state, "whole frame", kFramePixels);
}

void BM_SurfaceFill_PixmanSolidOver(benchmark::State& state)
{
    PixmanTarget dest(Is565(state));
    // Premultiplied (20, 40, 60) at alpha 128.
    const pixman_color_t colour{0x0A0A, 0x1414, 0x1E1E, 0x8080};
    pixman_image_t* solid = pixman_image_create_solid_fill(&colour);
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_OVER, solid, nullptr, dest.Get(), 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    pixman_image_unref(solid);
    Label(state, "whole frame", kFramePixels);
}

BENCHMARK(BM_SurfaceFill_Opaque)->Apply(Formats);
BENCHMARK(BM_SurfaceFill_SdlFillRect)->Apply(Formats);
BENCHMARK(BM_SurfaceFill_HalfAlpha)->Apply(Formats);
BENCHMARK(BM_SurfaceFill_PixmanSolidOver)->Apply(Formats);

} // namespace
