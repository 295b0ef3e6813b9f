// StretchBlt of memory images onto a 1024 x 768 destination, beside the
// outside references measured in the same run: the nearest path enlarging
// 512 x 384 beside SDL_BlitScaled, the filtered path enlarging 512 x 384 and
// reducing 2048 x 1536 beside pixman's bilinear filter. Goal: a ratio of at
// least 1.0 against each. The filtered path also reports its allocations per
// call. The reduction's own goal is at most three times one read of its
// source, timed as a plain sum of the 2048 x 1536 words.
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "bench/graphics/image/MemoryImageDrawBench.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace {

std::atomic<int64_t> gAllocations{0};

} // namespace

// Counts every allocation of the benchmark program. The library's delete
// frees what malloc gave; kept out of line so that callers see a plain new.
[[gnu::noinline]] void* operator new(std::size_t size)
{
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

namespace {

using namespace DrawBench;
using Tandry::Rect;

constexpr int64_t kFrame = int64_t{kWidth} * kHeight;

const Picture& Source(int which)
{
    static const Picture small = Discs(kWidth / 2, kHeight / 2, 40, 100);
    static const Picture large = Discs(kWidth * 2, kHeight * 2, 150, 400);
    return which == 0 ? small : large;
}

void Label(benchmark::State& state, int which)
{
    state.SetLabel(which == 0 ? "512x384 enlarged" : "2048x1536 reduced");
    CountPixels(state, kFrame);
}

void BM_StretchNearest_MemoryImage(benchmark::State& state)
{
    auto source = MakeImage(Source(0));
    auto dest = MakeImage(Backdrop());
    const Rect all(0, 0, kWidth, kHeight);
    for (auto _ : state) {
        dest->StretchBlt(source.get(), all, Rect(0, 0, kWidth / 2, kHeight / 2), all, Tandry::Color::White, 0, true);
        benchmark::DoNotOptimize(dest->mBits.get());
    }
    Label(state, 0);
}

void BM_StretchNearest_SdlBlitScaled(benchmark::State& state)
{
    const Picture& picture = Source(0);
    SdlPicture source(SDL_PIXELFORMAT_ARGB8888, picture.width, picture.height, picture.px);
    SdlPicture dest(SDL_PIXELFORMAT_ARGB8888, kWidth, kHeight, Backdrop().px);
    SDL_SetSurfaceBlendMode(source.Get(), SDL_BLENDMODE_BLEND);
    for (auto _ : state) {
        SDL_Rect to{0, 0, kWidth, kHeight};
        SDL_BlitScaled(source.Get(), nullptr, dest.Get(), &to);
        benchmark::DoNotOptimize(dest.Get()->pixels);
    }
    Label(state, 0);
}

void BM_StretchFiltered_MemoryImage(benchmark::State& state)
{
    const int which = static_cast<int>(state.range(0));
    auto source = MakeImage(Source(which));
    auto dest = MakeImage(Backdrop());
    const Rect all(0, 0, kWidth, kHeight);
    const Rect from(0, 0, source->mWidth, source->mHeight);
    int64_t allocations = 0;
    for (auto _ : state) {
        const int64_t before = gAllocations.load(std::memory_order_relaxed);
        dest->StretchBlt(source.get(), all, from, all, Tandry::Color::White, 0, false);
        allocations += gAllocations.load(std::memory_order_relaxed) - before;
        benchmark::DoNotOptimize(dest->mBits.get());
    }
    state.counters["allocs/call"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
    Label(state, which);
}

void BM_StretchFiltered_PixmanBilinear(benchmark::State& state)
{
    const int which = static_cast<int>(state.range(0));
    const Picture& picture = Source(which);
    PixmanPicture source(PIXMAN_a8r8g8b8, picture.width, picture.height, Premultiplied(picture));
    PixmanPicture dest(PIXMAN_a8r8g8b8, kWidth, kHeight, Backdrop().px);
    pixman_transform_t scale;
    pixman_transform_init_scale(&scale, pixman_double_to_fixed(double(picture.width) / kWidth),
                                pixman_double_to_fixed(double(picture.height) / kHeight));
    pixman_image_set_transform(source.Get(), &scale);
    pixman_image_set_filter(source.Get(), PIXMAN_FILTER_BILINEAR, nullptr, 0);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, source.Get(), nullptr, dest.Get(), 0, 0, 0, 0, 0, 0, kWidth,
                                 kHeight);
        benchmark::DoNotOptimize(pixman_image_get_data(dest.Get()));
    }
    Label(state, which);
}

void BM_StretchFiltered_ReadSourceOnce(benchmark::State& state)
{
    const Picture& picture = Source(1);
    for (auto _ : state) {
        uint32_t sum = 0;
        for (const uint32_t word : picture.px)
            sum += word;
        benchmark::DoNotOptimize(sum);
    }
    state.SetLabel("2048x1536 words summed");
    CountPixels(state, kFrame);
}

} // namespace

BENCHMARK(BM_StretchFiltered_ReadSourceOnce)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchNearest_MemoryImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchNearest_SdlBlitScaled)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchFiltered_MemoryImage)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchFiltered_PixmanBilinear)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
