// A typical 2D frame drawn through the drawing context into a 1024 x 768
// surface image on a 32-bit and a 565 display, in ms per frame: an opaque
// background, 100 sprites of 64 x 64 with alpha, 20 translucent fills and
// 2,000 glyph-sized blits of 8 x 12 in a text colour. Goal: under 2 ms.
#include "bench/graphics/display/SurfaceBench.h"
#include "graphics/context/Graphics.h"
#include "graphics/types/Color.h"

namespace {

using namespace SurfaceBench;
using namespace DrawBench;
using Tandry::Color;

// An anti-aliased glyph: a soft-edged stroke of 8 x 12.
Picture Glyph()
{
    Picture p{8, 12, std::vector<uint32_t>(8 * 12, 0)};
    for (int y = 1; y < 11; ++y) {
        p.px[static_cast<size_t>(y) * 8 + 2] = 0x80FFFFFFu;
        p.px[static_cast<size_t>(y) * 8 + 3] = 0xFFFFFFFFu;
        p.px[static_cast<size_t>(y) * 8 + 4] = 0xFFFFFFFFu;
        p.px[static_cast<size_t>(y) * 8 + 5] = 0x40FFFFFFu;
    }
    return p;
}

void BM_SurfaceFrame_Graphics(benchmark::State& state)
{
    SurfaceTarget target(FormatOf(state));
    if (!target.ok) {
        state.SkipWithError("the display did not come up");
        return;
    }
    auto background = MakeImage(Backdrop());
    auto sprite = MakeImage(Content(2));
    auto glyph = MakeImage(Glyph());
    for (Tandry::MemoryImage* image : {background.get(), sprite.get(), glyph.get()})
        target.Prepare(*image);
    const std::vector<SDL_Point> places = SpritePlaces();
    for (auto _ : state) {
        Tandry::Graphics g(target.image.get());
        g.DrawImage(background.get(), 0, 0);
        for (int i = 0; i < 100; ++i)
            g.DrawImage(sprite.get(), places[static_cast<size_t>(i)].x, places[static_cast<size_t>(i)].y);
        for (int i = 0; i < 20; ++i) {
            g.SetColor(Color(40 * (i % 6), 90, 200, 128));
            g.FillRect(30 + (i % 5) * 190, 40 + (i / 5) * 170, 160, 120);
        }
        g.SetColorizeImages(true);
        g.SetColor(Color(230, 220, 120));
        for (int i = 0; i < 2000; ++i)
            g.DrawImage(glyph.get(), 8 + (i % 100) * 10, 100 + (i / 100) * 14);
    }
    state.SetLabel("background, 100 sprites, 20 fills, 2000 glyphs");
}

BENCHMARK(BM_SurfaceFrame_Graphics)
    ->ArgsProduct({{0, 1}})
    ->ArgNames({"rgb565"})
    ->Unit(benchmark::kMillisecond);

} // namespace
