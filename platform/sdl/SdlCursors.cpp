#include "platform/sdl/SdlCursors.h"

#include "platform/cursor/CursorMasks.h"

#include <SDL.h>

namespace Platform {
namespace {

SDL_SystemCursor SystemCursorFor(uint32_t id)
{
    switch (id) {
    case IDC_IBEAM: return SDL_SYSTEM_CURSOR_IBEAM;
    case IDC_WAIT: return SDL_SYSTEM_CURSOR_WAIT;
    case IDC_SIZENWSE: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case IDC_SIZENESW: return SDL_SYSTEM_CURSOR_SIZENESW;
    case IDC_SIZEWE: return SDL_SYSTEM_CURSOR_SIZEWE;
    case IDC_SIZENS: return SDL_SYSTEM_CURSOR_SIZENS;
    case IDC_SIZEALL: return SDL_SYSTEM_CURSOR_SIZEALL;
    case IDC_NO: return SDL_SYSTEM_CURSOR_NO;
    default: return SDL_SYSTEM_CURSOR_ARROW;
    }
}

} // namespace

SdlCursors::~SdlCursors()
{
    DestroyAllNative();
}

void SdlCursors::NativeCreate(CursorObject& cursor)
{
    if (cursor.systemId != 0) {
        cursor.native = SDL_CreateSystemCursor(SystemCursorFor(cursor.systemId));
        return;
    }
    SdlCursorBits bits = ConvertCursorMasks(cursor.andMask, cursor.xorMask);
    cursor.native = SDL_CreateCursor(bits.data.data(), bits.mask.data(), cursor.width, cursor.height, cursor.hotX,
                                     cursor.hotY);
}

void SdlCursors::NativeDestroy(CursorObject& cursor)
{
    if (cursor.native != nullptr)
        SDL_FreeCursor(static_cast<SDL_Cursor*>(cursor.native));
    cursor.native = nullptr;
}

void SdlCursors::NativeShow(CursorObject* cursor)
{
    if (cursor == nullptr || cursor->native == nullptr) {
        SDL_ShowCursor(cursor == nullptr ? SDL_DISABLE : SDL_ENABLE);
        return;
    }
    SDL_SetCursor(static_cast<SDL_Cursor*>(cursor->native));
    SDL_ShowCursor(SDL_ENABLE);
}

} // namespace Platform
