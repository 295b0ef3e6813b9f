// The transition of kind "slide": both boards move down together over
// "ScreenFade", the new one entering from above; with no board to enter,
// black follows the old board down.
#pragma once

#include "game/shell/BoardTransformer.h"

namespace Tandry {

class BoardTransformerSlide : public BoardTransformer {
public:
    BoardTransformerSlide();

    void Advance(float seconds) override;
    void Draw(Graphics* g) override;

    // How far the old board has moved down, in whole pixels.
    int Shift() const;

    float elapsed = 0.0f;
    float duration;
};

} // namespace Tandry
