// The coverage fill of a surface image: one colour through a full-screen
// coverage mask into the locked 1024 x 768 surface of a 32-bit and a 565
// display, beside pixman's solid OVER through an a8 mask into x8r8g8b8 /
// r5g6b5, measured in the same run. Goal: a ratio of at least 1.0.
#include "bench/graphics/display/SurfaceBench.h"
#include "graphics/types/Color.h"
#include "graphics/types/Span.h"

#include <vector>

namespace {

using namespace SurfaceBench;
using namespace DrawBench;
using SurfaceBench::kHeight;
using SurfaceBench::kWidth;

// Soft-edged coverage everywhere: what an anti-aliased polygon's mask holds.
const std::vector<uint8_t>& Mask()
{
    static const std::vector<uint8_t> mask = [] {
        std::vector<uint8_t> m(static_cast<size_t>(kWidth) * kHeight);
        for (size_t i = 0; i < m.size(); ++i)
            m[i] = static_cast<uint8_t>(Hash(static_cast<uint32_t>(i / 7)) % 4 == 0 ? Hash(static_cast<uint32_t>(i))
                                                                                    : 255);
        return m;
    }();
    return mask;
}

void BM_SurfaceCoverageFill(benchmark::State& state)
{
    SurfaceTarget target(FormatOf(state));
    if (!target.ok) {
        state.SkipWithError("the display did not come up");
        return;
    }
    std::vector<Tandry::Span> spans;
    for (int y = 0; y < kHeight; ++y)
        spans.push_back({y, 0, kWidth});
    const Tandry::Color colour(200, 100, 50, 230);
    for (auto _ : state) {
        target.image->FillScanLinesWithCoverage(spans.data(), kHeight, colour, 0, Mask().data(), 0, 0, kWidth, 0);
    }
    CountPixels(state, kFramePixels);
}

void BM_SurfaceCoverageFill_PixmanSolidA8(benchmark::State& state)
{
    PixmanTarget dest(Is565(state));
    const pixman_color_t colour{static_cast<uint16_t>(200 * 230 / 255 * 257), static_cast<uint16_t>(100 * 230 / 255 * 257),
                                static_cast<uint16_t>(50 * 230 / 255 * 257), 230 * 257};
    pixman_image_t* solid = pixman_image_create_solid_fill(&colour);
    std::vector<uint8_t> mask = Mask();
    pixman_image_t* a8 = pixman_image_create_bits(PIXMAN_a8, kWidth, kHeight, reinterpret_cast<uint32_t*>(mask.data()),
                                                  kWidth);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, solid, a8, dest.Get(), 0, 0, 0, 0, 0, 0, kWidth, kHeight);
        benchmark::DoNotOptimize(pixman_image_get_data(dest.Get()));
    }
    pixman_image_unref(a8);
    pixman_image_unref(solid);
    CountPixels(state, kFramePixels);
}

} // namespace

BENCHMARK(BM_SurfaceCoverageFill)->Apply(Formats);
BENCHMARK(BM_SurfaceCoverageFill_PixmanSolidA8)->Apply(Formats);
