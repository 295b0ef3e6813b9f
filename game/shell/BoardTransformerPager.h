// The transition of kind "page": the old board, caught in a snapshot when the
// transition starts, is drawn on a page mesh that folds to the left over
// "ScreenFade" and uncovers the new board (or black) beneath.
#pragma once

#include "game/shell/BoardTransformer.h"
#include "game/shell/PageMesh.h"

#include <memory>

namespace Tandry {

class DDImage;

class BoardTransformerPager : public BoardTransformer {
public:
    BoardTransformerPager();
    ~BoardTransformerPager() override;

    // Takes the snapshot of the from board and lays the page flat.
    void Start() override;
    void Advance(float seconds) override;
    void Draw(Graphics* g) override;

    // The from board as it was at the start; null when the transition has no area.
    std::unique_ptr<DDImage> snapshot;
    PageMesh mesh;
    float elapsed = 0.0f;
    float duration;
};

} // namespace Tandry
