#include "platform/ddraw/DDrawClipper.h"

#include "platform/ddraw/DDrawConstants.h"

namespace Platform {

HRESULT DDrawClipper::QueryInterface(REFIID iid, void** out)
{
    if (out != nullptr)
        *out = nullptr;
    return DDrawRuntime::Get().RunLogged(DDrawCall::OfInterface(DDrawOp::QueryInterface, 0, iid), [&]() -> HRESULT {
        if (out == nullptr)
            return DDERR_INVALIDPARAMS;
        if (iid != IID_IDirectDrawClipper && iid != IID_IUnknown)
            return E_NOINTERFACE;
        AddRefCount();
        *out = static_cast<IDirectDrawClipper*>(this);
        return DD_OK;
    });
}

HRESULT DDrawClipper::SetHWnd(uint32_t flags, HWND window)
{
    return DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::SetHWnd, 0, flags), [&]() -> HRESULT {
        if (flags != 0)
            return DDERR_INVALIDPARAMS;
        mWindow = window;
        return DD_OK;
    });
}

} // namespace Platform
