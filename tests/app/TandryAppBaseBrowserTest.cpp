// Opening a web address: one launch per address while it is pending, a failed
// open reported, and the end of a launch when the application lost the focus.
#include "LoopTestSupport.h"

#include "platform/window/WindowMessages.h"

namespace LoopTest {
namespace {

using Urls = std::vector<std::string>;

class Browser : public LoopFixture {
protected:
    Platform::HeadlessShell& Shell() { return mPlatform->Shell(); }
};

TEST_F(Browser, OneLaunchPerAddressWhilePending)
{
    Clock().Advance(1234);
    EXPECT_TRUE(mApp->LaunchBrowser("http://example.org/a", false));
    EXPECT_TRUE(mApp->mBrowserLaunchPending);
    EXPECT_EQ(mApp->mBrowserUrl, "http://example.org/a");
    EXPECT_EQ(mApp->mBrowserLaunchTick, Clock().GetTickCount());
    EXPECT_TRUE(mApp->LaunchBrowser("http://example.org/a", true));
    EXPECT_FALSE(mApp->mShutdownAfterBrowser);
    EXPECT_EQ(Shell().GetOpenedUrls(), Urls{"http://example.org/a"});

    EXPECT_TRUE(mApp->LaunchBrowser("http://example.org/b", true));
    EXPECT_TRUE(mApp->mShutdownAfterBrowser);
    EXPECT_EQ(Shell().GetOpenedUrls(), (Urls{"http://example.org/a", "http://example.org/b"}));

    // Once the launch ended, the same address opens again.
    mApp->BrowserLaunchFailed("http://example.org/b");
    EXPECT_TRUE(mApp->LaunchBrowser("http://example.org/b", false));
    EXPECT_EQ(Shell().GetOpenedUrls().size(), 3u);
}

TEST_F(Browser, AFailedOpenIsReported)
{
    Shell().ScriptResult(false);
    // An address from an edited data file reaches the platform as it is.
    const std::string url = "http://x.example/\"; rm -rf ~ #";
    EXPECT_FALSE(mApp->LaunchBrowser(url, true));
    EXPECT_EQ(mApp->browserEvents, Urls{"failed " + url});
    EXPECT_FALSE(mApp->mBrowserLaunchPending);
    EXPECT_EQ(Shell().GetOpenedUrls(), Urls{url});
    EXPECT_FALSE(mApp->mShutdown);
}

TEST_F(Browser, ADoneLaunchShutsDownOnlyWhenAsked)
{
    mApp->LaunchBrowser("u", false);
    mApp->BrowserLaunchDone("u");
    EXPECT_FALSE(mApp->mBrowserLaunchPending);
    EXPECT_FALSE(mApp->mShutdown);

    mApp->LaunchBrowser("u", true);
    mApp->BrowserLaunchDone("u");
    EXPECT_FALSE(mApp->mBrowserLaunchPending);
    EXPECT_TRUE(mApp->mShutdown);
}

TEST_F(Browser, TheWatchdogEndsALaunchThatTookTheFocus)
{
    OpenWindow();
    mApp->mInMainLoop = true;
    mApp->mActive = false;
    const uint32_t start = Clock().GetTickCount();
    ASSERT_TRUE(mApp->LaunchBrowser("http://example.org", false));
    while (Clock().GetTickCount() - start < 8000) {
        Clock().Advance(10);
        SendAndProcess(Platform::WM_TIMER, 100);
        mApp->mActive = false;
    }
    EXPECT_TRUE(mApp->browserEvents.empty());
    EXPECT_TRUE(mApp->mBrowserLaunchPending);
    Clock().Advance(1);
    SendAndProcess(Platform::WM_TIMER, 100);
    EXPECT_EQ(mApp->browserEvents, Urls{"done http://example.org"});
    EXPECT_FALSE(mApp->mBrowserLaunchPending);

    // The address opens again after the launch ended.
    EXPECT_TRUE(mApp->LaunchBrowser("http://example.org", false));
    EXPECT_EQ(Shell().GetOpenedUrls().size(), 2u);
}

} // namespace
} // namespace LoopTest
