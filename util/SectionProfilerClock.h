// The clock the section profiler reads: the platform's nanosecond performance
// counter, unless a test installs a clock of its own.
#pragma once

#include <cstdint>

namespace Tandry {

uint64_t ProfilerTicks();
int64_t ProfilerTicksPerSecond();

using ProfilerTickSource = uint64_t (*)();
// Replaces the clock and its rate; a null source restores the platform counter.
void SetProfilerTickSource(ProfilerTickSource source, int64_t ticksPerSecond);

} // namespace Tandry
