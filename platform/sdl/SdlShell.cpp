#include "platform/sdl/SdlShell.h"

#include "platform/codepage/CodePages.h"

#include <SDL.h>

namespace Platform {

bool SdlShell::OpenUrl(const std::string& url)
{
    std::string utf8 = WideCharToMultiByte(CP_UTF8, MultiByteToWideChar(CP_ACP, url));
    return SDL_OpenURL(utf8.c_str()) == 0;
}

} // namespace Platform
