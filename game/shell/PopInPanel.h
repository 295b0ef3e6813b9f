// What the in-game menu and the exit confirmation share: a modal panel over a
// DarkBack, built from its own layout, that grows in with the pop-in curve
// while its buttons scale and brighten with it, and that shrinks, leaves its
// parent and is deleted after its closing fade. The owner binds the
// backdrop's click to Close.
#pragma once

#include "widgets/ButtonListener.h"
#include "widgets/Widget.h"

#include <memory>
#include <string>
#include <vector>

namespace Tandry {

class DarkBack;
class GuiLayout;
class ScaleButton;

class PopInPanel : public Widget, public ButtonListener {
public:
    // Takes the layout; the backdrop (may be null) ends itself.
    PopInPanel(GuiLayout* layout, DarkBack* backdrop);
    // Deletes the buttons, then the layout (a clone leaves its source's
    // pictures alone).
    ~PopInPanel() override;
    PopInPanel(const PopInPanel&) = delete;
    PopInPanel& operator=(const PopInPanel&) = delete;

    // Fades out with the backdrop; the panel is deleted once it is gone.
    void Close();
    // Every button scaled by the pop-in curve about the panel's centre and
    // tinted from grey to white.
    void ApplyPopIn(float progress);
    // Alpha towards its target by 0.03; at 0 the panel ends itself. Then the
    // pop-in for the new alpha.
    void Update() override;

    GuiLayout* Layout() { return mLayout.get(); }
    const std::vector<ScaleButton*>& Buttons() const { return mButtons; }

    float alpha = 0.0f;
    float alphaTarget = 1.0f;
    // Forgotten once Close has handed it its closing fade.
    DarkBack* backdrop;

protected:
    // The panel takes the entry's rectangle and the layout moves into the
    // panel's coordinates; a missing entry gives an empty rectangle.
    void PlaceOnEntry(const std::string& name);
    // Adds a button made from the layout as a child.
    void AddButton(ScaleButton* button);
    // The pop-in on g and the layout under it.
    void DrawPanel(Graphics* g);
    // Saves g's state and sets up the heading text: colour multiplied by the
    // dark text colour, "FONT_HEAD". The caller restores the state.
    void BeginHeadText(Graphics* g);

private:
    std::unique_ptr<GuiLayout> mLayout;
    std::vector<ScaleButton*> mButtons;
    // Handed to the application for deletion; never twice.
    bool mEnded = false;
};

} // namespace Tandry
