// What DelayActor needs of a mini-game's close-up field: its winning step,
// run one update after the win so that the field is never ended from inside
// its own update. The mini-game field implements it.
#pragma once

class MinigameWinStep {
public:
    // Tells the scene tutorial and runs the field's winning actions.
    virtual void RunOnWin() = 0;

protected:
    ~MinigameWinStep() = default;
};
