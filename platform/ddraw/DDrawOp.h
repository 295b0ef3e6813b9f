// The operations of the DirectDraw stand-in that tests can make fail and that
// the call log records.
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
};

// The operation's name, for test messages.
const char* DDrawOpName(DDrawOp op);

} // namespace Platform
