// FillRect of memory images on a 1024 x 768 destination, beside the outside
// references measured in the same run: an opaque fill beside SDL_FillRect,
// and an alpha-128 fill of the whole frame beside pixman's solid OVER.
// Goal: a ratio of at least 1.0 against each.
#include <cstdint>

#include "bench/graphics/image/MemoryImageDrawBench.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace {

using namespace DrawBench;

constexpr int64_t kFrame = int64_t{kWidth} * kHeight;

void BM_FillOpaque_MemoryImage(benchmark::State& state)
{
    auto dest = MakeImage(Backdrop());
    for (auto _ : state) {
        dest->FillRect(Tandry::Rect(0, 0, kWidth, kHeight), Tandry::Color(20, 40, 60), 0);
        benchmark::DoNotOptimize(dest->mBits.get());
    }
    CountPixels(state, kFrame);
}

void BM_FillOpaque_SdlFillRect(benchmark::State& state)
{
    SdlPicture dest(SDL_PIXELFORMAT_ARGB8888, kWidth, kHeight, Backdrop().px);
    for (auto _ : state) {
        SDL_FillRect(dest.Get(), nullptr, 0xFF142842);
        benchmark::DoNotOptimize(dest.Get()->pixels);
    }
    CountPixels(state, kFrame);
}

void BM_FillHalfAlpha_MemoryImage(benchmark::State& state)
{
    auto dest = MakeImage(Backdrop());
    for (auto _ : state) {
        dest->FillRect(Tandry::Rect(0, 0, kWidth, kHeight), Tandry::Color(20, 40, 60, 128), 0);
        benchmark::DoNotOptimize(dest->mBits.get());
    }
    CountPixels(state, kFrame);
}

void BM_FillHalfAlpha_PixmanSolidOver(benchmark::State& state)
{
    PixmanPicture dest(PIXMAN_a8r8g8b8, kWidth, kHeight, Backdrop().px);
    const pixman_color_t color{20 * 128, 40 * 128, 60 * 128, 128 * 257};
    pixman_image_t* solid = pixman_image_create_solid_fill(&color);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, solid, nullptr, dest.Get(), 0, 0, 0, 0, 0, 0, kWidth, kHeight);
        benchmark::DoNotOptimize(pixman_image_get_data(dest.Get()));
    }
    pixman_image_unref(solid);
    CountPixels(state, kFrame);
}

} // namespace

BENCHMARK(BM_FillOpaque_MemoryImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillOpaque_SdlFillRect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillHalfAlpha_MemoryImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillHalfAlpha_PixmanSolidOver)->Unit(benchmark::kMillisecond);
