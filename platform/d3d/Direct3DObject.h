// The Direct3D object of the stand-in: one per DirectDraw object, handed out by
// its QueryInterface(IID_IDirect3D7). It keeps the DirectDraw object alive
// while it lives and makes the software devices that draw into version-7
// surfaces made with DDSCAPS_3DDEVICE.
#pragma once

#include "platform/d3d/D3DInterfaces.h"
#include "platform/ddraw/DDrawRefCount.h"

namespace Platform {

class DDrawSurface;

class Direct3DObject final : public IDirect3D7, private DDrawRefCount {
public:
    // Adds a reference to the DirectDraw object; called under the stand-in's mutex.
    explicit Direct3DObject(IDirectDraw7* owner);

    HRESULT QueryInterface(REFIID iid, void** out) override;
    uint32_t AddRef() override { return AddRefCount(); }
    uint32_t Release() override { return ReleaseCount(); }
    HRESULT CreateDevice(REFIID device, IDirectDrawSurface7* target, IDirect3DDevice7** out) override;

    // The checks of a render target, shared with the device's SetRenderTarget:
    // DDSCAPS_3DDEVICE, and RGB of 16, 24 or 32 bits. Under the stand-in's mutex.
    static HRESULT CheckRenderTargetLocked(DDrawSurface* target);

private:
    ~Direct3DObject() override;

    IDirectDraw7* const mOwner;
};

} // namespace Platform
