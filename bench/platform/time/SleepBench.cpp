// How far Sleep overshoots the asked time, against clock_nanosleep on the
// monotonic clock called directly. Goal: at most 1.1 x the raw overshoot.
#include "platform/time/SystemClock.h"

#include <benchmark/benchmark.h>

#include <time.h>

namespace {

int64_t NowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

template <typename SleepFor>
void MeasureOvershoot(benchmark::State& state, SleepFor sleepFor)
{
    const auto ms = static_cast<uint32_t>(state.range(0));
    double overshootNs = 0;
    for (auto _ : state) {
        int64_t start = NowNs();
        sleepFor(ms);
        overshootNs += static_cast<double>(NowNs() - start - static_cast<int64_t>(ms) * 1'000'000);
    }
    state.counters["overshoot_us"] =
        benchmark::Counter(overshootNs / 1000.0, benchmark::Counter::kAvgIterations);
}

void BM_PlatformSleep(benchmark::State& state)
{
    Platform::SystemClock clock;
    MeasureOvershoot(state, [&](uint32_t ms) { clock.Sleep(ms); });
}

void BM_RawClockNanosleep(benchmark::State& state)
{
    MeasureOvershoot(state, [](uint32_t ms) {
        timespec wait{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1'000'000};
        clock_nanosleep(CLOCK_MONOTONIC, 0, &wait, nullptr);
    });
}

BENCHMARK(BM_PlatformSleep)->Arg(1)->Arg(5)->Arg(10)->Iterations(100)->UseRealTime();
BENCHMARK(BM_RawClockNanosleep)->Arg(1)->Arg(5)->Arg(10)->Iterations(100)->UseRealTime();

} // namespace
