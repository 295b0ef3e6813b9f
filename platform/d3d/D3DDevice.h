// The Direct3D stand-in's device: an immediate-mode software device that
// draws pre-transformed, pre-lit vertices into its render target's memory
// during each call, so that locks and DirectDraw blits between draws see the
// pixels in call order. It keeps the render and texture-stage states, the
// viewport and the scene, holds references on its render target, its textures
// and its Direct3D object, and shows a primary render target through the
// presenter after each scene and each Clear outside a scene.
#pragma once

#include "platform/d3d/D3DDeviceStates.h"
#include "platform/d3d/D3DInterfaces.h"
#include "platform/ddraw/DDrawRefCount.h"

#include <array>

namespace Platform {

class DDrawSurface;
class Direct3DObject;

class D3DDevice final : public IDirect3DDevice7, private DDrawRefCount {
public:
    // Under the stand-in's mutex, with a checked target; adds references to both.
    D3DDevice(Direct3DObject* owner, DDrawSurface* target);

    HRESULT QueryInterface(REFIID iid, void** out) override;
    uint32_t AddRef() override { return AddRefCount(); }
    uint32_t Release() override { return ReleaseCount(); }

    HRESULT GetCaps(D3DDEVICEDESC7* desc) override;
    HRESULT EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, void* context) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT SetRenderTarget(IDirectDrawSurface7* target, uint32_t flags) override;
    HRESULT GetRenderTarget(IDirectDrawSurface7** out) override;
    HRESULT Clear(uint32_t count, D3DRECT* rects, uint32_t flags, uint32_t colour, float z,
                  uint32_t stencil) override;
    HRESULT SetViewport(D3DVIEWPORT7* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT7* viewport) override;
    HRESULT SetRenderState(uint32_t state, uint32_t value) override;
    HRESULT GetRenderState(uint32_t state, uint32_t* value) override;
    HRESULT SetTexture(uint32_t stage, IDirectDrawSurface7* texture) override;
    HRESULT GetTexture(uint32_t stage, IDirectDrawSurface7** out) override;
    HRESULT SetTextureStageState(uint32_t stage, uint32_t state, uint32_t value) override;
    HRESULT GetTextureStageState(uint32_t stage, uint32_t state, uint32_t* value) override;
    HRESULT DrawPrimitive(uint32_t type, uint32_t vertexFormat, void* vertices, uint32_t count,
                          uint32_t flags) override;

private:
    ~D3DDevice() override;

    // The whole of the render target.
    D3DVIEWPORT7 WholeTargetLocked() const;
    RECT ViewportRectLocked() const;
    bool TexturesLockedLocked() const;
    HRESULT ClearLocked(uint32_t count, const D3DRECT* rects, uint32_t flags, uint32_t colour, RECT& changed);
    HRESULT DrawLocked(uint32_t type, uint32_t vertexFormat, const void* vertices, uint32_t count, uint32_t flags,
                       RECT& changed);
    // Adds to the rectangle the scene changed.
    void NoteChangedLocked(const RECT& changed);
    // Tells the presenter, when the target is a primary, outside the mutex.
    void Present(DDrawSurface* target, const RECT& changed);

    Direct3DObject* const mOwner;
    // Guarded by the stand-in's mutex.
    DDrawSurface* mTarget;
    std::array<DDrawSurface*, D3DDeviceStates::kStages> mTextures{};
    D3DDeviceStates mStates;
    D3DVIEWPORT7 mViewport;
    bool mInScene = false;
    RECT mSceneChanged{};
};

} // namespace Platform
