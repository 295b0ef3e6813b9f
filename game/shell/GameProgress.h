// The story's progress bar on the game board's HUD: an empty back picture
// with a fill picture over it that grows from the left edge as the current
// player's progress grows, showing the right end of the fill. Both pictures
// are entries of the interface layout, which keeps owning them.
#pragma once

#include "widgets/Widget.h"

namespace Tandry {

struct GuiLayoutEntry;

class GameProgress : public Widget {
public:
    // The widget covers both entries' pictures; a missing entry or picture
    // counts as nothing.
    GameProgress(GuiLayoutEntry* back, GuiLayoutEntry* fill);

    void Draw(Graphics* g) override;

    // The columns of a fill picture width wide that progress p shows: none
    // for a p that is not a finite number or is below 0, all above 1.
    static int FillColumns(int width, float progress);

private:
    GuiLayoutEntry* mBack;
    GuiLayoutEntry* mFill;
};

} // namespace Tandry
