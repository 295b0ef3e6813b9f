// The headless back end: every service without a screen, a sound device or
// the user's files, for tests and CI. Tests reach the concrete services
// through the typed accessors to script answers, inject input, move the clock
// and read what was recorded. Several headless platforms can share one
// HeadlessSystem to see each other's named mutexes.
#pragma once

#include "platform/Platform.h"
#include "platform/PlatformBootstrap.h"
#include "platform/headless/HeadlessAudioOutput.h"
#include "platform/headless/HeadlessClipboard.h"
#include "platform/headless/HeadlessClock.h"
#include "platform/headless/HeadlessCursors.h"
#include "platform/headless/HeadlessDebugOutput.h"
#include "platform/headless/HeadlessDialogs.h"
#include "platform/headless/HeadlessFolders.h"
#include "platform/headless/HeadlessPresenter.h"
#include "platform/headless/HeadlessProcess.h"
#include "platform/headless/HeadlessRegistry.h"
#include "platform/headless/HeadlessShell.h"
#include "platform/headless/HeadlessSingleInstance.h"
#include "platform/headless/HeadlessThreadControl.h"
#include "platform/headless/HeadlessWindowSystem.h"

namespace Platform {

class HeadlessPlatform : public ServiceBundle {
public:
    struct Options {
        std::string company = "Hollowmere";
        std::string product = "Moorglen";
        uint32_t startTick = 1000;
        std::shared_ptr<HeadlessSystem> system; // null: a system of its own
    };

    HeadlessPlatform();
    explicit HeadlessPlatform(const Options& options);

    HeadlessClock& Clock() { return *mClock; }
    HeadlessAudioOutput& Audio() { return *mAudio; }
    HeadlessThreadControl& Threads() { return *mThreads; }
    HeadlessProcess& Process() { return *mProcess; }
    HeadlessDebugOutput& Debug() { return *mDebug; }
    HeadlessSingleInstance& Instance() { return *mInstance; }
    HeadlessFolders& Folders() { return *mFolders; }
    HeadlessRegistry& Registry() { return *mRegistry; }
    HeadlessClipboard& Clipboard() { return *mClipboard; }
    HeadlessShell& Shell() { return *mShell; }
    HeadlessDialogs& Dialogs() { return *mDialogs; }
    HeadlessCursors& Cursors() { return *mCursors; }
    HeadlessWindowSystem& Windows() { return *mWindows; }
    HeadlessPresenter& Presenter() { return *mPresenter; }

private:
    HeadlessClock* mClock;
    HeadlessAudioOutput* mAudio;
    HeadlessThreadControl* mThreads;
    HeadlessProcess* mProcess;
    HeadlessDebugOutput* mDebug;
    HeadlessSingleInstance* mInstance;
    HeadlessFolders* mFolders;
    HeadlessRegistry* mRegistry;
    HeadlessClipboard* mClipboard;
    HeadlessShell* mShell;
    HeadlessDialogs* mDialogs;
    HeadlessCursors* mCursors;
    HeadlessWindowSystem* mWindows;
    HeadlessPresenter* mPresenter;
};

// Installs a new headless platform and returns it.
HeadlessPlatform& InstallHeadlessPlatform(const HeadlessPlatform::Options& options = {});

extern const PlatformBootstrap kHeadlessBootstrap;

} // namespace Platform
