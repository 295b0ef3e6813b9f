#include "platform/sdl/SdlKeyTable.h"

#include "platform/window/VirtualKeys.h"

namespace Platform {
namespace {

uint32_t FromKeycode(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z)
        return static_cast<uint32_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9)
        return static_cast<uint32_t>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return VK_F1 + static_cast<uint32_t>(key - SDLK_F1);
    switch (key) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
    case SDLK_MODE: return VK_MENU; // which of Alt and AltGr a right Alt is, the window service tells
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_KP_1: return VK_NUMPAD0 + 1;
    case SDLK_KP_2: return VK_NUMPAD0 + 2;
    case SDLK_KP_3: return VK_NUMPAD0 + 3;
    case SDLK_KP_4: return VK_NUMPAD0 + 4;
    case SDLK_KP_5: return VK_NUMPAD0 + 5;
    case SDLK_KP_6: return VK_NUMPAD0 + 6;
    case SDLK_KP_7: return VK_NUMPAD0 + 7;
    case SDLK_KP_8: return VK_NUMPAD0 + 8;
    case SDLK_KP_9: return VK_NUMPAD9;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_PERIOD: return VK_DECIMAL;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    default: return 0;
    }
}

// The key a physical key types on a US layout.
SDL_Keycode UsKeycode(SDL_Scancode scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return SDLK_a + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return SDLK_1 + (scancode - SDL_SCANCODE_1);
    switch (scancode) {
    case SDL_SCANCODE_0: return SDLK_0;
    case SDL_SCANCODE_MINUS: return SDLK_MINUS;
    case SDL_SCANCODE_EQUALS: return SDLK_EQUALS;
    case SDL_SCANCODE_LEFTBRACKET: return SDLK_LEFTBRACKET;
    case SDL_SCANCODE_RIGHTBRACKET: return SDLK_RIGHTBRACKET;
    case SDL_SCANCODE_BACKSLASH:
    case SDL_SCANCODE_NONUSBACKSLASH: return SDLK_BACKSLASH;
    case SDL_SCANCODE_SEMICOLON: return SDLK_SEMICOLON;
    case SDL_SCANCODE_APOSTROPHE: return SDLK_QUOTE;
    case SDL_SCANCODE_GRAVE: return SDLK_BACKQUOTE;
    case SDL_SCANCODE_COMMA: return SDLK_COMMA;
    case SDL_SCANCODE_PERIOD: return SDLK_PERIOD;
    case SDL_SCANCODE_SLASH: return SDLK_SLASH;
    default: return SDL_SCANCODE_TO_KEYCODE(scancode);
    }
}

} // namespace

uint32_t VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode)
{
    uint32_t vk = FromKeycode(key);
    return vk != 0 ? vk : FromKeycode(UsKeycode(scancode));
}

} // namespace Platform
