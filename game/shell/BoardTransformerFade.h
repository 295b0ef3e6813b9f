// The transition of kind "fade": the screen goes to black over the first
// half of "ScreenFade" and comes back on the new board over the second. To
// no board it ends when the screen is black, before the loading screen.
#pragma once

#include "game/shell/BoardTransformer.h"

namespace Tandry {

class BoardTransformerFade : public BoardTransformer {
public:
    BoardTransformerFade();

    void Advance(float seconds) override;
    void Draw(Graphics* g) override;
    void DrawOverlay(Graphics* g) override;

    // The from board in the first half, the to board after it.
    BaseBoard* ShownBoard() const;
    // The darkness now, 0 to 1.
    float Blackness() const;

    float elapsed = 0.0f;
    float duration;
};

} // namespace Tandry
