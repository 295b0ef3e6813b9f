// The DirectDraw object of the stand-in: one object answers both the
// first-version and the version-7 calls. It keeps the cooperative level and the
// display mode, creates surfaces (the primary with the desktop's or the mode's
// size and format, off-screen surfaces in any creatable format), clippers and
// palettes, and asks the presenter to put the window in and out of desktop full
// screen. It hands out its one Direct3D object, and tells the adapter's identity
// and video memory from the settings.
#pragma once

#include "platform/ddraw/DDrawDisplayState.h"
#include "platform/ddraw/DDrawInterfaces.h"
#include "platform/ddraw/DDrawRefCount.h"
#include "platform/ddraw/DDrawSurface.h"

#include <memory>

namespace Platform {

class Direct3DObject;

class DirectDrawObject final : public IDirectDraw, public IDirectDraw7, private DDrawRefCount {
public:
    DirectDrawObject();

    static DirectDrawObject* From(IDirectDraw* object) { return static_cast<DirectDrawObject*>(object); }
    static DirectDrawObject* From(IDirectDraw7* object) { return static_cast<DirectDrawObject*>(object); }
    IDirectDraw* AsDirectDraw() { return this; }
    IDirectDraw7* AsDirectDraw7() { return this; }

    HRESULT QueryInterface(REFIID iid, void** out) override;
    uint32_t AddRef() override { return AddRefCount(); }
    uint32_t Release() override { return ReleaseCount(); }

    HRESULT CreateClipper(uint32_t flags, IDirectDrawClipper** out, IUnknown* outer) override;
    HRESULT CreatePalette(uint32_t flags, PALETTEENTRY* entries, IDirectDrawPalette** out,
                          IUnknown* outer) override;
    HRESULT CreateSurface(DDSURFACEDESC* desc, IDirectDrawSurface** out, IUnknown* outer) override;
    HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** out, IUnknown* outer) override;
    HRESULT FlipToGDISurface() override;
    HRESULT GetMonitorFrequency(uint32_t* hz) override;
    HRESULT SetCooperativeLevel(HWND window, uint32_t flags) override;
    HRESULT SetDisplayMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel) override;
    HRESULT GetDeviceIdentifier(DDDEVICEIDENTIFIER2* identifier, uint32_t flags) override;
    HRESULT GetAvailableVidMem(DDSCAPS2* caps, uint32_t* total, uint32_t* free) override;

    // Its Direct3D object is going: the next query makes a new one.
    void ForgetDirect3DLocked(const Direct3DObject* direct3D);

private:
    // What a surface description asks for, read from either form.
    struct SurfaceRequest {
        uint32_t flags = 0;
        uint32_t width = 0;
        uint32_t height = 0;
        uint32_t backBufferCount = 0;
        DDPIXELFORMAT format;
        uint32_t caps = 0;
        uint32_t caps2 = 0;
    };

    ~DirectDrawObject() override;

    HRESULT QueryDirect3D(void** out);
    template <class Desc, class Out>
    HRESULT CreateAs(Desc* desc, Out** out, IUnknown* outer);
    HRESULT CreatePrimaryLocked(const SurfaceRequest& request, DDrawSurface** out);
    HRESULT CreateOffscreenLocked(const SurfaceRequest& request, DDrawSurface** out);
    // The size and format of the display now: the mode's in exclusive mode once set, else the desktop's.
    DDrawSurface::Shape DisplayShapeLocked();

    const std::shared_ptr<DDrawDisplayState> mDisplay;
    // Holds a reference on this object while it lives; guarded by the stand-in's mutex.
    Direct3DObject* mDirect3D = nullptr;
};

} // namespace Platform
