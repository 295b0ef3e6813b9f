#include "platform/ddraw/DDrawPalette.h"

#include "platform/ddraw/DDrawConstants.h"

namespace Platform {

DDrawPalette::DDrawPalette(uint32_t caps, const PALETTEENTRY* entries)
    : DDrawRefCount(DDrawObjectKind::Palette), mCaps(caps)
{
    for (size_t i = 0; i < mEntries.size(); ++i)
        mEntries[i] = entries[i];
}

HRESULT DDrawPalette::QueryInterface(REFIID iid, void** out)
{
    IDirectDrawPalette* self = this;
    return AnswerQuery(iid, out, 0, {{IID_IDirectDrawPalette, self}, {IID_IUnknown, self}});
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
