// What a screen transition reports its end to. The game application listens,
// and completes the board switch there.
#pragma once

namespace Tandry {

class BoardTransformerListener {
public:
    virtual ~BoardTransformerListener() = default;
    // Called once, from inside the transition's own update.
    virtual void OnTransformEnd() = 0;
};

} // namespace Tandry
