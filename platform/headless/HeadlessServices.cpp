#include "platform/headless/HeadlessServices.h"

namespace Platform {

bool HeadlessRegistry::AllowSet()
{
    bool allow = !mFailNextSet;
    mFailNextSet = false;
    return allow;
}

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

bool HeadlessShell::OpenUrl(const std::string& url)
{
    std::lock_guard<std::mutex> hold(mLock);
    mUrls.push_back(url);
    if (mScript.empty())
        return true;
    bool ok = mScript.front();
    mScript.pop_front();
    return ok;
}

void HeadlessShell::ScriptResult(bool ok)
{
    std::lock_guard<std::mutex> hold(mLock);
    mScript.push_back(ok);
}

std::vector<std::string> HeadlessShell::GetOpenedUrls()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mUrls;
}

HeadlessCursors::~HeadlessCursors()
{
    DestroyAllNative();
}

std::vector<CursorHandle> HeadlessCursors::GetShown()
{
    return mShown;
}

} // namespace Platform
