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

    // TODO: fade the level towards the shown flag by 0.08 per update.
    void Update() override;
    // TODO: the black fill at 0.6 x level and the shadowed "Pause" text.
    void Draw(Graphics* g) override;
    // TODO: a click clears the focus-loss mark and closes the overlay.
    void MouseDown(int mouseX, int mouseY, int button, int clickCount) override;
    using Widget::MouseDown;

    std::wstring text;
    // How far the overlay has faded in, 0 to 1.
    float level = 0.0f;
    bool shown = false;
    bool openedByFocusLoss = false;
};

} // namespace Tandry
