// The headless clock: virtual time that starts where the test says (1000 by
// default) and moves only when the test advances it, or when the thread that
// made the clock sleeps, which advances it by that much. A sleep on any other
// thread blocks until virtual time reaches its end, so a background thread's
// loop runs as the test or the main loop moves time and never races it.
#pragma once

#include "platform/time/Clock.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace Platform {

class HeadlessClock : public Clock {
public:
    struct SleepRecord {
        uint32_t milliseconds;
        bool onClockThread;
    };

    explicit HeadlessClock(uint32_t startTick = 1000);

    uint32_t GetTickCount() override;
    void Sleep(uint32_t milliseconds) override;
    int64_t QueryPerformanceCounter() override;
    LocalDateTime GetLocalTime() override;
    std::optional<uint32_t> GetLastInputTick() override;

    // Moves virtual time forward and wakes the sleepers whose end it reached.
    void Advance(uint32_t milliseconds);
    // Called after each move of virtual time (Advance, or a sleep of the
    // clock's thread) with its length, outside the clock's lock; the headless
    // sound device renders that much sound. Empty: none.
    using AdvanceListener = std::function<void(uint32_t milliseconds)>;
    void SetAdvanceListener(AdvanceListener listener);
    void SetLocalTime(const LocalDateTime& time);
    void SetLastInputTick(std::optional<uint32_t> tick);
    std::vector<SleepRecord> GetSleeps();
    // Sleeps of other threads that are waiting for virtual time right now.
    int CountWaitingSleepers();

private:
    std::mutex mLock;
    std::condition_variable mMoved;
    std::thread::id mOwner;
    uint64_t mElapsedNs = 0; // since construction; never wraps
    uint32_t mStartTick;
    LocalDateTime mLocalTime;
    std::optional<uint32_t> mLastInputTick;
    std::vector<SleepRecord> mSleeps;
    int mWaiting = 0;
    AdvanceListener mListener;
};

} // namespace Platform
