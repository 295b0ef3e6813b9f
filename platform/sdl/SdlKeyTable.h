// SDL keys to Windows' US-layout virtual-key codes. The key code is tried
// first, so letters follow the user's layout as Windows' codes do; keys whose
// code has no Windows counterpart on this layout fall back to the physical
// key's US meaning. 0 for keys without a code.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace Platform {

uint32_t VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode);

} // namespace Platform
