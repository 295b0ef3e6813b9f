#include "platform/headless/HeadlessShell.h"

namespace Platform {

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

} // namespace Platform
