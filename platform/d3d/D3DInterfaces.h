// The Direct3D 7 interfaces the display code calls: the Direct3D object of a
// DirectDraw object, which makes devices, and the immediate-mode device that
// draws pre-transformed, pre-lit vertices into a DirectDraw surface. Both are
// counted objects like those of DDrawInterfaces.h.
#pragma once

#include "platform/d3d/D3DTypes.h"
#include "platform/ddraw/DDrawInterfaces.h"

#include <cstdint>

namespace Platform {

class IDirect3DDevice7 : public IUnknown {
public:
    virtual HRESULT GetCaps(D3DDEVICEDESC7* desc) = 0;
    virtual HRESULT EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, void* context) = 0;
    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;
    // The flags must be 0.
    virtual HRESULT SetRenderTarget(IDirectDrawSurface7* target, uint32_t flags) = 0;
    virtual HRESULT GetRenderTarget(IDirectDrawSurface7** out) = 0;
    virtual HRESULT Clear(uint32_t count, D3DRECT* rects, uint32_t flags, uint32_t colour, float z,
                          uint32_t stencil) = 0;
    virtual HRESULT SetViewport(D3DVIEWPORT7* viewport) = 0;
    virtual HRESULT GetViewport(D3DVIEWPORT7* viewport) = 0;
    virtual HRESULT SetRenderState(uint32_t state, uint32_t value) = 0;
    virtual HRESULT GetRenderState(uint32_t state, uint32_t* value) = 0;
    virtual HRESULT SetTexture(uint32_t stage, IDirectDrawSurface7* texture) = 0;
    virtual HRESULT GetTexture(uint32_t stage, IDirectDrawSurface7** out) = 0;
    virtual HRESULT SetTextureStageState(uint32_t stage, uint32_t state, uint32_t value) = 0;
    virtual HRESULT GetTextureStageState(uint32_t stage, uint32_t state, uint32_t* value) = 0;
    virtual HRESULT DrawPrimitive(uint32_t type, uint32_t vertexFormat, void* vertices, uint32_t count,
                                  uint32_t flags) = 0;

protected:
    ~IDirect3DDevice7() = default;
};

class IDirect3D7 : public IUnknown {
public:
    // Only IID_IDirect3DHALDevice exists.
    virtual HRESULT CreateDevice(REFIID device, IDirectDrawSurface7* target, IDirect3DDevice7** out) = 0;

protected:
    ~IDirect3D7() = default;
};

} // namespace Platform
