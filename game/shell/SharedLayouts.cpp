#include "game/shell/SharedLayouts.h"

#include "game/shell/GameControllerCommon.h"
#include "game/shell/GuiLayout.h"

namespace Tandry {

namespace {

void Free(GuiLayout*& layout)
{
    GuiLayout::Delete(layout);
    layout = nullptr;
}

void Replace(GuiLayout*& layout, const char* folder)
{
    Free(layout);
    layout = new GuiLayout(folder, true);
}

} // namespace

void LoadSharedLayouts()
{
    GameControllerCommon& controller = GetGameControllerCommon();
    Replace(controller.frameLayout, "data/gui/ramka/");
    Replace(controller.notebookLayout, "data/gui/notebook/");
    Replace(controller.inGameMenuLayout, "data/gui/ingamemenu/");
    Replace(controller.optionsLayout, "data/gui/options/");
}

void FreeSharedLayouts()
{
    GameControllerCommon* controller = FindGameControllerCommon();
    if (controller == nullptr)
        return;
    Free(controller->frameLayout);
    Free(controller->notebookLayout);
    Free(controller->inGameMenuLayout);
    Free(controller->optionsLayout);
    Free(controller->tutorialFrameLayout);
}

} // namespace Tandry
