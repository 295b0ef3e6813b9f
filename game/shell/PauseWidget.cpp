#include "game/shell/PauseWidget.h"

#include "game/shell/GlobalResources.h"
#include "graphics/context/Font.h"
#include "graphics/context/Graphics.h"
#include "resources/ini/LangTable.h"

#include <cmath>

namespace Tandry {

namespace {

// A fixed step per update: the overlay fades in or out in 13 updates.
constexpr float kFadeStep = 0.08f;
// At its full level the fill is black at 60 % opacity.
constexpr float kFillOpacity = 0.6f;

} // namespace

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
    const float target = shown ? 1.0f : 0.0f;
    if (level != target) {
        if (std::fabs(level - target) < kFadeStep) {
            level = target;
        } else {
            level += target > level ? kFadeStep : -kFadeStep;
            SetVisible(true);
        }
        MarkAreaDirty();
    }
    if (level == target)
        SetVisible(shown);
}

void PauseWidget::Draw(Graphics* g)
{
    g->SetColor(Color(0, 0, 0).WithAlpha(kFillOpacity * level));
    g->FillRect(0, 0, width, height);
    if (FONT_CORBEL == nullptr)
        return;
    g->SetFont(FONT_CORBEL);
    const int textX = (width - g->GetStringWidth(text)) / 2;
    const int textY = height / 2 - FONT_CORBEL->GetAscent();
    // The halo: the text in black at the four diagonal neighbours.
    g->SetColor(Color(0, 0, 0).WithAlpha(level));
    for (const int dx : {-1, 1})
        for (const int dy : {-1, 1})
            g->DrawString(text, textX + dx, textY + dy);
    g->SetColor(Color(255, 255, 255).WithAlpha(level));
    g->DrawString(text, textX, textY);
}

void PauseWidget::MouseDown(int /*mouseX*/, int /*mouseY*/, int /*button*/, int /*clickCount*/)
{
    if (!openedByFocusLoss)
        return;
    openedByFocusLoss = false;
    shown = false;
    mouseVisible = false;
}

} // namespace Tandry
