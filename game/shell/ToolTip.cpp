#include "game/shell/ToolTip.h"

#include "game/shell/MoveTowards.h"
#include "game/shell/ShellConstants.h"
#include "graphics/context/Graphics.h"
#include "widgets/WidgetManager.h"

namespace Tandry {

ToolTip::ToolTip()
{
    zOrder = 10;
}

float ToolTip::DefaultShowTime(const std::wstring& /*newText*/) const
{
    return kDefaultShowTime;
}

void ToolTip::FitText(int textWidth, int textHeight)
{
    width = textWidth + 12;
    height = textHeight + 8;
    flipLift = static_cast<float>(textHeight + 53);
}

void ToolTip::Place(float fadeStep)
{
    // Only a tooltip in the tree follows the mouse.
    if (manager == nullptr)
        return;
    x = manager->mouseX + 10;
    y = manager->mouseY + 40;
    flipped = y + height >= manager->height;
    MoveTowards(&flip, fadeStep, flipped ? 1.0f : 0.0f);
    x -= static_cast<int>(flipShift * flip);
    y -= static_cast<int>(flipLift * flip);
    if (x + width >= manager->width)
        x = manager->width - width;
}

void ToolTip::Draw(Graphics* g)
{
    const Color back = UiDarkColor.WithAlpha(0.3f * fade);
    if (back.alpha != 0) {
        g->SetColor(back);
        g->FillRect(0, 0, width, height);
    }
    DrawFadedText(g, 6, 4, width - 10);
    g->SetColor(UiDarkColor.WithAlpha(0.6f * fade));
    g->DrawRect(0, 0, width - 1, height - 1);
}

} // namespace Tandry
