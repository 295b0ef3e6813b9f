#include "platform/sdl/SdlTestSupport.h"

#include "platform/sdl/SdlKeyTable.h"
#include "platform/window/WindowObject.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

namespace Platform::SdlTestSupport {
namespace {

uint32_t SdlIdOf(WindowHandle window)
{
    if (window == nullptr || window->native == nullptr)
        return 0;
    return SDL_GetWindowID(static_cast<SDL_Window*>(window->native));
}

} // namespace

void UseDummyDrivers()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

uint32_t VirtualKeyForKeyName(const char* keyName)
{
    SDL_Keycode key = SDL_GetKeyFromName(keyName);
    if (key == SDLK_UNKNOWN)
        return 0;
    return VirtualKeyFromSdl(key, SDL_GetScancodeFromKey(key));
}

bool PushKey(WindowHandle window, const char* keyName, bool down, bool repeat)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = SdlIdOf(window);
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = SDL_GetKeyFromName(keyName);
    event.key.keysym.scancode = SDL_GetScancodeFromKey(event.key.keysym.sym);
    return event.key.keysym.sym != SDLK_UNKNOWN && SDL_PushEvent(&event) == 1;
}

bool PushText(WindowHandle window, const std::string& utf8)
{
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    event.text.windowID = SdlIdOf(window);
    if (utf8.size() >= sizeof event.text.text)
        return false;
    std::memcpy(event.text.text, utf8.c_str(), utf8.size() + 1);
    return SDL_PushEvent(&event) == 1;
}

bool PushMouseButton(WindowHandle window, int button, bool down, int clicks, int x, int y)
{
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = SdlIdOf(window);
    event.button.button = static_cast<uint8_t>(button);
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = static_cast<uint8_t>(clicks);
    event.button.x = x;
    event.button.y = y;
    return SDL_PushEvent(&event) == 1;
}

bool PushMouseMotion(WindowHandle window, int x, int y)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = SdlIdOf(window);
    event.motion.x = x;
    event.motion.y = y;
    return SDL_PushEvent(&event) == 1;
}

bool PushQuit()
{
    SDL_Event event{};
    event.type = SDL_QUIT;
    return SDL_PushEvent(&event) == 1;
}

std::string ReadClipboardUtf8()
{
    char* text = SDL_GetClipboardText();
    std::string copy = text ? text : "";
    SDL_free(text);
    return copy;
}

bool WriteClipboardUtf8(const std::string& utf8)
{
    return SDL_SetClipboardText(utf8.c_str()) == 0;
}

} // namespace Platform::SdlTestSupport
