// The DirectDraw interfaces the display code calls: the DirectDraw object in its
// first and seventh versions, surfaces in both versions, clippers and palettes.
// Each is a table of operations on a counted object: AddRef and Release return
// the new count, and QueryInterface hands out another interface of the same
// object with a reference added. Objects are freed by their last Release only.
#pragma once

#include "platform/ddraw/DDrawTypes.h"

#include <cstdint>

namespace Platform {

class IUnknown {
public:
    virtual HRESULT QueryInterface(REFIID iid, void** out) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

class IDirectDrawClipper : public IUnknown {
public:
    // Binds the clipper to a window: blits through it are cut to the window's
    // client area in screen coordinates. The flags must be 0.
    virtual HRESULT SetHWnd(uint32_t flags, HWND window) = 0;

protected:
    ~IDirectDrawClipper() = default;
};

class IDirectDrawPalette : public IUnknown {
public:
    // Copies entries [start, start + count) of the 256; the flags must be 0.
    virtual HRESULT GetEntries(uint32_t flags, uint32_t start, uint32_t count, PALETTEENTRY* entries) = 0;

protected:
    ~IDirectDrawPalette() = default;
};

class IDirectDrawSurface : public IUnknown {
public:
    virtual HRESULT Blt(RECT* destRect, IDirectDrawSurface* source, RECT* sourceRect, uint32_t flags,
                        DDBLTFX* effects) = 0;
    virtual HRESULT Flip(IDirectDrawSurface* target, uint32_t flags) = 0;
    virtual HRESULT GetAttachedSurface(DDSCAPS* caps, IDirectDrawSurface** out) = 0;
    virtual HRESULT GetSurfaceDesc(DDSURFACEDESC* desc) = 0;
    virtual HRESULT Lock(RECT* rect, DDSURFACEDESC* desc, uint32_t flags, void* event) = 0;
    // The argument (the locked memory on the original platform) is not looked at.
    virtual HRESULT Unlock(void* surfaceData) = 0;
    virtual HRESULT SetClipper(IDirectDrawClipper* clipper) = 0;
    virtual HRESULT SetColorKey(uint32_t flags, DDCOLORKEY* key) = 0;
    virtual HRESULT SetPalette(IDirectDrawPalette* palette) = 0;

protected:
    ~IDirectDrawSurface() = default;
};

class IDirectDrawSurface7 : public IUnknown {
public:
    virtual HRESULT Blt(RECT* destRect, IDirectDrawSurface7* source, RECT* sourceRect, uint32_t flags,
                        DDBLTFX* effects) = 0;
    virtual HRESULT Flip(IDirectDrawSurface7* target, uint32_t flags) = 0;
    virtual HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** out) = 0;
    virtual HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc) = 0;
    virtual HRESULT Lock(RECT* rect, DDSURFACEDESC2* desc, uint32_t flags, void* event) = 0;
    // Only the whole surface is locked, so the rectangle must be null.
    virtual HRESULT Unlock(RECT* rect) = 0;
    virtual HRESULT SetClipper(IDirectDrawClipper* clipper) = 0;
    virtual HRESULT SetColorKey(uint32_t flags, DDCOLORKEY* key) = 0;
    virtual HRESULT SetPalette(IDirectDrawPalette* palette) = 0;

protected:
    ~IDirectDrawSurface7() = default;
};

class IDirectDraw : public IUnknown {
public:
    virtual HRESULT CreateClipper(uint32_t flags, IDirectDrawClipper** out, IUnknown* outer) = 0;
    virtual HRESULT CreatePalette(uint32_t flags, PALETTEENTRY* entries, IDirectDrawPalette** out,
                                  IUnknown* outer) = 0;
    virtual HRESULT CreateSurface(DDSURFACEDESC* desc, IDirectDrawSurface** out, IUnknown* outer) = 0;
    virtual HRESULT FlipToGDISurface() = 0;
    virtual HRESULT GetMonitorFrequency(uint32_t* hz) = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, uint32_t flags) = 0;
    virtual HRESULT SetDisplayMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel) = 0;

protected:
    ~IDirectDraw() = default;
};

class IDirectDraw7 : public IUnknown {
public:
    virtual HRESULT CreateClipper(uint32_t flags, IDirectDrawClipper** out, IUnknown* outer) = 0;
    virtual HRESULT CreatePalette(uint32_t flags, PALETTEENTRY* entries, IDirectDrawPalette** out,
                                  IUnknown* outer) = 0;
    virtual HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** out, IUnknown* outer) = 0;
    virtual HRESULT FlipToGDISurface() = 0;
    virtual HRESULT GetMonitorFrequency(uint32_t* hz) = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, uint32_t flags) = 0;
    // The adapter's driver, description and identity; the flags must be 0.
    virtual HRESULT GetDeviceIdentifier(DDDEVICEIDENTIFIER2* identifier, uint32_t flags) = 0;
    // Bytes of memory of the kind the caps name; either count may be null.
    virtual HRESULT GetAvailableVidMem(DDSCAPS2* caps, uint32_t* total, uint32_t* free) = 0;

protected:
    ~IDirectDraw7() = default;
};

} // namespace Platform
