// The software cursor overlay: a picture drawn over everything at the mouse
// point, optionally breathing in size, for the cursor kinds the system cursor
// cannot show. The game application makes one, installs it as the widget
// manager's cursor widget (updated and drawn after all other widgets) and
// writes its fields from its cursor selection.
#pragma once

#include "widgets/Widget.h"

namespace Tandry {

class Image;

class CursorWidget : public Widget {
public:
    // The rectangle (0, 0, 1, 1): the widget draws wherever the mouse is.
    CursorWidget();

    // Advances the pulse and asks to be drawn again, every update.
    void Update() override;
    // Centred on the mouse point, or 20 pixels to its right while the system
    // arrow shows (custom cursors off), so the arrow does not cover it.
    void Draw(Graphics* g) override;

    // The shown picture: altImage while useAlt is set, else image; may be null.
    Image* ShownImage() const;

    // Null draws nothing. The pictures are the game's global cursor
    // pictures, not owned.
    Image* image = nullptr;
    Image* altImage = nullptr;
    int useAlt = 0;
    bool pulse = false;
    float scale = 1.0f;
    // Grows without bound; only its sine is used.
    float phase = 0.0f;
    // The scale at the far end of the pulse.
    float maxScale = 1.0f;
};

} // namespace Tandry
