// Headless message boxes and prompts: answered from scripts, in order, and
// recorded with their arguments. With an empty script a box gives what
// closing it gives (IDOK, or IDNO for Yes/No) and a prompt is "cancelled".
#pragma once

#include "platform/dialog/DialogService.h"

#include <deque>
#include <mutex>

namespace Platform {

class HeadlessDialogs : public DialogService {
public:
    struct BoxRecord {
        WindowHandle owner;
        std::wstring text;
        std::wstring caption;
        uint32_t flags;
    };
    struct PromptRecord {
        WindowHandle owner;
        std::string title;
        std::string defaultText;         // text prompts
        std::vector<std::string> lines;  // choice prompts
    };

    int MessageBoxW(WindowHandle owner, const std::wstring& text, const std::wstring& caption,
                    uint32_t flags) override;
    std::optional<std::string> PromptText(WindowHandle owner, const std::string& title,
                                          const std::string& defaultText) override;
    std::optional<int> PromptChoice(WindowHandle owner, const std::string& title,
                                    const std::vector<std::string>& lines) override;

    void ScriptBox(int result);
    void ScriptText(std::optional<std::string> answer);
    void ScriptChoice(std::optional<int> answer);

    std::vector<BoxRecord> GetBoxes();
    std::vector<PromptRecord> GetPrompts();

private:
    std::mutex mLock;
    std::deque<int> mBoxAnswers;
    std::deque<std::optional<std::string>> mTextAnswers;
    std::deque<std::optional<int>> mChoiceAnswers;
    std::vector<BoxRecord> mBoxes;
    std::vector<PromptRecord> mPrompts;
};

} // namespace Platform
