#include "platform/window/WindowTestSupport.h"

#include "platform/window/VirtualKeys.h"

using namespace Platform;

namespace WindowTestSupport {

InputEvent Key(uint32_t vk, bool down, bool repeat)
{
    InputEvent e;
    e.kind = down ? InputEventKind::KeyDown : InputEventKind::KeyUp;
    e.virtualKey = vk;
    e.repeat = repeat;
    return e;
}
InputEvent AltGr(bool down)
{
    InputEvent e = Key(VK_MENU, down);
    e.altGr = true;
    return e;
}
InputEvent Text(const std::string& utf8)
{
    InputEvent e;
    e.kind = InputEventKind::Text;
    e.text = utf8;
    return e;
}
InputEvent Button(MouseButton button, bool down, int clicks, int x, int y)
{
    InputEvent e;
    e.kind = down ? InputEventKind::MouseButtonDown : InputEventKind::MouseButtonUp;
    e.button = button;
    e.clicks = clicks;
    e.x = x;
    e.y = y;
    return e;
}
InputEvent Motion(int x, int y)
{
    InputEvent e;
    e.kind = InputEventKind::MouseMotion;
    e.x = x;
    e.y = y;
    return e;
}
InputEvent Wheel(float notches, bool flipped)
{
    InputEvent e;
    e.kind = InputEventKind::MouseWheel;
    e.wheelY = notches;
    e.flipped = flipped;
    return e;
}
InputEvent Window(InputEventKind kind)
{
    InputEvent e;
    e.kind = kind;
    return e;
}


std::vector<WindowMessage>& Sent()
{
    static std::vector<WindowMessage> sent;
    return sent;
}

intptr_t RecordingProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    WindowMessage record;
    record.hwnd = window;
    record.message = message;
    record.wParam = wParam;
    record.lParam = lParam;
    Sent().push_back(record);
    return GetPlatform().GetWindows().DefWindowProc(window, message, wParam, lParam);
}

Desktop::Desktop()
    : platform(InstallHeadlessPlatform())
    , windows(platform.Windows())
{
    Sent().clear();
    windows.RegisterWindowClass({"MainWindow", CS_DBLCLKS, RecordingProc, kProgramIconResource});
    windows.RegisterWindowClass({"InvisWindow", 0, RecordingProc, 0});
}

Desktop::~Desktop()
{
    ResetPlatform();
    Sent().clear();
}

WindowHandle Desktop::CreateMain()
{
    WinRect outer{0, 0, 1024, 768};
    windows.AdjustWindowRect(outer, WS_POPUP | WS_CAPTION | WS_SYSMENU);
    main = windows.CreateWindow("MainWindow", L"Moorglen", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
                                100, 50, outer.Width(), outer.Height());
    windows.ShowWindow(main, SW_SHOW);
    Drain();
    Sent().clear();
    return main;
}

std::vector<WindowMessage> Desktop::Drain()
{
    std::vector<WindowMessage> records;
    WindowMessage record;
    while (windows.PeekMessage(record))
        records.push_back(record);
    return records;
}

void Desktop::Inject(InputEvent event)
{
    if (event.window == nullptr)
        event.window = main;
    windows.Inject(event);
}

} // namespace WindowTestSupport
