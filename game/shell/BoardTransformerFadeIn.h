// The transition of kind "fade_in": a snapshot of the new board, taken when
// the transition starts, fades in over the old board during "ScreenFade".
// It needs a board to enter; MakeBoardTransformer plays a fade when there is
// none.
#pragma once

#include "game/shell/BoardTransformer.h"

#include <memory>

namespace Tandry {

class DDImage;

class BoardTransformerFadeIn : public BoardTransformer {
public:
    BoardTransformerFadeIn();
    ~BoardTransformerFadeIn() override;

    // Takes the snapshot of the to board.
    void Start() override;
    void Advance(float seconds) override;
    void Draw(Graphics* g) override;

    // The to board at the start; null without one or when it has no area.
    std::unique_ptr<DDImage> snapshot;
    float elapsed = 0.0f;
    float duration;
};

} // namespace Tandry
