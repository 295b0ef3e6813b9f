// Opening a web address in the user's browser. A launch stays pending until
// the timer's watchdog sees the application lose the focus to the browser (or
// keep it too long), so that a second click on the same link opens nothing.
#include "app/TandryAppBase.h"

#include "platform/Platform.h"

namespace Tandry {

bool TandryAppBase::LaunchBrowser(const std::string& url, bool shutdownAfter)
{
    if (mBrowserLaunchPending && mBrowserUrl == url)
        return true;
    Platform::ServiceBundle& platform = Platform::GetPlatform();
    mShutdownAfterBrowser = shutdownAfter;
    mBrowserLaunchPending = true;
    mBrowserUrl = url;
    mBrowserLaunchTick = platform.GetClock().GetTickCount();
    if (!platform.GetShell().OpenUrl(url)) {
        BrowserLaunchFailed(url);
        return false;
    }
    return true;
}

void TandryAppBase::BrowserLaunchDone(const std::string& /*url*/)
{
    mBrowserLaunchPending = false;
    if (mShutdownAfterBrowser)
        Shutdown();
}

void TandryAppBase::BrowserLaunchFailed(const std::string& /*url*/)
{
    mBrowserLaunchPending = false;
}

} // namespace Tandry
