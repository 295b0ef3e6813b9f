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
        return mPlatform->Threads().GetPriorityOf(mPlatform->Threads().GetCurrentThreadId());
    }
};

TEST_F(Threads, OneLoadingThreadPerPhase)
{
    // Nothing to wait for when no thread was started.
    mApp->WaitForLoadingThread();
    EXPECT_TRUE(Clock().GetSleeps().empty());

    std::atomic<int> bodies{0};
    mApp->loadingBody = [&] {
        ++bodies;
        Platform::GetPlatform().GetClock().Sleep(50);
    };
    mApp->LaunchLoadingThread();
    WaitUntilAThreadSleeps(0);
    mApp->LaunchLoadingThread();
    Clock().Advance(50);
    ASSERT_TRUE(WaitFor([&] { return mApp->mLoadingThreadDone.load(); }));
    mApp->LaunchLoadingThread();
    EXPECT_EQ(bodies, 1);

    // The game resets the flags for its next loading phase and launches again.
    mApp->mLoadingThreadStarted = false;
    mApp->mLoadingThreadDone = false;
    mApp->mLoadingAcknowledged = false;
    mApp->LaunchLoadingThread();
    WaitUntilAThreadSleeps(1);
    Clock().Advance(50);
    mApp->WaitForLoadingThread();
    EXPECT_TRUE(mApp->mLoadingThreadDone);
    EXPECT_EQ(bodies, 2);
}

TEST_F(Threads, TheLoadingTimeAndTheHandOver)
{
    OpenWindow();
    Clock().Advance(2000);
    mApp->loadingBody = [] { Platform::GetPlatform().GetClock().Sleep(3000); };
    mApp->LaunchLoadingThread();
    EXPECT_TRUE(mApp->mLoadingThrottle);
    EXPECT_EQ(MainPriority(), Platform::ThreadPriority::AboveNormal);
    WaitUntilAThreadSleeps(0);
    Clock().Advance(3000);
    ASSERT_TRUE(WaitFor([&] { return mApp->mLoadingThreadDone.load(); }));
    EXPECT_NE(mPlatform->Debug().GetAll().find("Resource Loading Time: 5000\r\n"), std::string::npos);

    EXPECT_TRUE(mApp->DoUpdateFrames());
    EXPECT_TRUE(mApp->DoUpdateFrames());
    EXPECT_EQ(mApp->loadingDoneCalls, 1);
    EXPECT_TRUE(mApp->mLoadingAcknowledged);
    EXPECT_FALSE(mApp->mLoadingThrottle);
    EXPECT_EQ(MainPriority(), Platform::ThreadPriority::Normal);
}

TEST_F(Threads, TheLoadingHandOverIsRecorded)
{
    mApp->mRecordingDemo = true;
    mApp->mLoadingThreadDone = true;
    mApp->DoUpdateFrames();
    EXPECT_EQ(Seam().calls, std::vector<std::string>{"LoadingDone"});
}

TEST_F(Threads, AShutdownAskedFromTheLoadingThreadHappensOnTheMainThread)
{
    OpenWindow();
    mApp->loadingBody = [&] { mApp->Shutdown(); };
    mApp->LaunchLoadingThread();
    ASSERT_TRUE(WaitFor([&] { return mApp->mLoadingThreadDone.load(); }));
    EXPECT_TRUE(mApp->mShutdownRequested);
    EXPECT_FALSE(mApp->mShutdown);
    mApp->RunTimingStep(true);
    EXPECT_TRUE(mApp->mShutdown);
}

TEST_F(Threads, TheCursorThreadEndsWithinOneTurnOfShutdown)
{
    OpenWindow();
    mApp->StartCursorThread();
    EXPECT_TRUE(mApp->mCursorThreadRunning);
    EXPECT_EQ(MainPriority(), Platform::ThreadPriority::AboveNormal);
    WaitUntilAThreadSleeps(0);
    StepCursorThread();
    // A second start while it runs starts nothing.
    mApp->StartCursorThread();
    const size_t sleeps = OtherThreadSleeps();
    mApp->Shutdown();
    EXPECT_FALSE(mApp->mCursorThreadRunning);
    EXPECT_EQ(OtherThreadSleeps(), sleeps);

    bool cursorThreadRaisedItself = false;
    for (const auto& change : mPlatform->Threads().GetChanges()) {
        cursorThreadRaisedItself = cursorThreadRaisedItself ||
            (change.threadId != mPlatform->Threads().GetCurrentThreadId() &&
             change.priority == Platform::ThreadPriority::AboveNormal);
    }
    EXPECT_TRUE(cursorThreadRaisedItself);
}

TEST_F(Threads, TheCursorPositionIsHandedOnOnlyAfterARecentPresentation)
{
    OpenWindow();
    PutCursorAt(200, 150);
    mApp->mDrawCount = 1;
    mApp->mNextDrawTick = Clock().GetTickCount() - 1000;
    mApp->StartCursorThread();
    WaitUntilAThreadSleeps(0);
    StepCursorThread();
    EXPECT_EQ(Display().mCursorX, 0);
    EXPECT_EQ(Display().mCursorY, 0);

    mApp->mNextDrawTick = Clock().GetTickCount();
    StepCursorThread();
    EXPECT_EQ(Display().mCursorX, 200);
    EXPECT_EQ(Display().mCursorY, 150);

    // While a demo plays the cursor follows the replay, not the mouse.
    mApp->mPlayingDemo = true;
    mApp->mDemoMouseX = 7;
    mApp->mDemoMouseY = 9;
    mApp->mNextDrawTick = Clock().GetTickCount();
    StepCursorThread();
    EXPECT_EQ(Display().mCursorX, 7);
    EXPECT_EQ(Display().mCursorY, 9);
}

TEST_F(Threads, TheDestructorStopsTheCursorThreadAfterARequestFromElsewhere)
{
    OpenWindow();
    mApp->StartCursorThread();
    WaitUntilAThreadSleeps(0);
    // Shut down from another thread: only the request is set.
    std::thread([&] { mApp->Shutdown(); }).join();
    EXPECT_FALSE(mApp->mShutdown);
    mApp.reset();
    EXPECT_EQ(Clock().CountWaitingSleepers(), 0);
}

} // namespace
} // namespace LoopTest
