// The SDL window service: a captioned, fixed-size SDL window for a windowed
// style and a borderless top-most one for the full-screen style, outer and
// client rectangles converted with the window borders SDL reports, the
// client area kept black until something presents into it, and SDL's events
// turned into translator input. SDL's video code is only ever called on the
// main thread; other threads get the values the base keeps under its lock.
#pragma once

#include "platform/window/WindowSystemBase.h"

#include <SDL.h>

#include <atomic>
#include <functional>
#include <unordered_map>

namespace Platform {

class SdlWindowSystem : public WindowSystemBase {
public:
    SdlWindowSystem(Clock& clock, SingleInstance& instance);
    ~SdlWindowSystem() override;

    WinRect GetWorkArea() override;
    uint32_t GetScreenSaveTimeout() override { return 0; }
    bool IsScreenSaveActive() override { return false; }
    bool GetScreenSaverRunning(bool& running) override;
    void SetScreenSaverRunning(bool) override {}

    // The SDL window of a handle, or null (the invisible window has none).
    SDL_Window* NativeWindow(WindowHandle window);
    // Drops the input that arrived while a modal box or prompt was up, as a
    // disabled owner window would never have received it.
    void DropPendingInput();
    // The one renderer of a window, made on first use (it also keeps the client
    // area black until something is presented); null without an SDL window.
    // It goes with the window, after the hook below has been told.
    SDL_Renderer* NativeRenderer(WindowHandle window);
    // Told before a window's renderer is destroyed, so that textures made on it are forgotten.
    void SetRendererGoneHook(std::function<void(WindowHandle)> hook) { mRendererGone = std::move(hook); }

protected:
    void NativeCreate(WindowObject& window) override;
    void NativeDestroy(WindowObject& window) override;
    void NativeShow(WindowObject& window, int showCommand, bool wasMinimized) override;
    void NativeMove(WindowObject& window) override;
    void NativeTitleChanged(WindowObject& window) override;
    void NativeRaise(WindowObject& window) override;
    void NativeCapture(WindowHandle window) override;
    void NativePresentedChanged(WindowObject& window) override;
    void NativeDesktopFullScreenChanged(WindowObject& window) override;
    void PollNativeEvents() override;
    WinRect FrameFor(uint32_t style) override;
    WinPoint ScreenSize() override;
    WinPoint FullScreenClientSize() override;
    bool PointerMayBeOver(const WindowObject& window) override;

private:
    WindowObject* FromSdlId(uint32_t windowId);
    void Convert(const SDL_Event& event);
    void ConvertWindowEvent(const SDL_WindowEvent& event);
    bool TypesWithAltGr(const SDL_KeyboardEvent& key);
    void FillBlack(WindowObject& window);
    void LearnBorders(SDL_Window* window);
    // In desktop full screen the window shows its client area scaled to the
    // screen; mouse positions come back to client coordinates.
    void MapMouse(const WindowObject& window, int32_t& x, int32_t& y);

    WinRect mBorders;                     // of a captioned window, once SDL has told them
    std::atomic<uint32_t> mMouseFocus{0}; // SDL id of the window under the pointer
    std::unordered_map<const WindowObject*, SDL_Renderer*> mRenderers;
    std::function<void(WindowHandle)> mRendererGone;
    bool mRightAltIsAltGr = false;   // learnt from the first right-Alt chord that types its own character
    bool mRightAltDownAsAltGr = false; // so the release matches the press
};

} // namespace Platform
