#include "platform/sdl/SdlDialogs.h"

#include "platform/codepage/CodePages.h"
#include "platform/dialog/TerminalPrompt.h"
#include "platform/sdl/SdlWindowSystem.h"

#include <SDL.h>

#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace Platform {
namespace {

// The controlling terminal answers the prompts only when standard input is one.
bool CanAskOnTerminal()
{
    return isatty(STDIN_FILENO) == 1;
}

} // namespace

SdlDialogs::SdlDialogs(SdlWindowSystem& windows)
    : mWindows(windows)
{
}

int SdlDialogs::MessageBoxW(WindowHandle owner, const std::wstring& text, const std::wstring& caption,
                            uint32_t flags)
{
    std::string textUtf8 = WideCharToMultiByte(CP_UTF8, text);
    std::string captionUtf8 = WideCharToMultiByte(CP_UTF8, caption);
    bool yesNo = (flags & kMessageBoxTypeMask) == MB_YESNO;
    // Enter takes the first button; no button answers Escape, so closing gives -1.
    SDL_MessageBoxButtonData yesNoButtons[] = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
                                               {0, IDNO, "No"}};
    SDL_MessageBoxButtonData okButton[] = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDOK, "OK"}};
    uint32_t icon = flags & kMessageBoxIconMask;
    SDL_MessageBoxData box{};
    box.flags = icon == MB_ICONERROR     ? SDL_MESSAGEBOX_ERROR
                : icon == MB_ICONWARNING ? SDL_MESSAGEBOX_WARNING
                                         : SDL_MESSAGEBOX_INFORMATION;
    box.window = mWindows.NativeWindow(owner);
    box.title = captionUtf8.c_str();
    box.message = textUtf8.c_str();
    box.numbuttons = yesNo ? 2 : 1;
    box.buttons = yesNo ? yesNoButtons : okButton;
    int pressed = -1;
    int shown = SDL_ShowMessageBox(&box, &pressed);
    mWindows.DropPendingInput();
    if (shown != 0) {
        std::fprintf(stderr, "%s: %s\n", captionUtf8.c_str(), textUtf8.c_str());
        return 0;
    }
    return pressed < 0 ? ClosedMessageBoxResult(flags) : pressed;
}

std::optional<std::string> SdlDialogs::PromptText(WindowHandle, const std::string& title,
                                                  const std::string& defaultText)
{
    if (!CanAskOnTerminal())
        return std::nullopt;
    auto answer = PromptTextOnTerminal(std::cin, std::cerr, title, defaultText);
    mWindows.DropPendingInput();
    return answer;
}

std::optional<int> SdlDialogs::PromptChoice(WindowHandle, const std::string& title,
                                            const std::vector<std::string>& lines)
{
    if (!CanAskOnTerminal())
        return std::nullopt;
    auto answer = PromptChoiceOnTerminal(std::cin, std::cerr, title, lines);
    mWindows.DropPendingInput();
    return answer;
}

} // namespace Platform
