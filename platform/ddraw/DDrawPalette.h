// The palette of the DirectDraw stand-in: 256 entries kept exactly as given,
// the flags byte (alpha with DDPCAPS_ALPHA) included.
#pragma once

#include "platform/ddraw/DDrawInterfaces.h"
#include "platform/ddraw/DDrawRefCount.h"

#include <array>

namespace Platform {

class DDrawPalette final : public IDirectDrawPalette, private DDrawRefCount {
public:
    // Copies 256 entries; keeps the creation flags (DDPCAPS_*).
    DDrawPalette(uint32_t caps, const PALETTEENTRY* entries);

    HRESULT QueryInterface(REFIID iid, void** out) override;
    uint32_t AddRef() override { return AddRefCount(); }
    uint32_t Release() override { return ReleaseCount(); }
    HRESULT GetEntries(uint32_t flags, uint32_t start, uint32_t count, PALETTEENTRY* entries) override;

    // For the Direct3D device; the entries and flags never change.
    uint32_t Caps() const { return mCaps; }
    const std::array<PALETTEENTRY, 256>& Entries() const { return mEntries; }

private:
    ~DDrawPalette() override = default;

    const uint32_t mCaps;
    std::array<PALETTEENTRY, 256> mEntries;
};

} // namespace Platform
