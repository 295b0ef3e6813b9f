// One flickering light of the main menu's background: a layout picture that
// stays dark for a while, brightens, flickers, fades, and goes dark again
// for a random time. The menu steps every spot once per update and draws the
// picture in white at the spot's alpha.
#pragma once

namespace Tandry {

struct GuiLayoutEntry;

class MenuLightSpot {
public:
    enum State { kDark = 0, kRising = 1, kFlickering = 2, kFalling = 3 };

    // Dark, for a first wait of 1 to 5 time units.
    explicit MenuLightSpot(GuiLayoutEntry* entry);

    // One update: the time moves 0.005 towards the duration; on the update
    // after it arrived the next state begins. Then the alpha follows.
    void Update();
    // The brightness of a state at a time of its duration; may pass 1 while
    // flickering (the drawing clamps).
    static float AlphaAt(int state, float time, float duration);

    int state = kDark;
    float time = 0.0f;
    float duration = 0.0f;
    float alpha = 0.0f;
    // The layout's; the menu draws it instead of the layout.
    GuiLayoutEntry* entry;
};

} // namespace Tandry
