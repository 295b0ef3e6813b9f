#include "platform/sdl/SdlWindowSystem.h"

#include "platform/codepage/CodePages.h"
#include "platform/sdl/AspectFit.h"
#include "platform/sdl/SdlKeyTable.h"
#include "platform/window/ProgramIcon.h"
#include "platform/window/WindowMessages.h"

namespace Platform {
namespace {

SDL_Window* AsSdl(const WindowObject& window)
{
    return static_cast<SDL_Window*>(window.native);
}

std::string TitleUtf8(const std::wstring& title)
{
    return WideCharToMultiByte(CP_UTF8, title);
}

} // namespace

SdlWindowSystem::SdlWindowSystem(Clock& clock, SingleInstance& instance)
    : WindowSystemBase(clock, instance)
{
}

SdlWindowSystem::~SdlWindowSystem()
{
    DestroyAllWindows();
}

SDL_Window* SdlWindowSystem::NativeWindow(WindowHandle window)
{
    WindowObject* found = Find(window);
    return found ? AsSdl(*found) : nullptr;
}

WindowObject* SdlWindowSystem::FromSdlId(uint32_t windowId)
{
    for (WindowObject* window : Windows()) {
        if (window->native != nullptr && SDL_GetWindowID(AsSdl(*window)) == windowId)
            return window;
    }
    return nullptr;
}

void SdlWindowSystem::LearnBorders(SDL_Window* window)
{
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) == 0 && (top | left | bottom | right) != 0)
        mBorders = {left, top, right, bottom};
}

WinRect SdlWindowSystem::FrameFor(uint32_t style)
{
    return (style & WS_CAPTION) == WS_CAPTION ? mBorders : WinRect{};
}

void SdlWindowSystem::NativeCreate(WindowObject& window)
{
    // The invisible window of the application is a message target only.
    if (window.outer.Width() <= 0 || window.outer.Height() <= 0)
        return;
    uint32_t flags = SDL_WINDOW_HIDDEN;
    if ((window.style & WS_CAPTION) != WS_CAPTION)
        flags |= SDL_WINDOW_BORDERLESS;
    if ((window.exStyle & WS_EX_TOPMOST) != 0)
        flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    WinPoint origin = window.ClientOrigin();
    SDL_Window* native = SDL_CreateWindow(TitleUtf8(window.title).c_str(), origin.x, origin.y,
                                          std::max(window.ClientWidth(), 1), std::max(window.ClientHeight(), 1),
                                          flags);
    if (native == nullptr)
        return;
    window.native = native;
    if (window.windowClass.iconResource == kProgramIconResource) {
        std::vector<uint32_t> pixels = DrawProgramIcon();
        SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), kProgramIconSize, kProgramIconSize,
                                                               32, kProgramIconSize * 4, SDL_PIXELFORMAT_ARGB8888);
        if (icon != nullptr) {
            SDL_SetWindowIcon(native, icon);
            SDL_FreeSurface(icon);
        }
    }
    FillBlack(window);
}

SDL_Renderer* SdlWindowSystem::NativeRenderer(WindowHandle handle)
{
    WindowObject* window = Find(handle);
    if (window == nullptr || window->native == nullptr)
        return nullptr;
    auto it = mRenderers.find(window);
    if (it != mRenderers.end())
        return it->second;
    // No vertical-retrace wait: the main loop paces the frames.
    SDL_Renderer* renderer = SDL_CreateRenderer(AsSdl(*window), -1, 0);
    if (renderer != nullptr)
        mRenderers[window] = renderer;
    return renderer;
}

void SdlWindowSystem::NativeDestroy(WindowObject& window)
{
    auto renderer = mRenderers.find(&window);
    if (renderer != mRenderers.end()) {
        if (mRendererGone)
            mRendererGone(&window);
        // SDL2 needs the renderer gone before its window.
        SDL_DestroyRenderer(renderer->second);
        mRenderers.erase(renderer);
    }
    if (window.native != nullptr) {
        if (SDL_GetWindowID(AsSdl(window)) == mMouseFocus.load())
            mMouseFocus.store(0);
        SDL_DestroyWindow(AsSdl(window));
        window.native = nullptr;
    }
}

void SdlWindowSystem::FillBlack(WindowObject& window)
{
    if (window.native == nullptr || window.presented)
        return;
    // Through the renderer the presenter uses: SDL allows no window surface beside it.
    SDL_Renderer* renderer = NativeRenderer(&window);
    if (renderer == nullptr)
        return;
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
}

void SdlWindowSystem::NativeDesktopFullScreenChanged(WindowObject& window)
{
    if (window.native != nullptr)
        SDL_SetWindowFullscreen(AsSdl(window), window.desktopFullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void SdlWindowSystem::MapMouse(const WindowObject& window, int32_t& x, int32_t& y)
{
    if (!window.desktopFullScreen || window.native == nullptr)
        return;
    int width = 0, height = 0;
    SDL_GetWindowSize(AsSdl(window), &width, &height);
    const FitRect fit = FitKeepingAspect(window.ClientWidth(), window.ClientHeight(), width, height);
    const WinPoint mapped = PointInFittedPicture(fit, window.ClientWidth(), window.ClientHeight(), {x, y});
    x = mapped.x;
    y = mapped.y;
}

void SdlWindowSystem::NativePresentedChanged(WindowObject& window)
{
    FillBlack(window);
}

void SdlWindowSystem::NativeShow(WindowObject& window, int showCommand, bool wasMinimized)
{
    SDL_Window* native = AsSdl(window);
    if (native == nullptr)
        return;
    if (showCommand == SW_HIDE) {
        SDL_HideWindow(native);
        return;
    }
    SDL_ShowWindow(native);
    if (wasMinimized && (showCommand == SW_RESTORE || showCommand == SW_SHOWNORMAL))
        SDL_RestoreWindow(native);
    if (showCommand != SW_SHOWNOACTIVATE)
        SDL_RaiseWindow(native);
    if ((window.style & WS_CAPTION) == WS_CAPTION)
        LearnBorders(native);
    FillBlack(window);
}

void SdlWindowSystem::NativeMove(WindowObject& window)
{
    SDL_Window* native = AsSdl(window);
    if (native == nullptr)
        return;
    WinPoint origin = window.ClientOrigin();
    SDL_SetWindowPosition(native, origin.x, origin.y);
    SDL_SetWindowSize(native, std::max(window.ClientWidth(), 1), std::max(window.ClientHeight(), 1));
}

void SdlWindowSystem::NativeTitleChanged(WindowObject& window)
{
    if (SDL_Window* native = AsSdl(window))
        SDL_SetWindowTitle(native, TitleUtf8(window.title).c_str());
}

void SdlWindowSystem::NativeRaise(WindowObject& window)
{
    // A window manager may refuse to hand over the focus; that is accepted.
    if (window.native != nullptr)
        SDL_RaiseWindow(AsSdl(window));
}

void SdlWindowSystem::NativeCapture(WindowHandle window)
{
    SDL_CaptureMouse(window != nullptr ? SDL_TRUE : SDL_FALSE);
}

WinPoint SdlWindowSystem::ScreenSize()
{
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return {0, 0};
    return {mode.w, mode.h};
}

WinRect SdlWindowSystem::GetWorkArea()
{
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) {
        WinPoint screen = ScreenSize();
        return {0, 0, screen.x, screen.y};
    }
    return {usable.x, usable.y, usable.x + usable.w, usable.y + usable.h};
}

WinPoint SdlWindowSystem::FullScreenClientSize()
{
    WinRect work = GetWorkArea();
    return {work.Width(), work.Height() - (mBorders.top - mBorders.bottom)};
}

bool SdlWindowSystem::GetScreenSaverRunning(bool& running)
{
    running = false;
    return true;
}

bool SdlWindowSystem::PointerMayBeOver(const WindowObject& window)
{
    return window.native != nullptr && SDL_GetWindowID(AsSdl(window)) == mMouseFocus.load();
}

void SdlWindowSystem::DropPendingInput()
{
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_KEYDOWN, SDL_TEXTINPUT);
    SDL_FlushEvents(SDL_MOUSEMOTION, SDL_MOUSEWHEEL);
    ForgetHeldInput();
}

void SdlWindowSystem::PollNativeEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0)
        Convert(event);
}

void SdlWindowSystem::Convert(const SDL_Event& event)
{
    InputEvent input;
    WindowObject* window = nullptr;
    switch (event.type) {
    case SDL_MOUSEMOTION:
        window = FromSdlId(event.motion.windowID);
        input.kind = InputEventKind::MouseMotion;
        input.x = event.motion.x;
        input.y = event.motion.y;
        if (window != nullptr)
            MapMouse(*window, input.x, input.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        window = FromSdlId(event.button.windowID);
        input.kind = event.type == SDL_MOUSEBUTTONDOWN ? InputEventKind::MouseButtonDown : InputEventKind::MouseButtonUp;
        input.button = event.button.button == SDL_BUTTON_LEFT     ? MouseButton::Left
                       : event.button.button == SDL_BUTTON_RIGHT  ? MouseButton::Right
                       : event.button.button == SDL_BUTTON_MIDDLE ? MouseButton::Middle
                                                                  : MouseButton::Other;
        input.clicks = event.button.clicks;
        input.x = event.button.x;
        input.y = event.button.y;
        if (window != nullptr)
            MapMouse(*window, input.x, input.y);
        break;
    case SDL_MOUSEWHEEL:
        window = FromSdlId(event.wheel.windowID);
        input.kind = InputEventKind::MouseWheel;
        input.wheelY = event.wheel.preciseY;
        input.flipped = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED;
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        window = FromSdlId(event.key.windowID);
        input.kind = event.type == SDL_KEYDOWN ? InputEventKind::KeyDown : InputEventKind::KeyUp;
        input.virtualKey = VirtualKeyFromSdl(event.key.keysym.sym, event.key.keysym.scancode);
        input.repeat = event.key.repeat != 0;
        input.altGr = TypesWithAltGr(event.key);
        break;
    case SDL_TEXTINPUT:
        window = FromSdlId(event.text.windowID);
        input.kind = InputEventKind::Text;
        input.text = event.text.text;
        break;
    case SDL_WINDOWEVENT:
        ConvertWindowEvent(event.window);
        return;
    case SDL_DISPLAYEVENT: {
        input.kind = InputEventKind::DisplayChanged;
        WinPoint screen = ScreenSize();
        input.x = screen.x;
        input.y = screen.y;
        break; // to the main window
    }
    case SDL_QUIT:
        input.kind = InputEventKind::Quit;
        break;
    default:
        return;
    }
    bool needsWindow = event.type != SDL_QUIT && event.type != SDL_DISPLAYEVENT;
    if (needsWindow && window == nullptr)
        return;
    input.window = window;
    FeedInput(input);
}

// AltGr comes as SDL's mode key and modifier where the system names it so; on
// most layouts SDL reports it as the right Alt key, and only the text a chord
// types tells the two apart: SDL queues a key's text right behind the key, and
// a right-Alt chord that types something other than the key's own character is
// an AltGr one. The first such chord teaches that the right Alt key is AltGr.
bool SdlWindowSystem::TypesWithAltGr(const SDL_KeyboardEvent& key)
{
    const SDL_Keysym& sym = key.keysym;
    if (sym.sym == SDLK_MODE || (sym.mod & KMOD_MODE) != 0)
        return true;
    if (sym.sym == SDLK_RALT) {
        if (key.type == SDL_KEYDOWN)
            mRightAltDownAsAltGr = mRightAltIsAltGr;
        return mRightAltDownAsAltGr;
    }
    bool rightAltAlone = (sym.mod & KMOD_RALT) != 0 && (sym.mod & (KMOD_LALT | KMOD_CTRL)) == 0;
    if (!rightAltAlone || key.type != SDL_KEYDOWN)
        return false;
    if (mRightAltIsAltGr)
        return true;
    SDL_Event text;
    if (SDL_PeepEvents(&text, 1, SDL_PEEKEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT) != 1)
        return false;
    std::wstring typed = MultiByteToWideChar(CP_UTF8, text.text.text);
    if (typed.empty())
        return false;
    auto first = static_cast<SDL_Keycode>(typed[0]);
    if (first >= 'A' && first <= 'Z')
        first += 'a' - 'A';
    mRightAltIsAltGr = first != sym.sym;
    return mRightAltIsAltGr;
}

void SdlWindowSystem::ConvertWindowEvent(const SDL_WindowEvent& event)
{
    WindowObject* window = FromSdlId(event.windowID);
    if (window == nullptr)
        return;
    InputEvent input;
    input.window = window;
    int width = 0, height = 0;
    switch (event.event) {
    case SDL_WINDOWEVENT_ENTER:
        mMouseFocus.store(event.windowID);
        return;
    case SDL_WINDOWEVENT_LEAVE:
        if (mMouseFocus.load() == event.windowID)
            mMouseFocus.store(0);
        return;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        input.kind = InputEventKind::FocusGained;
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        input.kind = InputEventKind::FocusLost;
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        input.kind = InputEventKind::Minimized;
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        SDL_GetWindowSize(AsSdl(*window), &width, &height);
        input.kind = InputEventKind::Maximized;
        input.x = width;
        input.y = height;
        break;
    case SDL_WINDOWEVENT_RESTORED:
        input.kind = InputEventKind::Restored;
        break;
    case SDL_WINDOWEVENT_MOVED:
        // SDL reports where the client area went; the window's place is its outer corner.
        if ((window->style & WS_CAPTION) == WS_CAPTION)
            LearnBorders(AsSdl(*window));
        input.kind = InputEventKind::Moved;
        input.x = event.data1 - window->frame.left;
        input.y = event.data2 - window->frame.top;
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        FillBlack(*window);
        input.kind = InputEventKind::Exposed;
        break;
    case SDL_WINDOWEVENT_CLOSE:
        input.kind = InputEventKind::CloseRequested;
        break;
    default:
        return;
    }
    FeedInput(input);
}

} // namespace Platform
