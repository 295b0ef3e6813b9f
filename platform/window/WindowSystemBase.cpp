#include "platform/window/WindowSystemBase.h"

#include "platform/instance/SingleInstance.h"
#include "platform/time/Clock.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowMessages.h"

#include <algorithm>

namespace Platform {
namespace {

bool SameClassName(const std::string& a, const std::string& b)
{
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

WindowSystemBase::WindowSystemBase(Clock& clock, SingleInstance& instance)
    : mClock(clock)
    , mInstance(instance)
{
}

WindowSystemBase::~WindowSystemBase() = default;

WindowObject* WindowSystemBase::FindLocked(WindowHandle window)
{
    for (const auto& owned : mWindows) {
        if (owned.get() == window)
            return owned.get();
    }
    return nullptr;
}

WindowObject* WindowSystemBase::Find(WindowHandle window)
{
    std::lock_guard<std::mutex> hold(mLock);
    return FindLocked(window);
}

std::vector<WindowObject*> WindowSystemBase::Windows()
{
    std::lock_guard<std::mutex> hold(mLock);
    std::vector<WindowObject*> all;
    for (const auto& owned : mWindows)
        all.push_back(owned.get());
    return all;
}

WindowProc WindowSystemBase::ProcOf(WindowHandle window)
{
    std::lock_guard<std::mutex> hold(mLock);
    WindowObject* found = FindLocked(window);
    return found ? found->windowClass.proc : nullptr;
}

WindowMessage WindowSystemBase::MakeRecord(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    WindowMessage record;
    record.hwnd = window;
    record.message = message;
    record.wParam = wParam;
    record.lParam = lParam;
    record.time = mClock.GetTickCount();
    record.pt = mCursor;
    return record;
}

bool WindowSystemBase::RegisterWindowClass(const WindowClass& windowClass)
{
    if (windowClass.name.empty() || windowClass.proc == nullptr)
        return false;
    std::lock_guard<std::mutex> hold(mLock);
    for (const WindowClass& known : mClasses) {
        if (SameClassName(known.name, windowClass.name))
            return false; // Windows refuses a second registration of a class name
    }
    mClasses.push_back(windowClass);
    return true;
}

WindowHandle WindowSystemBase::CreateWindow(const std::string& className, const std::wstring& title, uint32_t style,
                                            uint32_t exStyle, int32_t x, int32_t y, int32_t width, int32_t height)
{
    auto window = std::make_unique<WindowObject>();
    {
        std::lock_guard<std::mutex> hold(mLock);
        auto found = std::find_if(mClasses.begin(), mClasses.end(),
                                  [&](const WindowClass& known) { return SameClassName(known.name, className); });
        if (found == mClasses.end())
            return nullptr;
        window->windowClass = *found;
    }
    window->title = title;
    window->style = style;
    window->exStyle = exStyle;
    window->frame = FrameFor(style);
    window->outer = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
    window->normalOuter = window->outer;
    NativeCreate(*window);
    WindowHandle handle = window.get();
    {
        std::lock_guard<std::mutex> hold(mLock);
        mWindows.push_back(std::move(window));
    }
    SendMessage(handle, WM_CREATE, 0, 0);
    if ((style & WS_VISIBLE) != 0 && IsWindow(handle))
        ShowWindow(handle, SW_SHOW);
    return handle;
}

bool WindowSystemBase::DestroyWindow(WindowHandle window)
{
    {
        std::lock_guard<std::mutex> hold(mLock);
        WindowObject* found = FindLocked(window);
        if (found == nullptr || found->destroying)
            return false;
        found->destroying = true;
    }
    SendMessage(window, WM_DESTROY, 0, 0);
    std::unique_ptr<WindowObject> owned;
    bool releaseCapture = false;
    {
        std::lock_guard<std::mutex> hold(mLock);
        auto it = std::find_if(mWindows.begin(), mWindows.end(), [&](const auto& w) { return w.get() == window; });
        owned = std::move(*it);
        mWindows.erase(it);
        std::erase_if(mTimers, [&](const Timer& t) { return t.window == window; });
        std::erase_if(mQueue, [&](const WindowMessage& m) { return m.hwnd == window; });
        releaseCapture = mCapture == window;
        if (releaseCapture)
            mCapture = nullptr;
        if (mActive == window)
            mActive = nullptr;
        if (mFocus == window)
            mFocus = nullptr;
    }
    if (releaseCapture)
        NativeCapture(nullptr);
    NativeDestroy(*owned);
    return true;
}

void WindowSystemBase::DestroyAllWindows()
{
    for (;;) {
        WindowHandle last = nullptr;
        {
            std::lock_guard<std::mutex> hold(mLock);
            if (mWindows.empty())
                return;
            last = mWindows.back().get();
        }
        if (!DestroyWindow(last)) {
            // A window stuck inside its own WM_DESTROY: drop it without another message.
            std::unique_ptr<WindowObject> owned;
            {
                std::lock_guard<std::mutex> hold(mLock);
                owned = std::move(mWindows.back());
                mWindows.pop_back();
            }
            NativeDestroy(*owned);
        }
    }
}

bool WindowSystemBase::IsWindow(WindowHandle window)
{
    return Find(window) != nullptr;
}

void WindowSystemBase::SetWindowUserData(WindowHandle window, void* data)
{
    std::lock_guard<std::mutex> hold(mLock);
    if (WindowObject* found = FindLocked(window))
        found->userData = data;
}

void* WindowSystemBase::GetWindowUserData(WindowHandle window)
{
    std::lock_guard<std::mutex> hold(mLock);
    WindowObject* found = FindLocked(window);
    return found ? found->userData : nullptr;
}

bool WindowSystemBase::ShowWindow(WindowHandle window, int showCommand)
{
    WindowObject* found = nullptr;
    bool wasVisible = false;
    bool wasMinimized = false;
    {
        std::lock_guard<std::mutex> hold(mLock);
        found = FindLocked(window);
        if (found == nullptr)
            return false;
        wasVisible = found->visible;
        wasMinimized = found->minimized;
        found->visible = showCommand != SW_HIDE;
        if (showCommand == SW_SHOWNORMAL || showCommand == SW_RESTORE) {
            found->minimized = false;
            found->maximized = false;
        }
    }
    NativeShow(*found, showCommand, wasMinimized);
    return wasVisible;
}

void WindowSystemBase::SetFocus(WindowHandle window)
{
    std::lock_guard<std::mutex> hold(mLock);
    if (window == nullptr || FindLocked(window) != nullptr)
        mFocus = window;
}

bool WindowSystemBase::SetForegroundWindow(WindowHandle window)
{
    WindowObject* found = Find(window);
    if (found == nullptr)
        return false;
    NativeRaise(*found);
    return true;
}

WindowHandle WindowSystemBase::GetActiveWindow()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mActive;
}

bool WindowSystemBase::IsIconic(WindowHandle window)
{
    std::lock_guard<std::mutex> hold(mLock);
    WindowObject* found = FindLocked(window);
    return found != nullptr && found->minimized;
}

bool WindowSystemBase::GetWindowPlacement(WindowHandle window, WindowPlacement& placement)
{
    std::lock_guard<std::mutex> hold(mLock);
    WindowObject* found = FindLocked(window);
    if (found == nullptr)
        return false;
    placement.showCmd = found->minimized ? SW_SHOWMINIMIZED : found->maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    placement.normalPosition = found->normalOuter;
    return true;
}

bool WindowSystemBase::MoveWindow(WindowHandle window, int32_t x, int32_t y, int32_t width, int32_t height)
{
    WindowObject* found = nullptr;
    {
        std::lock_guard<std::mutex> hold(mLock);
        found = FindLocked(window);
        if (found == nullptr)
            return false;
        found->outer = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
        if (!found->minimized && !found->maximized)
            found->normalOuter = found->outer;
    }
    NativeMove(*found);
    return true;
}

bool WindowSystemBase::SetWindowTitle(WindowHandle window, const std::wstring& title)
{
    WindowObject* found = nullptr;
    {
        std::lock_guard<std::mutex> hold(mLock);
        found = FindLocked(window);
        if (found == nullptr)
            return false;
        found->title = title;
    }
    NativeTitleChanged(*found);
    return true;
}

std::wstring WindowSystemBase::GetWindowTitle(WindowHandle window)
{
    std::lock_guard<std::mutex> hold(mLock);
    WindowObject* found = FindLocked(window);
    return found != nullptr ? found->title : std::wstring();
}

bool WindowSystemBase::GetClientRect(WindowHandle window, WinRect& rect)
{
    std::lock_guard<std::mutex> hold(mLock);
    WindowObject* found = FindLocked(window);
    if (found == nullptr)
        return false;
    rect = {0, 0, std::max(found->ClientWidth(), 0), std::max(found->ClientHeight(), 0)};
    return true;
}

void WindowSystemBase::SetClientPresented(WindowHandle window, bool presented)
{
    WindowObject* found = Find(window);
    if (found == nullptr || found->presented == presented)
        return;
    found->presented = presented;
    NativePresentedChanged(*found);
}

void WindowSystemBase::SetDesktopFullScreen(WindowHandle window, bool fullScreen)
{
    WindowObject* found = Find(window);
    if (found == nullptr || found->desktopFullScreen == fullScreen)
        return;
    found->desktopFullScreen = fullScreen;
    NativeDesktopFullScreenChanged(*found);
}

bool WindowSystemBase::IsDesktopFullScreen(WindowHandle window)
{
    std::lock_guard<std::mutex> hold(mLock);
    WindowObject* found = FindLocked(window);
    return found != nullptr && found->desktopFullScreen;
}

int32_t WindowSystemBase::GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN: return ScreenSize().x;
    case SM_CYSCREEN: return ScreenSize().y;
    case SM_CXFULLSCREEN: return FullScreenClientSize().x;
    case SM_CYFULLSCREEN: return FullScreenClientSize().y;
    default: return 0; // SM_TABLETPC among them: never a Tablet PC
    }
}

void WindowSystemBase::AdjustWindowRect(WinRect& rect, uint32_t style)
{
    WinRect frame = FrameFor(style);
    rect.left -= frame.left;
    rect.top -= frame.top;
    rect.right += frame.right;
    rect.bottom += frame.bottom;
}

bool WindowSystemBase::OffsetByClientOrigin(WindowHandle window, WinPoint& point, int32_t direction)
{
    std::lock_guard<std::mutex> hold(mLock);
    WindowObject* found = FindLocked(window);
    if (found == nullptr)
        return false;
    WinPoint origin = found->ClientOrigin();
    point.x += direction * origin.x;
    point.y += direction * origin.y;
    return true;
}

bool WindowSystemBase::ClientToScreen(WindowHandle window, WinPoint& point)
{
    return OffsetByClientOrigin(window, point, 1);
}

bool WindowSystemBase::ScreenToClient(WindowHandle window, WinPoint& point)
{
    return OffsetByClientOrigin(window, point, -1);
}

WindowHandle WindowSystemBase::WindowFromPoint(WinPoint point)
{
    std::lock_guard<std::mutex> hold(mLock);
    for (auto it = mWindows.rbegin(); it != mWindows.rend(); ++it) {
        WindowObject& window = **it;
        if (window.visible && !window.minimized && window.outer.Contains(point) && PointerMayBeOver(window))
            return &window;
    }
    return nullptr;
}

bool WindowSystemBase::SetTimer(WindowHandle window, uintptr_t id, uint32_t periodMs)
{
    uint32_t now = mClock.GetTickCount();
    std::lock_guard<std::mutex> hold(mLock);
    if (FindLocked(window) == nullptr)
        return false;
    for (Timer& timer : mTimers) {
        if (timer.window == window && timer.id == id) {
            timer.period = periodMs;
            timer.lastTick = now;
            return true;
        }
    }
    mTimers.push_back({window, id, periodMs, now});
    return true;
}

bool WindowSystemBase::KillTimer(WindowHandle window, uintptr_t id)
{
    std::lock_guard<std::mutex> hold(mLock);
    return std::erase_if(mTimers, [&](const Timer& t) { return t.window == window && t.id == id; }) > 0;
}

bool WindowSystemBase::PostMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    std::lock_guard<std::mutex> hold(mLock);
    if (window != nullptr && FindLocked(window) == nullptr)
        return false;
    mQueue.push_back(MakeRecord(window, message, wParam, lParam));
    return true;
}

WindowHandle WindowSystemBase::GetMainWindow()
{
    std::lock_guard<std::mutex> hold(mLock);
    for (auto it = mWindows.rbegin(); it != mWindows.rend(); ++it) {
        if (SameClassName((*it)->windowClass.name, kMainWindowClassName) && !(*it)->destroying)
            return it->get();
    }
    return nullptr;
}

void WindowSystemBase::CollectNotifications()
{
    std::vector<uint32_t> numbers = mInstance.TakeNotifications();
    if (numbers.empty())
        return;
    WindowHandle main = GetMainWindow();
    if (main == nullptr)
        return; // nothing to bring to the front yet
    for (uint32_t number : numbers)
        PostMessage(main, number, 0, 0);
}

bool WindowSystemBase::TakeGeneratedRecord(WindowMessage& message)
{
    for (const auto& owned : mWindows) {
        if (owned->needsPaint) {
            owned->needsPaint = false;
            message = MakeRecord(owned.get(), WM_PAINT, 0, 0);
            return true;
        }
    }
    uint32_t now = mClock.GetTickCount();
    for (Timer& timer : mTimers) {
        if (static_cast<uint32_t>(now - timer.lastTick) >= timer.period) {
            // One record however many periods passed: Windows coalesces them.
            timer.lastTick = now;
            message = MakeRecord(timer.window, WM_TIMER, timer.id, 0);
            return true;
        }
    }
    return false;
}

bool WindowSystemBase::PeekMessage(WindowMessage& message)
{
    PollNativeEvents();
    CollectNotifications();
    std::lock_guard<std::mutex> hold(mLock);
    if (!mQueue.empty()) {
        message = mQueue.front();
        mQueue.pop_front();
        return true;
    }
    return TakeGeneratedRecord(message);
}

intptr_t WindowSystemBase::DispatchMessage(const WindowMessage& message)
{
    return SendMessage(message.hwnd, message.message, message.wParam, message.lParam);
}

intptr_t WindowSystemBase::SendMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    WindowProc proc = ProcOf(window);
    return proc ? proc(window, message, wParam, lParam) : 0;
}

intptr_t WindowSystemBase::DefWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    (void)lParam;
    if ((message == WM_SYSKEYDOWN && wParam == VK_F4) ||
        (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)) {
        PostMessage(window, WM_CLOSE, 0, 0);
    } else if (message == WM_CLOSE) {
        DestroyWindow(window);
    }
    return 0;
}

void WindowSystemBase::SetCapture(WindowHandle window)
{
    {
        std::lock_guard<std::mutex> hold(mLock);
        if (FindLocked(window) == nullptr)
            return;
        mCapture = window;
    }
    NativeCapture(window);
}

void WindowSystemBase::ReleaseCapture()
{
    {
        std::lock_guard<std::mutex> hold(mLock);
        mCapture = nullptr;
    }
    NativeCapture(nullptr);
}

WindowHandle WindowSystemBase::GetCapture()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mCapture;
}

bool WindowSystemBase::GetCursorPos(WinPoint& point)
{
    std::lock_guard<std::mutex> hold(mLock);
    point = mCursor;
    return true;
}

void WindowSystemBase::SetCursorScreenPosition(WinPoint point)
{
    std::lock_guard<std::mutex> hold(mLock);
    mCursor = point;
}

void WindowSystemBase::ForgetHeldInput()
{
    std::lock_guard<std::mutex> hold(mLock);
    mTranslator.ClearHeldState();
}

void WindowSystemBase::SetActiveState(WindowHandle window)
{
    std::lock_guard<std::mutex> hold(mLock);
    if (window == nullptr || FindLocked(window) != nullptr)
        mActive = window;
}

void WindowSystemBase::FeedInput(const InputEvent& event)
{
    WindowHandle target = event.window;
    if (target == nullptr || event.kind == InputEventKind::Quit)
        target = GetMainWindow();
    std::vector<InputTranslator::Output> outputs;
    {
        std::lock_guard<std::mutex> hold(mLock);
        WindowObject* window = FindLocked(target);
        if (window == nullptr)
            return;
        switch (event.kind) {
        case InputEventKind::MouseMotion:
        case InputEventKind::MouseButtonDown:
        case InputEventKind::MouseButtonUp: {
            WinPoint origin = window->ClientOrigin();
            mCursor = {origin.x + event.x, origin.y + event.y};
            break;
        }
        case InputEventKind::FocusGained:
            mActive = target;
            break;
        case InputEventKind::FocusLost:
            mActive = nullptr;
            break;
        case InputEventKind::Minimized:
            window->minimized = true;
            break;
        case InputEventKind::Maximized:
            window->minimized = false;
            window->maximized = true;
            window->outer.right = window->outer.left + event.x + window->frame.left + window->frame.right;
            window->outer.bottom = window->outer.top + event.y + window->frame.top + window->frame.bottom;
            break;
        case InputEventKind::Restored:
            if (window->maximized)
                window->outer = window->normalOuter;
            window->minimized = false;
            window->maximized = false;
            break;
        case InputEventKind::Moved: {
            int32_t width = window->outer.Width();
            int32_t height = window->outer.Height();
            window->outer = {event.x, event.y, event.x + width, event.y + height};
            if (!window->minimized && !window->maximized)
                window->normalOuter = window->outer;
            break;
        }
        case InputEventKind::Exposed:
            window->needsPaint = true;
            break;
        default:
            break;
        }
        InputTranslator::Context context;
        context.window = target;
        context.clientWidth = window->ClientWidth();
        context.clientHeight = window->ClientHeight();
        context.clientOrigin = window->ClientOrigin();
        context.cursor = mCursor;
        context.doubleClicks = (window->windowClass.style & CS_DBLCLKS) != 0;
        outputs = mTranslator.Translate(event, context);
    }
    for (InputTranslator::Output& output : outputs) {
        if (output.dispatchNow) {
            SendMessage(output.record.hwnd, output.record.message, output.record.wParam, output.record.lParam);
        } else {
            std::lock_guard<std::mutex> hold(mLock);
            WindowMessage record = MakeRecord(output.record.hwnd, output.record.message, output.record.wParam,
                                              output.record.lParam);
            mQueue.push_back(record);
        }
    }
}

} // namespace Platform
