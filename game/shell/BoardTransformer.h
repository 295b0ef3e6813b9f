// A screen transition: a widget laid over the whole screen while one board
// gives way to the next. It draws the old board, the new one or both, hides
// them while it runs, and tells its listener once when it is over. The kinds
// differ in what they draw; the board switch makes them through
// MakeBoardTransformer and owns the one that runs.
#pragma once

#include "graphics/types/Color.h"
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

    // A time of the [Game] section of the game's settings, in seconds.
    // Anything but a finite number of at least 0 reads as 0, so a bad value
    // ends the transition at once instead of never.
    static float ReadSeconds(const char* key);
    // elapsed / duration within 0..1; 1 when the duration is 0.
    static float Progress(float elapsed, float duration);

protected:
    // The end rule of the timed kinds: over at total, or, when there is no
    // board to enter, as soon as the first phase is over.
    void FinishIfOver(float elapsed, float total, float firstPhase);
    // The board and everything on it, drawing only, at its place relative to
    // this transition shifted by (dx, dy). Nothing for a null board.
    void DrawBoard(Graphics* g, BaseBoard* board, int dx = 0, int dy = 0);
    // The board's overlay at its place; nothing for a null board.
    void DrawBoardOverlay(Graphics* g, BaseBoard* board);
    // A rectangle of the colour over the whole transition, alpha fraction
    // f (clamped to 0..255 once scaled).
    void FillOver(Graphics* g, const Color& color, float f);
};

} // namespace Tandry
