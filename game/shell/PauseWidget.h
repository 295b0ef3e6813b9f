// The overlay a play board shows while the game is paused: a dimming layer
// with the word "Pause". The board builds it hidden and shows it from its
// pause step; opened by focus loss, the first click afterwards closes it.
#pragma once

#include "widgets/Widget.h"

#include <string>

namespace Tandry {

class PauseWidget : public Widget {
public:
    PauseWidget();

    // The shown flag and the mouse visibility follow show. Shown while the
    // application is inactive, it is marked as opened by focus loss, and
    // while so marked it stays mouse-visible when hidden, so the next click
    // still reaches it.
    void SetShown(bool show, bool applicationInactive);

    // The level moves 0.08 per update towards the shown flag and snaps when
    // closer; the widget stays visible while it moves, and once there it is
    // visible exactly when shown.
    void Update() override;
    // Black at 0.6 x level over the whole widget, then the text centred in
    // white with a black halo at its four diagonal neighbours.
    void Draw(Graphics* g) override;
    // Any button: only an overlay opened by focus loss closes, and it then
    // stops taking the mouse; the player's own pause ignores clicks.
    void MouseDown(int mouseX, int mouseY, int button, int clickCount) override;
    using Widget::MouseDown;

    std::wstring text;
    // How far the overlay has faded in, 0 to 1.
    float level = 0.0f;
    bool shown = false;
    bool openedByFocusLoss = false;
};

} // namespace Tandry
