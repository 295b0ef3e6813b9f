#include "platform/headless/HeadlessWindowSystem.h"

#include "platform/window/WindowMessages.h"

namespace Platform {

HeadlessWindowSystem::HeadlessWindowSystem(Clock& clock, SingleInstance& instance)
    : WindowSystemBase(clock, instance)
{
}

HeadlessWindowSystem::~HeadlessWindowSystem()
{
    DestroyAllWindows();
}

void HeadlessWindowSystem::Inject(const InputEvent& event)
{
    FeedInput(event);
}

void HeadlessWindowSystem::SetScreenSize(int32_t width, int32_t height)
{
    mScreen = {width, height};
}

void HeadlessWindowSystem::SetWorkArea(const WinRect& area)
{
    mWorkArea = area;
}

void HeadlessWindowSystem::SetDecorations(const WinRect& frame)
{
    mDecorations = frame;
}

void HeadlessWindowSystem::SetActiveWindowForTest(WindowHandle window)
{
    SetActiveState(window);
}

void HeadlessWindowSystem::SetScreenSaverAnswers(uint32_t timeoutSeconds, bool active, std::optional<bool> running)
{
    mSaverTimeout = timeoutSeconds;
    mSaverActive = active;
    mSaverRunning = running;
}

WinRect HeadlessWindowSystem::GetWorkArea()
{
    return mWorkArea.value_or(WinRect{0, 0, mScreen.x, mScreen.y});
}

bool HeadlessWindowSystem::GetScreenSaverRunning(bool& running)
{
    if (!mSaverRunning)
        return false;
    running = *mSaverRunning;
    return true;
}

WinRect HeadlessWindowSystem::FrameFor(uint32_t style)
{
    return (style & WS_CAPTION) == WS_CAPTION ? mDecorations : WinRect{};
}

WinPoint HeadlessWindowSystem::FullScreenClientSize()
{
    // A maximised window's side and bottom frames lie off the screen; its caption does not.
    WinRect work = GetWorkArea();
    return {work.Width(), work.Height() - (mDecorations.top - mDecorations.bottom)};
}

void HeadlessWindowSystem::Activate(WindowObject& window)
{
    WindowHandle active = GetActiveWindow();
    if (active == &window)
        return;
    if (active != nullptr && IsWindow(active)) {
        // Switching between our own windows: the application stays active.
        SetActiveState(&window);
        return;
    }
    InputEvent gained;
    gained.kind = InputEventKind::FocusGained;
    gained.window = &window;
    FeedInput(gained);
}

void HeadlessWindowSystem::NativeShow(WindowObject& window, int showCommand, bool wasMinimized)
{
    if (showCommand == SW_HIDE) {
        if (GetActiveWindow() == &window) {
            InputEvent lost;
            lost.kind = InputEventKind::FocusLost;
            lost.window = &window;
            FeedInput(lost);
        }
        return;
    }
    if (wasMinimized && !window.minimized) {
        InputEvent restored;
        restored.kind = InputEventKind::Restored;
        restored.window = &window;
        FeedInput(restored);
    }
    if (showCommand != SW_SHOWNOACTIVATE)
        Activate(window);
}

void HeadlessWindowSystem::NativeRaise(WindowObject& window)
{
    Activate(window);
}

} // namespace Platform
