#include "game/shell/PauseWidget.h"

#include "resources/ini/LangTable.h"

namespace Tandry {

PauseWidget::PauseWidget() : text(GetLangString("Pause", GetLangTable(), L"Interface"))
{
    zOrder = 5;
}

void PauseWidget::SetShown(bool show, bool applicationInactive)
{
    shown = show;
    mouseVisible = show;
    if (show && applicationInactive)
        openedByFocusLoss = true;
    if (!show && openedByFocusLoss)
        mouseVisible = true;
}

void PauseWidget::Update()
{
    Widget::Update();
}

void PauseWidget::Draw(Graphics* /*g*/) {}

void PauseWidget::MouseDown(int /*mouseX*/, int /*mouseY*/, int /*button*/, int /*clickCount*/) {}

} // namespace Tandry
