// Presenting a 1024 x 768 frame, beside its outside reference in the same run:
// the headless presenter against memcpy of the same 3 MiB (goal: at most twice
// its time), and the SDL presenter against a bare SDL_UpdateTexture,
// SDL_RenderCopy and SDL_RenderPresent of the same frame on the same kind of
// renderer (goal: at most 1.1 times). SDL runs on its dummy video driver with
// the software renderer, so the run needs no display.
#include "platform/Platform.h"
#include "platform/ddraw/DDrawPixelFormat.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/sdl/SdlPlatform.h"
#include "platform/sdl/SdlPresenter.h"
#include "platform/window/WindowMessages.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using namespace Platform;

constexpr int32_t kWidth = 1024;
constexpr int32_t kHeight = 768;

intptr_t QuietProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return GetPlatform().GetWindows().DefWindowProc(window, message, wParam, lParam);
}

WindowHandle CreateWindowAt(WindowSystem& windows, int32_t x, int32_t y)
{
    windows.RegisterWindowClass({"MainWindow", CS_DBLCLKS, QuietProc, 0});
    WinRect outer{0, 0, kWidth, kHeight};
    windows.AdjustWindowRect(outer, WS_POPUP | WS_CAPTION | WS_SYSMENU);
    WindowHandle window = windows.CreateWindow("MainWindow", L"bench", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
                                               x + outer.left, y + outer.top, outer.Width(), outer.Height());
    windows.ShowWindow(window, SW_SHOW);
    return window;
}

// A desktop-sized primary in memory, X8R8G8B8 with the usual padding.
struct Desktop {
    int32_t width, height, pitch;
    std::vector<uint8_t> memory;
    PresentedSurface view;

    Desktop(int32_t w, int32_t h) : width(w), height(h), pitch(w * 4 + 16), memory(size_t(pitch) * size_t(h))
    {
        for (size_t i = 0; i < memory.size(); ++i)
            memory[i] = static_cast<uint8_t>(i * 7);
        view.pixels = memory.data();
        view.pitch = pitch;
        view.width = static_cast<uint32_t>(w);
        view.height = static_cast<uint32_t>(h);
        view.format = MakePixelFormat(DDrawFormat::X8R8G8B8);
    }
};

void SetFrameBytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 4);
}

void BM_HeadlessPresent(benchmark::State& state)
{
    HeadlessPlatform& platform = InstallHeadlessPlatform();
    platform.Windows().SetScreenSize(1920, 1080);
    WindowHandle window = CreateWindowAt(platform.Windows(), 448, 156);
    Desktop desktop(1920, 1080);
    const RECT client{448, 156, 448 + kWidth, 156 + kHeight};
    for (auto _ : state)
        platform.Presenter().Present(window, false, desktop.view, client);
    SetFrameBytes(state);
    ResetPlatform();
}

void BM_MemcpyClientArea(benchmark::State& state)
{
    const size_t bytes = size_t{kWidth} * kHeight * 4;
    std::vector<uint8_t> from(bytes, 3), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    SetFrameBytes(state);
}

void UseDummySdl()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
}

void BM_SdlPresent(benchmark::State& state)
{
    UseDummySdl();
    auto made = kSdlBootstrap.create({"Hollowmere", "MoorglenBench", {}});
    if (!made) {
        state.SkipWithError("SDL cannot start");
        return;
    }
    Platform::ServiceBundle& platform = *made;
    InstallPlatform(std::move(made));
    WindowHandle window = CreateWindowAt(platform.GetWindows(), 0, 0);
    Desktop desktop(kWidth, kHeight);
    auto& presenter = static_cast<SdlPresenter&>(platform.GetPresenter());
    const RECT whole{0, 0, kWidth, kHeight};
    for (auto _ : state)
        presenter.Present(window, false, desktop.view, whole);
    SetFrameBytes(state);
    ResetPlatform();
}

void BM_SdlBarePresent(benchmark::State& state)
{
    UseDummySdl();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        state.SkipWithError("SDL cannot start");
        return;
    }
    SDL_Window* window = SDL_CreateWindow("bench", 0, 0, kWidth, kHeight, SDL_WINDOW_HIDDEN);
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
    SDL_Texture* texture =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight);
    Desktop desktop(kWidth, kHeight);
    for (auto _ : state) {
        SDL_UpdateTexture(texture, nullptr, desktop.memory.data(), desktop.pitch);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
    }
    SetFrameBytes(state);
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

BENCHMARK(BM_HeadlessPresent);
BENCHMARK(BM_MemcpyClientArea);
BENCHMARK(BM_SdlPresent);
BENCHMARK(BM_SdlBarePresent);

} // namespace
