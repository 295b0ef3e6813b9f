#include "app/util/SectionProfilerClock.h"

#include <atomic>
#include <chrono>

namespace Tandry {
namespace {

uint64_t SteadyTicks()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count());
}

constexpr int64_t kSteadyTicksPerSecond = 1000000000;

std::atomic<ProfilerTickSource> gSource{&SteadyTicks};
std::atomic<int64_t> gTicksPerSecond{kSteadyTicksPerSecond};

} // namespace

uint64_t ProfilerTicks()
{
    return gSource.load(std::memory_order_relaxed)();
}

int64_t ProfilerTicksPerSecond()
{
    return gTicksPerSecond.load(std::memory_order_relaxed);
}

void SetProfilerTickSource(ProfilerTickSource source, int64_t ticksPerSecond)
{
    if (source == nullptr) {
        source = &SteadyTicks;
        ticksPerSecond = kSteadyTicksPerSecond;
    }
    gSource.store(source, std::memory_order_relaxed);
    gTicksPerSecond.store(ticksPerSecond, std::memory_order_relaxed);
}

} // namespace Tandry
