#include "game/shell/ExitScreen.h"

#include "app/TandryAppBase.h"
#include "game/shell/GameButtonFactories.h"
#include "game/shell/GuiLayout.h"
#include "graphics/context/Graphics.h"
#include "resources/ini/LangTable.h"
#include "widgets/WidgetManager.h"

namespace Tandry {

namespace {

constexpr int kEscapeKey = 27;

} // namespace

ExitScreen::ExitScreen(DarkBack* panelBackdrop) : PopInPanel(new GuiLayout("data/gui/exit/", true), panelBackdrop)
{
    Build();
}

void ExitScreen::Build()
{
    Layout()->SetEntryDrawFlag("dark", false);
    PlaceOnEntry("back");
    textRect = Layout()->GetEntryRect("text", true);
    text = GetLangString("ExitConfirm", GetLangTable(), L"Interface");
    AddButton(CreateLabelledScaleButton(this, kYesId, "buttons/yes/yes_in", "buttons/yes/yes_ac", "Yes"));
    Layout()->SetEntryDrawFlag("buttons/yes/yes_dn", false);
    AddButton(CreateLabelledScaleButton(this, kNoId, "buttons/no/no_in", "buttons/no/no_ac", "No"));
    Layout()->SetEntryDrawFlag("buttons/no/no_dn", false);
    ApplyPopIn(0.0f);
}

void ExitScreen::OnButtonDown(int id, int /*button*/)
{
    switch (id) {
    case kYesId:
        // The one way to end a run: the shutdown steps run before the loop ends.
        if (gApplication != nullptr)
            gApplication->Shutdown();
        break;
    case kNoId:
        Close();
        break;
    default:
        break;
    }
}

void ExitScreen::KeyDown(int key)
{
    if (key == kEscapeKey)
        OnButtonDown(kYesId, 0);
}

void ExitScreen::Draw(Graphics* g)
{
    DrawPanel(g);
    BeginHeadText(g);
    g->DrawStringWrapped(text, textRect, -1, 0);
    g->PopState();
}

void ExitScreen::AddedToManager(WidgetManager* widgetManager)
{
    PopInPanel::AddedToManager(widgetManager);
    widgetManager->SetFocus(this);
}

void ExitScreen::RemovedFromManager(WidgetManager* widgetManager)
{
    PopInPanel::RemovedFromManager(widgetManager);
    // The manager has already taken the focus from the panel; the panel does
    // not take it from anyone else.
    if (widgetManager->focusWidget != nullptr)
        return;
    if (auto* parentWidget = dynamic_cast<Widget*>(parent))
        widgetManager->SetFocus(parentWidget);
}

} // namespace Tandry
