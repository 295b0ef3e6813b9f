#include "platform/Platform.h"
#include "widgets/FlashWidget.h"
#include "widgets/WidgetHost.h"
#include "widgets/WidgetManager.h"

namespace Tandry {

void FlashWidget::Forward(uint32_t message, uint32_t wParam, int mouseX, int mouseY)
{
    if (!flash)
        return;
    const Point origin = GetAbsPos();
    const uint32_t absX = static_cast<uint32_t>(mouseX + origin.x) & 0xFFFFu;
    const uint32_t absY = static_cast<uint32_t>(mouseY + origin.y) & 0xFFFFu;
    flash->OnWindowMessage(message, wParam, absX | (absY << 16));
}

void FlashWidget::TakeOverCursor()
{
    WidgetHost* host = GetWidgetHost();
    if (!flash || host == nullptr)
        return;
    const Platform::CursorHandle cursor = flash->GetCursor();
    const Platform::CursorHandle arrow = Platform::GetPlatform().GetCursors().LoadSystemCursor(Platform::IDC_ARROW);
    usesControlCursor = cursor != nullptr && cursor != arrow;
    host->SetOverrideCursor(usesControlCursor ? cursor : nullptr);
    host->ApplyCursor();
}

void FlashWidget::MouseMove(int mouseX, int mouseY)
{
    Forward(Platform::WM_MOUSEMOVE, 0, mouseX, mouseY);
    if (isOver)
        TakeOverCursor();
}

void FlashWidget::MouseDrag(int mouseX, int mouseY)
{
    if (manager == nullptr || (manager->downButtons & 1) == 0)
        return;
    Forward(Platform::WM_MOUSEMOVE, Platform::MK_LBUTTON, mouseX, mouseY);
    TakeOverCursor();
}

void FlashWidget::MouseDown(int mouseX, int mouseY, int button, int /*clickCount*/)
{
    if (button != 0)
        return;
    Forward(Platform::WM_LBUTTONDOWN, Platform::MK_LBUTTON, mouseX, mouseY);
    TakeOverCursor();
}

void FlashWidget::MouseUp(int mouseX, int mouseY, int button, int /*clickCount*/)
{
    if (button != 0)
        return;
    Forward(Platform::WM_LBUTTONUP, 0, mouseX, mouseY);
    TakeOverCursor();
}

void FlashWidget::MouseLeave()
{
    MouseMove(-1, -1);
    usesControlCursor = false;
    if (WidgetHost* host = GetWidgetHost()) {
        host->SetOverrideCursor(nullptr);
        host->ApplyCursor();
    }
}

} // namespace Tandry
