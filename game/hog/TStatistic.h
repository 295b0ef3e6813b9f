// The miss statistics of a hidden-object board: a clock fed by the bus's frame
// tick and the clock times of the misses since the last found item. When
// misses come too fast it broadcasts the too-many-misses code, on which the
// board pushes the cursor away and the level notes the event. The board
// builds one before subscribing itself, so it counts every miss first.
#pragma once

#include "game/hog/TMessenger.h"

#include <vector>

namespace Tandry {

class TStatistic : public TMessenger {
public:
    // The clock runs from 0; subscribes to the miss, found-item, clock and
    // tick codes.
    TStatistic();

    void OnMessage(int code, TMessenger* sender, MessageParam* param) override;

    // Notes a miss at the current clock time (nothing while the clock is
    // stopped); from the fourth listed miss on, the last and the third-last
    // closer than the window send the penalty code and start the list again.
    void RecordMiss();

    bool IsClockRunning() const { return mClockRunning; }
    float GetElapsed() const { return mElapsed; }
    const std::vector<float>& GetMisses() const { return mMisses; }

private:
    bool mClockRunning = true;
    float mElapsed = 0.0f;
    std::vector<float> mMisses;
    float mWindow = 3.0f;
};

} // namespace Tandry
