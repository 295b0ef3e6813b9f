// The window procedure: which messages it acts on at once, which it queues,
// and the rules that keep the deferred list short.
#include "LoopTestSupport.h"

#include "app/MainLoopGlobals.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowMessages.h"

namespace LoopTest {
namespace {

using Platform::WM_ACTIVATEAPP;
using Platform::WM_CHAR;
using Platform::WM_CLOSE;
using Platform::WM_DISPLAYCHANGE;
using Platform::WM_KEYDOWN;
using Platform::WM_SYSCOLORCHANGE;
using Platform::WM_TIMER;
using Messages = std::vector<uint32_t>;

class WindowProc : public LoopFixture {
protected:
    void SetUp() override
    {
        LoopFixture::SetUp();
        OpenWindow();
        mApp->mDeferredMessages.clear();
    }
};

TEST_F(WindowProc, QueueRules)
{
    struct Case {
        const char* name;
        Messages sent;
        Messages queued;
    };
    const Case cases[] = {
        {"timers do not pile up", {WM_TIMER, WM_TIMER}, {WM_TIMER}},
        {"a timer after a key is queued", {WM_TIMER, WM_KEYDOWN, WM_TIMER}, {WM_TIMER, WM_KEYDOWN, WM_TIMER}},
        {"one display notice waits", {WM_SYSCOLORCHANGE, WM_KEYDOWN, WM_DISPLAYCHANGE}, {WM_SYSCOLORCHANGE, WM_KEYDOWN}},
        {"nothing after a trailing close", {WM_KEYDOWN, WM_CLOSE, WM_KEYDOWN, WM_TIMER, WM_CLOSE}, {WM_KEYDOWN, WM_CLOSE}},
        {"a middle double click is not queued", {Platform::WM_MBUTTONDBLCLK, Platform::WM_MBUTTONDOWN},
         {Platform::WM_MBUTTONDOWN}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mApp->mDeferredMessages.clear();
        for (uint32_t message : c.sent)
            Send(message);
        EXPECT_EQ(QueuedMessages(), c.queued);
    }
}

TEST_F(WindowProc, EveryCloseAsksTheGameEvenWhenNotQueued)
{
    EXPECT_EQ(Send(WM_CLOSE), 0);
    EXPECT_EQ(Send(WM_CLOSE), 0);
    EXPECT_EQ(mApp->closeRequests, 2);
    EXPECT_EQ(QueuedMessages(), Messages{WM_CLOSE});
    // The window is not destroyed by the close: the queued copy ends the run.
    EXPECT_TRUE(mPlatform->Windows().IsWindow(mApp->mMainWindow));
}

TEST_F(WindowProc, NothingIsQueuedWhileASystemBoxShows)
{
    mApp->mSystemPopupShowing = true;
    Send(WM_KEYDOWN, 'A');
    Send(WM_TIMER);
    EXPECT_TRUE(mApp->mDeferredMessages.empty());
}

TEST_F(WindowProc, AWindowWithoutTheApplicationGetsDefaultProcessing)
{
    Platform::WindowHandle bare = mPlatform->Windows().CreateWindow("InvisWindow", L"bare", 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Tandry::TandryAppBase::MainWindowProc(bare, WM_KEYDOWN, 'A', 0), 0);
    EXPECT_EQ(Tandry::TandryAppBase::MainWindowProc(bare, Platform::WM_ERASEBKGND, 0, 0), 0);
    EXPECT_TRUE(mApp->mDeferredMessages.empty());
    // Default processing destroys a window on close.
    Tandry::TandryAppBase::MainWindowProc(bare, WM_CLOSE, 0, 0);
    EXPECT_FALSE(mPlatform->Windows().IsWindow(bare));
}

TEST_F(WindowProc, MessagesActedOnAtOnce)
{
    EXPECT_EQ(Send(Platform::WM_ERASEBKGND), 1);

    Send(Platform::WM_ENABLE, 0);
    EXPECT_TRUE(mApp->mWindowDisabled);
    EXPECT_EQ(Send(Platform::WM_QUERYOPEN), 0);
    Send(Platform::WM_ENABLE, 1);
    EXPECT_FALSE(mApp->mWindowDisabled);

    const int cursors = mApp->applyCursorCalls;
    EXPECT_EQ(Send(Platform::WM_SETCURSOR), 1);
    EXPECT_EQ(mApp->applyCursorCalls, cursors + 1);
    mApp->mWindowHidden = true;
    Send(Platform::WM_SETCURSOR);
    EXPECT_EQ(mApp->applyCursorCalls, cursors + 1);
    mApp->mWindowHidden = false;

    // Alt+Enter and Alt+R are kept from the system menu.
    EXPECT_EQ(Send(Platform::WM_SYSCHAR, L'\r'), 0);
    EXPECT_TRUE(mApp->IsSysCharHandled(L'r'));
    EXPECT_TRUE(mApp->IsSysCharHandled(L'R'));
    EXPECT_FALSE(mApp->IsSysCharHandled(L'x'));

    mApp->mInMainLoop = true;
    const size_t presented = Display().presentTicks.size();
    EXPECT_EQ(Send(Platform::WM_PAINT), 0);
    EXPECT_EQ(Display().presentTicks.size(), presented + 1);

    Send(Platform::WM_ENDSESSION, 1);
    EXPECT_TRUE(mApp->mShutdown);
}

TEST_F(WindowProc, ActivationChangesAtOnceAndFocusFollowsWithTheQueue)
{
    ASSERT_TRUE(mApp->mActive);
    Send(WM_ACTIVATEAPP, 0);
    EXPECT_FALSE(mApp->mActive);
    EXPECT_TRUE(mApp->mHasFocus);
    ProcessAll();
    EXPECT_FALSE(mApp->mHasFocus);

    // While a demo plays the replay decides about activation.
    mApp->mPlayingDemo = true;
    Send(WM_ACTIVATEAPP, 1);
    EXPECT_FALSE(mApp->mActive);
}

TEST_F(WindowProc, MonitorPowerAndScreenSaveWaitForLoading)
{
    const uintptr_t monitor = Platform::SC_MONITORPOWER;
    const uintptr_t screensave = Platform::SC_SCREENSAVE;
    EXPECT_EQ(Send(Platform::WM_SYSCOMMAND, monitor), 0);
    ASSERT_TRUE(Tandry::gLastMonitorPowerTick.has_value());
    EXPECT_EQ(*Tandry::gLastMonitorPowerTick, Clock().GetTickCount());
    EXPECT_EQ(Send(Platform::WM_SYSCOMMAND, screensave), 0);

    // Allowed requests reach the default processing; a close command from the
    // system menu shows that it does.
    mApp->mLoadingAcknowledged = true;
    Send(Platform::WM_SYSCOMMAND, Platform::SC_CLOSE);
    Platform::WindowMessage posted;
    ASSERT_TRUE(mPlatform->Windows().PeekMessage(posted));
    EXPECT_EQ(posted.message, WM_CLOSE);
}

TEST_F(WindowProc, ModifierKeysAndTheInterceptHook)
{
    Send(Platform::WM_KEYDOWN, Platform::VK_CONTROL);
    Send(Platform::WM_SYSKEYDOWN, Platform::VK_MENU);
    EXPECT_TRUE(mApp->mCtrlDown);
    EXPECT_TRUE(mApp->mAltDown);
    Send(Platform::WM_KEYUP, Platform::VK_CONTROL);
    EXPECT_FALSE(mApp->mCtrlDown);

    mApp->mDeferredMessages.clear();
    mApp->interceptKey = [](int key) { return key == 'Q'; };
    EXPECT_EQ(Send(WM_KEYDOWN, 'Q'), 0);
    Send(WM_KEYDOWN, 'W');
    EXPECT_EQ(QueuedMessages(), Messages{WM_KEYDOWN});
}

TEST_F(WindowProc, AltKeysAreQueuedButOnlyAltF4ReachesTheSystem)
{
    EXPECT_EQ(Send(Platform::WM_SYSKEYDOWN, 'X'), 0);
    Platform::WindowMessage posted;
    EXPECT_FALSE(mPlatform->Windows().PeekMessage(posted));

    Send(Platform::WM_SYSKEYDOWN, Platform::VK_F4);
    EXPECT_EQ(QueuedMessages(), (Messages{Platform::WM_SYSKEYDOWN, Platform::WM_SYSKEYDOWN}));
    // The system turns Alt+F4 into a close, which shuts the program down.
    ProcessAll();
    EXPECT_TRUE(mApp->mShutdown);
}

TEST_F(WindowProc, WhileADemoPlaysKeysGoToThePlaybackControls)
{
    mApp->mPlayingDemo = true;
    Send(WM_CHAR, L'n');
    Send(WM_KEYDOWN, Platform::VK_F10);
    EXPECT_EQ(Seam().calls, std::vector<std::string>{"PlaybackChar 110"});
    EXPECT_EQ(mApp->debugKeys, std::vector<int>{static_cast<int>(Platform::VK_F10)});
    EXPECT_EQ(QueuedMessages(), (Messages{WM_CHAR, WM_KEYDOWN}));
}

TEST_F(WindowProc, TheNotifyMessageBringsTheWindowBack)
{
    mApp->mNotifyMessage = 0xC123;
    Platform::InputEvent minimise;
    minimise.kind = Platform::InputEventKind::Minimized;
    mPlatform->Windows().Inject(minimise);
    ASSERT_TRUE(mPlatform->Windows().IsIconic(mApp->mMainWindow));
    EXPECT_EQ(Send(0xC123, 1), 0);
    EXPECT_TRUE(mPlatform->Windows().IsIconic(mApp->mMainWindow));
    EXPECT_EQ(Send(0xC123, 0), 0);
    EXPECT_FALSE(mPlatform->Windows().IsIconic(mApp->mMainWindow));
}

} // namespace
} // namespace LoopTest
