// The time service. GetTickCount and TimeGetTime are one millisecond counter
// that wraps at 2^32 (callers subtract unsigned); the performance counter
// counts nanoseconds; Sleep, the local time and the tick of the last user
// input complete it. Every member may be called from any thread.
#pragma once

#include "platform/time/LocalDateTime.h"

#include <cstdint>
#include <optional>

namespace Platform {

class Clock {
public:
    static constexpr int64_t kPerformanceFrequency = 1'000'000'000;

    virtual ~Clock() = default;

    virtual uint32_t GetTickCount() = 0;
    uint32_t TimeGetTime() { return GetTickCount(); }
    virtual void Sleep(uint32_t milliseconds) = 0;

    virtual int64_t QueryPerformanceCounter() = 0;
    int64_t QueryPerformanceFrequency() const { return kPerformanceFrequency; }

    // The timer resolution is always fine enough here; kept so start-up reads as written.
    void TimeBeginPeriod(uint32_t) {}
    void TimeEndPeriod(uint32_t) {}

    virtual LocalDateTime GetLocalTime() = 0;
    // The tick of the last input anywhere on the desktop; empty when the system does not tell.
    virtual std::optional<uint32_t> GetLastInputTick() = 0;
};

} // namespace Platform
