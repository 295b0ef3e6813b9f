#include "platform/ddraw/DDrawClipper.h"

#include "platform/ddraw/DDrawConstants.h"

namespace Platform {

HRESULT DDrawClipper::QueryInterface(REFIID iid, void** out)
{
    IDirectDrawClipper* self = this;
    return AnswerQuery(iid, out, 0, {{IID_IDirectDrawClipper, self}, {IID_IUnknown, self}});
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
