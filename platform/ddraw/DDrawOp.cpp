#include "platform/ddraw/DDrawOp.h"

namespace Platform {

const char* DDrawOpName(DDrawOp op)
{
    switch (op) {
    case DDrawOp::DirectDrawCreate: return "DirectDrawCreate";
    case DDrawOp::DirectDrawCreateEx: return "DirectDrawCreateEx";
    case DDrawOp::QueryInterface: return "QueryInterface";
    case DDrawOp::SetCooperativeLevel: return "SetCooperativeLevel";
    case DDrawOp::SetDisplayMode: return "SetDisplayMode";
    case DDrawOp::CreateSurface: return "CreateSurface";
    case DDrawOp::CreateClipper: return "CreateClipper";
    case DDrawOp::SetHWnd: return "SetHWnd";
    case DDrawOp::SetClipper: return "SetClipper";
    case DDrawOp::GetAttachedSurface: return "GetAttachedSurface";
    case DDrawOp::GetMonitorFrequency: return "GetMonitorFrequency";
    case DDrawOp::Lock: return "Lock";
    case DDrawOp::Unlock: return "Unlock";
    case DDrawOp::Blt: return "Blt";
    case DDrawOp::Flip: return "Flip";
    case DDrawOp::SetColorKey: return "SetColorKey";
    case DDrawOp::CreatePalette: return "CreatePalette";
    case DDrawOp::SetPalette: return "SetPalette";
    case DDrawOp::FlipToGDISurface: return "FlipToGDISurface";
    case DDrawOp::GetDeviceIdentifier: return "GetDeviceIdentifier";
    case DDrawOp::GetAvailableVidMem: return "GetAvailableVidMem";
    case DDrawOp::CreateDevice: return "CreateDevice";
    case DDrawOp::GetCaps: return "GetCaps";
    case DDrawOp::EnumTextureFormats: return "EnumTextureFormats";
    case DDrawOp::SetViewport: return "SetViewport";
    case DDrawOp::Clear: return "Clear";
    case DDrawOp::SetRenderTarget: return "SetRenderTarget";
    case DDrawOp::BeginScene: return "BeginScene";
    case DDrawOp::EndScene: return "EndScene";
    case DDrawOp::SetTexture: return "SetTexture";
    case DDrawOp::SetRenderState: return "SetRenderState";
    case DDrawOp::SetTextureStageState: return "SetTextureStageState";
    case DDrawOp::DrawPrimitive: return "DrawPrimitive";
    }
    return "?";
}

} // namespace Platform
