#include "platform/d3d/D3DDevice.h"

#include "platform/d3d/D3DConstants.h"
#include "platform/d3d/D3DPrimitiveDrawer.h"
#include "platform/d3d/Direct3DObject.h"
#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawPalette.h"
#include "platform/ddraw/DDrawSurface.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace Platform {
namespace {

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Union(const RECT& a, const RECT& b)
{
    if (IsEmpty(a))
        return b;
    if (IsEmpty(b))
        return a;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

RECT Intersect(const RECT& a, const RECT& b)
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    return IsEmpty(r) ? RECT{} : r;
}

bool KnownFilters(uint32_t magnify, uint32_t minify, uint32_t mip)
{
    return (magnify == D3DTFG_POINT || magnify == D3DTFG_LINEAR) &&
           (minify == D3DTFN_POINT || minify == D3DTFN_LINEAR) && mip >= D3DTFP_NONE && mip <= D3DTFP_LINEAR;
}

bool KnownAddress(uint32_t mode) { return mode >= D3DTADDRESS_WRAP && mode <= D3DTADDRESS_BORDER; }

} // namespace

D3DDevice::D3DDevice(Direct3DObject* owner, DDrawSurface* target)
    : DDrawRefCount(DDrawObjectKind::Device), mOwner(owner), mTarget(target)
{
    mOwner->AddRef();
    mTarget->AddRef();
    mViewport = WholeTargetLocked();
}

D3DDevice::~D3DDevice()
{
    for (DDrawSurface* texture : mTextures)
        if (texture != nullptr)
            texture->Release();
    mTarget->Release();
    mOwner->Release();
}

HRESULT D3DDevice::QueryInterface(REFIID iid, void** out)
{
    IDirect3DDevice7* self = this;
    return AnswerQuery(iid, out, 0, {{IID_IDirect3DDevice7, self}, {IID_IUnknown, self}});
}

D3DVIEWPORT7 D3DDevice::WholeTargetLocked() const
{
    D3DVIEWPORT7 viewport;
    viewport.dwWidth = mTarget->GetShape().width;
    viewport.dwHeight = mTarget->GetShape().height;
    return viewport;
}

RECT D3DDevice::ViewportRectLocked() const
{
    return RECT{static_cast<int32_t>(mViewport.dwX), static_cast<int32_t>(mViewport.dwY),
                static_cast<int32_t>(mViewport.dwX + mViewport.dwWidth),
                static_cast<int32_t>(mViewport.dwY + mViewport.dwHeight)};
}

bool D3DDevice::TexturesLockedLocked() const
{
    return std::any_of(mTextures.begin(), mTextures.end(),
                       [](const DDrawSurface* texture) { return texture != nullptr && texture->IsLockedLocked(); });
}

HRESULT D3DDevice::GetCaps(D3DDEVICEDESC7* desc)
{
    return DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::GetCaps), [&]() -> HRESULT {
        if (desc == nullptr)
            return DDERR_INVALIDPARAMS;
        const DDrawSettings& settings = DDrawRuntime::Get().SettingsLocked();
        const uint32_t textureCaps = settings.alphaPaletteCap ? D3DPTEXTURECAPS_ALPHAPALETTE : 0u;
        desc->dpcLineCaps.dwTextureCaps = textureCaps;
        desc->dpcTriCaps.dwTextureCaps = textureCaps;
        desc->dwMinTextureWidth = settings.minTextureWidth;
        desc->dwMinTextureHeight = settings.minTextureHeight;
        desc->dwMaxTextureWidth = settings.maxTextureWidth;
        desc->dwMaxTextureHeight = settings.maxTextureHeight;
        desc->dwMaxTextureAspectRatio = settings.maxTextureAspectRatio;
        return DD_OK;
    });
}

HRESULT D3DDevice::EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, void* context)
{
    return DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::EnumTextureFormats), [&]() -> HRESULT {
        if (callback == nullptr)
            return DDERR_INVALIDPARAMS;
        // A copy: the callback may change the settings.
        const std::vector<DDPIXELFORMAT> formats = DDrawRuntime::Get().SettingsLocked().textureFormats;
        for (const DDPIXELFORMAT& format : formats) {
            DDPIXELFORMAT offered = format;
            if (callback(&offered, context) == D3DENUMRET_CANCEL)
                break;
        }
        return DD_OK;
    });
}

HRESULT D3DDevice::BeginScene()
{
    return DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::BeginScene), [&]() -> HRESULT {
        if (mInScene)
            return D3DERR_SCENE_IN_SCENE;
        mInScene = true;
        mSceneChanged = RECT{};
        return DD_OK;
    });
}

HRESULT D3DDevice::EndScene()
{
    DDrawSurface* target = nullptr;
    RECT changed{};
    const HRESULT result = DDrawRuntime::Get().RunLogged(DDrawCall::Of(DDrawOp::EndScene), [&]() -> HRESULT {
        if (!mInScene)
            return D3DERR_SCENE_NOT_IN_SCENE;
        mInScene = false;
        target = mTarget;
        changed = mSceneChanged;
        mSceneChanged = RECT{};
        return DD_OK;
    });
    if (result == DD_OK)
        Present(target, changed);
    return result;
}

void D3DDevice::NoteChangedLocked(const RECT& changed) { mSceneChanged = Union(mSceneChanged, changed); }

void D3DDevice::Present(DDrawSurface* target, const RECT& changed)
{
    // The device holds its target; only this thread changes it.
    if (target != nullptr)
        target->PresentIfPrimary(changed);
}

HRESULT D3DDevice::SetRenderTarget(IDirectDrawSurface7* target, uint32_t flags)
{
    DDrawSurface* surface = target != nullptr ? DDrawSurface::From(target) : nullptr;
    DDrawCall call = DDrawCall::Of(DDrawOp::SetRenderTarget, surface != nullptr ? surface->Caps() : 0, flags);
    call.surface = surface;
    DDrawSurface* previous = nullptr;
    RECT previousChanged{};
    const HRESULT result = DDrawRuntime::Get().RunLogged(std::move(call), [&]() -> HRESULT {
        if (flags != 0)
            return DDERR_INVALIDPARAMS;
        const HRESULT checked = Direct3DObject::CheckRenderTargetLocked(surface);
        if (checked != DD_OK)
            return checked;
        surface->AddRef();
        previous = mTarget;
        // What the scene drew into the former target is shown now.
        previousChanged = mSceneChanged;
        mSceneChanged = RECT{};
        mTarget = surface;
        mViewport = WholeTargetLocked();
        return DD_OK;
    });
    if (previous != nullptr) {
        if (!IsEmpty(previousChanged))
            Present(previous, previousChanged);
        previous->Release();
    }
    return result;
}

HRESULT D3DDevice::GetRenderTarget(IDirectDrawSurface7** out)
{
    if (out == nullptr)
        return DDERR_INVALIDPARAMS;
    std::lock_guard hold(DDrawRuntime::Get().Mutex());
    mTarget->AddRef();
    *out = mTarget->AsSurface7();
    return DD_OK;
}

HRESULT D3DDevice::SetViewport(D3DVIEWPORT7* viewport)
{
    DDrawCall call = DDrawCall::Of(DDrawOp::SetViewport);
    if (viewport != nullptr) {
        call.viewport = RECT{static_cast<int32_t>(viewport->dwX), static_cast<int32_t>(viewport->dwY),
                             static_cast<int32_t>(viewport->dwX + viewport->dwWidth),
                             static_cast<int32_t>(viewport->dwY + viewport->dwHeight)};
        call.minZ = viewport->dvMinZ;
        call.maxZ = viewport->dvMaxZ;
    }
    return DDrawRuntime::Get().RunLogged(std::move(call), [&]() -> HRESULT {
        if (viewport == nullptr || viewport->dwWidth == 0 || viewport->dwHeight == 0 ||
            !std::isfinite(viewport->dvMinZ) || !std::isfinite(viewport->dvMaxZ))
            return DDERR_INVALIDPARAMS;
        const DDrawSurface::Shape& shape = mTarget->GetShape();
        if (uint64_t{viewport->dwX} + viewport->dwWidth > shape.width ||
            uint64_t{viewport->dwY} + viewport->dwHeight > shape.height)
            return DDERR_INVALIDPARAMS;
        mViewport = *viewport;
        return DD_OK;
    });
}

HRESULT D3DDevice::GetViewport(D3DVIEWPORT7* viewport)
{
    if (viewport == nullptr)
        return DDERR_INVALIDPARAMS;
    std::lock_guard hold(DDrawRuntime::Get().Mutex());
    *viewport = mViewport;
    return DD_OK;
}

HRESULT D3DDevice::SetRenderState(uint32_t state, uint32_t value)
{
    DDrawCall call = DDrawCall::Of(DDrawOp::SetRenderState);
    call.state = state;
    call.value = value;
    return DDrawRuntime::Get().RunLogged(std::move(call), [&]() -> HRESULT {
        mStates.SetRender(state, value);
        return DD_OK;
    });
}

HRESULT D3DDevice::GetRenderState(uint32_t state, uint32_t* value)
{
    if (value == nullptr)
        return DDERR_INVALIDPARAMS;
    std::lock_guard hold(DDrawRuntime::Get().Mutex());
    *value = mStates.Render(state);
    return DD_OK;
}

HRESULT D3DDevice::SetTexture(uint32_t stage, IDirectDrawSurface7* texture)
{
    DDrawSurface* surface = texture != nullptr ? DDrawSurface::From(texture) : nullptr;
    DDrawCall call = DDrawCall::Of(DDrawOp::SetTexture, surface != nullptr ? surface->Caps() : 0);
    call.stage = stage;
    call.surface = surface;
    DDrawSurface* previous = nullptr;
    const HRESULT result = DDrawRuntime::Get().RunLogged(std::move(call), [&]() -> HRESULT {
        if (stage >= D3DDeviceStates::kStages)
            return DDERR_INVALIDPARAMS;
        if (surface != nullptr && (surface->Caps() & DDSCAPS_TEXTURE) == 0)
            return DDERR_INVALIDPARAMS;
        if (surface != nullptr)
            surface->AddRef();
        previous = mTextures[stage];
        mTextures[stage] = surface;
        return DD_OK;
    });
    if (previous != nullptr)
        previous->Release();
    return result;
}

HRESULT D3DDevice::GetTexture(uint32_t stage, IDirectDrawSurface7** out)
{
    if (out == nullptr)
        return DDERR_INVALIDPARAMS;
    *out = nullptr;
    if (stage >= D3DDeviceStates::kStages)
        return DDERR_INVALIDPARAMS;
    std::lock_guard hold(DDrawRuntime::Get().Mutex());
    if (mTextures[stage] != nullptr) {
        mTextures[stage]->AddRef();
        *out = mTextures[stage]->AsSurface7();
    }
    return DD_OK;
}

HRESULT D3DDevice::SetTextureStageState(uint32_t stage, uint32_t state, uint32_t value)
{
    DDrawCall call = DDrawCall::Of(DDrawOp::SetTextureStageState);
    call.stage = stage;
    call.state = state;
    call.value = value;
    return DDrawRuntime::Get().RunLogged(std::move(call), [&]() -> HRESULT {
        if (stage >= D3DDeviceStates::kStages)
            return DDERR_INVALIDPARAMS;
        mStates.SetStage(stage, state, value);
        return DD_OK;
    });
}

HRESULT D3DDevice::GetTextureStageState(uint32_t stage, uint32_t state, uint32_t* value)
{
    if (value == nullptr || stage >= D3DDeviceStates::kStages)
        return DDERR_INVALIDPARAMS;
    std::lock_guard hold(DDrawRuntime::Get().Mutex());
    *value = mStates.Stage(stage, state);
    return DD_OK;
}

HRESULT D3DDevice::Clear(uint32_t count, D3DRECT* rects, uint32_t flags, uint32_t colour, float, uint32_t)
{
    DDrawCall call = DDrawCall::Of(DDrawOp::Clear, mTarget->Caps(), flags);
    call.count = count;
    call.colour = colour;
    if (rects != nullptr)
        for (uint32_t i = 0; i < count; ++i)
            call.rects.push_back(RECT{rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2});
    DDrawSurface* target = nullptr;
    bool show = false;
    RECT changed{};
    const HRESULT result = DDrawRuntime::Get().RunLogged(std::move(call), [&]() -> HRESULT {
        const HRESULT cleared = ClearLocked(count, rects, flags, colour, changed);
        if (cleared == DD_OK) {
            if (mInScene)
                NoteChangedLocked(changed);
            target = mTarget;
            show = !mInScene;
        }
        return cleared;
    });
    if (show)
        Present(target, changed);
    return result;
}

HRESULT D3DDevice::ClearLocked(uint32_t count, const D3DRECT* rects, uint32_t flags, uint32_t colour, RECT& changed)
{
    if (flags == 0 || (flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) != 0)
        return DDERR_INVALIDPARAMS;
    // No depth or stencil buffer exists.
    if (flags & D3DCLEAR_ZBUFFER)
        return D3DERR_ZBUFFER_NOTPRESENT;
    if (flags & D3DCLEAR_STENCIL)
        return D3DERR_STENCILBUFFER_NOTPRESENT;
    if (count > 0 && rects == nullptr)
        return DDERR_INVALIDPARAMS;
    if (mTarget->IsLockedLocked())
        return DDERR_SURFACEBUSY;
    const RECT viewport = ViewportRectLocked();
    std::vector<RECT> areas;
    if (count == 0)
        areas.push_back(viewport);
    for (uint32_t i = 0; i < count; ++i)
        areas.push_back(Intersect(RECT{rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2}, viewport));
    const D3DPixelLayout layout = D3DPixelLayout::FromFormat(mTarget->GetShape().format);
    const uint32_t value = layout.Encode(colour);
    uint8_t* pixels = mTarget->PixelsLocked();
    const int64_t pitch = mTarget->Pitch();
    for (const RECT& area : areas) {
        if (IsEmpty(area))
            continue;
        for (int32_t y = area.top; y < area.bottom; ++y)
            for (int32_t x = area.left; x < area.right; ++x)
                layout.Store(pixels + y * pitch + int64_t{x} * layout.Bytes(), value);
        changed = Union(changed, area);
    }
    return DD_OK;
}

HRESULT D3DDevice::DrawPrimitive(uint32_t type, uint32_t vertexFormat, void* vertices, uint32_t count,
                                 uint32_t flags)
{
    DDrawCall call = DDrawCall::Of(DDrawOp::DrawPrimitive, mTarget->Caps(), flags);
    call.primitiveType = type;
    call.vertexFormat = vertexFormat;
    call.count = count;
    const D3DVertexLayout layout = D3DVertexLayout::Of(vertexFormat);
    if (vertices != nullptr && layout.stride != 0 && DDrawRuntime::Get().LogsCalls()) {
        const uint8_t* bytes = static_cast<const uint8_t*>(vertices);
        call.vertices.assign(bytes, bytes + size_t{count} * layout.stride);
    }
    RECT changed{};
    return DDrawRuntime::Get().RunLogged(std::move(call), [&]() -> HRESULT {
        const HRESULT drawn = DrawLocked(type, vertexFormat, vertices, count, flags, changed);
        if (drawn == DD_OK)
            NoteChangedLocked(changed);
        return drawn;
    });
}

HRESULT D3DDevice::DrawLocked(uint32_t type, uint32_t vertexFormat, const void* vertices, uint32_t count,
                              uint32_t flags, RECT& changed)
{
    if (!mInScene)
        return D3DERR_SCENE_NOT_IN_SCENE;
    if ((flags & ~D3DDP_WAIT) != 0 || (vertices == nullptr && count > 0))
        return DDERR_INVALIDPARAMS;
    const D3DVertexLayout layout = D3DVertexLayout::Of(vertexFormat);
    if (layout.stride == 0)
        return D3DERR_INVALIDVERTEXFORMAT;
    if (type < D3DPT_POINTLIST || type > D3DPT_TRIANGLEFAN)
        return D3DERR_INVALIDPRIMITIVETYPE;
    if (mTarget->IsLockedLocked() || TexturesLockedLocked())
        return DDERR_SURFACEBUSY;
    const uint32_t cull = mStates.Render(D3DRENDERSTATE_CULLMODE);
    if (cull < D3DCULL_NONE || cull > D3DCULL_CCW)
        return DDERR_INVALIDPARAMS;

    std::array<D3DStageOps, D3DPixelPipeline::kStages> stages;
    for (uint32_t s = 0; s < D3DDeviceStates::kStages; ++s) {
        stages[s].colourOp = mStates.Stage(s, D3DTSS_COLOROP);
        stages[s].colourArg1 = mStates.Stage(s, D3DTSS_COLORARG1);
        stages[s].colourArg2 = mStates.Stage(s, D3DTSS_COLORARG2);
        stages[s].alphaOp = mStates.Stage(s, D3DTSS_ALPHAOP);
        stages[s].alphaArg1 = mStates.Stage(s, D3DTSS_ALPHAARG1);
        stages[s].alphaArg2 = mStates.Stage(s, D3DTSS_ALPHAARG2);
    }
    D3DPixelPipeline pipeline;
    const HRESULT set = pipeline.Set(stages, mStates.Render(D3DRENDERSTATE_TEXTUREFACTOR),
                                     mStates.Render(D3DRENDERSTATE_SPECULARENABLE) != 0,
                                     mStates.Render(D3DRENDERSTATE_ALPHABLENDENABLE) != 0,
                                     mStates.Render(D3DRENDERSTATE_SRCBLEND), mStates.Render(D3DRENDERSTATE_DESTBLEND));
    if (set != DD_OK)
        return set;

    const bool alphaPalette = DDrawRuntime::Get().SettingsLocked().alphaPaletteCap;
    std::vector<std::optional<D3DTextureSampler>> samplers(static_cast<size_t>(pipeline.StageCount()));
    for (uint32_t s = 0; s < samplers.size(); ++s) {
        if (!KnownFilters(mStates.Stage(s, D3DTSS_MAGFILTER), mStates.Stage(s, D3DTSS_MINFILTER),
                          mStates.Stage(s, D3DTSS_MIPFILTER)))
            return D3DERR_UNSUPPORTEDTEXTUREFILTER;
        DDrawSurface* texture = mTextures[s];
        if (texture == nullptr)
            continue;
        const uint32_t addressU = mStates.Stage(s, D3DTSS_ADDRESSU);
        const uint32_t addressV = mStates.Stage(s, D3DTSS_ADDRESSV);
        if (!KnownAddress(addressU) || !KnownAddress(addressV))
            return DDERR_INVALIDPARAMS;
        const DDrawSurface::Shape& shape = texture->GetShape();
        if (shape.format.dwFlags & DDPF_PALETTEINDEXED8) {
            const DDrawPalette* palette = texture->PaletteLocked();
            if (palette == nullptr)
                return DDERR_NOPALETTEATTACHED;
            const bool withAlpha = alphaPalette && (palette->Caps() & DDPCAPS_ALPHA) != 0;
            std::array<uint32_t, 256> colours;
            for (size_t i = 0; i < colours.size(); ++i) {
                const PALETTEENTRY& entry = palette->Entries()[i];
                const uint32_t alpha = withAlpha ? entry.peFlags : 0xFFu;
                colours[i] = (alpha << 24) | (uint32_t{entry.peRed} << 16) | (uint32_t{entry.peGreen} << 8) |
                             entry.peBlue;
            }
            samplers[s].emplace(texture->PixelsLocked(), texture->Pitch(), shape.width, shape.height, colours);
        } else {
            samplers[s].emplace(texture->PixelsLocked(), texture->Pitch(), shape.width, shape.height,
                                D3DPixelLayout::FromFormat(shape.format));
        }
        samplers[s]->SetAddressing(addressU, addressV, mStates.Stage(s, D3DTSS_BORDERCOLOR));
        samplers[s]->SetFilters(mStates.Stage(s, D3DTSS_MAGFILTER) == D3DTFG_LINEAR,
                                mStates.Stage(s, D3DTSS_MINFILTER) == D3DTFN_LINEAR);
    }

    D3DRenderTarget target;
    target.pixels = mTarget->PixelsLocked();
    target.pitch = mTarget->Pitch();
    target.layout = D3DPixelLayout::FromFormat(mTarget->GetShape().format);
    target.viewport = ViewportRectLocked();
    D3DPrimitiveDrawer drawer(target, pipeline, std::move(samplers), cull);
    drawer.Draw(type, layout, static_cast<const uint8_t*>(vertices), count);
    changed = drawer.Changed();
    return DD_OK;
}

} // namespace Platform
