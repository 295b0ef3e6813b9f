// The transition of kind "none": the switch completes on its first update and
// nothing is drawn in between.
#pragma once

#include "game/shell/BoardTransformer.h"

namespace Tandry {

class BoardTransformerEmpty : public BoardTransformer {
public:
    void Advance(float seconds) override;
};

} // namespace Tandry
