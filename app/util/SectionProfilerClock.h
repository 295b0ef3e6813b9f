// The clock the section profiler reads. It stands alone so the platform layer
// can later put its performance counter behind it; until then it is the steady
// clock in nanoseconds. Tests install a clock of their own.
#pragma once

#include <cstdint>

namespace Tandry {

uint64_t ProfilerTicks();
int64_t ProfilerTicksPerSecond();

using ProfilerTickSource = uint64_t (*)();
// Replaces the clock and its rate; a null source restores the steady clock.
void SetProfilerTickSource(ProfilerTickSource source, int64_t ticksPerSecond);

} // namespace Tandry
