#include "game/shell/InGameMenu.h"

#include "game/shell/GameButtonFactories.h"
#include "game/shell/GlobalResources.h"
#include "game/shell/GuiLayout.h"
#include "graphics/context/Font.h"
#include "graphics/context/Graphics.h"
#include "resources/ini/LangTable.h"

namespace Tandry {

namespace {

GuiLayout* CloneOrLoad(const GuiLayout* source)
{
    // Before the shared layouts are loaded the menu reads its own copy.
    return source != nullptr ? source->Clone() : new GuiLayout("data/gui/ingamemenu/", true);
}

} // namespace

InGameMenu::InGameMenu(const BoundCall<void()>& options, const GuiLayout* sourceLayout,
                       const BoundCall<void()>& mainMenu, DarkBack* menuBackdrop)
    : PopInPanel(CloneOrLoad(sourceLayout), menuBackdrop), optionsCall(options), mainMenuCall(mainMenu)
{
    Build();
}

void InGameMenu::Build()
{
    PlaceOnEntry("_back");
    titleRect = Layout()->GetEntryRect("menu", true);
    title = GetLangString("Menu", GetLangTable(), L"Interface");
    AddButton(CreateLabelledScaleButton(this, kResumeId, "resume/resume_in", "resume/resume_ac", "Resume"));
    AddButton(CreateLabelledScaleButton(this, kOptionsId, "options/options_in", "options/options_ac", "Options"));
    AddButton(
        CreateLabelledScaleButton(this, kMainMenuId, "mainmenu/mainmenu_in", "mainmenu/mainmenu_ac", "MainMenu"));
    ApplyPopIn(0.0f);
}

void InGameMenu::OnButtonClick(int id, int /*button*/)
{
    switch (id) {
    case kMainMenuId:
        mainMenuCall();
        break;
    case kOptionsId:
        optionsCall();
        break;
    case kResumeId:
        Close();
        break;
    default:
        break;
    }
}

void InGameMenu::Draw(Graphics* g)
{
    DrawPanel(g);
    BeginHeadText(g);
    if (FONT_HEAD != nullptr) {
        const int textX = titleRect.x + (titleRect.width - g->GetStringWidth(title)) / 2;
        const int textY = titleRect.y + (titleRect.height + FONT_HEAD->GetAscent() - FONT_HEAD->GetDescent()) / 2;
        g->DrawString(title, textX, textY);
    }
    g->PopState();
}

} // namespace Tandry
