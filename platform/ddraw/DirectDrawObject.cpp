#include "platform/ddraw/DirectDrawObject.h"

#include "platform/Platform.h"
#include "platform/d3d/Direct3DObject.h"
#include "platform/ddraw/DDrawClipper.h"
#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawPalette.h"
#include "platform/ddraw/DDrawPixelFormat.h"

#include <algorithm>
#include <type_traits>

namespace Platform {
namespace {

// Cut to the record's size, always ending with a 0.
void CopyText(char (&to)[DDDEVICEIDENTIFIER2::kTextSize], const std::string& from)
{
    const size_t length = std::min(from.size(), sizeof(to) - 1);
    std::copy_n(from.data(), length, to);
    std::fill(to + length, to + sizeof(to), '\0');
}

} // namespace

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
    if (iid == IID_IDirect3D7)
        return QueryDirect3D(out);
    return AnswerQuery(iid, out, 0,
                       {{IID_IDirectDraw, AsDirectDraw()}, {IID_IDirectDraw7, AsDirectDraw7()},
                        {IID_IUnknown, AsDirectDraw()}});
}

HRESULT DirectDrawObject::QueryDirect3D(void** out)
{
    if (out != nullptr)
        *out = nullptr;
    DDrawRuntime& runtime = DDrawRuntime::Get();
    return runtime.RunLogged(DDrawCall::OfInterface(DDrawOp::QueryInterface, 0, IID_IDirect3D7), [&]() -> HRESULT {
        if (out == nullptr)
            return DDERR_INVALIDPARAMS;
        // Without Direct3D the refusal keeps the display in 2D.
        if (!runtime.SettingsLocked().hasDirect3D)
            return E_NOINTERFACE;
        if (mDirect3D != nullptr)
            mDirect3D->AddRef();
        else
            mDirect3D = new Direct3DObject(AsDirectDraw7());
        *out = static_cast<IDirect3D7*>(mDirect3D);
        return DD_OK;
    });
}

void DirectDrawObject::ForgetDirect3DLocked(const Direct3DObject* direct3D)
{
    if (mDirect3D == direct3D)
        mDirect3D = nullptr;
}

HRESULT DirectDrawObject::GetDeviceIdentifier(DDDEVICEIDENTIFIER2* identifier, uint32_t flags)
{
    // The default driver is asked of the process service before the mutex is taken.
    std::optional<std::string> driver = DDrawRuntime::Get().GetSettings().driverName;
    if (!driver)
        driver = GetPlatform().GetProcess().GetModuleFileName();
    return DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::GetDeviceIdentifier, 0, flags), [&]() -> HRESULT {
        if (identifier == nullptr || flags != 0)
            return DDERR_INVALIDPARAMS;
        const DDrawSettings& settings = DDrawRuntime::Get().SettingsLocked();
        CopyText(identifier->szDriver, *driver);
        CopyText(identifier->szDescription, settings.deviceDescription);
        identifier->guidDeviceIdentifier = settings.deviceGuid;
        return DD_OK;
    });
}

HRESULT DirectDrawObject::GetAvailableVidMem(DDSCAPS2* caps, uint32_t* total, uint32_t* free)
{
    const uint32_t kind = caps != nullptr ? caps->dwCaps : 0;
    return DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::GetAvailableVidMem, kind), [&]() -> HRESULT {
        if (caps == nullptr || (total == nullptr && free == nullptr))
            return DDERR_INVALIDPARAMS;
        const DDrawSettings& settings = DDrawRuntime::Get().SettingsLocked();
        if (total != nullptr)
            *total = settings.videoMemoryTotal;
        if (free != nullptr)
            *free = settings.videoMemoryFree;
        return DD_OK;
    });
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
        *out = new DDrawPalette(flags, entries);
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
    if ((request.caps & DDSCAPS_TEXTURE) != 0 &&
        ((settings.maxTextureWidth > 0 && request.width > settings.maxTextureWidth) ||
         (settings.maxTextureHeight > 0 && request.height > settings.maxTextureHeight)))
        return DDERR_TOOBIGSIZE;
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
