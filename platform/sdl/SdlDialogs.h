// SDL message boxes with SDL's own box and icon, and the two prompts asked on
// the controlling terminal. Input that reached the main window while a box
// or prompt was up is dropped, as Windows disables the owner meanwhile.
#pragma once

#include "platform/dialog/DialogService.h"

namespace Platform {

class SdlWindowSystem;

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

} // namespace Platform
