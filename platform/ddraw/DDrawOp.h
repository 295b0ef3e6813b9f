// The operations of the DirectDraw and Direct3D stand-ins that tests can make
// fail and that the call log records.
#pragma once

namespace Platform {

enum class DDrawOp {
    DirectDrawCreate,
    DirectDrawCreateEx,
    QueryInterface,
    SetCooperativeLevel,
    SetDisplayMode,
    CreateSurface,
    CreateClipper,
    SetHWnd,
    SetClipper,
    GetAttachedSurface,
    GetMonitorFrequency,
    Lock,
    Unlock,
    Blt,
    Flip,
    SetColorKey,
    CreatePalette,
    SetPalette,
    FlipToGDISurface,
    GetDeviceIdentifier,
    GetAvailableVidMem,
    // The Direct3D device's.
    CreateDevice,
    GetCaps,
    EnumTextureFormats,
    SetViewport,
    Clear,
    SetRenderTarget,
    BeginScene,
    EndScene,
    SetTexture,
    SetRenderState,
    SetTextureStageState,
    DrawPrimitive,
};

// The operation's name, for test messages.
const char* DDrawOpName(DDrawOp op);

} // namespace Platform
