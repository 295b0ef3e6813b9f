// The deferred messages as the main loop takes them off the list: mapping to
// the logical screen, mouse, wheel and keys, the window's state and focus,
// recording into a demo, and the timer's mouse-presence test and browser
// watchdog.
#include "LoopTestSupport.h"

#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowMessages.h"

namespace LoopTest {
namespace {

using Calls = std::vector<std::string>;

intptr_t Point(int x, int y)
{
    return Platform::MakeLParam(x, y);
}

uintptr_t WheelDelta(int delta)
{
    return static_cast<uintptr_t>(Platform::MakeLParam(0, delta));
}

class DeferredMessages : public LoopFixture {
protected:
    void SetUp() override
    {
        LoopFixture::SetUp();
        OpenWindow();
        mApp->mDeferredMessages.clear();
        // Making and showing the window lost and regained the focus.
        mApp->focusEvents.clear();
        mApp->muteEvents.clear();
    }

    // The client area shows the logical 1024 x 768 screen at (128, 0), 768 x 576.
    void ScaleClientArea()
    {
        Manager().mouseRect = Tandry::Rect(128, 0, 768, 576);
        Manager().drawOffsetRect = Tandry::Rect(0, 0, 1024, 768);
    }

    void Key(uint32_t message, uintptr_t key) { SendAndProcess(message, key); }
};

TEST_F(DeferredMessages, WindowPointsMapToTheLogicalScreen)
{
    ScaleClientArea();
    struct Case {
        int x, y, logicalX, logicalY;
    };
    for (const Case& c : {Case{512, 288, 512, 384}, Case{128, 0, 0, 0}, Case{0, -30, -170, -40},
                          Case{-32768, 32767, -43861, 43689}}) {
        int x = c.x;
        int y = c.y;
        mApp->MapWindowPointToLogical(x, y);
        EXPECT_EQ(x, c.logicalX) << c.x;
        EXPECT_EQ(y, c.logicalY) << c.y;
    }

    // A client area of width or height 0 (minimised, or no display) passes points through.
    for (const Tandry::Rect& empty : {Tandry::Rect(0, 0, 0, 576), Tandry::Rect(0, 0, 768, 0)}) {
        SCOPED_TRACE(empty.height);
        Manager().mouseRect = empty;
        int x = 300;
        int y = 200;
        mApp->MapWindowPointToLogical(x, y);
        EXPECT_EQ(x, 300);
        EXPECT_EQ(y, 200);
        SendAndProcess(Platform::WM_MOUSEMOVE, 0, Point(300, 200));
        EXPECT_EQ(Manager().mouseX, 300);
        EXPECT_EQ(Manager().mouseY, 200);
    }
}

TEST_F(DeferredMessages, MouseButtonsGiveTheirClickCodes)
{
    ScaleClientArea();
    mApp->mRecordingDemo = true;
    mApp->mMouseInWindow = true;
    struct Case {
        uint32_t message;
        const char* recorded;
        int heldBits;
    };
    const Case cases[] = {
        {Platform::WM_LBUTTONDOWN, "Button down 1", 1},   {Platform::WM_LBUTTONDBLCLK, "Button down 2", 1},
        {Platform::WM_RBUTTONDOWN, "Button down -1", 2},  {Platform::WM_RBUTTONDBLCLK, "Button down -2", 2},
        {Platform::WM_MBUTTONDOWN, "Button down 3", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.recorded);
        Seam().calls.clear();
        Manager().downButtons = 0;
        SendAndProcess(c.message, 0, Point(512, 288));
        ASSERT_FALSE(Seam().calls.empty());
        EXPECT_EQ(Seam().calls.back(), c.recorded);
        EXPECT_EQ(Manager().downButtons, c.heldBits);
        EXPECT_EQ(Manager().mouseX, 512);
        EXPECT_EQ(Manager().mouseY, 384);
        EXPECT_EQ(mPlatform->Windows().GetCapture(), mApp->mMainWindow);
    }
}

TEST_F(DeferredMessages, ReleasingAButtonKeepsTheCaptureWhileAnotherIsHeld)
{
    SendAndProcess(Platform::WM_LBUTTONDOWN, 0, Point(10, 10));
    SendAndProcess(Platform::WM_RBUTTONDOWN, 0, Point(10, 10));
    SendAndProcess(Platform::WM_LBUTTONUP, 0, Point(10, 10));
    EXPECT_EQ(mPlatform->Windows().GetCapture(), mApp->mMainWindow);
    SendAndProcess(Platform::WM_RBUTTONUP, 0, Point(10, 10));
    EXPECT_EQ(mPlatform->Windows().GetCapture(), nullptr);
    EXPECT_EQ(Manager().downButtons, 0);
}

TEST_F(DeferredMessages, WheelNotches)
{
    mApp->mRecordingDemo = true;
    struct Case {
        int delta;
        int notches;
    };
    for (const Case& c : {Case{120, 1}, Case{-120, -1}, Case{60, 0}, Case{-240, -2}, Case{32767, 17}}) {
        Seam().calls.clear();
        SendAndProcess(Platform::WM_MOUSEWHEEL, WheelDelta(c.delta));
        EXPECT_EQ(Seam().calls, Calls{"Wheel " + std::to_string(c.notches)}) << c.delta;
    }
}

TEST_F(DeferredMessages, AltEnterSwitchesTheScreenModeUnlessOneIsForced)
{
    Key(Platform::WM_SYSKEYDOWN, Platform::VK_MENU);
    ASSERT_TRUE(Manager().keyDown[Platform::VK_MENU]);
    Key(Platform::WM_SYSKEYDOWN, Platform::VK_RETURN);
    EXPECT_EQ(mApp->screenModeRequests, std::vector<bool>{false});
    EXPECT_FALSE(Manager().keyDown[Platform::VK_MENU]);
    EXPECT_FALSE(Manager().keyDown[Platform::VK_RETURN]);
    EXPECT_FALSE(mApp->mAltDown);

    mApp->mForceFullScreen = true;
    Key(Platform::WM_SYSKEYDOWN, Platform::VK_RETURN);
    EXPECT_EQ(mApp->screenModeRequests.size(), 1u);
    EXPECT_TRUE(Manager().keyDown[Platform::VK_RETURN]);
}

TEST_F(DeferredMessages, CtrlAltKTogglesTheDeveloperKeys)
{
    Key(Platform::WM_KEYDOWN, 'K');
    EXPECT_FALSE(mApp->mDebugKeysEnabled);
    Key(Platform::WM_KEYDOWN, Platform::VK_CONTROL);
    Key(Platform::WM_SYSKEYDOWN, Platform::VK_MENU);
    Key(Platform::WM_SYSKEYDOWN, 'K');
    EXPECT_TRUE(mApp->mDebugKeysEnabled);
    EXPECT_EQ(mPlatform->Process().GetPlayedSounds(),
              std::vector<std::string>{"c:\\windows\\media\\Windows XP Menu Command.wav"});

    // Developer keys now see every key first; a handled one stays from the widgets.
    mApp->debugKeyResult = true;
    Key(Platform::WM_KEYDOWN, Platform::VK_F10);
    EXPECT_EQ(mApp->debugKeys.back(), static_cast<int>(Platform::VK_F10));
    EXPECT_FALSE(Manager().keyDown[Platform::VK_F10]);

    Key(Platform::WM_SYSKEYDOWN, 'K');
    EXPECT_FALSE(mApp->mDebugKeysEnabled);
}

TEST_F(DeferredMessages, KeysOutsideTheTableDoNoHarm)
{
    for (uintptr_t key : {uintptr_t{255}, uintptr_t{256}, uintptr_t{0xFFFFFFFF}, ~uintptr_t{0}}) {
        Key(Platform::WM_KEYDOWN, key);
        Key(Platform::WM_KEYUP, key);
        SendAndProcess(Platform::WM_CHAR, key);
    }
    EXPECT_FALSE(Manager().keyDown[254]);
}

TEST_F(DeferredMessages, MaximisingAsksForFullScreen)
{
    SendAndProcess(Platform::WM_SIZE, Platform::SIZE_MAXIMIZED);
    EXPECT_EQ(mApp->screenModeRequests, std::vector<bool>{false});
}

TEST_F(DeferredMessages, MinimisingMutesTwiceAndRestoringUndoesBoth)
{
    ASSERT_TRUE(mApp->mHasFocus);
    SendAndProcess(Platform::WM_SIZE, Platform::SIZE_MINIMIZED);
    EXPECT_TRUE(mApp->mSizeMinimized);
    EXPECT_TRUE(mApp->mMinimized);
    EXPECT_EQ(mApp->mMuteCount, 2);
    EXPECT_EQ(mApp->mAutoMuteCount, 2);
    EXPECT_EQ(mApp->focusEvents, Calls{"lost"});
    EXPECT_EQ(Sound().lastVolume, 0.0);

    const int dirtied = Manager().markAllDirtyCalls;
    SendAndProcess(Platform::WM_SIZE, Platform::SIZE_RESTORED);
    EXPECT_FALSE(mApp->mMinimized);
    EXPECT_EQ(mApp->mMuteCount, 0);
    EXPECT_EQ(mApp->mAutoMuteCount, 0);
    EXPECT_EQ(mApp->focusEvents, (Calls{"lost", "gained"}));
    EXPECT_EQ(Manager().markAllDirtyCalls, dirtied + 1);
    EXPECT_EQ(Sound().lastVolume, mApp->mSfxVolume);
}

TEST_F(DeferredMessages, FocusLossAndGain)
{
    SendAndProcess(Platform::WM_LBUTTONDOWN, 0, Point(10, 10));
    ASSERT_EQ(mPlatform->Windows().GetCapture(), mApp->mMainWindow);
    SendAndProcess(Platform::WM_ACTIVATEAPP, 0);
    EXPECT_FALSE(mApp->mHasFocus);
    EXPECT_EQ(mApp->muteEvents, Calls{"mute auto"});
    EXPECT_FALSE(Manager().windowHasFocus);
    EXPECT_EQ(mApp->focusEvents, Calls{"lost"});
    EXPECT_EQ(mPlatform->Windows().GetCapture(), nullptr);
    EXPECT_EQ(Manager().downButtons, 0);

    SendAndProcess(Platform::WM_ACTIVATEAPP, 1);
    EXPECT_TRUE(mApp->mHasFocus);
    EXPECT_EQ(mApp->muteEvents, (Calls{"mute auto", "unmute auto"}));
    EXPECT_TRUE(Manager().windowHasFocus);
    EXPECT_EQ(mApp->focusEvents, (Calls{"lost", "gained"}));
}

TEST_F(DeferredMessages, MovingTheNormalWindowStoresItsPosition)
{
    mPlatform->Windows().MoveWindow(mApp->mMainWindow, 300, 200, 1030, 797);
    SendAndProcess(Platform::WM_MOVE);
    EXPECT_EQ(mApp->mPreferredX, 300);
    EXPECT_EQ(mApp->mPreferredY, 200);

    mApp->mWindowed = false;
    mPlatform->Windows().MoveWindow(mApp->mMainWindow, 10, 10, 1030, 797);
    SendAndProcess(Platform::WM_MOVE);
    EXPECT_EQ(mApp->mPreferredX, 300);
}

TEST_F(DeferredMessages, WhileADemoPlaysOnlyTheCloseIsActedOn)
{
    mApp->mPlayingDemo = true;
    SendAndProcess(Platform::WM_KEYDOWN, 'A');
    SendAndProcess(Platform::WM_MOUSEMOVE, 0, Point(40, 50));
    SendAndProcess(Platform::WM_SIZE, Platform::SIZE_MINIMIZED);
    EXPECT_FALSE(Manager().keyDown['A']);
    EXPECT_NE(Manager().mouseX, 40);
    EXPECT_FALSE(mApp->mMinimized);
    SendAndProcess(Platform::WM_CLOSE);
    EXPECT_TRUE(mApp->mDemoFinished);
    EXPECT_TRUE(mApp->mShutdown);
}

TEST_F(DeferredMessages, RecordingSeesLogicalPositionsAndStopsAtShutdown)
{
    ScaleClientArea();
    mApp->mRecordingDemo = true;
    mApp->mMouseInWindow = true;
    Seam().calls.clear();
    SendAndProcess(Platform::WM_MOUSEMOVE, 0, Point(128 + 75, 75));
    SendAndProcess(Platform::WM_MOUSEMOVE, 0, Point(128 + 99, 54));
    SendAndProcess(Platform::WM_RBUTTONDBLCLK, 0, Point(128 + 99, 54));
    SendAndProcess(Platform::WM_MOUSEWHEEL, WheelDelta(-240));
    SendAndProcess(Platform::WM_KEYDOWN, 0x141);
    SendAndProcess(Platform::WM_KEYUP, 'A');
    SendAndProcess(Platform::WM_CHAR, 0x20AC);
    SendAndProcess(Platform::WM_ACTIVATEAPP, 1);
    SendAndProcess(Platform::WM_SIZE, Platform::SIZE_MINIMIZED);
    SendAndProcess(Platform::WM_CLOSE);
    SendAndProcess(Platform::WM_KEYDOWN, 'B');
    EXPECT_EQ(Seam().calls, (Calls{"Mouse 100,100", "Mouse 132,72", "Mouse 132,72", "Button down -2", "Wheel -2",
                                   "KeyDown 65", "KeyUp 65", "KeyChar 8364", "Activate 1", "Minimise 1",
                                   "Close"}));
}

TEST_F(DeferredMessages, AnActivationIsRecordedAsTheStateItsProcessingActsOn)
{
    mApp->mRecordingDemo = true;
    Seam().calls.clear();
    const std::vector<std::string> focusBefore = mApp->focusEvents;
    // Both reach the window procedure before either is processed.
    Send(Platform::WM_ACTIVATEAPP, 0);
    Send(Platform::WM_ACTIVATEAPP, 1);
    ProcessAll();
    EXPECT_EQ(Seam().calls, (Calls{"Activate 1", "Activate 1"}));
    EXPECT_EQ(mApp->focusEvents, focusBefore);
}

class TimerMessages : public DeferredMessages {
protected:
    void SetUp() override
    {
        DeferredMessages::SetUp();
        mApp->mInMainLoop = true;
        mApp->mLastTimerTick = Clock().GetTickCount();
        mApp->mLastStallTick = Clock().GetTickCount();
    }

    void MoveMouseTo(int x, int y)
    {
        PutCursorAt(x, y);
        ProcessAll();
    }

    // Timer messages every 100 ms until the clock has moved by ms.
    void RunTimerFor(uint32_t ms)
    {
        for (uint32_t passed = 0; passed < ms; passed += 100) {
            Clock().Advance(100);
            SendAndProcess(Platform::WM_TIMER, 100);
        }
    }
};

TEST_F(TimerMessages, ACursorThatLeftTheClientAreaIsNoticed)
{
    mApp->mRecordingDemo = true;
    MoveMouseTo(100, 100);
    ASSERT_TRUE(mApp->mMouseInWindow);
    SendAndProcess(Platform::WM_TIMER, 100);
    EXPECT_TRUE(mApp->mMouseInWindow);

    Seam().calls.clear();
    const int cursors = mApp->applyCursorCalls;
    Manager().mouseIn = true;
    MoveMouseTo(-20, 100);
    // The move outside is still a move; the timer then finds the cursor gone.
    mApp->mMouseInWindow = true;
    SendAndProcess(Platform::WM_TIMER, 100);
    EXPECT_FALSE(mApp->mMouseInWindow);
    EXPECT_FALSE(Manager().mouseIn);
    EXPECT_GT(mApp->applyCursorCalls, cursors);
    ASSERT_FALSE(Seam().calls.empty());
    EXPECT_EQ(Seam().calls.back(), "Leave");
}

TEST_F(TimerMessages, BrowserWatchdog)
{
    struct Case {
        bool active;
        uint32_t quietMs;
        const char* outcome;
    };
    for (const Case& c : {Case{false, 8001, "done http://example.org"}, Case{true, 12001, "failed http://example.org"}}) {
        SCOPED_TRACE(c.outcome);
        mApp->browserEvents.clear();
        mApp->mActive = c.active;
        mApp->mBrowserLaunchPending = true;
        mApp->mBrowserUrl = "http://example.org";
        mApp->mBrowserLaunchTick = Clock().GetTickCount();
        mApp->mLastStallTick = mApp->mBrowserLaunchTick;
        RunTimerFor(c.quietMs - 101);
        EXPECT_TRUE(mApp->browserEvents.empty());
        RunTimerFor(200);
        EXPECT_EQ(mApp->browserEvents, Calls{c.outcome});
    }
}

TEST_F(TimerMessages, ATimerGapRestartsTheStallWindow)
{
    mApp->mActive = false;
    mApp->mBrowserLaunchPending = true;
    mApp->mBrowserUrl = "u";
    mApp->mBrowserLaunchTick = Clock().GetTickCount();
    RunTimerFor(7000);
    // A modal loop held the timer back for 600 ms.
    Clock().Advance(600);
    SendAndProcess(Platform::WM_TIMER, 100);
    RunTimerFor(4900);
    EXPECT_TRUE(mApp->browserEvents.empty());
    RunTimerFor(200);
    EXPECT_EQ(mApp->browserEvents, Calls{"done u"});
}

TEST_F(TimerMessages, TimersAreIgnoredOutsideTheLoopOrWhileHidden)
{
    MoveMouseTo(100, 100);
    MoveMouseTo(-20, 100);
    mApp->mMouseInWindow = true;
    mApp->mInMainLoop = false;
    SendAndProcess(Platform::WM_TIMER, 100);
    EXPECT_TRUE(mApp->mMouseInWindow);
    mApp->mInMainLoop = true;
    mApp->mWindowHidden = true;
    SendAndProcess(Platform::WM_TIMER, 100);
    EXPECT_TRUE(mApp->mMouseInWindow);
}

} // namespace
} // namespace LoopTest
