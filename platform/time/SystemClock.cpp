#include "platform/time/SystemClock.h"

#include <cerrno>
#include <thread>
#include <time.h>

namespace Platform {

int64_t SystemClock::QueryPerformanceCounter()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

uint32_t SystemClock::GetTickCount()
{
    return static_cast<uint32_t>(static_cast<uint64_t>(QueryPerformanceCounter()) / 1'000'000u);
}

void SystemClock::Sleep(uint32_t milliseconds)
{
    if (milliseconds == 0) {
        // Windows' Sleep(0) gives up the rest of the time slice.
        std::this_thread::yield();
        return;
    }
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += milliseconds / 1000;
    deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1'000'000;
    if (deadline.tv_nsec >= 1'000'000'000) {
        deadline.tv_nsec -= 1'000'000'000;
        ++deadline.tv_sec;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

LocalDateTime SystemClock::GetLocalTime()
{
    return ReadSystemLocalTime();
}

std::optional<uint32_t> SystemClock::GetLastInputTick()
{
    return std::nullopt;
}

} // namespace Platform
