// What a play board tells the object of a derived board that keeps its own
// clock (a mini-game, a timed scene): that the game is paused or running,
// and, at a restart, that its time starts over. GameBase holds at most one.
#pragma once

namespace Tandry {

class PauseAware {
public:
    virtual ~PauseAware() = default;

    // The paused flag set to paused, the second flag cleared.
    virtual void SetPauseState(bool paused) = 0;
    // The current time back to the start time.
    virtual void ResetTime() = 0;
};

} // namespace Tandry
