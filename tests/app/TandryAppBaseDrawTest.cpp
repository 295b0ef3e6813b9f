// The draw pass on the virtual clock: how often it presents, the idle
// suspension while the system screen saver is due, and what a failed
// presentation does.
#include "LoopTestSupport.h"

#include "app/MainLoopGlobals.h"
#include "graphics/display/DisplayResult.h"

#include <algorithm>

namespace LoopTest {
namespace {

class DrawPass : public LoopFixture {
protected:
    // Runs the loop until the clock has moved by ms.
    void RunFor(uint32_t ms)
    {
        const uint32_t end = Clock().GetTickCount() + ms;
        RunCyclesUntil([&] { return static_cast<int32_t>(Clock().GetTickCount() - end) >= 0; }, 100000);
    }

    std::vector<uint32_t> PresentationsAfter(size_t first)
    {
        const std::vector<uint32_t>& ticks = Display().presentTicks;
        return std::vector<uint32_t>(ticks.begin() + static_cast<long>(first), ticks.end());
    }
};

TEST_F(DrawPass, NothingDirtyPresentsOncePerSecond)
{
    OpenWindow();
    const uint32_t start = Clock().GetTickCount();
    RunFor(3500);
    const std::vector<uint32_t>& ticks = Display().presentTicks;
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_GE(ticks[0] - start, 999u);
    for (size_t i = 1; i < ticks.size(); ++i)
        EXPECT_GE(ticks[i] - ticks[i - 1], 1000u);
    EXPECT_GE(mApp->mUpdateCount, 340);
}

TEST_F(DrawPass, WhileLoadingFramesLeaveTheLoadingThreadItsTime)
{
    OpenWindow();
    mApp->dirtyEachUpdate = true;
    Display().presentMs = 5;
    RunFor(200);
    const size_t before = Display().presentTicks.size();
    EXPECT_GE(before, 15u);

    mApp->mLoadingThreadStarted = true;
    // Each frame is followed by a gap of 35 ms after its draw time, counted as at least 15 ms.
    for (const uint32_t presentMs : {5u, 25u}) {
        Display().presentMs = presentMs;
        const size_t first = Display().presentTicks.size();
        RunFor(2000);
        // The first frame may still be due at once, or on the previous spacing; the rest are spaced.
        const std::vector<uint32_t> ticks = PresentationsAfter(first + 1);
        ASSERT_GE(ticks.size(), 20u);
        for (size_t i = 1; i < ticks.size(); ++i)
            EXPECT_EQ(ticks[i] - ticks[i - 1], std::max(presentMs, 15u) + 35u) << presentMs << " " << i;
    }

    Display().presentMs = 5;
    mApp->mLoadingThreadDone = true;
    const size_t loaded = Display().presentTicks.size();
    RunFor(200);
    EXPECT_GE(Display().presentTicks.size() - loaded, 15u);
}

TEST_F(DrawPass, IdleSuspensionWhileTheScreenSaverIsDue)
{
    mPlatform->Windows().SetScreenSaverAnswers(60, true, true);
    OpenWindow();
    mApp->dirtyEachUpdate = true;
    const uint32_t lastInput = Clock().GetTickCount();
    Clock().SetLastInputTick(lastInput);
    // The idle check reads the system's settings when it first runs after ten seconds.
    RunFor(57000);
    EXPECT_FALSE(Tandry::gIdleSuspended);
    RunFor(2500);
    ASSERT_TRUE(Tandry::gIdleSuspended);
    EXPECT_EQ(Tandry::gIdleCheck.timeoutMs, 58000u);

    const int updates = mApp->mUpdateCount;
    const size_t presented = Display().presentTicks.size();
    const int sleeps = mApp->mSleepCount;
    RunFor(5000);
    EXPECT_EQ(mApp->mUpdateCount, updates);
    EXPECT_EQ(Display().presentTicks.size(), presented);
    // Suspended, the loop sleeps instead of spinning.
    EXPECT_GE(mApp->mSleepCount - sleeps, 400);

    // The user is back and no screen saver runs: everything is drawn again.
    const int dirtied = Manager().markAllDirtyCalls;
    mPlatform->Windows().SetScreenSaverAnswers(60, true, false);
    Clock().SetLastInputTick(Clock().GetTickCount());
    RunFor(1500);
    EXPECT_FALSE(Tandry::gIdleSuspended);
    EXPECT_GT(Manager().markAllDirtyCalls, dirtied);
    EXPECT_GT(mApp->mUpdateCount, updates);
    EXPECT_GT(Display().presentTicks.size(), presented);
}

TEST_F(DrawPass, NoIdleSuspensionInFullScreenOrWithoutAScreenSaver)
{
    for (bool fullScreen : {false, true}) {
        SCOPED_TRACE(fullScreen);
        mApp.reset();
        Tandry::ResetMainLoopGlobals();
        mApp = std::make_unique<LoopApp>();
        // Windowed without a screen saver, or full screen with one.
        mPlatform->Windows().SetScreenSaverAnswers(60, fullScreen, true);
        mApp->mWindowed = !fullScreen;
        OpenWindow();
        Clock().SetLastInputTick(Clock().GetTickCount());
        RunFor(62000);
        EXPECT_FALSE(Tandry::gIdleSuspended);
    }
}

TEST_F(DrawPass, AFailedPresentationIsRetriedInsteadOfDrawing)
{
    OpenWindow();
    mApp->dirtyEachUpdate = true;
    RunFor(100);
    Display().failRedraws = 3;
    const int initCalls = Display().initCalls;
    RunFor(10);
    EXPECT_TRUE(Tandry::gRedrawFailed);
    // Active: every retry recovers by setting the display up again.
    const int drawsWhileFailed = mApp->mDrawCount;
    RunFor(100);
    EXPECT_FALSE(Tandry::gRedrawFailed);
    EXPECT_EQ(Display().initCalls, initCalls + 3);
    EXPECT_GT(mApp->mDrawCount, drawsWhileFailed);
    EXPECT_GT(Manager().markAllDirtyCalls, 0);
}

TEST_F(DrawPass, AnInactiveWindowRecoversAtMostOncePerSecond)
{
    OpenWindow();
    mApp->dirtyEachUpdate = true;
    RunFor(100);
    mApp->mActive = false;
    Display().failRedraws = 1000000;
    const size_t before = Display().initTicks.size();
    RunFor(3500);
    EXPECT_TRUE(Tandry::gRedrawFailed);
    const std::vector<uint32_t> recoveries(Display().initTicks.begin() + static_cast<long>(before),
                                           Display().initTicks.end());
    ASSERT_GE(recoveries.size(), 3u);
    for (size_t i = 1; i < recoveries.size(); ++i)
        EXPECT_GT(recoveries[i] - recoveries[i - 1], 1000u);
    // Every draw pass retried the presentation meanwhile.
    EXPECT_GT(Display().presentTicks.size(), 100u);
}

TEST_F(DrawPass, RecoveryWithoutRoomForAWindow)
{
    // A logical screen that a maximised window cannot show.
    mPlatform->Windows().SetScreenSize(1024, 768);
    mApp->mWindowed = true;
    OpenWindow();
    Display().failRedraws = 1;
    mApp->mForceRedraw = true;
    mApp->DrawDirtyStuff();
    EXPECT_TRUE(mApp->mForceFullScreen);
    EXPECT_EQ(mApp->screenModeRequests, (std::vector<bool>{false}));

    // Full screen already failed: the user is asked to change the colour depth and the run ends.
    Tandry::ResetMainLoopGlobals();
    mApp->mForceWindowed = true;
    mApp->screenModeRequests.clear();
    Display().failRedraws = 1;
    mApp->mForceRedraw = true;
    mApp->mNextDrawTick = Clock().GetTickCount();
    mApp->DrawDirtyStuff();
    EXPECT_TRUE(mApp->screenModeRequests.empty());
    const auto boxes = mPlatform->Dialogs().GetBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Please set your desktop color depth to 16 bit.");
    EXPECT_TRUE(mApp->mShutdown);
}

TEST_F(DrawPass, ABadColourDepthWhileWindowedAsksForFullScreen)
{
    OpenWindow();
    Display().failRedraws = 1;
    Display().initResults = {Tandry::RESULT_INVALID_COLORDEPTH};
    mApp->mForceRedraw = true;
    mApp->DrawDirtyStuff();
    EXPECT_TRUE(mApp->mForceFullScreen);
    EXPECT_EQ(mApp->screenModeRequests, (std::vector<bool>{false}));
}

} // namespace
} // namespace LoopTest
