#include "platform/d3d/Direct3DObject.h"

#include "platform/d3d/D3DConstants.h"
#include "platform/d3d/D3DDevice.h"
#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawSurface.h"
#include "platform/ddraw/DirectDrawObject.h"

namespace Platform {

Direct3DObject::Direct3DObject(IDirectDraw7* owner) : DDrawRefCount(DDrawObjectKind::Direct3D), mOwner(owner)
{
    mOwner->AddRef();
}

Direct3DObject::~Direct3DObject()
{
    {
        std::lock_guard hold(DDrawRuntime::Get().Mutex());
        DirectDrawObject::From(mOwner)->ForgetDirect3DLocked(this);
    }
    mOwner->Release();
}

HRESULT Direct3DObject::QueryInterface(REFIID iid, void** out)
{
    IDirect3D7* self = this;
    return AnswerQuery(iid, out, 0, {{IID_IDirect3D7, self}, {IID_IUnknown, self}});
}

HRESULT Direct3DObject::CheckRenderTargetLocked(DDrawSurface* target)
{
    if (target == nullptr)
        return DDERR_INVALIDPARAMS;
    const DDrawSurface::Shape& shape = target->GetShape();
    if ((shape.caps & DDSCAPS_3DDEVICE) == 0)
        return DDERR_INVALIDCAPS;
    const uint32_t bits = shape.format.dwRGBBitCount;
    if ((shape.format.dwFlags & DDPF_RGB) == 0 || (shape.format.dwFlags & DDPF_PALETTEINDEXED8) != 0 ||
        (bits != 16 && bits != 24 && bits != 32))
        return DDERR_INVALIDPIXELFORMAT;
    return DD_OK;
}

HRESULT Direct3DObject::CreateDevice(REFIID device, IDirectDrawSurface7* target, IDirect3DDevice7** out)
{
    if (out != nullptr)
        *out = nullptr;
    DDrawSurface* surface = target != nullptr ? DDrawSurface::From(target) : nullptr;
    DDrawCall call = DDrawCall::OfInterface(DDrawOp::CreateDevice, surface != nullptr ? surface->Caps() : 0, device);
    call.surface = surface;
    return DDrawRuntime::Get().RunLogged(call, [&]() -> HRESULT {
        if (out == nullptr)
            return DDERR_INVALIDPARAMS;
        if (device != IID_IDirect3DHALDevice)
            return E_NOINTERFACE;
        const HRESULT checked = CheckRenderTargetLocked(surface);
        if (checked != DD_OK)
            return checked;
        *out = new D3DDevice(this, surface);
        return DD_OK;
    });
}

} // namespace Platform
