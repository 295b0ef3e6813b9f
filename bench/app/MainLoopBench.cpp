// The main loop against the real clock, on the SDL back end's dummy driver
// with the stand-in display, each for 10 s of wall time:
// - update cadence with the base values (no vertical-sync timing), beside a
//   plain clock_nanosleep loop of 10 ms in the same run. Goal: a mean
//   interval within 1 % of 10 ms and a jitter (standard deviation of the
//   intervals) at most 1.5 x the plain loop's;
// - update rate with the game's values (vertical-sync timing on the 60 Hz
//   stand-in, windowed, so one or two updates per 16.667 ms). Goal: within
//   1 % of 100 updates per second;
// - CPU time while idle, with the cursor thread running as in the game, as a
//   share of wall time. Goal: at most 0.02.
#include "app/TandryAppBase.h"
#include "platform/Platform.h"
#include "platform/sdl/SdlPlatform.h"
#include "platform/sdl/SdlTestSupport.h"
#include "platform/window/WindowMessages.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int64_t kRunNs = 10'000'000'000;

int64_t Now(clockid_t clock = CLOCK_MONOTONIC)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// Mean and standard deviation of the gaps between the times, in milliseconds.
struct Intervals {
    double meanMs = 0;
    double jitterMs = 0;
};

Intervals Measure(const std::vector<int64_t>& times)
{
    Intervals result;
    if (times.size() < 2)
        return result;
    const size_t count = times.size() - 1;
    double sum = 0;
    for (size_t i = 1; i < times.size(); ++i)
        sum += static_cast<double>(times[i] - times[i - 1]);
    result.meanMs = sum / static_cast<double>(count) / 1e6;
    double squares = 0;
    for (size_t i = 1; i < times.size(); ++i) {
        const double gap = static_cast<double>(times[i] - times[i - 1]) / 1e6 - result.meanMs;
        squares += gap * gap;
    }
    result.jitterMs = std::sqrt(squares / static_cast<double>(count));
    return result;
}

class TimedApp : public Tandry::TandryAppBase {
public:
    void UpdateTick() override
    {
        TandryAppBase::UpdateTick();
        updates.push_back(Now());
    }
    std::vector<int64_t> updates;
};

// The application with its window up on the SDL dummy driver, as Init leaves it.
class LoopRig {
public:
    explicit LoopRig(bool gameValues)
    {
        Platform::SdlTestSupport::UseDummyDrivers();
        auto made = Platform::kSdlBootstrap.create({"Hollowmere", "MoorglenBench" + std::to_string(getpid()), {}});
        if (!made)
            return;
        Platform::InstallPlatform(std::move(made));
        Platform::WindowSystem& windows = Platform::GetPlatform().GetWindows();
        windows.RegisterWindowClass({"MainWindow", Platform::CS_DBLCLKS, &Tandry::TandryAppBase::MainWindowProc, 0});
        app = std::make_unique<TimedApp>();
        app->mWidth = 1024;
        app->mHeight = 768;
        app->mSmoothVSync = gameValues;
        app->mPrimaryThreadId = Platform::GetPlatform().GetThreads().GetCurrentThreadId();
        app->CreateAppWindow();
        windows.ShowWindow(app->mMainWindow, Platform::SW_SHOW);
        app->mInitDone = true;
        app->mInMainLoop = true;
    }

    ~LoopRig()
    {
        app.reset();
        Platform::ResetPlatform();
    }

    void RunFor(int64_t ns)
    {
        const int64_t end = Now() + ns;
        while (Now() < end)
            app->RunUpdateStep(nullptr);
    }

    // False (and the benchmark skipped) when SDL cannot start here.
    bool Ready(benchmark::State& state)
    {
        if (!app)
            state.SkipWithError("SDL cannot start");
        return app != nullptr;
    }

    std::unique_ptr<TimedApp> app;
};

void BM_UpdateCadenceBaseValues(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<int64_t> plain;
        const int64_t end = Now() + kRunNs;
        while (Now() < end) {
            const timespec wait{0, 10'000'000};
            clock_nanosleep(CLOCK_MONOTONIC, 0, &wait, nullptr);
            plain.push_back(Now());
        }
        LoopRig rig(false);
        if (!rig.Ready(state))
            return;
        rig.RunFor(kRunNs);
        const Intervals reference = Measure(plain);
        const Intervals loop = Measure(rig.app->updates);
        state.counters["plain_mean_ms"] = reference.meanMs;
        state.counters["plain_jitter_ms"] = reference.jitterMs;
        state.counters["loop_mean_ms"] = loop.meanMs;
        state.counters["loop_jitter_ms"] = loop.jitterMs;
        state.counters["jitter_ratio"] = reference.jitterMs > 0 ? loop.jitterMs / reference.jitterMs : 0;
        state.counters["mean_error_pct"] = std::abs(loop.meanMs - 10.0) * 10.0;
    }
}

void BM_UpdateRateGameValues(benchmark::State& state)
{
    for (auto _ : state) {
        LoopRig rig(true);
        if (!rig.Ready(state))
            return;
        // The first update comes one period after the loop starts; count from it.
        rig.RunFor(100'000'000);
        const size_t before = rig.app->updates.size();
        const int64_t start = Now();
        rig.RunFor(kRunNs);
        const double seconds = static_cast<double>(Now() - start) / 1e9;
        const double rate = static_cast<double>(rig.app->updates.size() - before) / seconds;
        state.counters["updates_per_s"] = rate;
        state.counters["rate_error_pct"] = std::abs(rate - 100.0);
        state.counters["frames_per_s"] = static_cast<double>(rig.app->mDrawCount) / (seconds + 0.1);
    }
}

void BM_IdleCpuShare(benchmark::State& state)
{
    for (auto _ : state) {
        LoopRig rig(true);
        if (!rig.Ready(state))
            return;
        rig.app->StartCursorThread();
        const int64_t wallStart = Now();
        const int64_t cpuStart = Now(CLOCK_PROCESS_CPUTIME_ID);
        rig.RunFor(kRunNs);
        const double cpu = static_cast<double>(Now(CLOCK_PROCESS_CPUTIME_ID) - cpuStart);
        const double wall = static_cast<double>(Now() - wallStart);
        rig.app->Shutdown();
        state.counters["cpu_share"] = cpu / wall;
    }
}

BENCHMARK(BM_UpdateCadenceBaseValues)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_UpdateRateGameValues)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_IdleCpuShare)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace
