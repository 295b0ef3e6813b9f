// The display's per-frame and per-image work beside memcpy of the same bytes,
// measured in the same run: presenting a 1024 x 768 frame with the software
// cursor through the headless presenter (goal: at most 3 times the memcpy of
// the frame), and making a surface of a 1024 x 768 picture with transparency
// (conversion, key choice, writing) and reading it back (goal: at most 4 times
// the memcpy of the 3 MiB picture). The 32-bit key search that needs its 2 MB
// table is measured beside them. Both 32-bit and 565 displays run.
#include "bench/graphics/display/DisplayBenchSetup.h"
#include "graphics/display/DDImage.h"
#include "graphics/image/MemoryImage.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace Platform;
using namespace DisplayBench;

void BM_Display_Redraw(benchmark::State& state)
{
    const DDrawFormat format = kFormats[state.range(0)];
    HeadlessDisplay bench(format);
    if (!bench.ok) {
        state.SkipWithError("the display did not come up");
        return;
    }
    // A cursor with soft edges, as cursor pictures have.
    std::vector<uint32_t> picture(32 * 32);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = (i % 32 < 4 ? 0x80000000u : 0xFF000000u) | static_cast<uint32_t>(i * 0x10203);
    Tandry::MemoryImage cursor;
    cursor.SetBits(picture.data(), 32, 32, true);
    bench.Display().SetCursorImage(&cursor);
    bench.Display().mCursorX = 500;
    bench.Display().mCursorY = 400;
    for (auto _ : state)
        benchmark::DoNotOptimize(bench.Display().Redraw(nullptr));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * BytesPerPixel(format));
    bench.Display().SetCursorImage(nullptr);
}

void BM_Display_MemcpyFrame(benchmark::State& state)
{
    const size_t bytes = size_t{kWidth} * kHeight * static_cast<size_t>(BytesPerPixel(kFormats[state.range(0)]));
    std::vector<uint8_t> from(bytes, 3), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

// A picture of many colours on transparent black, with soft pixels. Its
// opaque pixels are never black, so the first transparent pixel gives the
// key; for the worst case one opaque pixel is black, and the search runs
// (on 32 bits with its 2 MB table).
std::vector<uint32_t> Picture(bool clash)
{
    std::vector<uint32_t> pixels(size_t{kWidth} * kHeight);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t rgb = (static_cast<uint32_t>(i * 2654435761u) >> 8) | 0x080808u;
        pixels[i] = i % 97 == 0 ? 0u : (i % 31 == 0 ? 0x80000000u : 0xFF000000u) | rgb;
    }
    if (clash)
        pixels[1] = 0xFF000000u;
    return pixels;
}

void SetPictureBytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 4);
}

void BM_Display_CreateSurface(benchmark::State& state)
{
    HeadlessDisplay bench(kFormats[state.range(0)]);
    if (!bench.ok) {
        state.SkipWithError("the display did not come up");
        return;
    }
    const std::vector<uint32_t> pixels = Picture(state.range(1) != 0);
    Tandry::DDImage image(&bench.Display());
    image.SetBits(pixels.data(), kWidth, kHeight, true);
    for (auto _ : state) {
        // The pixel array stays, so the surface goes without a read-back.
        image.ReleaseSurface();
        benchmark::DoNotOptimize(image.CreateSurface());
    }
    SetPictureBytes(state);
}

void BM_Display_ReadBack(benchmark::State& state)
{
    HeadlessDisplay bench(kFormats[state.range(0)]);
    if (!bench.ok) {
        state.SkipWithError("the display did not come up");
        return;
    }
    const std::vector<uint32_t> pixels = Picture(false);
    Tandry::DDImage image(&bench.Display());
    image.SetBits(pixels.data(), kWidth, kHeight, true);
    image.CreateSurface();
    for (auto _ : state) {
        image.FreeMemoryCopies();
        benchmark::DoNotOptimize(image.GetBits());
    }
    SetPictureBytes(state);
}

void BM_Display_MemcpyPicture(benchmark::State& state)
{
    const size_t bytes = size_t{kWidth} * kHeight * 4;
    std::vector<uint8_t> from(bytes, 3), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    SetPictureBytes(state);
}

BENCHMARK(BM_Display_Redraw)->Arg(0)->Arg(1)->ArgName("rgb565");
BENCHMARK(BM_Display_MemcpyFrame)->Arg(0)->Arg(1)->ArgName("rgb565");
BENCHMARK(BM_Display_CreateSurface)->ArgsProduct({{0, 1}, {0, 1}})->ArgNames({"rgb565", "keySearch"});
BENCHMARK(BM_Display_ReadBack)->Arg(0)->Arg(1)->ArgName("rgb565");
BENCHMARK(BM_Display_MemcpyPicture);

} // namespace
