// The cursor and loading threads against the virtual clock: their sleeps wait
// for the test to move time, so each turn of a thread is a step the test takes.
#include "LoopTestSupport.h"

#include "platform/window/WindowMessages.h"

#include <atomic>

namespace LoopTest {
namespace {

class Threads : public LoopFixture {
protected:
    // Sleeps of threads other than the test's.
    size_t OtherThreadSleeps()
    {
        size_t count = 0;
        for (const auto& sleep : Clock().GetSleeps())
            count += sleep.onClockThread ? 0 : 1;
        return count;
    }

    void WaitUntilAThreadSleeps(size_t sleepsBefore)
    {
        ASSERT_TRUE(WaitFor([&] { return OtherThreadSleeps() > sleepsBefore && Clock().CountWaitingSleepers() == 1; }));
    }

    // One 10 ms turn of the cursor thread.
    void StepCursorThread()
    {
        const size_t before = OtherThreadSleeps();
        Clock().Advance(10);
        WaitUntilAThreadSleeps(before);
    }

    Platform::ThreadPriority MainPriority()
    {
        return platform->Threads().GetPriorityOf(platform->Threads().GetCurrentThreadId());
    }
};

TEST_F(Threads, OneLoadingThreadPerPhase)
{
    // Nothing to wait for when no thread was started.
    app->WaitForLoadingThread();
    EXPECT_TRUE(Clock().GetSleeps().empty());

    std::atomic<int> bodies{0};
    app->loadingBody = [&] {
        ++bodies;
        Platform::GetPlatform().GetClock().Sleep(50);
    };
    app->LaunchLoadingThread();
    WaitUntilAThreadSleeps(0);
    app->LaunchLoadingThread();
    Clock().Advance(50);
    ASSERT_TRUE(WaitFor([&] { return app->mLoadingThreadDone.load(); }));
    app->LaunchLoadingThread();
    EXPECT_EQ(bodies, 1);

    // The game resets the flags for its next loading phase and launches again.
    app->mLoadingThreadStarted = false;
    app->mLoadingThreadDone = false;
    app->mLoadingAcknowledged = false;
    app->LaunchLoadingThread();
    WaitUntilAThreadSleeps(1);
    Clock().Advance(50);
    app->WaitForLoadingThread();
    EXPECT_TRUE(app->mLoadingThreadDone);
    EXPECT_EQ(bodies, 2);
}

TEST_F(Threads, TheLoadingTimeAndTheHandOver)
{
    OpenWindow();
    Clock().Advance(2000);
    app->loadingBody = [] { Platform::GetPlatform().GetClock().Sleep(3000); };
    app->LaunchLoadingThread();
    EXPECT_TRUE(app->mLoadingThrottle);
    EXPECT_EQ(MainPriority(), Platform::ThreadPriority::AboveNormal);
    WaitUntilAThreadSleeps(0);
    Clock().Advance(3000);
    ASSERT_TRUE(WaitFor([&] { return app->mLoadingThreadDone.load(); }));
    EXPECT_NE(platform->Debug().GetAll().find("Resource Loading Time: 5000\r\n"), std::string::npos);

    EXPECT_TRUE(app->DoUpdateFrames());
    EXPECT_TRUE(app->DoUpdateFrames());
    EXPECT_EQ(app->loadingDoneCalls, 1);
    EXPECT_TRUE(app->mLoadingAcknowledged);
    EXPECT_FALSE(app->mLoadingThrottle);
    EXPECT_EQ(MainPriority(), Platform::ThreadPriority::Normal);
}

TEST_F(Threads, TheLoadingHandOverIsRecorded)
{
    app->mRecordingDemo = true;
    app->mLoadingThreadDone = true;
    app->DoUpdateFrames();
    EXPECT_EQ(Seam().calls, std::vector<std::string>{"LoadingDone"});
}

TEST_F(Threads, AShutdownAskedFromTheLoadingThreadHappensOnTheMainThread)
{
    OpenWindow();
    app->loadingBody = [&] { app->Shutdown(); };
    app->LaunchLoadingThread();
    ASSERT_TRUE(WaitFor([&] { return app->mLoadingThreadDone.load(); }));
    EXPECT_TRUE(app->mShutdownRequested);
    EXPECT_FALSE(app->mShutdown);
    app->RunTimingStep(true);
    EXPECT_TRUE(app->mShutdown);
}

TEST_F(Threads, TheCursorThreadEndsWithinOneTurnOfShutdown)
{
    OpenWindow();
    app->StartCursorThread();
    EXPECT_TRUE(app->mCursorThreadRunning);
    EXPECT_EQ(MainPriority(), Platform::ThreadPriority::AboveNormal);
    WaitUntilAThreadSleeps(0);
    StepCursorThread();
    // A second start while it runs starts nothing.
    app->StartCursorThread();
    const size_t sleeps = OtherThreadSleeps();
    app->Shutdown();
    EXPECT_FALSE(app->mCursorThreadRunning);
    EXPECT_EQ(OtherThreadSleeps(), sleeps);

    bool cursorThreadRaisedItself = false;
    for (const auto& change : platform->Threads().GetChanges()) {
        cursorThreadRaisedItself = cursorThreadRaisedItself ||
            (change.threadId != platform->Threads().GetCurrentThreadId() &&
             change.priority == Platform::ThreadPriority::AboveNormal);
    }
    EXPECT_TRUE(cursorThreadRaisedItself);
}

TEST_F(Threads, TheCursorPositionIsHandedOnOnlyAfterARecentPresentation)
{
    OpenWindow();
    PutCursorAt(200, 150);
    app->mDrawCount = 1;
    app->mNextDrawTick = Clock().GetTickCount() - 1000;
    app->StartCursorThread();
    WaitUntilAThreadSleeps(0);
    StepCursorThread();
    EXPECT_EQ(Display().mCursorX, 0);
    EXPECT_EQ(Display().mCursorY, 0);

    app->mNextDrawTick = Clock().GetTickCount();
    StepCursorThread();
    EXPECT_EQ(Display().mCursorX, 200);
    EXPECT_EQ(Display().mCursorY, 150);

    // While a demo plays the cursor follows the replay, not the mouse.
    app->mPlayingDemo = true;
    app->mDemoMouseX = 7;
    app->mDemoMouseY = 9;
    app->mNextDrawTick = Clock().GetTickCount();
    StepCursorThread();
    EXPECT_EQ(Display().mCursorX, 7);
    EXPECT_EQ(Display().mCursorY, 9);
}

TEST_F(Threads, TheDestructorStopsTheCursorThreadAfterARequestFromElsewhere)
{
    OpenWindow();
    app->StartCursorThread();
    WaitUntilAThreadSleeps(0);
    // Shut down from another thread: only the request is set.
    std::thread([&] { app->Shutdown(); }).join();
    EXPECT_FALSE(app->mShutdown);
    app.reset();
    EXPECT_EQ(Clock().CountWaitingSleepers(), 0);
}

} // namespace
} // namespace LoopTest
