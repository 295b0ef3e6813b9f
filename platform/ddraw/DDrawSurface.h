// A surface of the DirectDraw stand-in: plain memory in one pixel format, with
// a pitch padded past the row's bytes. It answers the first-version and the
// version-7 surface calls: descriptions, whole-surface locks, blits (copy,
// nearest-pixel stretch, source colour key, clipping to a window), flipping,
// and the clipper, palette and back buffer it holds references on. Blits into
// a primary and flips are shown through the presenter.
#pragma once

#include "platform/ddraw/DDrawDisplayState.h"
#include "platform/ddraw/DDrawInterfaces.h"
#include "platform/ddraw/DDrawRefCount.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Platform {

class DDrawClipper;
class DDrawPalette;

class DDrawSurface final : public IDirectDrawSurface, public IDirectDrawSurface7, private DDrawRefCount {
public:
    struct Shape {
        uint32_t width = 0;
        uint32_t height = 0;
        DDPIXELFORMAT format;
        uint32_t caps = 0;
        uint32_t caps2 = 0;
    };

    // A surface over new memory with every byte `fill`, or null with the reason
    // in `error` (E_OUTOFMEMORY when the size cannot be had). The format must be creatable.
    static DDrawSurface* Create(const Shape& shape, uint8_t fill, uint32_t pitchPadding,
                                std::shared_ptr<DDrawDisplayState> display, HRESULT& error);

    static DDrawSurface* From(IDirectDrawSurface* surface) { return static_cast<DDrawSurface*>(surface); }
    static DDrawSurface* From(IDirectDrawSurface7* surface) { return static_cast<DDrawSurface*>(surface); }
    IDirectDrawSurface* AsSurface() { return this; }
    IDirectDrawSurface7* AsSurface7() { return this; }

    HRESULT QueryInterface(REFIID iid, void** out) override;
    uint32_t AddRef() override { return AddRefCount(); }
    uint32_t Release() override { return ReleaseCount(); }

    HRESULT Blt(RECT* destRect, IDirectDrawSurface* source, RECT* sourceRect, uint32_t flags,
                DDBLTFX* effects) override;
    HRESULT Flip(IDirectDrawSurface* target, uint32_t flags) override;
    HRESULT GetAttachedSurface(DDSCAPS* caps, IDirectDrawSurface** out) override;
    HRESULT GetSurfaceDesc(DDSURFACEDESC* desc) override;
    HRESULT Lock(RECT* rect, DDSURFACEDESC* desc, uint32_t flags, void* event) override;
    HRESULT Unlock(void* surfaceData) override;

    HRESULT Blt(RECT* destRect, IDirectDrawSurface7* source, RECT* sourceRect, uint32_t flags,
                DDBLTFX* effects) override;
    HRESULT Flip(IDirectDrawSurface7* target, uint32_t flags) override;
    HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** out) override;
    HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc) override;
    HRESULT Lock(RECT* rect, DDSURFACEDESC2* desc, uint32_t flags, void* event) override;
    HRESULT Unlock(RECT* rect) override;

    HRESULT SetClipper(IDirectDrawClipper* clipper) override;
    HRESULT SetColorKey(uint32_t flags, DDCOLORKEY* key) override;
    HRESULT SetPalette(IDirectDrawPalette* palette) override;

    uint32_t Caps() const { return mShape.caps; }

    // For the Direct3D device, which draws into the memory while it holds the
    // stand-in's mutex.
    const Shape& GetShape() const { return mShape; }
    int32_t Pitch() const { return mPitch; }
    uint8_t* PixelsLocked() { return mPixels.data(); }
    bool IsLockedLocked() const { return mLocked; }
    DDrawPalette* PaletteLocked() const { return mPalette; }
    // Tells the presenter that `changed` of this primary has new pixels; nothing for another surface.
    void PresentIfPrimary(const RECT& changed)
    {
        if (IsPrimary())
            Present(changed);
    }
    // The flip primary keeps the creation reference of its back buffer.
    void AttachBackBuffer(DDrawSurface* backBuffer) { mBackBuffer = backBuffer; }

private:
    DDrawSurface(const Shape& shape, int32_t pitch, std::vector<uint8_t> pixels,
                 std::shared_ptr<DDrawDisplayState> display);
    ~DDrawSurface() override;

    RECT Bounds() const;
    bool IsPrimary() const;
    template <class Desc>
    void FillDesc(Desc& desc) const;
    template <class Desc>
    HRESULT DescribeAs(Desc* desc);
    template <class Desc>
    HRESULT LockAs(RECT* rect, Desc* desc, uint32_t flags);
    HRESULT UnlockWhole(bool rectGiven);
    HRESULT BltFrom(RECT* destRect, DDrawSurface* source, RECT* sourceRect, uint32_t flags, DDBLTFX* effects);
    HRESULT FlipTo(DDrawSurface* target, uint32_t flags);
    template <class CapsRecord, class Out>
    HRESULT AttachedAs(CapsRecord* caps, Out** out);
    // Tells the presenter that `changed` of this primary has new pixels.
    void Present(const RECT& changed);

    const Shape mShape;
    const int32_t mPitch;
    std::vector<uint8_t> mPixels;
    const std::shared_ptr<DDrawDisplayState> mDisplay;
    // Guarded by the stand-in's mutex.
    bool mLocked = false;
    bool mHasSourceKey = false;
    DDCOLORKEY mSourceKey;
    DDrawClipper* mClipper = nullptr;
    DDrawPalette* mPalette = nullptr;
    DDrawSurface* mBackBuffer = nullptr;
};

} // namespace Platform
