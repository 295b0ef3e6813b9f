#include "platform/sdl/SdlClipboard.h"

#include "platform/codepage/CodePages.h"

#include <SDL.h>

namespace Platform {

bool SdlClipboard::SetText(const std::string& ansiText)
{
    std::string utf8 = WideCharToMultiByte(CP_UTF8, MultiByteToWideChar(CP_ACP, ansiText));
    return SDL_SetClipboardText(utf8.c_str()) == 0;
}

std::optional<std::string> SdlClipboard::GetText()
{
    if (SDL_HasClipboardText() != SDL_TRUE)
        return std::nullopt;
    char* text = SDL_GetClipboardText();
    if (text == nullptr)
        return std::nullopt;
    // Other programs may put any bytes there: damage becomes U+FFFD, then '?'.
    std::string ansi = WideCharToMultiByte(CP_ACP, MultiByteToWideChar(CP_UTF8, text));
    SDL_free(text);
    return ansi;
}

} // namespace Platform
