// The SDL services besides windows: cursors (SDL's system cursors and
// monochrome cursors from Windows masks), message boxes with SDL's own box
// and the prompts on the terminal, the clipboard converted between
// Windows-1252 and UTF-8, and URLs handed to SDL_OpenURL.
#pragma once

#include "platform/clipboard/Clipboard.h"
#include "platform/cursor/CursorService.h"
#include "platform/dialog/DialogService.h"
#include "platform/shell/Shell.h"

namespace Platform {

class SdlWindowSystem;

class SdlCursors : public CursorService {
public:
    ~SdlCursors() override;

protected:
    void NativeCreate(CursorObject& cursor) override;
    void NativeDestroy(CursorObject& cursor) override;
    void NativeShow(CursorObject* cursor) override;
};

class SdlDialogs : public DialogService {
public:
    explicit SdlDialogs(SdlWindowSystem& windows);

    // 0, with caption and text on standard error, when no box can be shown.
    int MessageBoxW(WindowHandle owner, const std::wstring& text, const std::wstring& caption,
                    uint32_t flags) override;
    // Asked on the terminal when standard input is one, "cancelled" otherwise.
    std::optional<std::string> PromptText(WindowHandle owner, const std::string& title,
                                          const std::string& defaultText) override;
    std::optional<int> PromptChoice(WindowHandle owner, const std::string& title,
                                    const std::vector<std::string>& lines) override;

private:
    SdlWindowSystem& mWindows;
};

class SdlClipboard : public Clipboard {
public:
    bool SetText(const std::string& ansiText) override;
    std::optional<std::string> GetText() override;
};

class SdlShell : public Shell {
public:
    bool OpenUrl(const std::string& url) override;
};

} // namespace Platform
