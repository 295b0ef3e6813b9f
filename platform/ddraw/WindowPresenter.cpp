#include "platform/ddraw/WindowPresenter.h"

#include "platform/window/WindowMessages.h"

#include <algorithm>

namespace Platform {

void WindowPresenter::GetDesktopSize(uint32_t& width, uint32_t& height)
{
    width = static_cast<uint32_t>(std::max(mWindows.GetSystemMetrics(SM_CXSCREEN), 0));
    height = static_cast<uint32_t>(std::max(mWindows.GetSystemMetrics(SM_CYSCREEN), 0));
}

bool WindowPresenter::GetClientRectOnScreen(HWND window, RECT& rect)
{
    WinRect client;
    WinPoint origin;
    if (!mWindows.GetClientRect(window, client) || !mWindows.ClientToScreen(window, origin))
        return false;
    rect = RECT{origin.x, origin.y, origin.x + client.Width(), origin.y + client.Height()};
    return true;
}

void WindowPresenter::SetFullScreen(HWND window, bool fullScreen) { mWindows.SetDesktopFullScreen(window, fullScreen); }

bool WindowPresenter::GetShownRect(HWND window, bool fullScreen, const PresentedSurface& primary, RECT& shown)
{
    if (!mWindows.IsWindow(window))
        return false;
    if (fullScreen) {
        shown = RECT{0, 0, static_cast<int32_t>(primary.width), static_cast<int32_t>(primary.height)};
        return true;
    }
    return GetClientRectOnScreen(window, shown);
}

RECT WindowPresenter::VisiblePart(const RECT& shown, const RECT& changed, const PresentedSurface& primary)
{
    const RECT visible{std::max({shown.left, changed.left, 0}), std::max({shown.top, changed.top, 0}),
                       std::min({shown.right, changed.right, static_cast<int32_t>(primary.width)}),
                       std::min({shown.bottom, changed.bottom, static_cast<int32_t>(primary.height)})};
    if (visible.right <= visible.left || visible.bottom <= visible.top)
        return RECT{};
    return visible;
}

} // namespace Platform
