#include "platform/sdl/SdlServices.h"

#include "platform/codepage/CodePages.h"
#include "platform/dialog/TerminalPrompt.h"
#include "platform/sdl/SdlWindowSystem.h"

#include <SDL.h>

#include <cstdio>
#include <iostream>
#include <unistd.h>

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

std::string AnsiToUtf8(const std::string& ansi)
{
    return WideCharToMultiByte(CP_UTF8, MultiByteToWideChar(CP_ACP, ansi));
}

// The controlling terminal answers the prompts only when standard input is one.
bool CanAskOnTerminal()
{
    return isatty(STDIN_FILENO) == 1;
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

bool SdlClipboard::SetText(const std::string& ansiText)
{
    return SDL_SetClipboardText(AnsiToUtf8(ansiText).c_str()) == 0;
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

bool SdlShell::OpenUrl(const std::string& url)
{
    return SDL_OpenURL(AnsiToUtf8(url).c_str()) == 0;
}

} // namespace Platform
