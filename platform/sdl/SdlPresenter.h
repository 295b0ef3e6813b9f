// The SDL presenter: shows the display stand-in's primary in the platform's
// window through the window's one SDL renderer and one streaming texture in
// the primary's format. Each present uploads the changed part of the shown
// rectangle (the client area windowed, the whole primary in full screen),
// draws it scaled to the window's drawable with its aspect kept (black bars)
// and presents without waiting for the vertical retrace. Main thread only.
#pragma once

#include "platform/ddraw/WindowPresenter.h"

#include <cstdint>
#include <memory>
#include <vector>

struct SDL_Renderer;
struct SDL_Texture;

namespace Platform {

class SdlWindowSystem;

class SdlPresenter final : public WindowPresenter {
public:
    explicit SdlPresenter(SdlWindowSystem& windows);
    ~SdlPresenter() override;
    SdlPresenter(const SdlPresenter&) = delete;
    SdlPresenter& operator=(const SdlPresenter&) = delete;

    uint32_t GetMonitorFrequency(HWND window) override;
    uint8_t GetNewSurfaceFill() override { return 0; }
    void Present(HWND window, bool fullScreen, const PresentedSurface& primary, const RECT& changed) override;

    // For tests, which include no SDL header: what the renderer shows in the
    // window, as 0xAARRGGBB words row by row, with its size; empty without a renderer.
    std::vector<uint32_t> ReadWindowPixels(HWND window, int32_t& width, int32_t& height);

private:
    // Shared with the window service's hook, which clears it when the renderer goes.
    struct Texture {
        HWND window = nullptr;
        SDL_Renderer* renderer = nullptr;
        SDL_Texture* texture = nullptr;
        uint32_t format = 0;
        int32_t width = 0;
        int32_t height = 0;
    };

    // The texture for this window, format and size; made (black) when the old one does not fit.
    bool PrepareTexture(HWND window, SDL_Renderer* renderer, uint32_t format, int32_t width, int32_t height);

    SdlWindowSystem& mSdlWindows;
    std::shared_ptr<Texture> mTexture;
};

} // namespace Platform
