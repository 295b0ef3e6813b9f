// Message boxes and the two prompts. A box takes an owner window (or none),
// text, caption and flags and gives IDOK, IDYES or IDNO, or 0 when no box
// could be shown; the narrow form takes Windows-1252 text. The text prompt
// (title, default text shown selected) and the choice prompt (title, lines)
// stand in for the demo player's two dialogs; empty means "cancelled".
#pragma once

#include "platform/window/WindowTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Platform {

constexpr uint32_t MB_OK = 0x00;
constexpr uint32_t MB_YESNO = 0x04;
constexpr uint32_t MB_ICONERROR = 0x10;
constexpr uint32_t MB_ICONQUESTION = 0x20;
constexpr uint32_t MB_ICONWARNING = 0x30;
constexpr uint32_t kMessageBoxTypeMask = 0x0F;
constexpr uint32_t kMessageBoxIconMask = 0xF0;

constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

class DialogService {
public:
    virtual ~DialogService() = default;

    int MessageBoxA(WindowHandle owner, const std::string& text, const std::string& caption, uint32_t flags);
    virtual int MessageBoxW(WindowHandle owner, const std::wstring& text, const std::wstring& caption,
                            uint32_t flags) = 0;
    // Texts are Windows-1252, like the rest of the program's narrow text.
    virtual std::optional<std::string> PromptText(WindowHandle owner, const std::string& title,
                                                  const std::string& defaultText) = 0;
    // The index of the chosen line.
    virtual std::optional<int> PromptChoice(WindowHandle owner, const std::string& title,
                                            const std::vector<std::string>& lines) = 0;
};

// What closing a box without a button gives: IDNO for Yes/No boxes, IDOK otherwise.
int ClosedMessageBoxResult(uint32_t flags);

} // namespace Platform
