// The fixed-step loop on the virtual clock: what each step cycle does, how
// much is caught up, the vertical-sync timing, the throttle, the nested loop
// and its deferred deletions, and demo fast-forward.
#include "LoopTestSupport.h"

#include "app/MainLoopGlobals.h"
#include "graphics/image/Image.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowMessages.h"
#include "util/SectionProfiler.h"

#include <algorithm>

namespace LoopTest {
namespace {

using Events = std::vector<std::string>;

class MainLoop : public LoopFixture {
protected:
    // Forgets what happened so far, sleeps included.
    void ClearEvents()
    {
        mApp->NoteSleeps();
        mApp->events.clear();
    }

    // Events without the partial updates.
    Events UpdatesDrawsAndSleeps()
    {
        mApp->NoteSleeps();
        Events kept;
        for (const std::string& event : mApp->events) {
            if (event[0] != 'F')
                kept.push_back(event);
        }
        return kept;
    }

    // The longest run of updates with no draw pass or sleep between them.
    int LongestUpdateRun()
    {
        int longest = 0;
        int run = 0;
        for (const std::string& event : UpdatesDrawsAndSleeps()) {
            run = event == "U" ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        return longest;
    }

    // The number of updates before each presentation after the first.
    std::vector<int> UpdatesPerFrame()
    {
        std::vector<int> perFrame;
        int updates = -1;
        for (const std::string& event : mApp->events) {
            if (event == "U" && updates >= 0)
                ++updates;
            if (event == "P") {
                if (updates >= 0)
                    perFrame.push_back(updates);
                updates = 0;
            }
        }
        return perFrame;
    }

    void RecreateApp()
    {
        mApp.reset();
        mApp = std::make_unique<LoopApp>();
        mApp->mPrimaryThreadId = mPlatform->Threads().GetCurrentThreadId();
    }
};

TEST_F(MainLoop, FirstTimingStepOnlyNotesTheTime)
{
    OpenWindow();
    Clock().Advance(500);
    RunCycle();
    EXPECT_EQ(mApp->mUpdateCount, 0);
    EXPECT_EQ(mApp->mLastTimingTick, Clock().GetTickCount());
    EXPECT_EQ(mApp->mUpdateAccumMs, 0);
}

TEST_F(MainLoop, ThirtyFiveMillisecondsGiveThreeUpdatesThenADrawThenTheRestIsSlept)
{
    OpenWindow();
    StartTimingAndAdvance(35);
    ClearEvents();
    for (int cycle = 1; cycle <= 3; ++cycle) {
        RunCycle();
        EXPECT_EQ(mApp->mUpdateCount, cycle);
    }
    RunCycle();
    RunCycle();
    EXPECT_EQ(UpdatesDrawsAndSleeps(), (Events{"U", "U", "U", "D", "S5"}));
    EXPECT_EQ(mApp->mSleepCount, 1);
}

TEST_F(MainLoop, AStallCatchesUpAtMostTwoHundredMilliseconds)
{
    OpenWindow();
    StartTimingAndAdvance(5000);
    ClearEvents();
    ASSERT_TRUE(RunCyclesUntil([&] { return !UpdatesDrawsAndSleeps().empty() &&
                                            UpdatesDrawsAndSleeps().back()[0] == 'S'; }));
    EXPECT_EQ(mApp->mUpdateCount, 20);
}

TEST_F(MainLoop, OnceLoadingIsAcknowledgedCatchUpIsBrokenByDraws)
{
    for (bool acknowledged : {false, true}) {
        SCOPED_TRACE(acknowledged);
        RecreateApp();
        mApp->mLoadingAcknowledged = acknowledged;
        OpenWindow();
        StartTimingAndAdvance(5000);
        ClearEvents();
        RunCyclesUntil([&] { return mApp->mSleepCount > 0; });
        EXPECT_EQ(mApp->mUpdateCount, 20);
        if (acknowledged) {
            // The step that counts to the limit of ten draws instead of updating.
            EXPECT_EQ(LongestUpdateRun(), 9);
        } else {
            EXPECT_EQ(LongestUpdateRun(), 20);
        }
    }
}

TEST_F(MainLoop, SmoothTimingRunsTheUpdatesOfOneRefreshPerFrame)
{
    struct Case {
        unsigned int hz;
        const char* fraction;
        int minUpdates;
        int maxUpdates;
        // Whole milliseconds owed from which an update runs while a draw is pending.
        int dueFromMs;
    };
    for (const Case& c : {Case{60, "F1.6667", 1, 2, 12}, Case{100, "F1.0000", 1, 1, 7}}) {
        SCOPED_TRACE(c.hz);
        RecreateApp();
        mApp->mSmoothVSync = true;
        mApp->mWindowed = false;
        mApp->dirtyEachUpdate = true;
        mApp->CreateAppWindow();
        Display().SetRefreshRate(c.hz);
        Display().waitForRetrace = true;
        // The rate is taken from the display at every set-up.
        mApp->SetUpDisplay();
        ASSERT_EQ(mApp->mRefreshRate, static_cast<int>(c.hz));

        const uint32_t start = Clock().GetTickCount();
        RunCyclesUntil([&] { return Display().presentTicks.size() >= 400; });
        const std::vector<int> perFrame = UpdatesPerFrame();
        ASSERT_GE(perFrame.size(), 300u);
        EXPECT_EQ(*std::min_element(perFrame.begin(), perFrame.end()), c.minUpdates);
        EXPECT_EQ(*std::max_element(perFrame.begin(), perFrame.end()), c.maxUpdates);
        for (const std::string& event : mApp->events) {
            if (event[0] == 'F') {
                EXPECT_EQ(event, c.fraction);
            }
        }
        // A hundred updates per second of presentations, and the retrace is trusted throughout.
        const double seconds = (Clock().GetTickCount() - start) / 1000.0;
        EXPECT_NEAR(mApp->mUpdateCount / seconds, 100.0, 2.0);
        EXPECT_FALSE(mApp->mVSyncBroken);

        // An update step pays one refresh period and the float slack of 0.2 ms.
        const double period = 1000.0 / c.hz;
        mApp->mStepState = 2;
        mApp->mUpdateAccumMs = 40.0;
        mApp->RunTimingStep(true);
        EXPECT_EQ(mApp->mUpdateAccumMs, 40.0 - period - static_cast<double>(0.2f));

        // With a draw pending, an update waits for three quarters of a period, truncated.
        for (const double owed : {c.dueFromMs - 0.5, static_cast<double>(c.dueFromMs)}) {
            mApp->mStepState = 1;
            // A skipped draw would leave the smooth timing for a step.
            mApp->mLastDrawSkipped = false;
            mApp->mDrawPending = true;
            mApp->mCatchUpCount = 0;
            mApp->mUpdateAccumMs = owed;
            const int before = mApp->mUpdateCount;
            mApp->RunTimingStep(true);
            EXPECT_EQ(mApp->mUpdateCount - before, owed < c.dueFromMs ? 0 : 1) << owed;
        }
    }
}

TEST_F(MainLoop, WindowedTimingFollowsTheClockAndPacesPresentations)
{
    mApp->mSmoothVSync = true;
    mApp->mWaitForVSync = true;
    mApp->dirtyEachUpdate = true;
    OpenWindow();
    ASSERT_TRUE(mApp->mIsWindowed);
    const uint32_t start = Clock().GetTickCount();
    RunCyclesUntil([&] { return mApp->mUpdateCount >= 300; });
    // Smooth timing would update at the pace of the (instant) presentations.
    EXPECT_GE(Clock().GetTickCount() - start, 2900u);
    const std::vector<uint32_t>& ticks = Display().presentTicks;
    ASSERT_GE(ticks.size(), 10u);
    for (size_t i = 1; i < ticks.size(); ++i)
        EXPECT_GE(ticks[i] - ticks[i - 1], 16u) << i;
}

TEST_F(MainLoop, FastBatchesOfUpdatesMarkTheRetraceBroken)
{
    // No retrace wait and no time passing: every batch of 100 updates takes 0 ms.
    struct Case {
        int slowUpdate;
        int brokenAt;
    };
    for (const Case& c : {Case{0, 400}, Case{250, 600}}) {
        SCOPED_TRACE(c.slowUpdate);
        RecreateApp();
        mApp->mSmoothVSync = true;
        mApp->mWindowed = false;
        mApp->dirtyEachUpdate = true;
        mApp->onUpdate = [&] {
            if (mApp->mUpdateCount == c.slowUpdate)
                Clock().Advance(900);
        };
        mApp->CreateAppWindow();
        // One update per frame, so that every update is one the check counts.
        Display().SetRefreshRate(100);
        mApp->SetUpDisplay();
        ASSERT_TRUE(RunCyclesUntil([&] { return mApp->mVSyncBroken; }));
        EXPECT_EQ(mApp->mUpdateCount, c.brokenAt);
        // For good: the loop now follows the clock.
        RunCyclesUntil([&] { return mApp->mUpdateCount >= c.brokenAt + 50; });
        EXPECT_TRUE(mApp->mVSyncBroken);
    }
}

TEST_F(MainLoop, SpeedZeroStopsUpdatesAndDrawsButNotThePumpOrDeletions)
{
    OpenWindow();
    StartTimingAndAdvance(100);
    mApp->mDemoSpeed = 0;
    ClearEvents();
    bool deleted = false;
    mApp->interceptKey = [&](int) {
        mApp->DeferWidgetDelete(new TrackedWidget(deleted));
        return false;
    };
    mPlatform->Windows().PostMessage(mApp->mMainWindow, Platform::WM_KEYDOWN, 'A', 0);
    for (int i = 0; i < 10; ++i)
        RunCycle();
    EXPECT_EQ(mApp->mUpdateCount, 0);
    EXPECT_EQ(mApp->CountEvents("D"), 0);
    EXPECT_TRUE(Manager().keyDown['A']);
    EXPECT_TRUE(deleted);
}

TEST_F(MainLoop, TheLoadingThrottleSleepsTwiceTheWork)
{
    struct Case {
        uint32_t workMs;
        const char* sleep;
    };
    for (const Case& c : {Case{20, "S40"}, Case{200, "S250"}}) {
        SCOPED_TRACE(c.workMs);
        RecreateApp();
        OpenWindow();
        mApp->mLoadingThrottle = true;
        StartTimingAndAdvance(10);
        ClearEvents();
        mApp->updateWorkMs = c.workMs;
        RunCycle();
        const Events events = UpdatesDrawsAndSleeps();
        ASSERT_GE(events.size(), 2u);
        EXPECT_EQ(events[0], "U");
        EXPECT_EQ(events[1], c.sleep);
    }
}

TEST_F(MainLoop, ANestedLoopDeletesOnlyWhatItsOwnStepsDeferred)
{
    OpenWindow();
    StartTimingAndAdvance(35);
    bool outerDeleted = false;
    bool innerDeleted = false;
    bool outerAliveAfterNested = false;
    bool innerDeletedBeforeReturn = false;
    mApp->onUpdate = [&] {
        if (mApp->mUpdateCount == 1) {
            mApp->DeferWidgetDelete(new TrackedWidget(outerDeleted));
            EXPECT_TRUE(mApp->RunUntilUpdated());
            innerDeletedBeforeReturn = innerDeleted;
            outerAliveAfterNested = !outerDeleted;
        } else if (mApp->mUpdateCount == 2) {
            mApp->DeferWidgetDelete(new TrackedWidget(innerDeleted));
        }
    };
    RunCycle();
    EXPECT_TRUE(innerDeletedBeforeReturn);
    EXPECT_TRUE(outerAliveAfterNested);
    EXPECT_TRUE(outerDeleted);
    EXPECT_EQ(mApp->mUpdateDepth, 0);
}

TEST_F(MainLoop, AStepWithoutAnOutputPointerAndALeftLoop)
{
    OpenWindow();
    StartTimingAndAdvance(10);
    while (mApp->mStepState != 1)
        EXPECT_TRUE(mApp->RunUpdateStep(nullptr));
    EXPECT_TRUE(mApp->RunUpdateStep(nullptr));
    EXPECT_EQ(mApp->mUpdateCount, 1);

    mApp->mLeaveUpdateLoop = true;
    mPlatform->Windows().PostMessage(mApp->mMainWindow, Platform::WM_KEYDOWN, 'B', 0);
    bool updated = true;
    EXPECT_FALSE(mApp->RunUpdateStep(&updated));
    EXPECT_FALSE(updated);
    EXPECT_EQ(mApp->mUpdateDepth, 0);
    Platform::WindowMessage waiting;
    ASSERT_TRUE(mPlatform->Windows().PeekMessage(waiting));
    EXPECT_EQ(waiting.message, Platform::WM_KEYDOWN);
}

TEST_F(MainLoop, SingleSteppingUpdatesOnceThenWaitsWhilePumping)
{
    OpenWindow();
    StartTimingAndAdvance(100);
    ClearEvents();
    mApp->mDebugStepState = 1;
    RunCycle();
    EXPECT_EQ(UpdatesDrawsAndSleeps(), (Events{"U", "D", "S10"}));
    EXPECT_EQ(mApp->mDebugStepState, 2);

    ClearEvents();
    mPlatform->Windows().PostMessage(mApp->mMainWindow, Platform::WM_KEYDOWN, 'C', 0);
    for (int i = 0; i < 3; ++i)
        RunCycle();
    EXPECT_EQ(UpdatesDrawsAndSleeps(), (Events{"S10", "S10", "S10"}));
    EXPECT_TRUE(Manager().keyDown['C']);
    EXPECT_EQ(mApp->mUpdateCount, 1);
}

TEST_F(MainLoop, RefreshRateZeroTimesLikeNoVerticalSync)
{
    auto run = [&](bool smoothVSync) {
        RecreateApp();
        mApp->mSmoothVSync = smoothVSync;
        mApp->mWindowed = false;
        mApp->dirtyEachUpdate = true;
        mApp->CreateAppWindow();
        Display().SetRefreshRate(0);
        mApp->SetUpDisplay();
        StartTimingAndAdvance(35);
        ClearEvents();
        for (int i = 0; i < 12; ++i)
            RunCycle();
        Clock().Advance(130);
        for (int i = 0; i < 30; ++i)
            RunCycle();
        return UpdatesDrawsAndSleeps();
    };
    const Events withoutVSync = run(false);
    const Events atRateZero = run(true);
    EXPECT_EQ(mApp->mRefreshRate, 0);
    EXPECT_EQ(atRateZero, withoutVSync);
    EXPECT_GE(std::count(withoutVSync.begin(), withoutVSync.end(), "U"), 15);
}

TEST_F(MainLoop, FastForwardMutesOnceAndPresentsAtMostOncePerSecond)
{
    OpenWindow();
    mApp->mPlayingDemo = true;
    mApp->mDemoNextEventUpdate = -1;
    mApp->dirtyEachUpdate = true;
    mApp->updateWorkMs = 30;
    StartTimingAndAdvance(10);
    mApp->muteEvents.clear();
    const size_t presentedBefore = Display().presentTicks.size();
    mApp->mDemoJumpTarget = mApp->mUpdateCount + 100;

    int mutedUpdates = 0;
    mApp->onUpdate = [&] { mutedUpdates += mApp->mFastForwardMuted ? 1 : 0; };

    RunCycle();
    RunCyclesUntil([&] { return !mApp->mFastForwardMuted; });
    EXPECT_EQ(mutedUpdates, 100);
    EXPECT_EQ(mApp->muteEvents, (Events{"mute auto", "unmute auto"}));
    EXPECT_EQ(Sound().stopAllCalls, 1);
    EXPECT_FALSE(mApp->mFastForwardMuted);

    // 100 updates of 30 ms: a presentation per second of it, never two closer.
    const std::vector<uint32_t> ticks(Display().presentTicks.begin() + static_cast<long>(presentedBefore),
                                      Display().presentTicks.end());
    EXPECT_GE(ticks.size(), 2u);
    EXPECT_LE(ticks.size(), 4u);
    for (size_t i = 1; i < ticks.size(); ++i)
        EXPECT_GE(ticks[i] - ticks[i - 1], 1000u);
}

TEST_F(MainLoop, FastForwardLetsTheReplayConsumeADueEvent)
{
    OpenWindow();
    mApp->mPlayingDemo = true;
    StartTimingAndAdvance(10);
    mApp->mDemoFastForwardAll = true;
    // The update at which a recorded event is due waits for the next step's replay.
    mApp->mDemoNextEventUpdate = mApp->mUpdateCount + 3;
    int replayed = 0;
    mApp->onUpdate = [&] {
        if (mApp->mUpdateCount == 20)
            mApp->mDemoFastForwardAll = false;
    };
    Seam().onReplay = [&] {
        if (mApp->mUpdateCount == mApp->mDemoNextEventUpdate) {
            ++replayed;
            mApp->mDemoNextEventUpdate = -1;
        }
    };
    ASSERT_TRUE(RunCyclesUntil([&] { return mApp->mUpdateCount >= 20; }, 100));
    EXPECT_EQ(replayed, 1);
}

TEST_F(MainLoop, ASingleFastForwardStepPresentsAtOnceWithoutMuting)
{
    OpenWindow();
    mApp->mPlayingDemo = true;
    mApp->mDemoNextEventUpdate = -1;
    mApp->dirtyEachUpdate = true;
    StartTimingAndAdvance(10);
    mApp->muteEvents.clear();
    const size_t presentedBefore = Display().presentTicks.size();
    mApp->mDemoSingleStep = true;
    mApp->mDemoJumpTarget = mApp->mUpdateCount + 1;
    const int target = mApp->mDemoJumpTarget;
    mApp->RunTimingStep(true);
    EXPECT_EQ(mApp->mUpdateCount, target);
    EXPECT_EQ(Display().presentTicks.size(), presentedBefore + 1);
    EXPECT_FALSE(mApp->mDemoSingleStep);
    EXPECT_TRUE(mApp->muteEvents.empty());
    EXPECT_EQ(Sound().stopAllCalls, 0);
}

TEST_F(MainLoop, PlaybackWaitsForTheRecordedLoadingStateAndDueEvents)
{
    OpenWindow();
    mApp->mPlayingDemo = true;
    mApp->mDemoNextEventUpdate = -1;
    mApp->mDemoLoadingDone = true;
    EXPECT_FALSE(mApp->DoUpdateFrames());

    mApp->mLoadingThreadDone = true;
    EXPECT_TRUE(mApp->DoUpdateFrames());
    EXPECT_TRUE(mApp->mLoadingAcknowledged);

    mApp->mDemoNextEventUpdate = mApp->mUpdateCount;
    EXPECT_FALSE(mApp->DoUpdateFrames());
    EXPECT_EQ(mApp->loadingDoneCalls, 1);
}

TEST_F(MainLoop, ThePassesAreProfilerSections)
{
    mApp->mSmoothVSync = true;
    mApp->dirtyEachUpdate = true;
    OpenWindow();
    StartTimingAndAdvance(100);
    Tandry::SectionProfiler::Start();
    for (int i = 0; i < 20; ++i)
        RunCycle();
    Tandry::SectionProfiler::Stop();
    const std::string report = Tandry::SectionProfiler::BuildReport();
    for (const char* section : {"TandryAppBase::DoUpdateFrames", "TandryAppBase::DrawDirtyStuff",
                                "TandryAppBase::Redraw", "WidgetManager::UpdateFrame"})
        EXPECT_NE(report.find(section), std::string::npos) << section << "\n" << report;
}

TEST_F(MainLoop, UnusedSharedImagesAreFreedOnlyWhenMarked)
{
    OpenWindow();
    bool unusedDeleted = false;
    bool usedDeleted = false;
    struct TrackedImage : Tandry::Image {
        explicit TrackedImage(bool& flag) : deleted(flag) {}
        ~TrackedImage() override { deleted = true; }
        bool& deleted;
    };
    mApp->mSharedImages[{"UNUSED", ""}].image = new TrackedImage(unusedDeleted);
    auto& used = mApp->mSharedImages[{"USED", ""}];
    used.image = new TrackedImage(usedDeleted);
    used.refCount = 1;

    mApp->UpdateTick();
    EXPECT_FALSE(unusedDeleted);
    mApp->SharedImageReleased();
    mApp->UpdateTick();
    EXPECT_TRUE(unusedDeleted);
    EXPECT_FALSE(usedDeleted);
    EXPECT_EQ(mApp->mSharedImages.size(), 1u);
    EXPECT_FALSE(mApp->mSharedImagesDirty);

    // The last handle goes: the image goes with the next update.
    used.refCount = 0;
    mApp->SharedImageReleased();
    mApp->UpdateTick();
    EXPECT_TRUE(usedDeleted);
    EXPECT_TRUE(mApp->mSharedImages.empty());
}

} // namespace
} // namespace LoopTest
