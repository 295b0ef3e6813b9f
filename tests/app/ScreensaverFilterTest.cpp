// Screen-saver mode: activity ends the run through a posted close, small
// mouse jitter and the monitor's power-down do not, and the system commands
// that would disturb a screen saver are swallowed.
#include "LoopTestSupport.h"

#include "app/ScreensaverFilter.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowMessages.h"

namespace LoopTest {
namespace {

class ScreensaverMode : public LoopFixture {
protected:
    void SetUp() override
    {
        LoopFixture::SetUp();
        mApp->mScreensaverMode = true;
        OpenWindow();
        mApp->mDeferredMessages.clear();
        Drain();
    }

    // Whether a close was posted since the last look; takes everything off the queue.
    bool Drain()
    {
        bool closed = false;
        Platform::WindowMessage message;
        while (mPlatform->Windows().PeekMessage(message))
            closed = closed || (message.message == Platform::WM_CLOSE && message.hwnd == mApp->mMainWindow);
        return closed;
    }
};

TEST_F(ScreensaverMode, TheFourthMouseMoveEndsTheRun)
{
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(Send(Platform::WM_MOUSEMOVE, 0, Platform::MakeLParam(10 + i, 20)), 0);
        EXPECT_FALSE(Drain()) << i;
    }
    // A move to the same place is not a move.
    Send(Platform::WM_MOUSEMOVE, 0, Platform::MakeLParam(13, 20));
    EXPECT_FALSE(Drain());
    EXPECT_TRUE(mApp->mDeferredMessages.empty());

    Send(Platform::WM_MOUSEMOVE, 0, Platform::MakeLParam(14, 20));
    EXPECT_TRUE(Drain());
    // Closing: the filter lets everything through from now on.
    Send(Platform::WM_KEYDOWN, 'A');
    EXPECT_FALSE(Drain());
    EXPECT_FALSE(mApp->mDeferredMessages.empty());
}

TEST_F(ScreensaverMode, KeysButtonsAndDeactivationEndTheRun)
{
    struct Case {
        uint32_t message;
        uintptr_t wParam;
        bool ends;
    };
    const Case cases[] = {
        {Platform::WM_KEYDOWN, 'A', true},          {Platform::WM_SYSKEYDOWN, Platform::VK_MENU, true},
        {Platform::WM_LBUTTONDOWN, 0, true},        {Platform::WM_RBUTTONDOWN, 0, true},
        {Platform::WM_MBUTTONDOWN, 0, true},        {Platform::WM_ACTIVATEAPP, 0, true},
        {Platform::WM_NCACTIVATE, 0, true},         {Platform::WM_ACTIVATE, 0, true},
        {Platform::WM_ACTIVATEAPP, 1, false},       {Platform::WM_KEYUP, 'A', false},
        {Platform::WM_TIMER, 100, false},           {Platform::WM_CLOSE, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.message << " " << c.wParam);
        Tandry::ResetScreensaverFilter();
        Send(c.message, c.wParam);
        EXPECT_EQ(Drain(), c.ends);
    }
}

TEST_F(ScreensaverMode, SystemCommandsThatWouldDisturbAreSwallowed)
{
    for (uintptr_t command : {Platform::SC_NEXTWINDOW, Platform::SC_PREVWINDOW, Platform::SC_CLOSE,
                              Platform::SC_SCREENSAVE}) {
        EXPECT_EQ(Send(Platform::WM_SYSCOMMAND, command), 0);
        // The default processing would have turned SC_CLOSE into a close.
        EXPECT_FALSE(Drain()) << command;
    }
}

TEST_F(ScreensaverMode, AMonitorPowerDownGivesASecondOfGrace)
{
    Send(Platform::WM_SYSCOMMAND, Platform::SC_MONITORPOWER);
    Clock().Advance(999);
    Send(Platform::WM_ACTIVATEAPP, 0);
    EXPECT_FALSE(Drain());
    // A key is activity even within the grace period.
    Send(Platform::WM_KEYDOWN, 'A');
    EXPECT_TRUE(Drain());

    Tandry::ResetScreensaverFilter();
    Clock().Advance(1);
    Send(Platform::WM_ACTIVATEAPP, 0);
    EXPECT_TRUE(Drain());
}

TEST_F(ScreensaverMode, OnlyTheMainWindowsActivityCounts)
{
    Platform::WindowHandle other = mPlatform->Windows().CreateWindow("InvisWindow", L"other", 0, 0, 0, 0, 0, 0);
    Tandry::TandryAppBase::MainWindowProc(other, Platform::WM_KEYDOWN, 'A', 0);
    EXPECT_FALSE(Drain());
}

TEST_F(ScreensaverMode, ThePostedCloseEndsTheRun)
{
    Send(Platform::WM_KEYDOWN, 'A');
    mApp->mDeferredMessages.clear();
    ProcessAll();
    EXPECT_TRUE(mApp->mShutdown);
}

} // namespace
} // namespace LoopTest
