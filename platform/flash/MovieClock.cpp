#include "platform/flash/MovieClock.h"

#include "platform/Platform.h"

namespace Platform {

void MovieClock::Catch()
{
    if (!mRunning)
        return;
    const uint32_t tick = GetPlatform().GetClock().GetTickCount();
    mTime += static_cast<double>(static_cast<uint32_t>(tick - mLastTick)) * mRate;
    mLastTick = tick;
}

void MovieClock::Start()
{
    if (mRunning)
        return;
    mLastTick = GetPlatform().GetClock().GetTickCount();
    mRunning = true;
}

void MovieClock::Stop()
{
    Catch();
    mRunning = false;
}

double MovieClock::Now()
{
    Catch();
    return mTime;
}

void MovieClock::SetRate(double rate)
{
    Catch();
    mRate = rate;
}

void MovieClock::Reset()
{
    mRunning = false;
    mTime = 0;
    mRate = 1;
}

} // namespace Platform
