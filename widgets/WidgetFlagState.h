// The flag words of one update or draw pass, built by the manager when the
// pass starts and handed down the tree by pointer: each container changes the
// two words for its subtree and restores them on return, while aboveModal,
// once the walk reached the base modal widget, stays set for the pass.
#pragma once

namespace Tandry {

struct WidgetFlagState {
    // Used at and above the base modal widget.
    int flags = 0;
    // Used below it.
    int belowModalFlags = 0;
    bool aboveModal = true;

    int Effective() const { return aboveModal ? flags : belowModalFlags; }
};

} // namespace Tandry
