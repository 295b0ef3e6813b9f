// A game button that can be scaled about its centre and tinted, so that
// whole panels can pop in and fade; the panels write its scale and tint on
// every update of their animation.
#pragma once

#include "game/shell/TGameButton.h"

namespace Tandry {

class ScaleButton : public TGameButton {
public:
    ScaleButton(int buttonId, ButtonListener* buttonListener);

    void SetImages(GuiLayoutEntry* normal, GuiLayoutEntry* over) override;
    // With reposition, the centre is scaled about the anchor and the button
    // moved there: whole pixels in x and y, the remainder in [0, 1) kept for
    // drawing. The position is written directly, so center keeps the
    // unscaled centre.
    void SetScale(float newScale, bool reposition, int anchorX, int anchorY);

    void DrawButtonImage(Graphics* g, Image* image, const Rect& source, int imageX, int imageY) override;
    void Draw(Graphics* g) override;
    // No hit at a scale that is not above 0.
    bool HitTestPoint(int localX, int localY) override;

    float scale = 1.0f;
    Color tint{255, 255, 255, 255};
    // The unscaled centre in the parent's coordinates, set by SetImages.
    Point center;
    // The fraction of the position left by the last SetScale, added when
    // drawing the picture.
    struct SubPixel {
        float x = 0.0f;
        float y = 0.0f;
    };
    SubPixel subPixelOffset;
};

} // namespace Tandry
