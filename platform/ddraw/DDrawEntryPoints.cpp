#include "platform/ddraw/DDrawEntryPoints.h"

#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DirectDrawObject.h"

#include <cstring>

namespace Platform {
HRESULT DirectDrawCreate(GUID* device, IDirectDraw** out, IUnknown* outer)
{
    if (out != nullptr)
        *out = nullptr;
    return DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::DirectDrawCreate), [&]() -> HRESULT {
        if (device != nullptr)
            return DDERR_INVALIDDIRECTDRAWGUID;
        if (out == nullptr || outer != nullptr)
            return DDERR_INVALIDPARAMS;
        *out = (new DirectDrawObject())->AsDirectDraw();
        return DD_OK;
    });
}

HRESULT DirectDrawCreateEx(GUID* device, void** out, REFIID iid, IUnknown* outer)
{
    if (out != nullptr)
        *out = nullptr;
    DDrawCall call = DDrawCall::OfInterface(DDrawOp::DirectDrawCreateEx, 0, iid);
    return DDrawRuntime::Get().RunLogged(call, [&]() -> HRESULT {
        if (device != nullptr)
            return DDERR_INVALIDDIRECTDRAWGUID;
        if (out == nullptr || outer != nullptr || iid != IID_IDirectDraw7)
            return DDERR_INVALIDPARAMS;
        *out = (new DirectDrawObject())->AsDirectDraw7();
        return DD_OK;
    });
}

DDrawProc GetDDrawProcAddress(const char* name)
{
    if (name == nullptr)
        return nullptr;
    if (std::strcmp(name, "DirectDrawCreate") == 0)
        return reinterpret_cast<DDrawProc>(&DirectDrawCreate);
    if (std::strcmp(name, "DirectDrawCreateEx") == 0 && DDrawRuntime::Get().GetSettings().hasDirectDrawCreateEx)
        return reinterpret_cast<DDrawProc>(&DirectDrawCreateEx);
    return nullptr;
}

} // namespace Platform
