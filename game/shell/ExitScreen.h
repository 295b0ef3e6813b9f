// The confirmation the main menu opens over a DarkBack when the player
// chooses to leave: its own layout of "data/gui/exit/" with the question and
// Yes and No, popping in and out with the shared panel animation. Yes, and
// Escape, shut the application down; No closes the panel. It holds the
// keyboard focus while it is in the tree.
#pragma once

#include "game/shell/PopInPanel.h"
#include "graphics/types/Rect.h"

#include <string>

namespace Tandry {

class ExitScreen : public PopInPanel {
public:
    enum ButtonId { kYesId = 0, kNoId = 1 };

    explicit ExitScreen(DarkBack* backdrop);

    // On press, not on release: dragging off the button still counts.
    void OnButtonDown(int id, int button) override;
    using ButtonListener::OnButtonDown;
    // Escape acts as Yes.
    void KeyDown(int key) override;
    // The pop-in, the layout and the question word-wrapped in its rectangle.
    void Draw(Graphics* g) override;

    // Takes the keyboard focus, so that Escape reaches the panel.
    void AddedToManager(WidgetManager* widgetManager) override;
    // Gives the focus back to the parent when the panel had it.
    void RemovedFromManager(WidgetManager* widgetManager) override;

    Rect textRect;
    std::wstring text;

private:
    void Build();
};

} // namespace Tandry
