// The clipper of the DirectDraw stand-in: bound to a window, it cuts blits into
// the surface that holds it to the window's client area on the screen.
#pragma once

#include "platform/ddraw/DDrawInterfaces.h"
#include "platform/ddraw/DDrawRefCount.h"

namespace Platform {

class DDrawClipper final : public IDirectDrawClipper, private DDrawRefCount {
public:
    DDrawClipper() : DDrawRefCount(DDrawObjectKind::Clipper) {}

    HRESULT QueryInterface(REFIID iid, void** out) override;
    uint32_t AddRef() override { return AddRefCount(); }
    uint32_t Release() override { return ReleaseCount(); }
    HRESULT SetHWnd(uint32_t flags, HWND window) override;

    // Under the stand-in's mutex.
    HWND WindowLocked() const { return mWindow; }

private:
    ~DDrawClipper() override = default;

    HWND mWindow = nullptr;
};

} // namespace Platform
