#include "platform/sdl/SdlPresenter.h"

#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawPixelFormat.h"
#include "platform/sdl/AspectFit.h"
#include "platform/sdl/SdlWindowSystem.h"

#include <SDL.h>

#include <cstring>

namespace Platform {
namespace {

uint32_t SdlFormatOf(const DDPIXELFORMAT& format)
{
    if ((format.dwFlags & DDPF_RGB) == 0)
        return SDL_PIXELFORMAT_UNKNOWN;
    return SDL_MasksToPixelFormatEnum(static_cast<int>(format.dwRGBBitCount), format.dwRBitMask, format.dwGBitMask,
                                      format.dwBBitMask, 0);
}

} // namespace

SdlPresenter::SdlPresenter(SdlWindowSystem& windows)
    : WindowPresenter(windows), mSdlWindows(windows), mTexture(std::make_shared<Texture>())
{
    std::weak_ptr<Texture> texture = mTexture;
    mSdlWindows.SetRendererGoneHook([texture](WindowHandle window) {
        if (auto current = texture.lock(); current && current->window == window)
            *current = Texture{}; // the renderer takes its textures along
    });
}

SdlPresenter::~SdlPresenter()
{
    // Reached only while the renderer lives: its going clears the texture first.
    if (mTexture->texture != nullptr)
        SDL_DestroyTexture(mTexture->texture);
}

uint32_t SdlPresenter::GetMonitorFrequency(HWND window)
{
    SDL_Window* native = mSdlWindows.NativeWindow(window);
    const int display = native != nullptr ? SDL_GetWindowDisplayIndex(native) : 0;
    SDL_DisplayMode mode;
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) != 0 || mode.refresh_rate < 0)
        return 0;
    return static_cast<uint32_t>(mode.refresh_rate);
}

bool SdlPresenter::PrepareTexture(HWND window, SDL_Renderer* renderer, uint32_t format, int32_t width, int32_t height)
{
    Texture& t = *mTexture;
    if (t.texture != nullptr && t.renderer == renderer && t.format == format && t.width == width &&
        t.height == height)
        return false;
    if (t.texture != nullptr && t.renderer == renderer)
        SDL_DestroyTexture(t.texture);
    t = Texture{};
    SDL_Texture* texture = SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (texture == nullptr)
        return false;
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
    // Parts of the client area beyond the primary stay black.
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) == 0) {
        std::memset(pixels, 0, static_cast<size_t>(pitch) * static_cast<size_t>(height));
        SDL_UnlockTexture(texture);
    }
    t = Texture{window, renderer, texture, format, width, height};
    return true;
}

void SdlPresenter::Present(HWND window, bool fullScreen, const PresentedSurface& primary, const RECT& changed)
{
    RECT shown;
    const uint32_t format = SdlFormatOf(primary.format);
    if (format == SDL_PIXELFORMAT_UNKNOWN || !GetShownRect(window, fullScreen, primary, shown) ||
        shown.Width() <= 0 || shown.Height() <= 0)
        return;
    SDL_Renderer* renderer = mSdlWindows.NativeRenderer(window);
    if (renderer == nullptr)
        return;
    // A new texture takes everything the window shows, not just what changed.
    const bool fresh = PrepareTexture(window, renderer, format, shown.Width(), shown.Height());
    if (mTexture->texture == nullptr)
        return;
    const RECT whole{0, 0, static_cast<int32_t>(primary.width), static_cast<int32_t>(primary.height)};
    const RECT visible = VisiblePart(shown, fresh ? whole : changed, primary);
    if (visible.right > visible.left) {
        const SDL_Rect into{visible.left - shown.left, visible.top - shown.top, visible.Width(), visible.Height()};
        const uint8_t* from = primary.pixels + int64_t{visible.top} * primary.pitch +
                              int64_t{visible.left} * (primary.format.dwRGBBitCount / 8);
        SDL_UpdateTexture(mTexture->texture, &into, from, primary.pitch);
    }
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
    const FitRect fit = FitKeepingAspect(shown.Width(), shown.Height(), outputWidth, outputHeight);
    const SDL_Rect target{fit.x, fit.y, fit.width, fit.height};
    // Bars only where the picture leaves some; a full cover needs no clearing.
    if (fit.width != outputWidth || fit.height != outputHeight) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
    }
    SDL_RenderCopy(renderer, mTexture->texture, nullptr, &target);
    SDL_RenderPresent(renderer);
    // From now on the window shows frames; the window service's black fill stops.
    Windows().SetClientPresented(window, true);
}

std::vector<uint32_t> SdlPresenter::ReadWindowPixels(HWND window, int32_t& width, int32_t& height)
{
    width = height = 0;
    SDL_Renderer* renderer = mSdlWindows.NativeRenderer(window);
    if (renderer == nullptr || SDL_GetRendererOutputSize(renderer, &width, &height) != 0)
        return {};
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), width * 4) != 0) {
        width = height = 0;
        return {};
    }
    return pixels;
}

} // namespace Platform
