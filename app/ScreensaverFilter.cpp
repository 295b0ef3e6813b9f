#include "app/ScreensaverFilter.h"

#include "app/MainLoopGlobals.h"
#include "app/TandryAppBase.h"
#include "platform/Platform.h"
#include "platform/window/WindowMessages.h"

namespace Tandry {

namespace {

// Mouse jitter is not activity: the first few moves are swallowed.
constexpr int kMovesBeforeActivity = 4;
// After the monitor is asked to power down, the deactivation it causes is not activity.
constexpr uint32_t kMonitorPowerGraceMs = 1000;

struct FilterState {
    // Once set, every message passes.
    bool closing = false;
    bool created = false;
    uint32_t mouseX = 0;
    uint32_t mouseY = 0;
    int moves = 0;
};

FilterState gFilter;

bool IsDeactivation(uint32_t message, uintptr_t wParam)
{
    return (message == Platform::WM_ACTIVATE || message == Platform::WM_ACTIVATEAPP ||
            message == Platform::WM_NCACTIVATE) &&
           wParam == 0;
}

bool EndsScreensaver(uint32_t message, uintptr_t wParam)
{
    switch (message) {
    case Platform::WM_KEYDOWN:
    case Platform::WM_SYSKEYDOWN:
    case Platform::WM_CLOSE:
    case Platform::WM_LBUTTONDOWN:
    case Platform::WM_RBUTTONDOWN:
    case Platform::WM_MBUTTONDOWN:
        return true;
    default:
        return IsDeactivation(message, wParam);
    }
}

bool IgnoredDuringMonitorGrace(uint32_t message)
{
    switch (message) {
    case Platform::WM_ACTIVATE:
    case Platform::WM_CLOSE:
    case Platform::WM_ACTIVATEAPP:
    case Platform::WM_NCACTIVATE:
    case Platform::WM_MOUSEMOVE:
        return true;
    default:
        return false;
    }
}

bool EndTest(Platform::WindowHandle window, uint32_t message)
{
    if (gApplication != nullptr && window != gApplication->mMainWindow)
        return false;
    Platform::ServiceBundle& platform = Platform::GetPlatform();
    if (gLastMonitorPowerTick && IgnoredDuringMonitorGrace(message) &&
        platform.GetClock().GetTickCount() - *gLastMonitorPowerTick < kMonitorPowerGraceMs)
        return false;
    gFilter.closing = true;
    platform.GetWindows().PostMessage(window, Platform::WM_CLOSE, 0, 0);
    return false;
}

} // namespace

bool ScreensaverFilter(Platform::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                       intptr_t& result)
{
    if (gFilter.closing)
        return false;
    result = 0;
    switch (message) {
    case Platform::WM_CREATE:
        if (!gFilter.created) {
            gFilter.created = true;
            Platform::WinPoint cursor;
            Platform::GetPlatform().GetWindows().GetCursorPos(cursor);
            gFilter.mouseX = static_cast<uint32_t>(cursor.x) & 0xFFFFu;
            gFilter.mouseY = static_cast<uint32_t>(cursor.y) & 0xFFFFu;
        }
        return false;
    case Platform::WM_SYSCOMMAND:
        switch (static_cast<uint32_t>(wParam) & 0xFFF0u) {
        case Platform::SC_NEXTWINDOW:
        case Platform::SC_PREVWINDOW:
        case Platform::SC_CLOSE:
        case Platform::SC_SCREENSAVE:
            return true;
        default:
            return false;
        }
    case Platform::WM_MOUSEMOVE: {
        const uint32_t x = static_cast<uint32_t>(lParam) & 0xFFFFu;
        const uint32_t y = (static_cast<uint32_t>(lParam) >> 16) & 0xFFFFu;
        if (x != gFilter.mouseX || y != gFilter.mouseY) {
            if (gFilter.moves < kMovesBeforeActivity)
                ++gFilter.moves;
            gFilter.mouseX = x;
            gFilter.mouseY = y;
        }
        if (gFilter.moves < kMovesBeforeActivity)
            return true;
        return EndTest(window, message);
    }
    default:
        if (EndsScreensaver(message, wParam))
            return EndTest(window, message);
        return false;
    }
}

void ResetScreensaverFilter()
{
    gFilter = FilterState();
}

} // namespace Tandry
