// The in-game menu a play board opens over a DarkBack: Resume, Options and
// Main Menu on a clone of the shared in-game menu layout, popping in and out
// with the shared panel animation. What Options and Main Menu do is the
// opening board's choice, given as two calls.
#pragma once

#include "game/shell/PopInPanel.h"
#include "widgets/BoundCall.h"

#include "graphics/types/Rect.h"

#include <string>

namespace Tandry {

class InGameMenu : public PopInPanel {
public:
    enum ButtonId { kMainMenuId = 0, kOptionsId = 1, kResumeId = 2 };

    // Clones sourceLayout, which must outlive the menu (null: the menu reads
    // the folder itself), and builds the panel.
    InGameMenu(const BoundCall<void()>& optionsCall, const GuiLayout* sourceLayout,
               const BoundCall<void()>& mainMenuCall, DarkBack* backdrop);

    // Main menu and options call their calls (an empty one does nothing);
    // resume closes the menu.
    void OnButtonClick(int id, int button) override;
    using ButtonListener::OnButtonClick;
    // The pop-in, the layout and the title centred in its rectangle.
    void Draw(Graphics* g) override;

    BoundCall<void()> optionsCall;
    BoundCall<void()> mainMenuCall;
    Rect titleRect;
    std::wstring title;

private:
    void Build();
};

} // namespace Tandry
