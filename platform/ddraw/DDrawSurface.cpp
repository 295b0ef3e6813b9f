#include "platform/ddraw/DDrawSurface.h"

#include "platform/ddraw/DDrawBlitter.h"
#include "platform/ddraw/DDrawClipper.h"
#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawPalette.h"
#include "platform/ddraw/DDrawPixelFormat.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <type_traits>

namespace Platform {
namespace {

// Beyond this a surface is refused as if memory ran out.
constexpr uint64_t kMaxSurfaceBytes = uint64_t{1} << 30;

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

RECT Intersect(const RECT& a, const RECT& b)
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (IsEmpty(r))
        return RECT{};
    return r;
}


} // namespace

DDrawSurface* DDrawSurface::Create(const Shape& shape, uint8_t fill, uint32_t pitchPadding,
                                   std::shared_ptr<DDrawDisplayState> display, HRESULT& error)
{
    const uint64_t pitch = uint64_t{shape.width} * BytesPerPixel(shape.format) + pitchPadding;
    const uint64_t bytes = pitch * shape.height;
    if (pitch > INT32_MAX || bytes > kMaxSurfaceBytes) {
        error = E_OUTOFMEMORY;
        return nullptr;
    }
    std::vector<uint8_t> pixels;
    try {
        pixels.assign(static_cast<size_t>(bytes), fill);
    } catch (const std::bad_alloc&) {
        error = E_OUTOFMEMORY;
        return nullptr;
    }
    error = DD_OK;
    return new DDrawSurface(shape, static_cast<int32_t>(pitch), std::move(pixels), std::move(display));
}

DDrawSurface::DDrawSurface(const Shape& shape, int32_t pitch, std::vector<uint8_t> pixels,
                           std::shared_ptr<DDrawDisplayState> display)
    : DDrawRefCount(DDrawObjectKind::Surface),
      mShape(shape),
      mPitch(pitch),
      mPixels(std::move(pixels)),
      mDisplay(std::move(display))
{
}

DDrawSurface::~DDrawSurface()
{
    {
        std::lock_guard hold(DDrawRuntime::Get().Mutex());
        if (mDisplay->primary == this)
            mDisplay->primary = nullptr;
    }
    if (mClipper != nullptr)
        mClipper->Release();
    if (mPalette != nullptr)
        mPalette->Release();
    if (mBackBuffer != nullptr)
        mBackBuffer->Release();
}

RECT DDrawSurface::Bounds() const
{
    return RECT{0, 0, static_cast<int32_t>(mShape.width), static_cast<int32_t>(mShape.height)};
}

bool DDrawSurface::IsPrimary() const { return (mShape.caps & DDSCAPS_PRIMARYSURFACE) != 0; }

HRESULT DDrawSurface::QueryInterface(REFIID iid, void** out)
{
    return AnswerQuery(iid, out, mShape.caps,
                       {{IID_IDirectDrawSurface, AsSurface()}, {IID_IDirectDrawSurface7, AsSurface7()},
                        {IID_IUnknown, AsSurface()}});
}

template <class Desc>
void DDrawSurface::FillDesc(Desc& desc) const
{
    const bool flipPrimary = mBackBuffer != nullptr;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT |
                   (flipPrimary ? DDSD_BACKBUFFERCOUNT : 0u) | (mHasSourceKey ? DDSD_CKSRCBLT : 0u) |
                   (mLocked ? DDSD_LPSURFACE : 0u);
    desc.dwHeight = mShape.height;
    desc.dwWidth = mShape.width;
    desc.lPitch = mPitch;
    desc.dwBackBufferCount = flipPrimary ? 1 : 0;
    desc.dwRefreshRate = 0;
    desc.dwAlphaBitDepth = 0;
    desc.dwReserved = 0;
    // The pointer is handed out only to the holder of the lock.
    desc.lpSurface = mLocked ? const_cast<uint8_t*>(mPixels.data()) : nullptr;
    desc.ddckCKDestOverlay = DDCOLORKEY{};
    desc.ddckCKDestBlt = DDCOLORKEY{};
    desc.ddckCKSrcOverlay = DDCOLORKEY{};
    desc.ddckCKSrcBlt.dwColorSpaceLowValue = mHasSourceKey ? mSourceKey.dwColorSpaceLowValue : 0;
    desc.ddckCKSrcBlt.dwColorSpaceHighValue = mHasSourceKey ? mSourceKey.dwColorSpaceHighValue : 0;
    CopyPixelFormat(desc.ddpfPixelFormat, mShape.format);
    desc.ddsCaps.dwCaps = mShape.caps;
    if constexpr (std::is_same_v<Desc, DDSURFACEDESC2>)
        desc.ddsCaps.dwCaps2 = mShape.caps2;
}

template <class Desc>
HRESULT DDrawSurface::DescribeAs(Desc* desc)
{
    if (desc == nullptr || desc->dwSize != sizeof(Desc))
        return DDERR_INVALIDPARAMS;
    std::lock_guard hold(DDrawRuntime::Get().Mutex());
    FillDesc(*desc);
    return DD_OK;
}

HRESULT DDrawSurface::GetSurfaceDesc(DDSURFACEDESC* desc) { return DescribeAs(desc); }
HRESULT DDrawSurface::GetSurfaceDesc(DDSURFACEDESC2* desc) { return DescribeAs(desc); }

template <class Desc>
HRESULT DDrawSurface::LockAs(RECT* rect, Desc* desc, uint32_t flags)
{
    DDrawCall call = DDrawCall::Of(DDrawOp::Lock, mShape.caps, flags);
    if (rect != nullptr)
        call.destRect = *rect;
    return DDrawRuntime::Get().RunLogged(call, [&]() -> HRESULT {
        // Only whole surfaces are locked; read-only and write-only are recorded, not enforced.
        if (rect != nullptr || desc == nullptr || desc->dwSize != sizeof(Desc))
            return DDERR_INVALIDPARAMS;
        if (mLocked)
            return DDERR_SURFACEBUSY;
        mLocked = true;
        FillDesc(*desc);
        return DD_OK;
    });
}

HRESULT DDrawSurface::Lock(RECT* rect, DDSURFACEDESC* desc, uint32_t flags, void*)
{
    return LockAs(rect, desc, flags);
}

HRESULT DDrawSurface::Lock(RECT* rect, DDSURFACEDESC2* desc, uint32_t flags, void*)
{
    return LockAs(rect, desc, flags);
}

HRESULT DDrawSurface::UnlockWhole(bool rectGiven)
{
    return DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::Unlock, mShape.caps), [&]() -> HRESULT {
        if (rectGiven)
            return DDERR_INVALIDPARAMS;
        if (!mLocked)
            return DDERR_NOTLOCKED;
        mLocked = false;
        return DD_OK;
    });
}

HRESULT DDrawSurface::Unlock(void*) { return UnlockWhole(false); }
HRESULT DDrawSurface::Unlock(RECT* rect) { return UnlockWhole(rect != nullptr); }

HRESULT DDrawSurface::BltFrom(RECT* destRect, DDrawSurface* source, RECT* sourceRect, uint32_t flags,
                              DDBLTFX* effects)
{
    DDrawRuntime& runtime = DDrawRuntime::Get();
    DDrawCall call = DDrawCall::Of(DDrawOp::Blt, mShape.caps, flags);
    if (destRect != nullptr)
        call.destRect = *destRect;
    if (sourceRect != nullptr)
        call.sourceRect = *sourceRect;
    BlitJob job;
    const HRESULT result = runtime.RunLogged(call, [&]() -> HRESULT {
        if ((flags & ~(DDBLT_WAIT | DDBLT_KEYSRC)) != 0)
            return DDERR_UNSUPPORTED;
        if (source == nullptr || (effects != nullptr && effects->dwSize != sizeof(DDBLTFX)))
            return DDERR_INVALIDPARAMS;
        if (mLocked || source->mLocked)
            return DDERR_SURFACEBUSY;
        if (!SamePixelFormat(mShape.format, source->mShape.format))
            return DDERR_UNSUPPORTED;
        const RECT dest = destRect != nullptr ? *destRect : Bounds();
        const RECT from = sourceRect != nullptr ? *sourceRect : source->Bounds();
        if (IsEmpty(dest) || IsEmpty(from) || !Contains(source->Bounds(), from))
            return DDERR_INVALIDRECT;
        const bool keyed = (flags & DDBLT_KEYSRC) != 0;
        if (keyed && !source->mHasSourceKey)
            return DDERR_NOCOLORKEY;
        RECT written = dest;
        if (mClipper != nullptr) {
            const HWND window = mClipper->WindowLocked();
            if (window == nullptr)
                return DDERR_NOCLIPLIST;
            RECT client;
            if (!runtime.GetPresenter()->GetClientRectOnScreen(window, client))
                client = RECT{};
            written = Intersect(Intersect(dest, client), Bounds());
        } else if (!Contains(Bounds(), dest)) {
            return DDERR_INVALIDRECT;
        }
        job.source = source->mPixels.data();
        job.sourcePitch = source->mPitch;
        job.dest = mPixels.data();
        job.destPitch = mPitch;
        job.bytesPerPixel = BytesPerPixel(mShape.format);
        job.sourceRect = from;
        job.destRect = dest;
        job.written = written;
        job.keyed = keyed;
        job.keyLow = source->mSourceKey.dwColorSpaceLowValue;
        job.keyHigh = source->mSourceKey.dwColorSpaceHighValue;
        return DD_OK;
    });
    if (result != DD_OK)
        return result;
    RunBlit(job);
    if (IsPrimary())
        Present(job.written);
    return DD_OK;
}

HRESULT DDrawSurface::Blt(RECT* destRect, IDirectDrawSurface* source, RECT* sourceRect, uint32_t flags,
                          DDBLTFX* effects)
{
    return BltFrom(destRect, source != nullptr ? From(source) : nullptr, sourceRect, flags, effects);
}

HRESULT DDrawSurface::Blt(RECT* destRect, IDirectDrawSurface7* source, RECT* sourceRect, uint32_t flags,
                          DDBLTFX* effects)
{
    return BltFrom(destRect, source != nullptr ? From(source) : nullptr, sourceRect, flags, effects);
}

HRESULT DDrawSurface::FlipTo(DDrawSurface* target, uint32_t flags)
{
    const HRESULT result =
        DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::Flip, mShape.caps, flags), [&]() -> HRESULT {
            if (mBackBuffer == nullptr)
                return DDERR_NOTFLIPPABLE;
            if ((target != nullptr && target != mBackBuffer) || (flags & ~DDFLIP_WAIT) != 0)
                return DDERR_INVALIDPARAMS;
            if (mLocked || mBackBuffer->mLocked)
                return DDERR_SURFACEBUSY;
            return DD_OK;
        });
    if (result != DD_OK)
        return result;
    // A copy, not a swap: the game draws only what changed, so the back buffer
    // must still hold the frame just shown.
    std::memcpy(mPixels.data(), mBackBuffer->mPixels.data(), mPixels.size());
    Present(Bounds());
    return DD_OK;
}

HRESULT DDrawSurface::Flip(IDirectDrawSurface* target, uint32_t flags)
{
    return FlipTo(target != nullptr ? From(target) : nullptr, flags);
}

HRESULT DDrawSurface::Flip(IDirectDrawSurface7* target, uint32_t flags)
{
    return FlipTo(target != nullptr ? From(target) : nullptr, flags);
}

template <class CapsRecord, class Out>
HRESULT DDrawSurface::AttachedAs(CapsRecord* caps, Out** out)
{
    if (out != nullptr)
        *out = nullptr;
    const uint32_t wanted = caps != nullptr ? caps->dwCaps : 0;
    return DDrawRuntime::Get().RunLogged(
        DDrawCall::Of(DDrawOp::GetAttachedSurface, mShape.caps, wanted), [&]() -> HRESULT {
            if (caps == nullptr || out == nullptr)
                return DDERR_INVALIDPARAMS;
            if ((wanted & DDSCAPS_BACKBUFFER) == 0 || mBackBuffer == nullptr)
                return DDERR_NOTFOUND;
            mBackBuffer->AddRefCount();
            *out = mBackBuffer;
            return DD_OK;
        });
}

HRESULT DDrawSurface::GetAttachedSurface(DDSCAPS* caps, IDirectDrawSurface** out) { return AttachedAs(caps, out); }

HRESULT DDrawSurface::GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** out) { return AttachedAs(caps, out); }

HRESULT DDrawSurface::SetClipper(IDirectDrawClipper* clipper)
{
    DDrawClipper* previous = nullptr;
    const HRESULT result =
        DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::SetClipper, mShape.caps), [&]() -> HRESULT {
            if (clipper != nullptr)
                clipper->AddRef();
            previous = mClipper;
            mClipper = static_cast<DDrawClipper*>(clipper);
            return DD_OK;
        });
    if (previous != nullptr)
        previous->Release();
    return result;
}

HRESULT DDrawSurface::SetColorKey(uint32_t flags, DDCOLORKEY* key)
{
    return DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::SetColorKey, mShape.caps, flags), [&]() -> HRESULT {
        if (flags != DDCKEY_SRCBLT || key == nullptr)
            return DDERR_INVALIDPARAMS;
        mHasSourceKey = true;
        mSourceKey.dwColorSpaceLowValue = key->dwColorSpaceLowValue;
        mSourceKey.dwColorSpaceHighValue = key->dwColorSpaceHighValue;
        return DD_OK;
    });
}

HRESULT DDrawSurface::SetPalette(IDirectDrawPalette* palette)
{
    DDrawPalette* previous = nullptr;
    const HRESULT result =
        DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::SetPalette, mShape.caps), [&]() -> HRESULT {
            if (palette != nullptr && (mShape.format.dwFlags & DDPF_PALETTEINDEXED8) == 0)
                return DDERR_INVALIDPIXELFORMAT;
            if (palette != nullptr)
                palette->AddRef();
            previous = mPalette;
            mPalette = static_cast<DDrawPalette*>(palette);
            return DD_OK;
        });
    if (previous != nullptr)
        previous->Release();
    return result;
}

void DDrawSurface::Present(const RECT& changed)
{
    DDrawRuntime& runtime = DDrawRuntime::Get();
    HWND window;
    bool fullScreen;
    {
        std::lock_guard hold(runtime.Mutex());
        window = mDisplay->window;
        fullScreen = mDisplay->exclusive;
    }
    PresentedSurface view;
    view.pixels = mPixels.data();
    view.pitch = mPitch;
    view.width = mShape.width;
    view.height = mShape.height;
    CopyPixelFormat(view.format, mShape.format);
    runtime.GetPresenter()->Present(window, fullScreen, view, changed);
}

} // namespace Platform
