// The one frame timer of the game: every board update measures the time
// since the previous one on the performance counter and steps its processes
// with the average of the last twenty measurements, so one slow update (a
// long load, a debugger stop) never turns into one huge step.
#pragma once

#include <cstdint>
#include <deque>

namespace Tandry {

class FrameTimer {
public:
    static constexpr float kMaxStep = 30.0f;
    static constexpr float kFillValue = 0.03f;
    static constexpr int kHistoryLimit = 20;

    // In its reset state, so that an update before any reset gives a sane dt.
    FrameTimer();

    // Reads the counter's frequency and value; the history holds one fill value.
    void Reset();
    // The seconds since the previous call (or reset), clamped to kMaxStep and
    // averaged over the history; the counter moves on to now.
    float Measure();

    float FrameTime() const { return mFrameTime; }
    const std::deque<float>& History() const { return mHistory; }

    float scale = 1.0f;

private:
    int64_t mFrequency = 1;
    int64_t mLastCounter = 0;
    float mFrameTime = 0.0f;
    std::deque<float> mHistory;
};

// The process's timer, made on first use.
FrameTimer& GetFrameTimer();
// Tests only: the next GetFrameTimer makes a fresh timer.
void ResetFrameTimer();

} // namespace Tandry
