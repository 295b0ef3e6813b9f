#include "game/shell/FrameTimer.h"

#include "platform/Platform.h"

#include <memory>

namespace Tandry {

namespace {

std::unique_ptr<FrameTimer>& TimerSlot()
{
    static std::unique_ptr<FrameTimer> timer;
    return timer;
}

Platform::Clock& TheClock()
{
    return Platform::GetPlatform().GetClock();
}

} // namespace

FrameTimer::FrameTimer()
{
    Reset();
}

void FrameTimer::Reset()
{
    Platform::Clock& clock = TheClock();
    mFrequency = clock.QueryPerformanceFrequency();
    mLastCounter = clock.QueryPerformanceCounter();
    mHistory.assign(1, kFillValue);
}

float FrameTimer::Measure()
{
    const int64_t now = TheClock().QueryPerformanceCounter();
    // In double: nanosecond counts lose their low digits in a float.
    double raw = static_cast<double>(now - mLastCounter) * static_cast<double>(scale) /
                 static_cast<double>(mFrequency);
    // A counter that ran backwards, or a negative scale, is no time at all.
    if (!(raw >= 0.0))
        raw = 0.0;
    mFrameTime = raw > kMaxStep ? kMaxStep : static_cast<float>(raw);
    mHistory.push_back(mFrameTime);
    while (static_cast<int>(mHistory.size()) > kHistoryLimit)
        mHistory.pop_front();
    float sum = 0.0f;
    for (float value : mHistory)
        sum += value;
    mFrameTime = sum / static_cast<float>(mHistory.size());
    mLastCounter = now;
    return mFrameTime;
}

FrameTimer& GetFrameTimer()
{
    std::unique_ptr<FrameTimer>& timer = TimerSlot();
    if (!timer)
        timer = std::make_unique<FrameTimer>();
    return *timer;
}

void ResetFrameTimer()
{
    TimerSlot().reset();
}

} // namespace Tandry
