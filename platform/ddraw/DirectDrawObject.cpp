#include "platform/ddraw/DirectDrawObject.h"

#include "platform/ddraw/DDrawClipper.h"
#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawPalette.h"
#include "platform/ddraw/DDrawPixelFormat.h"

#include <algorithm>
#include <type_traits>

namespace Platform {
DirectDrawObject::DirectDrawObject()
    : DDrawRefCount(DDrawObjectKind::DirectDraw), mDisplay(std::make_shared<DDrawDisplayState>())
{
}

DirectDrawObject::~DirectDrawObject()
{
    // Like a process that ends without going back to normal mode, the last
    // release gives the desktop back.
    HWND window = nullptr;
    bool wasExclusive;
    {
        std::lock_guard hold(DDrawRuntime::Get().Mutex());
        wasExclusive = mDisplay->exclusive;
        window = mDisplay->window;
        mDisplay->exclusive = false;
        mDisplay->modeSet = false;
    }
    if (wasExclusive)
        DDrawRuntime::Get().GetPresenter()->SetFullScreen(window, false);
}

HRESULT DirectDrawObject::QueryInterface(REFIID iid, void** out)
{
    // No Direct3D here: its refusal keeps the display in 2D.
    return AnswerQuery(iid, out, 0,
                       {{IID_IDirectDraw, AsDirectDraw()}, {IID_IDirectDraw7, AsDirectDraw7()},
                        {IID_IUnknown, AsDirectDraw()}});
}

HRESULT DirectDrawObject::CreateClipper(uint32_t flags, IDirectDrawClipper** out, IUnknown* outer)
{
    if (out != nullptr)
        *out = nullptr;
    return DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::CreateClipper, 0, flags), [&]() -> HRESULT {
        if (flags != 0 || out == nullptr || outer != nullptr)
            return DDERR_INVALIDPARAMS;
        *out = new DDrawClipper();
        return DD_OK;
    });
}

HRESULT DirectDrawObject::CreatePalette(uint32_t flags, PALETTEENTRY* entries, IDirectDrawPalette** out,
                                        IUnknown* outer)
{
    if (out != nullptr)
        *out = nullptr;
    return DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::CreatePalette, 0, flags), [&]() -> HRESULT {
        // Only 256-entry palettes exist here.
        if ((flags & DDPCAPS_8BIT) == 0 || entries == nullptr || out == nullptr || outer != nullptr)
            return DDERR_INVALIDPARAMS;
        *out = new DDrawPalette(entries);
        return DD_OK;
    });
}

template <class Desc, class Out>
HRESULT DirectDrawObject::CreateAs(Desc* desc, Out** out, IUnknown* outer)
{
    if (out != nullptr)
        *out = nullptr;
    SurfaceRequest request;
    if (desc != nullptr) {
        request.flags = desc->dwFlags;
        request.width = desc->dwWidth;
        request.height = desc->dwHeight;
        request.backBufferCount = desc->dwBackBufferCount;
        CopyPixelFormat(request.format, desc->ddpfPixelFormat);
        if (desc->dwFlags & DDSD_CAPS) {
            request.caps = desc->ddsCaps.dwCaps;
            if constexpr (std::is_same_v<Desc, DDSURFACEDESC2>)
                request.caps2 = desc->ddsCaps.dwCaps2;
        }
    }
    return DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::CreateSurface, request.caps, request.flags),
                                         [&]() -> HRESULT {
        if (desc == nullptr || desc->dwSize != sizeof(Desc) || out == nullptr || outer != nullptr)
            return DDERR_INVALIDPARAMS;
        DDrawSurface* made = nullptr;
        const HRESULT result = (request.caps & DDSCAPS_PRIMARYSURFACE) ? CreatePrimaryLocked(request, &made)
                                                                      : CreateOffscreenLocked(request, &made);
        if (result == DD_OK)
            *out = made;
        return result;
    });
}

HRESULT DirectDrawObject::CreateSurface(DDSURFACEDESC* desc, IDirectDrawSurface** out, IUnknown* outer)
{
    return CreateAs(desc, out, outer);
}

HRESULT DirectDrawObject::CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** out, IUnknown* outer)
{
    return CreateAs(desc, out, outer);
}

DDrawSurface::Shape DirectDrawObject::DisplayShapeLocked()
{
    DDrawSurface::Shape shape;
    if (mDisplay->modeSet) {
        shape.width = mDisplay->modeWidth;
        shape.height = mDisplay->modeHeight;
        CopyPixelFormat(shape.format, mDisplay->modeFormat);
    } else {
        DDrawRuntime::Get().GetPresenter()->GetDesktopSize(shape.width, shape.height);
        shape.format = MakePixelFormat(DDrawRuntime::Get().SettingsLocked().desktopFormat);
    }
    return shape;
}

HRESULT DirectDrawObject::CreatePrimaryLocked(const SurfaceRequest& request, DDrawSurface** out)
{
    // The primary is the display: it takes no size or format of its own.
    if (request.flags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT))
        return DDERR_INVALIDPARAMS;
    const bool flipChain = (request.caps & DDSCAPS_FLIP) != 0;
    if (flipChain) {
        if ((request.caps & DDSCAPS_COMPLEX) == 0 || (request.flags & DDSD_BACKBUFFERCOUNT) == 0 ||
            request.backBufferCount != 1)
            return DDERR_INVALIDPARAMS;
    } else if (request.caps & (DDSCAPS_COMPLEX | DDSCAPS_BACKBUFFER)) {
        return DDERR_INVALIDCAPS;
    }
    if (!mDisplay->levelSet)
        return DDERR_NOCOOPERATIVELEVELSET;
    if (mDisplay->primary != nullptr)
        return DDERR_PRIMARYSURFACEALREADYEXISTS;
    if (flipChain && !mDisplay->exclusive)
        return DDERR_NOEXCLUSIVEMODE;

    DDrawSurface::Shape shape = DisplayShapeLocked();
    shape.caps = request.caps;
    shape.caps2 = request.caps2;
    const uint32_t padding = DDrawRuntime::Get().SettingsLocked().pitchPadding;
    HRESULT error = DD_OK;
    // The screen starts black.
    DDrawSurface* primary = DDrawSurface::Create(shape, 0, padding, mDisplay, error);
    if (primary == nullptr)
        return error;
    if (flipChain) {
        DDrawSurface::Shape backShape = shape;
        backShape.caps = (request.caps & ~DDSCAPS_PRIMARYSURFACE) | DDSCAPS_BACKBUFFER;
        DDrawSurface* back = DDrawSurface::Create(backShape, 0, padding, mDisplay, error);
        if (back == nullptr) {
            primary->Release();
            return error;
        }
        primary->AttachBackBuffer(back);
    }
    mDisplay->primary = primary;
    *out = primary;
    return DD_OK;
}

HRESULT DirectDrawObject::CreateOffscreenLocked(const SurfaceRequest& request, DDrawSurface** out)
{
    if (request.caps & (DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_BACKBUFFER))
        return DDERR_INVALIDCAPS;
    if ((request.flags & DDSD_WIDTH) == 0 || (request.flags & DDSD_HEIGHT) == 0 || request.width == 0 ||
        request.height == 0)
        return DDERR_INVALIDPARAMS;
    DDrawSurface::Shape shape;
    if (request.flags & DDSD_PIXELFORMAT) {
        if (request.format.dwSize != sizeof(DDPIXELFORMAT))
            return DDERR_INVALIDPARAMS;
        if (!IsCreatablePixelFormat(request.format))
            return DDERR_INVALIDPIXELFORMAT;
        CopyPixelFormat(shape.format, request.format);
    } else {
        shape.format = DisplayShapeLocked().format;
    }
    shape.width = request.width;
    shape.height = request.height;
    shape.caps = request.caps;
    shape.caps2 = request.caps2;
    DDrawRuntime& runtime = DDrawRuntime::Get();
    const DDrawSettings& settings = runtime.SettingsLocked();
    const uint8_t fill = settings.fillByte ? *settings.fillByte : runtime.GetPresenter()->GetNewSurfaceFill();
    HRESULT error = DD_OK;
    DDrawSurface* surface = DDrawSurface::Create(shape, fill, settings.pitchPadding, mDisplay, error);
    if (surface == nullptr)
        return error;
    *out = surface;
    return DD_OK;
}

HRESULT DirectDrawObject::FlipToGDISurface()
{
    return DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::FlipToGDISurface), [] { return DD_OK; });
}

HRESULT DirectDrawObject::GetMonitorFrequency(uint32_t* hz)
{
    return DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::GetMonitorFrequency), [&]() -> HRESULT {
        if (hz == nullptr)
            return DDERR_INVALIDPARAMS;
        *hz = DDrawRuntime::Get().GetPresenter()->GetMonitorFrequency(mDisplay->window);
        return DD_OK;
    });
}

HRESULT DirectDrawObject::SetCooperativeLevel(HWND window, uint32_t flags)
{
    HWND leave = nullptr;
    bool leaving = false;
    bool entering = false;
    const HRESULT result =
        DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::SetCooperativeLevel, 0, flags), [&]() -> HRESULT {
            if (flags == DDSCL_NORMAL) {
                leaving = mDisplay->exclusive;
                leave = mDisplay->window;
                mDisplay->exclusive = false;
                mDisplay->modeSet = false; // the desktop's mode comes back
            } else if (flags == (DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE)) {
                if (window == nullptr)
                    return DDERR_INVALIDPARAMS;
                leaving = mDisplay->exclusive && mDisplay->window != window;
                leave = mDisplay->window;
                entering = true;
                mDisplay->exclusive = true;
            } else {
                return DDERR_INVALIDPARAMS;
            }
            mDisplay->levelSet = true;
            mDisplay->window = window;
            return DD_OK;
        });
    const std::shared_ptr<DisplayPresenter> presenter = DDrawRuntime::Get().GetPresenter();
    if (leaving)
        presenter->SetFullScreen(leave, false);
    if (entering)
        presenter->SetFullScreen(window, true);
    return result;
}

HRESULT DirectDrawObject::SetDisplayMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel)
{
    DDrawCall call = DDrawCall::Of(DDrawOp::SetDisplayMode, 0, bitsPerPixel);
    call.destRect = RECT{0, 0, static_cast<int32_t>(width), static_cast<int32_t>(height)};
    return DDrawRuntime::Get().RunLogged(call, [&]() -> HRESULT {
        if (!mDisplay->exclusive)
            return DDERR_NOEXCLUSIVEMODE;
        const DDrawSettings& settings = DDrawRuntime::Get().SettingsLocked();
        const bool accepted = std::find(settings.modeDepths.begin(), settings.modeDepths.end(), bitsPerPixel) !=
                              settings.modeDepths.end();
        if (width == 0 || height == 0 || !accepted)
            return DDERR_INVALIDMODE;
        DDrawFormat format;
        switch (bitsPerPixel) {
        case 8: format = DDrawFormat::P8; break;
        case 16: format = settings.mode16Format; break;
        case 24: format = DDrawFormat::R8G8B8; break;
        case 32: format = DDrawFormat::X8R8G8B8; break;
        default: return DDERR_INVALIDMODE;
        }
        mDisplay->modeSet = true;
        mDisplay->modeWidth = width;
        mDisplay->modeHeight = height;
        mDisplay->modeFormat = MakePixelFormat(format);
        return DD_OK;
    });
}

} // namespace Platform
