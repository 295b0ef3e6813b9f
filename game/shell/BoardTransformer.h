// A screen transition: a widget laid over the whole screen while one board
// gives way to the next. It draws the old board, the new one or both, hides
// them while it runs, and tells its listener once when it is over. The kinds
// differ in what they draw; the board switch makes them through
// MakeBoardTransformer and owns the one that runs.
#pragma once

#include "widgets/Widget.h"

#include <cstdint>

namespace Tandry {

class BaseBoard;
class BoardTransformerListener;

class BoardTransformer : public Widget {
public:
    // Steps the transition by the seconds since the previous update.
    virtual void Advance(float seconds);
    // Called once the boards and the listener are stored.
    virtual void Start();

    // Advances by the time since the previous update on the millisecond
    // counter; the first update advances by 0.
    void Update() override;
    // Shows both boards again and tells the listener; only the first call counts.
    void Finish();

    // Milliseconds at the previous update; 0 until the first.
    uint32_t lastTime = 0;
    bool running = true;
    // Never null.
    BaseBoard* fromBoard = nullptr;
    // Null for a switch that shows the loading screen next.
    BaseBoard* toBoard = nullptr;
    BoardTransformerListener* listener = nullptr;
};

} // namespace Tandry
