#include "platform/headless/HeadlessClock.h"

namespace Platform {

HeadlessClock::HeadlessClock(uint32_t startTick)
    : mOwner(std::this_thread::get_id())
    , mStartTick(startTick)
{
}

uint32_t HeadlessClock::GetTickCount()
{
    std::lock_guard<std::mutex> hold(mLock);
    return static_cast<uint32_t>(mStartTick + mElapsedNs / 1'000'000u);
}

int64_t HeadlessClock::QueryPerformanceCounter()
{
    std::lock_guard<std::mutex> hold(mLock);
    return static_cast<int64_t>(mElapsedNs);
}

void HeadlessClock::Advance(uint32_t milliseconds)
{
    AdvanceListener listener;
    {
        std::lock_guard<std::mutex> hold(mLock);
        mElapsedNs += static_cast<uint64_t>(milliseconds) * 1'000'000u;
        listener = mListener;
    }
    mMoved.notify_all();
    if (listener)
        listener(milliseconds);
}

void HeadlessClock::SetAdvanceListener(AdvanceListener listener)
{
    std::lock_guard<std::mutex> hold(mLock);
    mListener = std::move(listener);
}

void HeadlessClock::Sleep(uint32_t milliseconds)
{
    std::unique_lock<std::mutex> hold(mLock);
    bool owner = std::this_thread::get_id() == mOwner;
    mSleeps.push_back({milliseconds, owner});
    uint64_t end = mElapsedNs + static_cast<uint64_t>(milliseconds) * 1'000'000u;
    if (owner) {
        hold.unlock();
        Advance(milliseconds);
        return;
    }
    ++mWaiting;
    mMoved.notify_all(); // a test may be waiting for this sleeper to arrive
    mMoved.wait(hold, [&] { return mElapsedNs >= end; });
    --mWaiting;
}

int HeadlessClock::CountWaitingSleepers()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mWaiting;
}

LocalDateTime HeadlessClock::GetLocalTime()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mLocalTime;
}

void HeadlessClock::SetLocalTime(const LocalDateTime& time)
{
    std::lock_guard<std::mutex> hold(mLock);
    mLocalTime = time;
}

std::optional<uint32_t> HeadlessClock::GetLastInputTick()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mLastInputTick;
}

void HeadlessClock::SetLastInputTick(std::optional<uint32_t> tick)
{
    std::lock_guard<std::mutex> hold(mLock);
    mLastInputTick = tick;
}

std::vector<HeadlessClock::SleepRecord> HeadlessClock::GetSleeps()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mSleeps;
}

} // namespace Platform
