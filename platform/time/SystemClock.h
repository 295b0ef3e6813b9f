// The real clock: the monotonic system clock in milliseconds and nanoseconds,
// sleeps on an absolute monotonic deadline so that an interrupted sleep never
// ends early. The desktop's last-input tick is not visible to us.
#pragma once

#include "platform/time/Clock.h"

namespace Platform {

class SystemClock : public Clock {
public:
    uint32_t GetTickCount() override;
    void Sleep(uint32_t milliseconds) override;
    int64_t QueryPerformanceCounter() override;
    LocalDateTime GetLocalTime() override;
    std::optional<uint32_t> GetLastInputTick() override;
};

} // namespace Platform
