#include "platform/ddraw/DDrawPalette.h"

#include "platform/ddraw/DDrawConstants.h"

namespace Platform {

DDrawPalette::DDrawPalette(const PALETTEENTRY* entries) : DDrawRefCount(DDrawObjectKind::Palette)
{
    for (size_t i = 0; i < mEntries.size(); ++i)
        mEntries[i] = entries[i];
}

HRESULT DDrawPalette::QueryInterface(REFIID iid, void** out)
{
    if (out != nullptr)
        *out = nullptr;
    return DDrawRuntime::Get().RunLogged(DDrawCall::OfInterface(DDrawOp::QueryInterface, 0, iid), [&]() -> HRESULT {
        if (out == nullptr)
            return DDERR_INVALIDPARAMS;
        if (iid != IID_IDirectDrawPalette && iid != IID_IUnknown)
            return E_NOINTERFACE;
        AddRefCount();
        *out = static_cast<IDirectDrawPalette*>(this);
        return DD_OK;
    });
}

HRESULT DDrawPalette::GetEntries(uint32_t flags, uint32_t start, uint32_t count, PALETTEENTRY* entries)
{
    if (flags != 0 || entries == nullptr || start > mEntries.size() || count > mEntries.size() - start)
        return DDERR_INVALIDPARAMS;
    // The entries never change after creation, so no lock is needed.
    for (uint32_t i = 0; i < count; ++i)
        entries[i] = mEntries[start + i];
    return DD_OK;
}

} // namespace Platform
