#include "platform/headless/HeadlessDialogs.h"

namespace Platform {
namespace {

template <typename T, typename Fallback>
T TakeFront(std::deque<T>& script, Fallback fallback)
{
    if (script.empty())
        return fallback;
    T answer = std::move(script.front());
    script.pop_front();
    return answer;
}

} // namespace

int HeadlessDialogs::MessageBoxW(WindowHandle owner, const std::wstring& text, const std::wstring& caption,
                                 uint32_t flags)
{
    std::lock_guard<std::mutex> hold(mLock);
    mBoxes.push_back({owner, text, caption, flags});
    return TakeFront(mBoxAnswers, ClosedMessageBoxResult(flags));
}

std::optional<std::string> HeadlessDialogs::PromptText(WindowHandle owner, const std::string& title,
                                                       const std::string& defaultText)
{
    std::lock_guard<std::mutex> hold(mLock);
    mPrompts.push_back({owner, title, defaultText, {}});
    return TakeFront(mTextAnswers, std::optional<std::string>());
}

std::optional<int> HeadlessDialogs::PromptChoice(WindowHandle owner, const std::string& title,
                                                 const std::vector<std::string>& lines)
{
    std::lock_guard<std::mutex> hold(mLock);
    mPrompts.push_back({owner, title, {}, lines});
    return TakeFront(mChoiceAnswers, std::optional<int>());
}

void HeadlessDialogs::ScriptBox(int result)
{
    std::lock_guard<std::mutex> hold(mLock);
    mBoxAnswers.push_back(result);
}

void HeadlessDialogs::ScriptText(std::optional<std::string> answer)
{
    std::lock_guard<std::mutex> hold(mLock);
    mTextAnswers.push_back(std::move(answer));
}

void HeadlessDialogs::ScriptChoice(std::optional<int> answer)
{
    std::lock_guard<std::mutex> hold(mLock);
    mChoiceAnswers.push_back(answer);
}

std::vector<HeadlessDialogs::BoxRecord> HeadlessDialogs::GetBoxes()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mBoxes;
}

std::vector<HeadlessDialogs::PromptRecord> HeadlessDialogs::GetPrompts()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mPrompts;
}

} // namespace Platform
