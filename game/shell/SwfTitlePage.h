// A logo movie over the whole screen. Its movie starts as the page is built
// (the title screen builds every page at once), so its time runs from then;
// the page ends when the movie stops playing. The widget stays out of the
// widget tree: the page updates and draws it itself, and it takes no mouse.
#pragma once

#include "game/shell/TitlePage.h"
#include "widgets/FlashListener.h"
#include "widgets/FlashWidget.h"

#include <string>

namespace Tandry {

class SwfTitlePage : public TitlePage, public FlashListener {
public:
    SwfTitlePage(bool isSkippable, const std::string& name);

    void Draw(Graphics* g) override;
    void Update() override;

    void OnMovieStopped(int id) override;
    // The title movies drive nothing in the game.
    void OnFlashCommand(int id, const std::string& command, const std::string& arguments) override;

    FlashWidget flashWidget;
};

} // namespace Tandry
