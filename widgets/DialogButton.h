// The button of a dialog: with a component image it draws as a box image
// stretched over the whole button (or a box cell of it per look), moves
// everything by a small offset while pressed and centres its label with
// offsets of its own; without one it draws like any button. Dialogs make them.
#pragma once

#include "widgets/ButtonWidget.h"

namespace Tandry {

class DialogButton : public ButtonWidget {
public:
    DialogButton(int buttonId, ButtonListener* buttonListener);
    ~DialogButton() override = default;

    void Draw(Graphics* g) override;

    // Not owned.
    Image* componentImage = nullptr;
    // How far everything moves while pressed.
    int translateX = 1;
    int translateY = 1;
    // Added to the centred label position.
    int textOffsetX = 0;
    int textOffsetY = 0;

private:
    // The cell of componentImage for the current state, as a box.
    void DrawCell(Graphics* g);
};

} // namespace Tandry
