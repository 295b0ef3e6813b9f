#include "util/SectionProfilerClock.h"

#include "platform/Platform.h"

#include <atomic>

namespace Tandry {
namespace {

// The platform's performance counter, so that a headless test clock drives the profiler too.
uint64_t PlatformTicks()
{
    return static_cast<uint64_t>(Platform::GetPlatform().GetClock().QueryPerformanceCounter());
}

constexpr int64_t kPlatformTicksPerSecond = Platform::Clock::kPerformanceFrequency;

std::atomic<ProfilerTickSource> gSource{&PlatformTicks};
std::atomic<int64_t> gTicksPerSecond{kPlatformTicksPerSecond};

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
        source = &PlatformTicks;
        ticksPerSecond = kPlatformTicksPerSecond;
    }
    gSource.store(source, std::memory_order_relaxed);
    gTicksPerSecond.store(ticksPerSecond, std::memory_order_relaxed);
}

} // namespace Tandry
