// The fixed-step main loop: the update step's small state machine, the timing
// step that decides between an update, a draw and a sleep, the demo
// fast-forward, and the update pass itself.
#include "app/TandryAppBase.h"

#include "app/DemoSeam.h"
#include "app/MainLoopGlobals.h"
#include "audio/MusicInterface.h"
#include "audio/SoundManager.h"
#include "graphics/display/DDInterface.h"
#include "graphics/image/Image.h"
#include "platform/Platform.h"
#include "util/CritSectLock.h"
#include "util/SaturatingTrunc.h"
#include "util/SectionProfilerScope.h"
#include "widgets/WidgetManager.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

namespace Tandry {

namespace {

constexpr int kStepPump = 0;
constexpr int kStepTiming = 1;
constexpr int kStepUpdated = 2;
constexpr int kStepDone = 3;

constexpr int kDebugStepAsked = 1;
constexpr int kDebugStepWaiting = 2;

constexpr int kLoadingThrottleMaxMs = 250;
constexpr uint32_t kVSyncFastBatchMs = 800;
constexpr int kVSyncBrokenAfterBatches = 3;
constexpr uint32_t kFastForwardRedrawMs = 1000;
// The smooth timing's allowance is 0.2 as a float, widened back to double.
constexpr double kSmoothTimingSlackMs = static_cast<double>(0.2f);

} // namespace

void TandryAppBase::RunMainLoop()
{
    while (!mShutdown) {
        mLeaveUpdateLoop = false;
        RunUntilUpdated();
    }
}

bool TandryAppBase::RunUntilUpdated()
{
    for (;;) {
        bool updated = false;
        if (!RunUpdateStep(&updated))
            return false;
        if (updated)
            return true;
    }
}

bool TandryAppBase::RunUpdateStep(bool* updated)
{
    if (updated != nullptr)
        *updated = false;
    if (mLeaveUpdateLoop)
        return false;

    if (mStepState == kStepDone)
        mStepState = kStepPump;
    ++mUpdateDepth;

    if (mStepState == kStepPump) {
        Platform::WindowSystem& windows = Platform::GetPlatform().GetWindows();
        Platform::WindowMessage message;
        while (windows.PeekMessage(message)) {
            if (mShutdown)
                break;
            windows.TranslateMessage(message);
            windows.DispatchMessage(message);
        }
        ReplayDemoInput();
        FlushRegistryWhenDue();
        if (!ProcessDeferredMessage())
            mStepState = kStepTiming;
    } else if (mDebugStepState != 0) {
        // One action per step, so that the steps in state 0 keep pumping the
        // messages that end single-stepping.
        if (mDebugStepState == kDebugStepWaiting) {
            Platform::GetPlatform().GetClock().Sleep(static_cast<uint32_t>(std::max(mFrameTimeMs, 0)));
            mStepState = kStepDone;
        } else if (mDebugStepState == kDebugStepAsked) {
            mDebugStepState = kDebugStepWaiting;
            DoUpdateFrames();
            DoUpdateFraction(1.0f);
            DrawDirtyStuff();
        }
    } else {
        const int updatesBefore = mUpdateCount;
        RunTimingStep(true);
        if (updated != nullptr)
            *updated = mUpdateCount != updatesBefore;
    }

    --mUpdateDepth;
    return true;
}

void TandryAppBase::ArmRegistryFlush(uint32_t now)
{
    if (!mRegistryFlushArmed.exchange(true))
        mRegistryFlushDueTick = now + kRegistryFlushDelayMs;
}

void TandryAppBase::FlushRegistryWhenDue()
{
    Platform::Registry& registry = Platform::GetPlatform().GetRegistry();
    if (!registry.HasUnsavedChanges()) {
        // A settings save or another flush got there first.
        mRegistryFlushArmed = false;
        return;
    }
    // A change made without this application's writers starts its wait here.
    const uint32_t now = Platform::GetPlatform().GetClock().TimeGetTime();
    ArmRegistryFlush(now);
    if (static_cast<int32_t>(now - mRegistryFlushDueTick.load()) < 0)
        return;
    // After a failed write the next try waits its own second.
    mRegistryFlushArmed = false;
    registry.Flush();
}

void TandryAppBase::AccumulateElapsedTime()
{
    const uint32_t now = Platform::GetPlatform().GetClock().TimeGetTime();
    if (mLastTimingTick != 0) {
        const auto elapsed = static_cast<int32_t>(now - mLastTimingTick);
        // After any stall at most this much is caught up.
        mUpdateAccumMs = std::min(mUpdateAccumMs + elapsed, 200.0);
    }
    mLastTimingTick = now;
}

bool TandryAppBase::RunTimingStep(bool allowSleep)
{
    Platform::Clock& clock = Platform::GetPlatform().GetClock();

    if (mShutdownRequested)
        Shutdown();

    // A refresh rate of 0 comes from a display that does not know it or from a
    // demo file; it times as if there were no vertical sync.
    const bool vsync = mSmoothVSync && mRefreshRate > 0;
    const bool smooth = !mPlayingDemo && vsync && !mLastDrawSkipped && !mVSyncBroken && !mIsWindowed;

    const int frameMs = std::max(mFrameTimeMs, 1);
    double period = 0;
    float fraction = 1.0f;
    const bool speedPositive = mDemoSpeed > 0;
    if (vsync) {
        if (speedPositive)
            period = (1000.0 / mRefreshRate) / mDemoSpeed;
        fraction = static_cast<float>(1000.0 / (static_cast<double>(mRefreshRate) * frameMs));
    } else if (speedPositive) {
        period = mFrameTimeMs / mDemoSpeed;
    }

    if (mPlayingDemo && RunDemoFastForward(fraction)) {
        // The next step pumps and replays: an event due at the current update
        // is consumed there, or fast-forward would wait for it forever.
        mStepState = kStepDone;
        return true;
    }

    if (mDemoPaused || !speedPositive) {
        // The step cycle still completes, so that the next step pumps the
        // messages that resume the demo, and the stopped loop does not spin.
        mStepState = kStepDone;
        if (allowSleep)
            clock.Sleep(static_cast<uint32_t>(frameMs));
    } else {
        const uint32_t start = clock.TimeGetTime();
        int slept = 0;
        if (!smooth)
            AccumulateElapsedTime();

        bool updated = false;
        if (mStepState == kStepTiming) {
            ++mCatchUpCount;
            bool due = false;
            const int catchUpLimit = SaturatingTrunc(std::ceil(mDemoSpeed * 10.0));
            if (!(mCatchUpCount >= catchUpLimit && mLoadingAcknowledged)) {
                if (smooth)
                    due = !mDrawPending || SaturatingTrunc(period * 0.75) <= mUpdateAccumMs;
                else
                    due = period <= mUpdateAccumMs;
            }
            if (due) {
                if (!mPlayingDemo && mDemoSpeed == 1.0)
                    RunVSyncCheck(start);
                updated = DoUpdateFrames();
                if (updated)
                    mStepState = kStepUpdated;
                mDrawPending = true;
            }
        } else if (mStepState == kStepUpdated) {
            mStepState = kStepDone;
            mFractionAccum = static_cast<double>(fraction) + mFractionAccum - 1;
            ProcessDeferredDeletes();
            RunFractionalUpdates(fraction, true);
            double rest = mUpdateAccumMs - period;
            if (smooth) {
                rest -= kSmoothTimingSlackMs;
                if (!(rest > 0))
                    rest = 0;
            }
            mUpdateAccumMs = rest;
            updated = true;
        }

        if (!updated) {
            mStepState = kStepDone;
            mCatchUpCount = 0;
            if (mDrawPending) {
                DrawDirtyStuff();
            } else {
                // Rounded up: a truncated fraction of a millisecond would be spun away.
                const int ms = SaturatingTrunc(std::ceil(period - mUpdateAccumMs));
                if (ms > 0) {
                    if (!allowSleep)
                        return false;
                    ++mSleepCount;
                    clock.Sleep(static_cast<uint32_t>(ms));
                    slept = ms;
                }
            }
        }

        // While the loading thread runs, idle about twice as long as this step worked.
        if (mLoadingThrottle) {
            const uint32_t elapsed = clock.TimeGetTime() - start;
            int64_t ms = 2 * (static_cast<int64_t>(elapsed) - slept) - slept;
            ms = std::min<int64_t>(ms, kLoadingThrottleMaxMs);
            if (ms >= 0) {
                if (!allowSleep)
                    return false;
                clock.Sleep(static_cast<uint32_t>(ms));
            }
        }
    }

    ProcessDeferredDeletes();
    return true;
}

void TandryAppBase::RunFractionalUpdates(float fraction, bool countCatchUp)
{
    while (mFractionAccum >= 1) {
        ReplayDemoInput();
        if (countCatchUp)
            ++mCatchUpCount;
        if (!DoUpdateFrames())
            break;
        ProcessDeferredDeletes();
        mFractionAccum -= 1;
    }
    DoUpdateFraction(fraction);
    ProcessDeferredDeletes();
}

void TandryAppBase::RunVSyncCheck(uint32_t start)
{
    const int64_t frameMs = std::max(mFrameTimeMs, 1);
    const int64_t batch = (frameMs + 999) / frameMs;
    if (++mVSyncCheckUpdates < batch)
        return;
    // Presentations that wait for the retrace cannot run a second of updates this fast.
    if (start - mVSyncCheckTick <= kVSyncFastBatchMs) {
        if (++mVSyncFastCount >= kVSyncBrokenAfterBatches)
            mVSyncBroken = true;
    } else {
        mVSyncFastCount = 0;
    }
    mVSyncCheckTick = start;
    mVSyncCheckUpdates = 0;
}

bool TandryAppBase::RunDemoFastForward(float fraction)
{
    auto due = [this] { return mUpdateCount < mDemoJumpTarget || mDemoFastForwardAll; };
    Platform::Clock& clock = Platform::GetPlatform().GetClock();

    if (due()) {
        if (!mFastForwardMuted && !mDemoSingleStep) {
            mFastForwardMuted = true;
            Mute(true);
        }
        if (!gLastFastForwardRedrawTick)
            gLastFastForwardRedrawTick = clock.GetTickCount();
        while (due()) {
            ResetUpdateTiming();
            const int updatesBefore = mUpdateCount;
            if (DoUpdateFrames()) {
                mFractionAccum = static_cast<double>(fraction) + mFractionAccum - 1;
                ProcessDeferredDeletes();
                RunFractionalUpdates(fraction, false);
            }
            if (mUpdateCount == updatesBefore)
                return true;
            const uint32_t now = clock.GetTickCount();
            if (now - *gLastFastForwardRedrawTick < kFastForwardRedrawMs && !mDemoSingleStep)
                continue;
            mDemoSingleStep = false;
            gLastFastForwardRedrawTick = now;
            DrawDirtyStuff();
            return true;
        }
    }

    if (mFastForwardMuted) {
        mFastForwardMuted = false;
        if (mSoundManager != nullptr)
            mSoundManager->StopAllInstances();
        Unmute(true);
    }
    return false;
}

bool TandryAppBase::DoUpdateFrames()
{
    SectionProfilerScope section("TandryAppBase::DoUpdateFrames");

    if (gIdleSuspended) {
        // Idle time is not caught up, and without it no update is due, so the
        // loop sleeps instead of asking again at once.
        ResetUpdateTiming();
        return false;
    }

    if (mLoadingThreadDone && !mLoadingAcknowledged && (!mPlayingDemo || mDemoLoadingDone)) {
        mLoadingAcknowledged = true;
        Platform::GetPlatform().GetThreads().SetCurrentThreadPriority(Platform::ThreadPriority::Normal);
        mLoadingThrottle = false;
        OnLoadingThreadDone();
        if (mRecordingDemo)
            mDemoSeam->RecordLoadingDone();
    }

    if (mPlayingDemo) {
        // The replay must reach the recorded loading state and consume a due event first.
        if (mLoadingAcknowledged != mDemoLoadingDone)
            return false;
        if (mUpdateCount == mDemoNextEventUpdate)
            return false;
    }

    UpdateTick();
    return true;
}

void TandryAppBase::UpdateTick()
{
    ++mUpdateCount;
    if (!mMinimized)
        mWidgetManager->UpdateFrame();
    if (mMusicInterface != nullptr)
        mMusicInterface->UpdateFades();
    ReleaseUnusedSharedImages();
}

void TandryAppBase::ReleaseUnusedSharedImages()
{
    if (!mSharedImagesDirty)
        return;
    // The loading thread makes and releases shared images under the same lock.
    CritSectLock lock(GetDisplayLock());
    // Cleared before the walk, so that a release during it is seen next time.
    if (!mSharedImagesDirty.exchange(false))
        return;
    for (auto it = mSharedImages.begin(); it != mSharedImages.end();) {
        // An entry still loading belongs to the caller that loads it.
        if (it->second.refCount == 0 && !it->second.loading) {
            delete it->second.image;
            it = mSharedImages.erase(it);
        } else {
            ++it;
        }
    }
}

void TandryAppBase::DoUpdateFraction(float fraction)
{
    if (!mSmoothVSync || mMinimized)
        return;
    SectionProfilerScope section("WidgetManager::UpdateFrame");
    mWidgetManager->UpdateFrameDelta(fraction);
}

} // namespace Tandry
