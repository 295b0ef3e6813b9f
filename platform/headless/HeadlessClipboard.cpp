#include "platform/headless/HeadlessClipboard.h"

namespace Platform {

bool HeadlessClipboard::SetText(const std::string& ansiText)
{
    std::lock_guard<std::mutex> hold(mLock);
    mText = ansiText;
    return true;
}

std::optional<std::string> HeadlessClipboard::GetText()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mText;
}

} // namespace Platform
