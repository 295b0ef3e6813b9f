// FormatString on the short texts the game formats all the time, against
// snprintf into a stack buffer in the same run. Goal: within 1.5 times.
#include "util/Format.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// Each case formats the same text both ways; the argument picks the case.
const char* const kNames[] = {"short-int", "file-name", "score-line", "long-line"};

std::string Format(int which, int i)
{
    switch (which) {
    case 0: return Tandry::FormatString("%d", i);
    case 1: return Tandry::FormatString("images\\scene_%02d_%s.png", i % 100, "lamp");
    case 2: return Tandry::FormatString("Score: %d / %d (%.1f%%)", i, 5000, i * 0.02);
    default:
        return Tandry::FormatString("Display %dx%d, window %dx%d at %d,%d, draw buffer %dx%d, mode %s", 800, 600,
                                    i, 600, 10, 20, 1024, 768, "windowed");
    }
}

int Snprintf(char* out, size_t size, int which, int i)
{
    switch (which) {
    case 0: return std::snprintf(out, size, "%d", i);
    case 1: return std::snprintf(out, size, "images\\scene_%02d_%s.png", i % 100, "lamp");
    case 2: return std::snprintf(out, size, "Score: %d / %d (%.1f%%)", i, 5000, i * 0.02);
    default:
        return std::snprintf(out, size, "Display %dx%d, window %dx%d at %d,%d, draw buffer %dx%d, mode %s", 800,
                             600, i, 600, 10, 20, 1024, 768, "windowed");
    }
}

void BM_FormatString(benchmark::State& state)
{
    const int which = static_cast<int>(state.range(0));
    state.SetLabel(kNames[which]);
    int i = 0;
    for (auto _ : state) {
        std::string text = Format(which, i++ & 0xFFF);
        benchmark::DoNotOptimize(text.data());
    }
}

void BM_SnprintfStack(benchmark::State& state)
{
    const int which = static_cast<int>(state.range(0));
    state.SetLabel(kNames[which]);
    int i = 0;
    for (auto _ : state) {
        char buffer[161];
        const int length = Snprintf(buffer, sizeof buffer, which, i++ & 0xFFF);
        benchmark::DoNotOptimize(buffer);
        benchmark::DoNotOptimize(length);
    }
}

BENCHMARK(BM_FormatString)->DenseRange(0, 3);
BENCHMARK(BM_SnprintfStack)->DenseRange(0, 3);

} // namespace
